#pragma once
// What the tests of the filters that draw an object as pieces need: an input that shows a
// known picture, a filter that records every piece handed on to it, and a world that
// renders such an object on a small frame.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "effect/anchor_test_support.h"
#include "gpu/shader_run_support.h"
#include "render/effect_chain.h"
#include "render/render_test_support.h"

namespace TestSupport {

// An input whose picture is a given one.
class PictureInput : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "テスト画像";
  explicit PictureInput(CpuImage picture)
      : EffectBase(kName, Effect::EffectType::Input, 1, 1), picture_(std::move(picture)) {}
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<PictureInput>(picture_);
  }
  Effect::OwnedImage inputVideo(Effect::EffectContext&) override { return upload(picture_); }

 private:
  CpuImage picture_;
};

// A filter that hands its image on and keeps what each call saw.
class PieceRecorder : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "テスト記録";
  struct Piece {
    int index, count;
    float x, y;
    int width, height;
  };
  PieceRecorder() : EffectBase(kName, Effect::EffectType::Filter, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<PieceRecorder>();
  }
  Effect::OwnedImage filterVideo(Effect::EffectContext& context,
                                 Effect::OwnedImage image) override {
    pieces.push_back({context.partIndex, context.partCount, context.outputView.x,
                      context.outputView.y, static_cast<int>(image->width()),
                      static_cast<int>(image->height())});
    if (markFrameImage) context.frameImage = true;
    return image;
  }
  std::vector<Piece> pieces;
  bool markFrameImage = false;
};

// The standard output that keeps the sizes it was asked to build handles for, and whether
// the object was then marked as drawn in pieces.
class AnchorRecordingOutput : public DrawOutput {
 public:
  struct Request {
    int width, height;
    bool individualParts;
  };
  void updateAnchor(Effect::EffectContext& context, int width, int height) override {
    requests.push_back({width, height, context.individualParts});
  }
  std::vector<Request> requests;
};

class PiecesRenderTest : public RenderWorldTest {
 protected:
  // An object on the layer that shows `picture` through the standard output, with `filters`
  // after its output in that order.
  std::shared_ptr<Edit::Object> place(const CpuImage& picture,
                                      std::vector<std::shared_ptr<Effect::EffectBase>> filters,
                                      int layer = 0) {
    auto object = world_->placeEffect(layer, 0, 10, std::make_shared<PictureInput>(picture));
    object->effects.push_back(std::make_shared<DrawOutput>());
    for (auto& filter : filters) object->effects.push_back(std::move(filter));
    return object;
  }
  // The frame as a picture; empty when it failed.
  CpuImage frame() {
    const auto image = renderFrame(0);
    return image ? pictureOf(*image) : CpuImage();
  }
  // A context of `object` with its chain, drawing into `target`, as the object task makes
  // it for a preview frame, for a test that calls one filter of the chain itself.
  Effect::EffectContext chainContext(const std::shared_ptr<Edit::Object>& object,
                                     Media::RenderBuffer& target) {
    Effect::EffectContext context;
    context.scene = &world_->scene();
    context.outputView.target = &target;
    context.anchorList = &anchors_;
    context.setObject(object, object->frames());
    Render::Chain::collectChain(context, Render::Chain::Video);
    return context;
  }

 private:
  RecordingAnchorList anchors_;
};

// The sum of the picture's alpha: how much of it is covered.
inline float coverage(const CpuImage& picture) {
  float covered = 0;
  for (const Rgba& p : picture.pixels) covered += p[3];
  return covered;
}

}  // namespace TestSupport
