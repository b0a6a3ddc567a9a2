// "パーティクル出力": which particles live at an instant (the rate, the limit, the lifetime),
// how each is faded, scaled, turned and flown from its emitter, that its random values follow
// the object's layer, start frame and particle number, and the stream drawn through the
// render workers in one call without adding the emitter position twice.
#include "builtin/output/particle_output.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "edit/object.h"
#include "edit/scene.h"
#include "effect/movement_registry.h"
#include "effect/number_test_support.h"
#include "gpu/shader/vertex_list.h"
#include "render/render_test_support.h"

namespace {

using Effect::ParticleOutput;

constexpr double kPi = std::numbers::pi;

// One particle as collected: the centre of its quad, its corners relative to that centre
// and its vertex alpha.
struct Particle {
  XMath::Vector centre;
  XMath::Vector corners[4];
  float alpha = 0.0f;
  double halfWidth() const { return XMath::length3(XMath::subtract3(corners[1], corners[0])) / 2; }
};

// The quad every particle is a copy of: 2 x 2 around the origin, as an image's quad is.
Media::VertexListQuadPosUv baseQuad() {
  Media::VertexListQuadPosUv quad;
  quad.vertices = {{-1, -1, 0, 0, 0, 1, 0},
                   {1, -1, 0, 1, 0, 1, 0},
                   {1, 1, 0, 1, 1, 1, 0},
                   {-1, 1, 0, 0, 1, 1, 0}};
  return quad;
}

class ParticleStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Ten frames a second: frame times convert to seconds exactly.
    scene_.rate = 10;
    scene_.scale = 1;
    output_.spread.setValue(0, 0);
    output_.speed.setValue(100, 0);
  }

  // The particles at `time` (frames) of an object on `layer` from `start` to `end`, newest
  // first.
  std::vector<Particle> particlesAt(double time, int layer = 1, int start = 0, int end = 300) {
    auto object = std::make_shared<Edit::Object>(layer, start, end);
    Effect::EffectContext context;
    context.scene = &scene_;
    context.frame = static_cast<int>(std::floor(time));
    context.time = time;
    context.setObject(object, object->frames());
    Media::VertexListQuadPosUv collected;
    const int count = output_.collectParticles(context, baseQuad(), collected);
    EXPECT_EQ(collected.vertices.size(), static_cast<std::size_t>(count) * 4);
    std::vector<Particle> particles;
    for (std::size_t q = 0; q + 3 < collected.vertices.size(); q += 4) {
      Particle p;
      XMath::Vector sum{};
      for (int k = 0; k < 4; ++k) {
        const Media::XYZ_UV& v = collected.vertices[q + static_cast<std::size_t>(k)];
        p.corners[k] = {v.x, v.y, v.z, 0.0f};
        sum = XMath::add3(sum, p.corners[k]);
      }
      p.centre = XMath::scale3(sum, 0.25f);
      for (auto& corner : p.corners) corner = XMath::subtract3(corner, p.centre);
      p.alpha = collected.vertices[q].alpha;
      particles.push_back(p);
    }
    return particles;
  }
  // The random fractions of particle `number` of an object on layer 1 starting at frame 0.
  static std::vector<float> fractionsOf(int64_t number, std::size_t count) {
    std::vector<float> fractions(count);
    ParticleOutput::particleFractions(1, 0, number, fractions);
    return fractions;
  }
  // X moving steadily from 0 to 300 over the object's 300 frames: one unit a frame.
  void moveAlongX() {
    output_.x.setMovement(TestSupport::linearMove());
    output_.x.values = {0, 30000};
  }

  Edit::Scene scene_{0, 0};
  ParticleOutput output_;
};

TEST_F(ParticleStreamTest, ParticlesLeaveAtTheRateAndAgeFromTheirEmission) {
  const struct {
    const char* why;
    double frequency;
    double time;  // frames, ten a second
    int start;
    std::size_t count;
    double newestAge;
  } cases[] = {
      {"no rate, nothing", 0, 10, 0, 0, 0},
      {"20 a second after 1 s: particles 0 to 20", 20, 10, 0, 21, 0},
      {"a quarter frame later the newest is older", 20, 10.25, 0, 21, 0.025},
      {"counted from the object's start", 20, 15, 5, 21, 0},
      {"before the start nothing is emitted", 20, 3, 5, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    output_.frequency.setValue(c.frequency, 0);
    const std::vector<Particle> particles = particlesAt(c.time, 1, c.start);
    ASSERT_EQ(particles.size(), c.count);
    for (std::size_t i = 0; i < particles.size(); ++i) {
      // Straight down at 100 a second: the distance tells the age.
      const double age = static_cast<double>(i) / c.frequency + c.newestAge;
      EXPECT_NEAR(particles[i].centre.y, 100.0 * age, 1e-3) << i;
      EXPECT_NEAR(particles[i].centre.x, 0.0, 1e-3) << i;
      EXPECT_FLOAT_EQ(particles[i].alpha, 1.0f);
    }
  }
}

TEST_F(ParticleStreamTest, OnlyTheNewestTenThousandAreConsidered) {
  output_.frequency.setValue(500, 0);
  // 30 s at 500 a second: 15001 emitted.
  const std::vector<Particle> particles = particlesAt(300, 1, 0, 400);
  ASSERT_EQ(particles.size(), static_cast<std::size_t>(ParticleOutput::kMaxParticles));
  EXPECT_NEAR(particles.front().centre.y, 0.0, 1e-3);
  EXPECT_NEAR(particles.back().centre.y, 100.0 * 9999 / 500.0, 1e-2) << "the oldest kept";
}

TEST_F(ParticleStreamTest, TheLifetimeEndsAParticle) {
  output_.frequency.setValue(10, 0);
  const struct {
    double lifetime;
    std::size_t count;  // of 21 emitted over 2 s
  } cases[] = {{0, 21}, {0.9, 10}, {1, 11}, {5, 21}};
  for (const auto& c : cases) {
    output_.lifetime.setValue(c.lifetime, 0);
    const std::vector<Particle> particles = particlesAt(20);
    ASSERT_EQ(particles.size(), c.count) << "lifetime " << c.lifetime;
    // The newest ones live: the oldest left is the last that is not too old.
    EXPECT_NEAR(particles.back().centre.y, 100.0 * static_cast<double>(c.count - 1) / 10, 1e-3)
        << "lifetime " << c.lifetime;
  }
}

TEST_F(ParticleStreamTest, ParticlesFadeAndScaleWithTheirAge) {
  output_.frequency.setValue(10, 0);
  const struct {
    const char* why;
    double transparency, transparencySpeed, zoom, zoomSpeed;
    std::size_t count;  // of 21 emitted over 2 s, ages 0, 0.1 .. 2
  } cases[] = {
      {"fading out: gone at 100 %", 20, 40, 100, 0, 20},
      {"clearing: alpha stays at most 1", 50, -100, 100, 0, 21},
      {"wholly transparent from the start", 100, 0, 100, 0, 0},
      {"shrinking: gone at scale 0", 0, 0, 100, -80, 13},
      {"growing", 0, 0, 50, 100, 21},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    output_.transparency.setValue(c.transparency, 0);
    output_.transparencySpeed.setValue(c.transparencySpeed, 0);
    output_.zoom.setValue(c.zoom, 0);
    output_.zoomSpeed.setValue(c.zoomSpeed, 0);
    const std::vector<Particle> particles = particlesAt(20);
    ASSERT_EQ(particles.size(), c.count);
    for (std::size_t i = 0; i < particles.size(); ++i) {
      const double age = static_cast<double>(i) / 10;
      const double alpha =
          std::clamp(1.0 - (c.transparency + c.transparencySpeed * age) / 100, 0.0, 1.0);
      EXPECT_NEAR(particles[i].alpha, alpha, 1e-5) << i;
      EXPECT_NEAR(particles[i].halfWidth(), (c.zoom + c.zoomSpeed * age) / 100, 1e-4) << i;
    }
  }
}

TEST_F(ParticleStreamTest, WithoutSpreadEveryParticleFliesInTheDirection) {
  output_.frequency.setValue(10, 0);
  output_.direction.setValue(90, 0);
  output_.acceleration.setValue(40, 0);
  output_.gravity.setValue(30, 0);
  output_.x.setValue(10, 0);
  output_.y.setValue(-5, 0);
  output_.z.setValue(7, 0);
  const std::vector<Particle> particles = particlesAt(20);
  ASSERT_EQ(particles.size(), 21u);
  for (std::size_t i = 0; i < particles.size(); ++i) {
    // At 90 degrees a particle flies towards -x; gravity pulls it down (+y).
    const double age = static_cast<double>(i) / 10;
    EXPECT_NEAR(particles[i].centre.x, 10 - (100 * age + 20 * age * age), 1e-3) << i;
    EXPECT_NEAR(particles[i].centre.y, -5 + 15 * age * age, 1e-3) << i;
    EXPECT_NEAR(particles[i].centre.z, 7, 1e-4) << i;
  }
}

TEST_F(ParticleStreamTest, TheSpreadGivesEachParticleItsOwnRandomAngle) {
  output_.frequency.setValue(10, 0);
  output_.direction.setValue(30, 0);
  output_.spread.setValue(60, 0);
  const std::vector<Particle> particles = particlesAt(20);
  ASSERT_EQ(particles.size(), 21u);
  double lowest = 360, highest = -360;
  for (std::size_t i = 1; i < particles.size(); ++i) {  // the newest has not moved yet
    const int64_t number = 20 - static_cast<int64_t>(i);
    const double angle = std::atan2(-particles[i].centre.x, particles[i].centre.y) * 180 / kPi;
    EXPECT_NEAR(angle, 30 + 60 * (fractionsOf(number, 1)[0] - 0.5), 1e-3) << number;
    lowest = std::min(lowest, angle);
    highest = std::max(highest, angle);
  }
  EXPECT_GE(lowest, 0.0);
  EXPECT_LE(highest, 60.0);
  EXPECT_GT(highest - lowest, 10.0) << "the angles differ";
}

TEST_F(ParticleStreamTest, AFrameAlwaysGivesTheSameParticlesForItsObject) {
  output_.frequency.setValue(10, 0);
  output_.spread.setValue(360, 0);
  output_.randomRotation3D.value = true;
  output_.rotationSpeed.setValue(1, 0);
  const auto centres = [](const std::vector<Particle>& particles) {
    std::vector<float> values;
    for (const Particle& p : particles)
      for (const auto& corner : p.corners)
        values.insert(values.end(), {p.centre.x, p.centre.y, corner.x, corner.y, corner.z});
    return values;
  };
  const std::vector<float> first = centres(particlesAt(20, 1, 0));
  EXPECT_EQ(centres(particlesAt(20, 1, 0)), first) << "rendered again";
  EXPECT_NE(centres(particlesAt(20, 2, 0)), first) << "on another layer";
  EXPECT_NE(centres(particlesAt(25, 1, 5)), first) << "starting at another frame";
}

TEST_F(ParticleStreamTest, TheRotationTurnsAParticleAboutItsCentre) {
  output_.frequency.setValue(10, 0);
  output_.rotation.setValue(90, 0);
  output_.rotationSpeed.setValue(0.25, 0);  // a quarter turn a second
  const std::vector<Particle> particles = particlesAt(20);
  ASSERT_EQ(particles.size(), 21u);
  for (std::size_t i = 0; i < particles.size(); ++i) {
    const double angle = (90 + 90 * static_cast<double>(i) / 10) * kPi / 180;
    // The corner (-1, -1) turned as the object's own Z rotation turns it.
    const double c = std::cos(angle), s = std::sin(angle);
    EXPECT_NEAR(particles[i].corners[0].x, -c + s, 1e-4) << i;
    EXPECT_NEAR(particles[i].corners[0].y, -s - c, 1e-4) << i;
  }
}

TEST_F(ParticleStreamTest, ARandom3DRotationTurnsAboutARandomAxis) {
  output_.frequency.setValue(10, 0);
  output_.speed.setValue(0, 0);
  output_.rotation.setValue(45, 0);  // not used in this mode
  output_.randomRotation3D.value = true;
  const std::vector<Particle> particles = particlesAt(20);
  ASSERT_EQ(particles.size(), 21u);
  const XMath::Vector corners[4] = {{-1, -1, 0, 0}, {1, -1, 0, 0}, {1, 1, 0, 0}, {-1, 1, 0, 0}};
  bool leftThePlane = false;
  for (std::size_t i = 0; i < particles.size(); ++i) {
    // Draws: the spread, then the start angle, the pace, the axis height and angle.
    const std::vector<float> r = fractionsOf(20 - static_cast<int64_t>(i), 5);
    const float axisZ = 2 * r[3] - 1;
    const float radius = std::sqrt(1 - axisZ * axisZ);
    const float phi = (2 * r[4] - 1) * std::numbers::pi_v<float>;
    const XMath::Vector axis{radius * std::cos(phi), radius * std::sin(phi), axisZ, 0};
    const double angle = r[1] * 2 * kPi;  // no turning speed: the start angle alone
    for (int k = 0; k < 4; ++k) {
      const XMath::Vector& before = corners[k];
      const XMath::Vector& after = particles[i].corners[k];
      // A turn about the axis keeps the part along it and turns the rest by the angle.
      const float along = XMath::dot3(before, axis);
      EXPECT_NEAR(XMath::dot3(after, axis), along, 1e-4) << i;
      const XMath::Vector rest = XMath::subtract3(before, XMath::scale3(axis, along));
      const XMath::Vector restAfter = XMath::subtract3(after, XMath::scale3(axis, along));
      const double restLength = XMath::dot3(rest, rest);
      if (restLength > 1e-3) {
        EXPECT_NEAR(XMath::dot3(rest, restAfter) / restLength, std::cos(angle), 1e-3) << i;
      }
      leftThePlane |= std::fabs(after.z) > 0.1f;
    }
  }
  EXPECT_TRUE(leftThePlane);
}

TEST_F(ParticleStreamTest, TheEmissionPlaceFollowsTheEmitterOrARandomInstant) {
  output_.frequency.setValue(10, 0);
  output_.speed.setValue(0, 0);
  moveAlongX();
  for (const bool random : {false, true}) {
    output_.randomPlace.value = random;
    const std::vector<Particle> particles = particlesAt(100);
    ASSERT_EQ(particles.size(), 101u);
    for (std::size_t i = 0; i < particles.size(); ++i) {
      // Particle n leaves at frame n, where the emitter stood at x = n; with the option at
      // a random frame of the object's 300.
      const int64_t number = 100 - static_cast<int64_t>(i);
      const double x = random ? 300.0 * fractionsOf(number, 2)[1] : static_cast<double>(number);
      EXPECT_NEAR(particles[i].centre.x, x, 2e-3) << random << ' ' << number;
    }
  }
}

TEST_F(ParticleStreamTest, TheMovingDirectionCanSteerTheFlightAndTheTurn) {
  output_.frequency.setValue(10, 0);
  const struct {
    const char* why;
    bool moving;
    double direction;
    bool steerFlight, steerTurn;
  } cases[] = {
      {"flight behind the emitter", true, 0, true, false},
      {"flight turned from behind the emitter", true, 90, true, false},
      {"a standing emitter has no direction: the particles stay", false, 0, true, false},
      {"the turn follows the motion", true, 0, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    output_.x.setMovement(*Effect::defaultMovement());
    output_.x.values = {0};
    if (c.moving) moveAlongX();
    output_.direction.setValue(c.direction, 0);
    output_.directionAlongPath.value = c.steerFlight;
    output_.rotationAlongPath.value = c.steerTurn;
    const std::vector<Particle> particles = particlesAt(100);
    ASSERT_EQ(particles.size(), 101u);
    for (std::size_t i = 0; i < particles.size(); ++i) {
      const double age = static_cast<double>(i) / 10;
      const double emitter = c.moving ? 100.0 - static_cast<double>(i) : 0.0;
      const Particle& p = particles[i];
      if (c.steerFlight) {
        // The emitter moves towards +x: behind it is -x, turned by the direction.
        const double d = c.moving ? 100 * age : 0.0;
        const double theta = c.direction * kPi / 180;
        EXPECT_NEAR(p.centre.x, emitter - d * std::cos(theta), 1e-3) << i;
        EXPECT_NEAR(p.centre.y, -d * std::sin(theta), 1e-3) << i;
      }
      if (c.steerTurn) {
        // The particle's +y axis (from corner 0 to corner 3) points against the motion.
        const XMath::Vector up = XMath::subtract3(p.corners[3], p.corners[0]);
        EXPECT_NEAR(up.x, -2, 1e-4) << i;
        EXPECT_NEAR(up.y, 0, 1e-4) << i;
      }
    }
  }
}

TEST_F(ParticleStreamTest, TheViewAddsThePositionAndTheBlendMode) {
  Effect::EffectContext context;
  context.outputView.x = 1;
  context.outputView.blendMode = 2;
  output_.x.setValue(10, 0);
  output_.z.setValue(-3, 0);
  Effect::OutputView view = output_.getOutputView(context);
  EXPECT_FLOAT_EQ(view.x, 11);
  EXPECT_FLOAT_EQ(view.z, -3);
  EXPECT_EQ(view.blendMode, 2) << "kept at 通常";
  EXPECT_EQ(view.opacity, 1.0f);

  output_.blendMode.value = 1;
  output_.transparency.setValue(30, 0);
  view = output_.getOutputView(context);
  EXPECT_EQ(view.blendMode, 1);
  EXPECT_EQ(std::bit_cast<uint32_t>(view.opacity), 0x3F7FFFEFu)
      << "a hair below opaque while particles start transparent";
}

// The stream drawn through the render workers.
class ParticleRenderTest : public TestSupport::RenderWorldTest {
 protected:
  // A 4 x 4 red object with the particle output from frame 0 to 40, ten frames a second.
  std::shared_ptr<ParticleOutput> place() {
    world_->scene().rate = 10;
    world_->scene().scale = 1;
    auto input = std::make_shared<TestSupport::SolidInput>();
    input->width = input->height = 4;
    auto object = world_->placeEffect(0, 0, 40, input);
    auto output = std::make_shared<ParticleOutput>();
    object->effects.push_back(output);
    return output;
  }
  TestSupport::Rgba at(const Media::ImageBuffer& frame, int x, int y) {
    return TestSupport::halfPixel(frame, static_cast<uint32_t>(x), static_cast<uint32_t>(y));
  }
};

TEST_F(ParticleRenderTest, EveryParticleIsDrawnOnceFromItsEmitter) {
  const TestSupport::Rgba clear{0, 0, 0, 0};
  for (const double transparency : {0.0, 50.0}) {
    resize(64, 48);
    auto output = place();
    output->frequency.setValue(1, 0);
    output->speed.setValue(20, 0);
    output->spread.setValue(0, 0);
    output->direction.setValue(90, 0);
    output->x.setValue(10, 0);
    output->transparency.setValue(transparency, 0);
    const auto frame = renderFrame(10);
    ASSERT_TRUE(frame);
    const float a = static_cast<float>(1 - transparency / 100);
    const TestSupport::Rgba red{a, 0, 0, a};
    // After 1 s: the new particle at the emitter (x 10), the first 20 to its left.
    EXPECT_TRUE(TestSupport::nearHalf(at(*frame, 42, 24), red, 0.01f)) << transparency;
    EXPECT_TRUE(TestSupport::nearHalf(at(*frame, 22, 24), red, 0.01f)) << transparency;
    EXPECT_TRUE(TestSupport::nearHalf(at(*frame, 32, 24), clear)) << transparency;
    EXPECT_TRUE(TestSupport::nearHalf(at(*frame, 52, 24), clear)) << "the emitter counted twice";
  }
}

TEST_F(ParticleRenderTest, AListTheContextHoldsIsTheShapeOfEveryParticle) {
  world_->scene().rate = 10;
  world_->scene().scale = 1;
  auto input = std::make_shared<TestSupport::SolidInput>();
  auto output = std::make_shared<ParticleOutput>();
  output->frequency.setValue(1, 0);
  output->speed.setValue(0, 0);
  output->x.setValue(10, 0);
  auto object = std::make_shared<Edit::Object>(0, 0, 40);
  object->effects = {input, output};
  Media::RenderBuffer frame(64, 48);
  Effect::EffectContext context;
  context.scene = &world_->scene();
  context.frame = 10;
  context.time = 10;
  context.setObject(object, object->frames());
  context.objectChain = std::make_shared<Effect::ObjectChain>(Effect::ObjectChain{object});
  context.outputView.target = &frame;
  context.outputView.x = 3;
  // As a script might have drawn it: two 2 x 2 quads, 6 left and 6 right of the origin.
  auto shape = std::make_shared<Media::VertexListQuadPosUv>();
  for (const float dx : {-6.0f, 6.0f})
    for (const auto& v : baseQuad().vertices)
      shape->vertices.push_back({v.x + dx, v.y, v.z, v.u, v.v, v.alpha, v.extra});
  context.vertexList = shape;
  Effect::OwnedImage image = input->inputVideo(context);

  output->outputVideo(context, frame, image);
  EXPECT_TRUE(context.individualParts) << "the handle without the centre offset";
  EXPECT_EQ(context.outputView.x, 3.0f) << "the position is restored";
  const auto* collected = dynamic_cast<const Media::VertexListQuadPosUv*>(context.vertexList.get());
  ASSERT_NE(collected, nullptr);
  EXPECT_EQ(collected->vertices.size(), 2u * 8u) << "two particles of two quads each";
  const auto drawn = frame.readBack();
  ASSERT_TRUE(drawn);
  // The object 3 right of the centre, the emitter 10 further: the quads at x 39 and 51.
  const TestSupport::Rgba red{1, 0, 0, 1};
  EXPECT_TRUE(TestSupport::nearHalf(at(*drawn, 35 + 10 - 6, 24), red));
  EXPECT_TRUE(TestSupport::nearHalf(at(*drawn, 35 + 10 + 6, 24), red));
  EXPECT_TRUE(TestSupport::nearHalf(at(*drawn, 35 + 10, 24), {0, 0, 0, 0}));
}

TEST_F(ParticleRenderTest, NoRateDrawsNothing) {
  place()->frequency.setValue(0, 0);
  const auto frame = renderFrame(10);
  ASSERT_TRUE(frame);
  for (int x = 0; x < 64; x += 4)
    for (int y = 0; y < 48; y += 4)
      ASSERT_TRUE(TestSupport::nearHalf(at(*frame, x, y), {0, 0, 0, 0})) << x << ',' << y;
}

}  // namespace
