#pragma once
// A world to render scenes in: a program folder of the test's own with the settings the
// render engine reads, the graphics services, the shared drawing resources, the edit model
// and the render service, in the program's start-up order; and small effects whose pictures
// are known (a solid rectangle, a tint, a failing input, a group control that moves its
// layers).
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "edit/edit_test_support.h"
#include "effect/output_effect_base.h"
#include "effect/output_video_drawer.h"
#include "gpu/direct3d_service.h"
#include "gpu/draw2d/direct2d_service.h"
#include "gpu/gpu_test_support.h"
#include "gpu/image/image_buffer.h"
#include "gpu/render_buffer.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "media/input/input_service.h"
#include "render/control_state.h"
#include "render/cache_service.h"
#include "render/output_drawer.h"
#include "render/published_group_gains.h"
#include "render/render_service.h"
#include "render/transform.h"
#include "system/file.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"

namespace TestSupport {

// A rectangle of one colour (premultiplied), its size in pixels.
class SolidInput : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "テスト単色";
  SolidInput() : EffectBase(kName, Effect::EffectType::Input, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<SolidInput>(); }
  Effect::OwnedImage inputVideo(Effect::EffectContext&) override {
    auto image = std::make_unique<Media::ResourceBuffer>(width, height);
    image->createRenderTargetView();
    image->clearRenderTarget(colour);
    return Effect::adoptBuffer(std::move(image));
  }
  int width = 8;
  int height = 8;
  float colour[4] = {1.0f, 0.0f, 0.0f, 1.0f};
};

// An input whose picture cannot be made.
class FailingInput : public SolidInput {
 public:
  Effect::OwnedImage inputVideo(Effect::EffectContext&) override {
    throw System::makeException("TestSupport::FailingInput", "no picture.");
  }
};

// The standard drawing output.
class DrawOutput : public Effect::BasicOutput {
 public:
  DrawOutput() : BasicOutput("標準描画", 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<DrawOutput>(); }
};

// A filter that multiplies the picture by a colour through the built-in fill... kept on the
// CPU side: it replaces the image with a new one of the given colour (a visible change).
class RecolourFilter : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "テスト色替え";
  RecolourFilter() : EffectBase(kName, Effect::EffectType::Filter, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<RecolourFilter>();
  }
  Effect::OwnedImage filterVideo(Effect::EffectContext&, Effect::OwnedImage image) override {
    ++calls;
    if (dropImage) return {};
    image->clearRenderTarget(colour);
    return image;
  }
  float colour[4] = {0.0f, 0.0f, 1.0f, 1.0f};
  bool dropImage = false;
  int calls = 0;
};

// A group control that moves the layers it governs by (dx, dy) in the frame.
class MovingGroup : public Effect::EffectBase, public Render::GroupControlState {
 public:
  MovingGroup() : EffectBase("グループ制御", Effect::EffectType::Control, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<MovingGroup>(); }
  Effect::EffectItemLayerRange* getLayerRange() override { return &range; }
  void controlVideo(Effect::EffectContext& context) override {
    worldMatrix = XMath::translation(dx, dy, 0.0f);
    viewMatrix = Render::getDefaultView(context.outputView,
                                        static_cast<unsigned>(context.outputView.target->width()),
                                        static_cast<unsigned>(context.outputView.target->height()));
  }
  Effect::EffectItemLayerRange range{items, "対象レイヤー数", 0};
  float dx = 0.0f;
  float dy = 0.0f;
};

inline constexpr const char* kRenderSystemConf =
    "[Config]\nTemporaryImageCacheSize=1000000\nPixelFormat=10\nMaskFormat=65\n";
inline constexpr const char* kRenderStyleConf =
    "[Layout]\nSettingItemHeight=18\nExplorerHeaderHeight=26\nListItemHeight=19\n"
    "[Font]\nDefaultFamily=DejaVu Sans\nControl=12\n[Color]\nClippingObjectMask=ff000080\n";

class RenderWorld {
 public:
  // With the media readers a test brings (none by default).
  explicit RenderWorld(Plugin::InputService::PluginList readers = {}) {
    install_.makeFolder("data");
    install_.writeFile("system.conf", kRenderSystemConf);
    install_.writeFile("style.conf", kRenderStyleConf);
    System::FileName::resetVariableList(install_.path());
    settings_.emplace();
    direct2D_.emplace();
    direct3D_.emplace();
    resources_.emplace();
    edit_.emplace();
    System::FileName::resetVariableList(install_.path());
    inputs_.emplace(std::move(readers));
    caches_.emplace();
    render_.emplace();
    Effect::setOutputVideoDrawer(&drawer_);
    Effect::setGroupAudioGainSource(&groupGains_);
  }
  RenderWorld(const RenderWorld&) = delete;
  RenderWorld& operator=(const RenderWorld&) = delete;
  ~RenderWorld() {
    Cache::CacheService::instance()->stop();
    Render::RenderService::Get().stop();
    Effect::setOutputVideoDrawer(nullptr);
    Effect::setGroupAudioGainSource(nullptr);
    render_.reset();
    caches_.reset();
    inputs_.reset();
    edit_.reset();
    resources_.reset();
    direct3D_.reset();
    direct2D_.reset();
    settings_.reset();
    System::FileName::resetVariableList();
  }

  Edit::Scene& scene() { return edit_->scene(); }
  Render::RenderVideoWorker& video() { return Render::RenderService::Get().video(); }

  // Places an object of a solid input and the drawing output on the current scene.
  std::shared_ptr<Edit::Object> placeSolid(int layer, int start, int end,
                                           std::shared_ptr<SolidInput> input = nullptr) {
    auto object = place(layer, start, end);
    object->effects.push_back(input ? input : std::make_shared<SolidInput>());
    object->effects.push_back(std::make_shared<DrawOutput>());
    return object;
  }
  std::shared_ptr<Edit::Object> placeEffect(int layer, int start, int end,
                                            std::shared_ptr<Effect::EffectBase> effect) {
    auto object = place(layer, start, end);
    object->effects.push_back(std::move(effect));
    return object;
  }

  struct Result {
    std::shared_ptr<Media::ImageBuffer> image;  // null when the frame failed
    std::exception_ptr failure;
    bool called = false;
  };
  // Renders a frame through a key-3 request and waits for its answer.
  Result render(int frame) {
    Result result;
    video().requestRenderingFrame(
        3, frame,
        [&](int, Media::RenderBuffer& buffer, Anchor::AnchorList*) {
          result.called = true;
          result.image = buffer.readBack();
        },
        [&](int, std::exception_ptr failure) {
          result.called = true;
          result.failure = failure;
        });
    video().requestThread().waitAllTasks();
    return result;
  }

 private:
  TempFolder install_;
  std::optional<System::ServiceHolder<Setting::SettingService>> settings_;
  std::optional<System::ServiceHolder<Media::Direct2DService>> direct2D_;
  std::optional<System::ServiceHolder<Media::Direct3DService>> direct3D_;
  std::optional<System::ServiceHolder<Resource::ResourceService>> resources_;
  std::optional<EditServices> edit_;
  std::optional<System::ServiceHolder<Plugin::InputService>> inputs_;
  std::optional<System::ServiceHolder<Cache::CacheService>> caches_;
  std::optional<System::ServiceHolder<Render::RenderService>> render_;
  Render::OutputDrawer drawer_;
  Render::PublishedGroupGains groupGains_;
};

// A render world for one test, its scene 64 x 48 unless the test resizes it.
class RenderWorldTest : public ::testing::Test {
 protected:
  void SetUp() override { resize(64, 48); }
  void TearDown() override { world_.reset(); }

  // A fresh world with a scene of that size.
  void resize(int width, int height) {
    world_.reset();
    world_.emplace();
    world_->scene().width = width;
    world_->scene().height = height;
  }
  // The frame rendered; null, with a test failure that says why, when it failed.
  std::shared_ptr<Media::ImageBuffer> renderFrame(int frame = 0) {
    const RenderWorld::Result result = world_->render(frame);
    if (result.image) return result.image;
    std::string why = "no answer";
    if (result.failure) {
      try {
        std::rethrow_exception(result.failure);
      } catch (const std::exception& failure) {
        why = failure.what();
      }
    }
    ADD_FAILURE() << "the frame failed: " << why;
    return nullptr;
  }

  std::optional<RenderWorld> world_;
};

// A render world and a frame of its own size that a test draws into directly, for the tests
// that run one effect's drawing without a scene render.
class FrameTest : public ::testing::Test {
 protected:
  FrameTest(int width, int height) : width_(width), height_(height) {}
  void SetUp() override {
    world_.emplace();
    frame_ = std::make_unique<Media::RenderBuffer>(width_, height_);
  }
  void TearDown() override {
    frame_.reset();
    world_.reset();
  }

  int width_;
  int height_;
  std::optional<RenderWorld> world_;
  std::unique_ptr<Media::RenderBuffer> frame_;
};

}  // namespace TestSupport
