#include "builtin/filter/image_loop.h"

#include <algorithm>
#include <cmath>

#include "builtin/filter/sampler_binding.h"
#include "gpu/direct3d_service.h"
#include "gpu/gl/quad_draw_set.h"
#include "gpu/pixel_format.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"
#include "gpu/shader/vertex_buffer.h"
#include "gpu/shader/vertex_list.h"
#include "render/effect_chain.h"

namespace Effect {

ImageLoop::ImageLoop()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      columns(items, "横回数", 1.0, 1.0, 100.0, 1.0),
      rows(items, "縦回数", 1.0, 1.0, 100.0, 1.0),
      offsetX(items, "オフセットX", 0.0, -10000.0, 10000.0, 0.001),
      offsetY(items, "オフセットY", 0.0, -10000.0, 10000.0, 0.001),
      separateObjects(items, "個別オブジェクト", false) {
  label = "配置";
}

std::shared_ptr<EffectBase> ImageLoop::create() const { return std::make_shared<ImageLoop>(); }

namespace {

constexpr std::size_t kBlendOver = 0;
constexpr std::size_t kRasterizerSolid = 0;

// The texture coordinates of the target's corners: (left, top) at its top left and
// (right, bottom) at its bottom right.
struct TextureRect {
  float left, top, right, bottom;
};

// Draws the input over the whole target through a quad with those texture coordinates,
// sampled with wrapping so that coordinates beyond 0..1 repeat the input.
void drawWrapped(Media::ResourceBuffer& target, Media::ResourceBuffer& input,
                 const TextureRect& rect) {
  // Corners in the order of the full-target strip: bottom left, bottom right, top left,
  // top right.
  const Media::XYZ_UV corners[4] = {
      {-1.0f, -1.0f, 0.0f, rect.left, rect.bottom, 1.0f, 0.0f},
      {1.0f, -1.0f, 0.0f, rect.right, rect.bottom, 1.0f, 0.0f},
      {-1.0f, 1.0f, 0.0f, rect.left, rect.top, 1.0f, 0.0f},
      {1.0f, 1.0f, 0.0f, rect.right, rect.top, 1.0f, 0.0f},
  };
  Media::VertexBufferCommon quad;
  quad.setTopology(Media::VertexBufferCommon::kTriangleStrip);
  Media::VertexBufferCommon::create(quad, corners, 4, sizeof(corners[0]));

  Resource::ResourceService& service = Resource::ResourceService::Get();
  Media::Direct3DService& direct3D = Media::Direct3DService::Get();
  const auto view = input.createShaderResourceView();
  const SamplerBinding sampler(SamplerEntry::LinearWrap);
  struct Unbind {
    Media::Direct3DService& direct3D;
    ~Unbind() {
      Media::ShaderBindings::setShaderResource(0, nullptr);
      direct3D.unbindRenderTargets();
    }
  } unbind{direct3D};
  direct3D.setRenderTargetBuffer(target);
  Media::ShaderBindings::setRasterizerState(service.rasterizerStates().get(kRasterizerSolid));
  Media::ShaderBindings::setBlendState(service.blendStates().get(kBlendOver));
  direct3D.quadDrawSet().texturedShader().bind();
  service.pixelShaders().entry(Resource::PixelShaderList::kSampledCopy).bind();
  Media::ShaderBindings::setShaderResource(0, view.get());
  quad.draw();
}

// A side of repetitions, kept within what a texture holds.
uint32_t repeatedSide(uint32_t side, int count) {
  return static_cast<uint32_t>(
      std::min<uint64_t>(uint64_t{side} * static_cast<uint64_t>(count), Media::kMaxTextureSide));
}

}  // namespace

OwnedImage ImageLoop::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const int nx = static_cast<int>(std::lround(columns.getValue(context)));
  const int ny = static_cast<int>(std::lround(rows.getValue(context)));
  if (nx < 1 || ny < 1) return image;
  const auto ox = static_cast<float>(offsetX.getValue(context));
  const auto oy = static_cast<float>(offsetY.getValue(context));
  const uint32_t w = image->width();
  const uint32_t h = image->height();

  if (!separateObjects.value) {
    // A grid beyond a texture's side is cut there; the repetitions keep their size.
    const uint32_t width = repeatedSide(w, nx);
    const uint32_t height = repeatedSide(h, ny);
    auto output = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(width),
                                                          static_cast<int32_t>(height));
    drawWrapped(*output, *image,
                {ox, oy, ox + static_cast<float>(width) / static_cast<float>(w),
                 oy + static_cast<float>(height) / static_cast<float>(h)});
    return adoptBuffer(std::move(output));
  }

  const int pieces = nx * ny;
  context.partCount *= pieces;
  context.partIndex *= pieces;
  Media::ResourceBuffer scrolled(static_cast<int32_t>(w), static_cast<int32_t>(h));
  drawWrapped(scrolled, *image, {ox, oy, ox + 1.0f, oy + 1.0f});
  image.reset();

  for (int row = 0; row < ny; ++row) {
    for (int column = 0; column < nx; ++column) {
      EffectContext piece = context;
      piece.outputView.x += (static_cast<float>(column) - static_cast<float>(nx - 1) / 2.0f) *
                            static_cast<float>(w);
      piece.outputView.y += (static_cast<float>(row) - static_cast<float>(ny - 1) / 2.0f) *
                            static_cast<float>(h);
      OwnedImage picture =
          Render::Chain::filterVideoFrom(piece, adoptBuffer(scrolled.clone()), this, &context);
      Render::Chain::outputVideo(piece, picture);
      ++context.partIndex;
    }
  }
  context.individualParts = true;
  Render::Chain::updateAnchor(context, static_cast<int>(repeatedSide(w, nx)),
                              static_cast<int>(repeatedSide(h, ny)));
  return {};
}

}  // namespace Effect
