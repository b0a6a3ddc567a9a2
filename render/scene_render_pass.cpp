#include "render/scene_render_pass.h"

#include <algorithm>
#include <cstring>

#include "edit/object.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "effect/effect_item_integer.h"
#include "gpu/direct3d_service.h"
#include "gpu/render_buffer.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/constant_buffer.h"
#include "render/control_state.h"
#include "render/effect_chain.h"
#include "render/recursion_key.h"
#include "render/render_video_worker.h"
#include "render/transform.h"
#include "system/log.h"

namespace Render {
namespace {

namespace Type = Effect::EffectType;
namespace MediaType = Effect::MediaType;

constexpr int kSubSceneKeyOffset = 1000000000;
constexpr float kUnsortedDepth = 1000000000.0f;
constexpr const char* kGroupControl = "グループ制御";
constexpr const char* kCameraControl = "カメラ制御";
constexpr const char* kSimpleOutput = "基本出力";

Effect::EffectBase* effectAt(const Edit::Object& object, std::size_t index) {
  return index < object.effects.size() ? object.effects[index].get() : nullptr;
}

bool named(const Effect::EffectBase* effect, const char* name) {
  return effect && std::strcmp(effect->name, name) == 0;
}

// The depth key of an object under a camera: the z of its origin after the world-view
// transform (divided by w in front of the eye), lowered by 10000 for translucent or
// blended objects so that they come after the others.
float depthKey(Effect::EffectContext& context, const std::shared_ptr<Edit::Object>& object) {
  context.setObject(object, object->frames());
  Effect::EffectBase* output = effectAt(*object, 1);
  const Effect::OutputView view = output ? output->getOutputView(context) : context.outputView;
  const XMath::Vector origin =
      XMath::transform4(XMath::Vector{0.0f, 0.0f, 0.0f, 1.0f}, getWorldViewMatrix(view));
  float z = origin.z;
  if (z > 0.0f && origin.w != 0.0f) z /= origin.w;
  if (view.opacity < 1.0f || view.blendMode != 0) z -= 10000.0f;
  return z;
}

}  // namespace

// The mask the clipping objects draw into and the frame as it was before them.
struct ScenePass::ClippingScope {
  std::unique_ptr<Media::ResourceBuffer> snapshot;
  std::shared_ptr<Media::RenderBuffer> mask;
  int lastLayer = 0;  // 0: not fixed yet
};

ScenePass::ScenePass(RenderVideoWorker& worker, const ScenePassInput& input)
    : worker_(worker), input_(input) {
  context_.scene = input.scene;
  context_.frame = input.frame;
  context_.time = input.frame;
  context_.frameOffset = input.frameOffset;
  context_.outputView = Effect::OutputView{};
  context_.outputView.target = input.target;
  context_.anchorList = input.anchors;
  context_.resourceCache = input.cache.get();
}

int ScenePass::lastGovernedLayer(const Edit::Object& object) {
  int range = 0;
  if (Effect::EffectBase* control = effectAt(object, 0))
    if (const Effect::EffectItemLayerRange* item = control->getLayerRange()) range = item->value;
  if (range == 0) range = 1000000;
  return object.layer + range;
}

void ScenePass::run() {
  Media::RenderBuffer* target = input_.target;
  const int width = input_.scene->width;
  const int height = input_.scene->height;
  worker_.postObjectTask([target, width, height] {
    target->createTexture2D(width, height);
    static constexpr float kTransparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    target->clear(kTransparent);
  });

  const int key = input_.scene->id + (input_.subScene ? kSubSceneKeyOffset : 0);
  RecursionKey recursion(worker_, key);
  if (!recursion.inserted()) return;
  walkLayers();
  flushCameraScope();
  compositeClippingScope();
  RenderVideoWorker* worker = &worker_;
  worker_.postObjectTask([worker] { worker->releaseSpareImage(); });
}

void ScenePass::walkLayers() {
  const int last = std::min(input_.scene->layerCount() - 1, input_.layerLimit);
  for (int layer = 0; layer <= last; ++layer) {
    auto object = input_.scene->findObject(layer, input_.frame, Edit::Scene::Video);
    if (!object) continue;
    context_.layerIndex = layer;

    while (!groups_.empty() && groups_.back().lastLayer < layer) groups_.pop_back();
    context_.outputView.groupControl = groups_.empty() ? nullptr : groups_.back().object;
    if (context_.outputView.cameraControl && cameraLastLayer_ < layer) flushCameraScope();
    if (clipping_ && clipping_->lastLayer != 0 && clipping_->lastLayer < layer)
      compositeClippingScope();

    const Effect::EffectBase* first = effectAt(*object, 0);
    if (!first) continue;
    if (first->effectType == Type::Control) {
      dispatchControl(object);
    } else if (first->effectType == Type::Input) {
      const Effect::EffectBase* output = effectAt(*object, 1);
      if (output && (output->mediaType == MediaType::Video ||
                     output->mediaType == MediaType::VideoAudio))
        dispatchInput(object);
    }
    // Filter objects act through the chains of the objects above them.
  }
}

void ScenePass::fixClippingLastLayer(const Edit::Object& object) {
  if (!clipping_ || clipping_->lastLayer != 0) return;
  clipping_->lastLayer = object.controlFlag ? lastGovernedLayer(object) : object.layer;
}

void ScenePass::dispatchControl(const std::shared_ptr<Edit::Object>& object) {
  fixClippingLastLayer(*object);
  const Effect::EffectBase* control = effectAt(*object, 0);
  if (named(control, kGroupControl)) {
    if (GroupControlState* state = published<GroupControlState>(object))
      state->enclosingLayer = groups_.empty() ? -1 : groups_.back().object->layer;
    postControlTask(object);
    context_.outputView.groupControl = object;
    groups_.push_back({object, lastGovernedLayer(*object)});
  } else if (named(control, kCameraControl)) {
    flushCameraScope();
    postControlTask(object);
    context_.outputView.cameraControl = object;
    cameraLastLayer_ = lastGovernedLayer(*object);
  } else {
    postControlTask(object);
  }
}

void ScenePass::dispatchInput(const std::shared_ptr<Edit::Object>& object) {
  if (object->clipping) {
    placeClippingObject(object);
    return;
  }
  fixClippingLastLayer(*object);
  if (context_.outputView.cameraControl)
    deferred_.push_back({context_, object, kUnsortedDepth});
  else
    postObjectTask(context_, object, false);
}

void ScenePass::postObjectTask(Effect::EffectContext& context,
                               const std::shared_ptr<Edit::Object>& object, bool clipping) {
  context.setObject(object, object->frames());
  Chain::collectChain(context, Chain::Video);
  Chain::collectGroupControls(context);
  Chain::preInputVideo(context);

  RenderVideoWorker* worker = &worker_;
  worker_.postObjectTask([worker, copy = context, clipping]() mutable {
    if (clipping) copy.outputView.cameraControl.reset();
    Effect::EffectBase* input = effectAt(*copy.object, 0);
    if (!input) return;
    Effect::OwnedImage image = input->inputVideo(copy);
    if (!image) return;
    // A movie frame may keep its YUV pairs only on its way straight to the standard draw,
    // which converts them as it samples; every other effect is handed the working format.
    if (image->packedPairs() && !Chain::drawsPictureUnfiltered(copy)) image->convertPackedPairs();
    worker->releaseSpareImage();
    image = Chain::filterVideo(copy, std::move(image));
    if (!image) return;
    Chain::outputVideo(copy, image);
    const int width = static_cast<int>(image->width());
    const int height = static_cast<int>(image->height());
    if (!copy.noFilterAnchors) Chain::updateFilterAnchor(copy, width, height);
    Chain::updateAnchor(copy, width, height);
    worker->parkSpareImage(std::move(image));
  });
  context.objectChain.reset();
}

void ScenePass::postControlTask(const std::shared_ptr<Edit::Object>& object) {
  context_.setObject(object, object->frames());
  Effect::EffectBase* control = effectAt(*object, 0);
  control->preInputVideo(context_);
  RenderVideoWorker* worker = &worker_;
  worker_.postObjectTask([worker, copy = context_]() mutable {
    worker->releaseSpareImage();
    Effect::EffectBase* effect = effectAt(*copy.object, 0);
    if (!effect) return;
    effect->controlVideo(copy);
    if (copy.anchorList) {
      copy.controlAnchors = true;
      effect->updateAnchor(copy, 0, 0);
    }
  });
}

void ScenePass::flushCameraScope() {
  const std::shared_ptr<Edit::Object> camera = context_.outputView.cameraControl;
  if (!camera) return;
  std::vector<Deferred> depthList;
  std::vector<Deferred> plainList;
  for (Deferred& item : deferred_) {
    const Effect::EffectBase* output = effectAt(*item.object, 1);
    if (item.object->camera && !item.object->clipping && !named(output, kSimpleOutput)) {
      depthList.push_back(std::move(item));
    } else {
      item.context.outputView.cameraControl.reset();
      plainList.push_back(std::move(item));
    }
  }
  deferred_.clear();
  // The depth keys read the camera's view, which its begin phase computes on the object
  // thread: every task posted so far has run before they are taken.
  if (!depthList.empty()) worker_.objectThread().waitAllTasks();
  for (Deferred& item : depthList) item.depth = depthKey(item.context, item.object);
  // Farthest first; equal keys keep their layer order, so nothing flickers between frames.
  std::stable_sort(depthList.begin(), depthList.end(),
                   [](const Deferred& a, const Deferred& b) { return a.depth > b.depth; });
  for (Deferred& item : depthList) postObjectTask(item.context, item.object, false);

  // The camera's closing call, with the layer that is being dispatched.
  postControlTask(camera);
  context_.outputView.cameraControl.reset();
  context_.firstCameraScope = false;

  for (Deferred& item : plainList) postObjectTask(item.context, item.object, false);
}

void ScenePass::placeClippingObject(const std::shared_ptr<Edit::Object>& object) {
  if (!clipping_) {
    clipping_ = std::make_shared<ClippingScope>();
    Media::Direct3DService& direct3D = Media::Direct3DService::Get();
    clipping_->mask = std::make_shared<Media::RenderBuffer>(direct3D.maskFormat,
                                                            Media::SampleDescription{1, 0});
    Media::RenderBuffer* target = input_.target;
    worker_.postObjectTask([scope = clipping_, target] {
      scope->snapshot = target->createResourceBuffer(true);
      scope->mask->createTexture2D(target->width(), target->height());
      static constexpr float kTransparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
      scope->mask->clear(kTransparent);
    });
  }
  Effect::EffectContext maskContext = context_;
  maskContext.outputView.target = clipping_->mask.get();
  postObjectTask(maskContext, object, true);
  context_.firstClippingObject = false;
}

void ScenePass::compositeClippingScope() {
  if (!clipping_) return;
  Media::RenderBuffer* target = input_.target;
  const bool tint = context_.anchorList && worker_.settings().visibleClippingObject != 0;
  float colour[4];
  std::memcpy(colour, worker_.clippingMaskColor(), sizeof(colour));
  worker_.postObjectTask([scope = clipping_, target, tint, colour] {
    if (!scope->snapshot || scope->snapshot->empty()) return;
    Resource::ResourceService& resources = Resource::ResourceService::Get();
    Resource::PixelShaderList& shaders = resources.pixelShaders();
    const auto snapshotView = scope->snapshot->createShaderResourceView();
    const auto maskView = scope->mask->createShaderResourceView();
    // Where the mask covers, the frame keeps what was drawn; elsewhere the snapshot returns.
    shaders.entry(Resource::PixelShaderList::kCopyTwoTargets)
        .drawTwoViewsToRender(*target, *snapshotView, *maskView, resources.blendStates().get(4));
    if (tint) {
      Media::ConstantBufferCommon constants;
      Media::ConstantBufferCommon::create(constants, colour, sizeof(colour));
      shaders.entry(Resource::PixelShaderList::kCoverageColor)
          .drawViewWithConstantsToRender(*target, *maskView, constants,
                                         resources.blendStates().get(0));
    }
  });
  clipping_.reset();
}

}  // namespace Render
