#pragma once
// What the tests of the filters that draw an object as pieces need: an input that shows a
// known picture, a filter that records every piece handed on to it, and a world that
// renders such an object on a small frame.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gpu/shader_run_support.h"
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

class PiecesRenderTest : public RenderWorldTest {
 protected:
  // An object on layer 0 that shows `picture` through the standard output, with `filters`
  // after its output in that order.
  std::shared_ptr<Edit::Object> place(const CpuImage& picture,
                                      std::vector<std::shared_ptr<Effect::EffectBase>> filters) {
    auto object = world_->placeEffect(0, 0, 10, std::make_shared<PictureInput>(picture));
    object->effects.push_back(std::make_shared<DrawOutput>());
    for (auto& filter : filters) object->effects.push_back(std::move(filter));
    return object;
  }
  // The frame as a picture; empty when it failed.
  CpuImage frame() {
    const auto image = renderFrame(0);
    return image ? pictureOf(*image) : CpuImage();
  }
};

}  // namespace TestSupport
