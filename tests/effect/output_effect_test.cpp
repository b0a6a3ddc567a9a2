#include "effect/output_effect_base.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "effect/effect_context.h"
#include "effect/output_audio_effect.h"
#include "effect/output_video_drawer.h"
#include "effect_test_support.h"

namespace {

class TestOutput : public Effect::BasicOutput {
 public:
  TestOutput() : BasicOutput("テスト描画", Effect::MediaType::Video, Effect::TargetType::Video) {}
  std::shared_ptr<EffectBase> create() const override { return nullptr; }
};

TEST(BasicOutputTest, ItemsMakeTheView) {
  struct Case {
    const char* what;
    double zoom, aspect, transparency;
    int blend;
    float scaleX, scaleY, opacity;
    int blendMode;
  };
  // The context's view starts at scale 1, opacity 0.5 and blend mode 4.
  const Case cases[] = {
      {"zoom 100 leaves the scales", 100, 0, 0, 0, 1.0f, 1.0f, 0.5f, 4},
      {"zoom 200, aspect 50", 200, 50, 0, 0, 1.0f, 2.0f, 0.5f, 4},
      {"aspect -50", 100, -50, 0, 0, 1.0f, 0.5f, 0.5f, 4},
      {"transparency 100", 100, 0, 100, 0, 1.0f, 1.0f, 0.0f, 4},
      {"transparency 50", 100, 0, 50, 0, 1.0f, 1.0f, 0.25f, 4},
      {"blend mode 3", 100, 0, 0, 3, 1.0f, 1.0f, 0.5f, 3},
      {"a script's blend mode 40", 100, 0, 0, 40, 1.0f, 1.0f, 0.5f, 23},
  };
  for (const Case& c : cases) {
    TestOutput output;
    output.zoom.setValue(c.zoom, 0);
    output.aspect.setValue(c.aspect, 0);
    output.transparency.setValue(c.transparency, 0);
    output.blendMode.value = c.blend;
    Effect::EffectContext context;
    context.outputView.opacity = 0.5f;
    context.outputView.blendMode = 4;
    const Effect::OutputView view = output.getOutputView(context);
    EXPECT_FLOAT_EQ(view.scaleX, c.scaleX) << c.what;
    EXPECT_FLOAT_EQ(view.scaleY, c.scaleY) << c.what;
    EXPECT_FLOAT_EQ(view.scaleZ, static_cast<float>(c.zoom / 100)) << c.what;
    EXPECT_FLOAT_EQ(view.opacity, c.opacity) << c.what;
    EXPECT_EQ(view.blendMode, c.blendMode) << c.what;
  }
}

TEST(BasicOutputTest, AppliedFlagsSkipPositionAndTransform) {
  TestOutput output;
  output.x.setValue(10, 0);
  output.rotationZ.setValue(90, 0);
  output.centerX.setValue(5, 0);
  output.zoom.setValue(200, 0);
  Effect::EffectContext context;
  context.outputView.x = 1.0f;
  Effect::OutputView view = output.getOutputView(context);
  EXPECT_FLOAT_EQ(view.x, 11.0f);
  EXPECT_FLOAT_EQ(view.rotationZ, 90.0f);
  EXPECT_FLOAT_EQ(view.centerX, 5.0f);
  EXPECT_FLOAT_EQ(view.scaleX, 2.0f);

  context.positionApplied = true;
  context.transformApplied = true;
  view = output.getOutputView(context);
  EXPECT_FLOAT_EQ(view.x, 1.0f);
  EXPECT_FLOAT_EQ(view.rotationZ, 0.0f);
  EXPECT_FLOAT_EQ(view.scaleX, 1.0f);
}

class RecordingDrawer : public Effect::OutputVideoDrawer {
 public:
  void drawObject(Effect::EffectContext&, Media::RenderBuffer&, Media::ResourceBuffer&) override {
    calls.push_back("object");
  }
  void drawObject2D(Effect::EffectContext&, Media::RenderBuffer&,
                    Media::ResourceBuffer&) override {
    calls.push_back("2d");
  }
  std::vector<std::string> calls;
};

TEST(BasicOutputTest, OutputVideoTakesTheDirectPathAfterAFilterDrew) {
  RecordingDrawer drawer;
  Effect::setOutputVideoDrawer(&drawer);
  TestOutput output;
  Effect::EffectContext context;
  int dummy = 0;  // the buffers are only passed through
  auto& target = reinterpret_cast<Media::RenderBuffer&>(dummy);
  Effect::OwnedImage image(reinterpret_cast<Media::ResourceBuffer*>(&dummy), {});
  output.outputVideo(context, target, image);
  context.output2D = true;
  output.outputVideo(context, target, image);
  Effect::OwnedImage none;
  output.outputVideo(context, target, none);
  Effect::setOutputVideoDrawer(nullptr);
  output.outputVideo(context, target, image);
  EXPECT_EQ(drawer.calls, (std::vector<std::string>{"object", "2d"}));
}

// Planes of `count` samples holding `value`, with a guard sample after them.
struct Planes {
  Planes(int count, float value, bool stereo)
      : left(count + 1, value), right(stereo ? count + 1 : 0, value), count(count) {
    left.back() = -100.0f;
    if (stereo) right.back() = -100.0f;
  }
  Effect::AudioPlanes view() {
    return {left.data(), right.empty() ? nullptr : right.data(), count};
  }
  Effect::ConstAudioPlanes constView() const {
    return {left.data(), right.empty() ? nullptr : right.data(), count};
  }
  std::vector<float> left, right;
  int count;
};

TEST(MixAudioTest, MixesOnlyTheSamplesBothHold) {
  Effect::EffectContext context;
  context.audio.gainLeft = 0.5f;
  context.audio.gainRight = 2.0f;
  Planes out(1024, 1.0f, true);
  Planes in(1000, 1.0f, true);
  Effect::OutputAudioEffect::mixAudio(context, out.view(), in.constView());
  for (int i = 0; i < 1024; ++i) {
    ASSERT_FLOAT_EQ(out.left[i], i < 1000 ? 1.5f : 1.0f) << i;
    ASSERT_FLOAT_EQ(out.right[i], i < 1000 ? 3.0f : 1.0f) << i;
  }
  // A longer input stops at the output's end (its guard stays).
  Planes shortOut(13, 0.0f, true);
  Planes longIn(1000, 1.0f, true);
  Effect::OutputAudioEffect::mixAudio(context, shortOut.view(), longIn.constView());
  EXPECT_FLOAT_EQ(shortOut.left[12], 0.5f);
  EXPECT_FLOAT_EQ(shortOut.left[13], -100.0f);
  EXPECT_FLOAT_EQ(shortOut.right[13], -100.0f);
}

TEST(MixAudioTest, MonoBuffersServeAsBothChannels) {
  Effect::EffectContext context;
  context.audio.gainLeft = 0.25f;
  context.audio.gainRight = 0.75f;
  struct Case {
    bool stereoOut, stereoIn;
    float left, right;  // the first output sample of each channel
  };
  // Input left 1, right 3 (a mono input is 1 on its only channel).
  const Case cases[] = {
      {true, false, 0.25f, 0.75f},  // mono into stereo: gain x mono on each side
      {false, true, 2.5f, 2.5f},    // stereo into mono: 0.25 x 1 + 0.75 x 3
      {false, false, 1.0f, 1.0f},
  };
  for (const Case& c : cases) {
    Planes out(17, 0.0f, c.stereoOut);
    Planes in(17, 1.0f, c.stereoIn);
    if (c.stereoIn) std::fill(in.right.begin(), in.right.end() - 1, 3.0f);
    Effect::OutputAudioEffect::mixAudio(context, out.view(), in.constView());
    EXPECT_FLOAT_EQ(out.left[16], c.left);
    if (c.stereoOut) {
      EXPECT_FLOAT_EQ(out.right[16], c.right);
    }
    EXPECT_FLOAT_EQ(out.left[17], -100.0f);
  }
}

TEST(MixAudioTest, EmptyAndDamagedBuffersMixNothing) {
  Effect::EffectContext context;
  Planes out(8, 1.0f, true);
  Planes in(8, 1.0f, true);
  Effect::OutputAudioEffect::mixAudio(context, out.view(), {in.left.data(), nullptr, 0});
  Effect::OutputAudioEffect::mixAudio(context, out.view(), {in.left.data(), nullptr, -5});
  Effect::OutputAudioEffect::mixAudio(context, out.view(), {nullptr, nullptr, 8});
  Effect::OutputAudioEffect::mixAudio(context, {nullptr, nullptr, 8}, in.constView());
  EXPECT_EQ(out.left, in.left);
}

class HalfGains : public Effect::GroupAudioGainSource {
 public:
  std::pair<float, float> gains(const Edit::Object&, const Effect::EffectContext&) const override {
    return {0.5f, 0.0f};
  }
};

TEST(MixAudioTest, AGroupAudioControlScalesTheGains) {
  HalfGains group;
  Effect::setGroupAudioGainSource(&group);
  Effect::EffectContext context;
  context.audio.gainLeft = 2.0f;
  context.audio.groupAudioControl = TestSupport::makeObject(0, 9);
  Planes out(4, 0.0f, true);
  Planes in(4, 1.0f, true);
  Effect::OutputAudioEffect::mixAudio(context, out.view(), in.constView());
  Effect::setGroupAudioGainSource(nullptr);
  EXPECT_FLOAT_EQ(out.left[0], 1.0f);
  EXPECT_FLOAT_EQ(out.right[0], 0.0f);
}

}  // namespace
