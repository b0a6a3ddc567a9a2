// The kinds that measure distances read a position's X, Y and Z as one point in space: the
// link group decides how long each section is and how the curves bend.
#include <gtest/gtest.h>

#include "builtin/movement/interpolation_move.h"
#include "builtin/movement/interpolation_speed.h"
#include "builtin/movement/linear_speed.h"
#include "effect/builtin_movements.h"
#include "movement_kind_support.h"

namespace {

using namespace Effect;
using MovementTest::kind;
using MovementTest::Tracks;
using MovementTest::valueAt;
using TestSupport::makeObject;

TEST(LinkGroup, MembersAreTheCoordinatesOfOnePoint) {
  // Sections of 30 (along X) and 40 (along Y): half the time lies 5 units into the second.
  // The members have different steps: distances are measured in display units.
  const auto object = makeObject(0, 100, {80});
  Tracks tracks;
  auto& x = tracks.add(kind<LinearSpeed>(), {0, 30, 30}, 0, 1.0);
  auto& y = tracks.add(kind<LinearSpeed>(), {0, 0, 40}, 0, 0.01);
  auto& z = tracks.add(kind<LinearSpeed>(), {0, 0, 0}, 0, 0.1);
  Tracks alone;
  const auto& lone = alone.add(kind<LinearSpeed>(), {0, 30, 30});
  // Alone, X has a single section of length: half the time is half of it.
  EXPECT_NEAR(valueAt(lone, object, 50), 15, 1e-9);
  tracks.link({&x, &y, &z});
  EXPECT_NEAR(valueAt(x, object, 50), 30, 1e-9);
  EXPECT_NEAR(valueAt(y, object, 50), 5, 1e-9);
  EXPECT_NEAR(valueAt(z, object, 50), 0, 1e-9);
  EXPECT_NEAR(valueAt(x, object, 15), 10.5, 1e-9);
}

struct PartnerCase {
  const char* what;
  const MovementBase* partnerKind;
  int partnerFlags;
};

TEST(LinkGroup, OnlyPartnersThatMoveAlikeCount) {
  // X: 0, 2, 2 and Z: 0, 1, 4. Where the partner Y does not count, X stands in for it: the
  // points are (x, x, z) and both sections are 3 long, so a quarter of the time is half of
  // X's first step. A group of two counts X twice the same way: (x, y, x).
  const auto object = makeObject(0, 100, {50});
  const PartnerCase cases[] = {
      {"a partner of another kind", &kind<LinearMove>(), 0},
      {"a partner with other options", &kind<LinearSpeed>(), EffectItemNumber::FlagAccelerate},
  };
  for (const PartnerCase& c : cases) {
    SCOPED_TRACE(c.what);
    Tracks tracks;
    auto& x = tracks.add(kind<LinearSpeed>(), {0, 2, 2});
    auto& y = tracks.add(*c.partnerKind, {0, 0, 100}, c.partnerFlags);
    auto& z = tracks.add(kind<LinearSpeed>(), {0, 1, 4});
    tracks.link({&x, &y, &z});
    EXPECT_NEAR(valueAt(x, object, 25), 1, 1e-9);
    EXPECT_NEAR(valueAt(x, object, 50), 2, 1e-9);
  }
  Tracks pair;
  auto& x = pair.add(kind<LinearSpeed>(), {0, 2, 2});
  auto& y = pair.add(kind<LinearSpeed>(), {0, 1, 4});
  pair.link({&x, &y});
  EXPECT_NEAR(valueAt(x, object, 25), 1, 1e-9);
}

TEST(LinkGroup, BendsTheInterpolatingCurves) {
  // X: 0, 100, 40, 0 and Y: 0, 0, 60, 60; the object's sections are 10, 50 and 40 frames.
  const auto object = makeObject(0, 100, {10, 60});
  struct CurveCase {
    const char* what;
    const MovementBase* movement;
    int flags;
    double time;
    double alone;
    double linked;
  };
  const int both = EffectItemNumber::FlagAccelerate | EffectItemNumber::FlagDecelerate;
  const CurveCase cases[] = {
      {"interpolation", &kind<InterpolationMove>(), both, 35, 69.79409790039062,
       70.95292901027929},
      // Alone, X's path is 100 + 60 + 40 long and half of it ends at its second point.
      {"interpolation at an even speed", &kind<InterpolationSpeed>(), 0, 50, 100,
       99.19980916366181},
  };
  for (const CurveCase& c : cases) {
    SCOPED_TRACE(c.what);
    Tracks tracks;
    auto& x = tracks.add(*c.movement, {0, 100, 40, 0}, c.flags);
    auto& y = tracks.add(*c.movement, {0, 0, 60, 60}, c.flags);
    auto& z = tracks.add(*c.movement, {0, 0, 0, 0}, c.flags);
    EXPECT_NEAR(valueAt(x, object, c.time), c.alone, 1e-9);
    tracks.link({&x, &y, &z});
    EXPECT_NEAR(valueAt(x, object, c.time), c.linked, 1e-9);
  }
}

}  // namespace
