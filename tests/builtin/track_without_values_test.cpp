// A track that holds no value cannot be evaluated under any kind: the render task that
// asks fails with the track's own error.
#include <gtest/gtest.h>

#include "../system/exception_text.h"
#include "builtin/movement/interpolation_move.h"
#include "builtin/movement/interpolation_speed.h"
#include "builtin/movement/linear_speed.h"
#include "builtin/movement/random_move.h"
#include "builtin/movement/teleportation_move.h"
#include "movement_kind_support.h"

namespace {

using namespace Effect;
using MovementTest::kind;
using MovementTest::Tracks;
using MovementTest::valueAt;

TEST(TrackWithoutValues, IsRefusedByEveryKind) {
  const MovementBase* kinds[] = {&kind<LinearSpeed>(), &kind<InterpolationMove>(),
                                 &kind<InterpolationSpeed>(), &kind<RandomMove>(),
                                 &kind<TeleportationMove>()};
  const auto object = TestSupport::makeObject(0, 100, {50});
  for (const MovementBase* movement : kinds) {
    SCOPED_TRACE(movement->name);
    Tracks tracks;
    const auto& track = tracks.add(*movement, {});
    EXPECT_EQ(TestSupport::whatOf([&] { valueAt(track, object, 30); }),
              "item value index out of range.\n\n[Place]\n"
              "Effect::EffectItemNumber::clampValueIndex()");
  }
}

TEST(TrackWithoutValues, IsRefusedAsALinkPartner) {
  // The partner moves alike, so its coordinates are read, and it has none.
  const auto object = TestSupport::makeObject(0, 100, {50});
  Tracks tracks;
  auto& x = tracks.add(kind<LinearSpeed>(), {0, 10, 20});
  auto& y = tracks.add(kind<LinearSpeed>(), {});
  tracks.link({&x, &y});
  EXPECT_EQ(TestSupport::whatOf([&] { valueAt(x, object, 30); }),
            "item value index out of range.\n\n[Place]\n"
            "Effect::EffectItemNumber::clampValueIndex()");
}

}  // namespace
