#include "render/output_drawer.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

#include "effect/effect_context.h"
#include "effect/output_draw_constants.h"
#include "gpu/direct3d_service.h"
#include "gpu/render_buffer.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource/shader_3d_set.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/shader_binding.h"
#include "gpu/shader/vertex_list.h"
#include "gpu/texture_view.h"
#include "render/auxiliary_targets.h"
#include "render/control_state.h"
#include "render/effect_chain.h"
#include "render/texel_footprint.h"
#include "render/transform.h"

namespace Render {
namespace {

using Media::ShaderBindings;
using Media::ShaderStage;

constexpr int kOverBlend = 0;     // premultiplied "over"
constexpr int kReplaceBlend = 3;  // blending off

// The constants of the flat draws from packed YUV pairs (shaders/packed_pair_sample.hlsli),
// pixel slot 1.
struct PackedPairConstants {
  Media::ConversionConstants conversion;
  int32_t size[2];
  int32_t clampEdges;
  int32_t padding;
};
static_assert(sizeof(PackedPairConstants) == 96);

// How the packed-pair shader stands in for a sampler entry: linear or point filtering, with
// a transparent border or clamped edges. The other entries (wrap, mirror) are not emulated.
struct PackedPairSampling {
  bool point;
  bool clampEdges;
};

std::optional<PackedPairSampling> packedPairSampling(int samplerEntry) {
  switch (samplerEntry) {
    case 0: return PackedPairSampling{false, false};
    case 1: return PackedPairSampling{false, true};
    case 5: return PackedPairSampling{true, false};
    case 6: return PackedPairSampling{true, true};
    default: return std::nullopt;
  }
}

void storeTransposed(float out[16], const XMath::Matrix& m) {
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) out[row * 4 + column] = m.m[column][row];
}

void storeRows(float out[16], const XMath::Matrix& m) { std::memcpy(out, m.m, sizeof(m.m)); }

// Turns the object to face the camera's eye (billboard mode 3).
XMath::Matrix facingCamera(const CameraControlState& camera) {
  const auto& eye = camera.camera.eye;
  const XMath::Matrix look = XMath::lookToLH(XMath::Vector{0.0f, 0.0f, 0.0f, 1.0f},
                                             XMath::Vector{eye[0], eye[1], eye[2], 0.0f},
                                             XMath::Vector{0.0f, 1.0f, 0.0f, 0.0f});
  return XMath::inverse(look);
}

// Unbinds the inputs and targets whatever happens in a draw.
struct UnbindAfterDraw {
  ~UnbindAfterDraw() {
    ShaderBindings::setShaderResource(0, nullptr);
    ShaderBindings::setShaderResource(1, nullptr);
    Media::Direct3DService::Get().unbindRenderTargets();
  }
};

}  // namespace

void OutputDrawer::drawObject(Effect::EffectContext& context, Media::RenderBuffer& target,
                              Media::ResourceBuffer& image) {
  drawWithBlend(context, target, image, -1);
}

void OutputDrawer::drawObjectReplacing(Effect::EffectContext& context,
                                       Media::RenderBuffer& target, Media::ResourceBuffer& image) {
  drawWithBlend(context, target, image, kReplaceBlend);
}

// A blend entry of -1 keeps the one the states choose.
void OutputDrawer::drawWithBlend(Effect::EffectContext& context, Media::RenderBuffer& target,
                                 Media::ResourceBuffer& image, int blendEntry) {
  Resource::ResourceService& resources = Resource::ResourceService::Get();
  Media::Direct3DService& direct3D = Media::Direct3DService::Get();

  const Effect::OutputView view = Chain::getOutputView(context);
  const CameraControlState* camera = published<CameraControlState>(view.cameraControl);
  const Effect::OutputDraw::DrawPath path =
      Effect::OutputDraw::chooseDrawPath(camera != nullptr, target.lightSources.size());
  const bool customList = context.vertexList != nullptr;
  std::shared_ptr<Media::VertexList> list = context.vertexList;
  if (!list)
    list = Media::VertexListQuadPosUvCommon::getQuad(static_cast<float>(image.width()),
                                                     static_cast<float>(image.height()));

  XMath::Matrix world = getObjectMatrix(view);
  if (camera && view.billboard != 0) {
    if (view.billboard == 3) world = XMath::multiply(facingCamera(*camera), world);
    context.individualParts = true;
  }
  const XMath::Matrix worldView = XMath::multiply(world, getViewMatrix(view));

  Resource::Shader3dSet& set = resources.pixelShaders().set3d();
  Resource::Object3dConstants& constants = set.constants();
  storeTransposed(constants.projection, worldView);
  constants.alpha = view.opacity;
  const int blendMode = Effect::OutputDraw::standardBlendMode(view.blendMode);
  constants.blend = blendMode;
  if (path == Effect::OutputDraw::DrawPath::Lit) {
    storeRows(constants.normalWorld, XMath::inverse(world));
    constants.shine = view.glossiness;
  }
  set.uploadConstants();

  const Effect::OutputDraw::StateEntries states =
      Effect::OutputDraw::chooseStates(view.samplerState, view.culling, customList);
  if (blendEntry < 0) blendEntry = states.blend;

  // The plain quad of an image that no pixel shrinks needs one sample per pixel: the
  // general shader's footprint test and sample grid cost a software rasteriser several
  // times the sample itself, even where no pixel takes the grid.
  const float halfWidth = static_cast<float>(image.width()) / 2;
  const float halfHeight = static_cast<float>(image.height()) / 2;
  const bool singleSample =
      path == Effect::OutputDraw::DrawPath::Plain && !customList && blendMode == 0 &&
      mapsAtMostOneTexel(constants.projection, halfWidth, halfHeight, image.width(),
                         image.height(), target.width(), target.height());
  // A picture still in packed YUV pairs is then drawn from them, converted as it is sampled,
  // which spares the full-frame conversion into the working format.
  const Media::ResourceBuffer::PackedPairs* pairs = singleSample ? image.packedPairs() : nullptr;
  const std::optional<PackedPairSampling> sampling =
      pairs ? packedPairSampling(states.sampler) : std::nullopt;
  Media::ConstantBufferCommon pairConstants;
  bool nearest = false;
  if (sampling) {
    // Pixel centres on texel centres: the nearest pixel is the filtered sample, every pixel
    // of the quad is a whole pixel of the picture, and so an opaque picture drawn whole over
    // the frame needs no blending and no read of what lies under it.
    const bool aligned =
        landsOnTexelCentres(constants.projection, halfWidth, halfHeight, image.width(),
                            image.height(), target.width(), target.height());
    PackedPairConstants values{};
    values.conversion = pairs->toWorking;
    values.size[0] = static_cast<int32_t>(image.width());
    values.size[1] = static_cast<int32_t>(image.height());
    nearest = sampling->point || aligned;
    values.clampEdges = sampling->clampEdges ? 1 : 0;
    Media::ConstantBufferCommon::create(pairConstants, &values, sizeof(values));
    if (aligned && blendEntry == kOverBlend && view.opacity == 1.0f) blendEntry = kReplaceBlend;
  }
  // Every other draw reads the picture in the working format. Pairs still waiting are
  // converted by a draw of their own, so the view is had before this draw binds anything.
  std::shared_ptr<const Media::ShaderResourceView> imageView;
  if (!sampling) imageView = image.createShaderResourceView();

  ShaderBindings::setConstantBuffer(ShaderStage::Vertex, 0, &set.constantBuffer());
  ShaderBindings::setConstantBuffer(ShaderStage::Pixel, 0, &set.constantBuffer());
  ShaderBindings::setSampler(0, resources.samplerStates().get(static_cast<std::size_t>(states.sampler)));
  ShaderBindings::setBlendState(resources.blendStates().get(static_cast<std::size_t>(blendEntry)));
  ShaderBindings::setRasterizerState(
      resources.rasterizerStates().get(static_cast<std::size_t>(states.rasterizer)));

  const UnbindAfterDraw unbind;
  // A blend mode combines with what lies under the object: a copy of the frame as input 1.
  std::unique_ptr<Media::ResourceBuffer> frameCopy;
  std::shared_ptr<const Media::ShaderResourceView> frameView;
  if (blendMode != 0) {
    frameCopy = target.createResourceBuffer(true);
    frameView = frameCopy->createShaderResourceView();
    ShaderBindings::setShaderResource(1, frameView.get());
  }

  switch (path) {
    case Effect::OutputDraw::DrawPath::Plain: {
      direct3D.setRenderTarget(target);
      list->bindShader();
      if (sampling) {
        const Media::ShaderResourceView pairView(pairs->texture);
        if (nearest)
          set.flatPackedPairsNearest().bind();
        else
          set.flatPackedPairs().bind();
        ShaderBindings::setConstantBuffer(ShaderStage::Pixel, 1, &pairConstants);
        ShaderBindings::setShaderResource(0, &pairView);
        list->draw();
        ShaderBindings::setConstantBuffer(ShaderStage::Pixel, 1, nullptr);
        break;
      }
      if (singleSample) set.flatUvSingleSample().bind();
      ShaderBindings::setShaderResource(0, imageView.get());
      list->draw();
      break;
    }
    case Effect::OutputDraw::DrawPath::Depth: {
      const AuxiliaryTargets targets(target, 3);
      list->bindDepthShader();
      ShaderBindings::setShaderResource(0, imageView.get());
      list->draw();
      break;
    }
    case Effect::OutputDraw::DrawPath::Lit: {
      const AuxiliaryTargets targets(target, 5);
      list->bindOitShader();
      ShaderBindings::setShaderResource(0, imageView.get());
      list->drawWithNormal();
      break;
    }
  }
}

void OutputDrawer::drawObject2D(Effect::EffectContext& context, Media::RenderBuffer& target,
                                Media::ResourceBuffer& image) {
  // Converting waiting pairs draws: before the constants of this draw are bound.
  image.convertPackedPairs();
  Resource::ResourceService& resources = Resource::ResourceService::Get();
  // The offset from the context's own position and centre, before the output adds its items.
  const int32_t dx = static_cast<int32_t>(std::lround(
      (static_cast<double>(image.width()) - target.width()) * 0.5 +
      (context.outputView.centerX - context.outputView.x)));
  const int32_t dy = static_cast<int32_t>(std::lround(
      (static_cast<double>(image.height()) - target.height()) * 0.5 +
      (context.outputView.centerY - context.outputView.y)));
  const Effect::OutputView view = Chain::getOutputView(context);

  Effect::OutputDraw::Draw2DConstants bytes;
  Media::ConstantBufferCommon constants;
  Resource::PixelShaderList& shaders = resources.pixelShaders();
  if (view.blendMode == 0) {
    std::memcpy(bytes.bytes, &view.opacity, 4);
    std::memcpy(bytes.bytes + 4, &dx, 4);
    std::memcpy(bytes.bytes + 8, &dy, 4);
    Media::ConstantBufferCommon::create(constants, bytes.bytes, sizeof(bytes.bytes));
    shaders.entry(Resource::PixelShaderList::kOpacityOffset)
        .drawInputWithConstantsToRender(target, image, constants, resources.blendStates().get(0));
    return;
  }
  const int32_t blend = view.blendMode;
  std::memcpy(bytes.bytes, &blend, 4);
  std::memcpy(bytes.bytes + 4, &view.opacity, 4);
  std::memcpy(bytes.bytes + 8, &dx, 4);
  std::memcpy(bytes.bytes + 12, &dy, 4);
  Media::ConstantBufferCommon::create(constants, bytes.bytes, sizeof(bytes.bytes));
  std::unique_ptr<Media::ResourceBuffer> frameCopy = target.createResourceBuffer(true);
  ShaderBindings::setConstantBuffer(ShaderStage::Pixel, 0, &constants);
  shaders.entry(Resource::PixelShaderList::kBlendModeOffset)
      .drawTwoInputsToRender(target, image, *frameCopy, resources.blendStates().get(0));
}

void OutputDrawer::drawOffscreen(Effect::EffectContext& context, Media::ResourceBuffer& target,
                                 Media::ResourceBuffer& image) {
  // Converting waiting pairs draws: before the states of this draw are bound.
  image.convertPackedPairs();
  Resource::ResourceService& resources = Resource::ResourceService::Get();
  Media::Direct3DService& direct3D = Media::Direct3DService::Get();

  const Effect::OutputView view = Chain::getOutputView(context);
  const bool customList = context.vertexList != nullptr;
  std::shared_ptr<Media::VertexList> list = context.vertexList;
  if (!list)
    list = Media::VertexListQuadPosUvCommon::getQuad(static_cast<float>(image.width()),
                                                     static_cast<float>(image.height()));

  // The object as the frame would show it, but flat: no depth or light buffers, opaque as
  // its picture is and with the plain blend; its own opacity and blend mode come later, when
  // the output draws the image that this makes.
  Resource::Shader3dSet& set = resources.pixelShaders().set3d();
  Resource::Object3dConstants& constants = set.constants();
  storeTransposed(constants.projection, XMath::multiply(getObjectMatrix(view), getViewMatrix(view)));
  constants.alpha = 1.0f;
  constants.blend = 0;
  set.uploadConstants();
  const Effect::OutputDraw::StateEntries states =
      Effect::OutputDraw::chooseStates(view.samplerState, false, customList);
  const std::shared_ptr<const Media::ShaderResourceView> imageView =
      image.createShaderResourceView();

  ShaderBindings::setConstantBuffer(ShaderStage::Vertex, 0, &set.constantBuffer());
  ShaderBindings::setConstantBuffer(ShaderStage::Pixel, 0, &set.constantBuffer());
  ShaderBindings::setSampler(0, resources.samplerStates().get(static_cast<std::size_t>(states.sampler)));
  ShaderBindings::setBlendState(resources.blendStates().get(static_cast<std::size_t>(states.blend)));
  ShaderBindings::setRasterizerState(
      resources.rasterizerStates().get(static_cast<std::size_t>(states.rasterizer)));
  const UnbindAfterDraw unbind;
  direct3D.setRenderTargetBuffer(target);
  list->bindShader();
  ShaderBindings::setShaderResource(0, imageView.get());
  list->draw();
}

}  // namespace Render
