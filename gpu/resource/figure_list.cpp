#include "gpu/resource/figure_list.h"

#include <algorithm>
#include <filesystem>

#include "gpu/direct3d_service.h"
#include "gpu/draw2d/resource_surface.h"
#include "gpu/resource/file_choices.h"
#include "gpu/resource_buffer.h"
#include "gpu/svg/svg_document.h"

namespace Resource {
namespace {

struct BuiltinFigure {
  const char* name;
  BuiltinPath path;
  int32_t kind;
};

constexpr BuiltinFigure kBuiltinFigures[] = {
    {"背景", kSquare, FigureEntry::kBackground}, {"円", kCircle, FigureEntry::kCircle},
    {"四角形", kSquare, FigureEntry::kRectangle}, {"三角形", kTriangle, FigureEntry::kOther},
    {"五角形", kPentagon, FigureEntry::kOther},  {"六角形", kHexagon, FigureEntry::kOther},
    {"星型", kStar, FigureEntry::kOther},        {"ハート", kHeart, FigureEntry::kOther},
};

}  // namespace

std::unique_ptr<Media::ResourceBuffer> FigureEntry::draw(int32_t width, int32_t height,
                                                         const Media::Color::Rgba& colour,
                                                         float lineWidth, bool roundedLine,
                                                         int32_t format,
                                                         const Environment& environment) const {
  if (kind == kBackground && environment.sceneSize) environment.sceneSize(width, height);
  if (width == 0 || height == 0) return nullptr;
  if (!path) return Media::SvgDocument::setSize(filePath, width, height, colour, format);

  if (format == 0) format = Media::Direct3DService::Get().pixelFormat;
  auto buffer = Media::ResourceBuffer::createBuffer(width, height, format);
  buffer->createRenderTargetView();
  // Images hold premultiplied colours, as everything drawn into them does.
  const float filled[4] = {colour.red * colour.alpha, colour.green * colour.alpha,
                           colour.blue * colour.alpha, colour.alpha};
  if ((kind == kBackground || kind == kRectangle) &&
      (2.0f * lineWidth >= static_cast<float>(width) || 2.0f * lineWidth >= static_cast<float>(height))) {
    // A frame that thick is the whole rectangle.
    buffer->clearRenderTarget(filled);
    return buffer;
  }
  const float transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  buffer->clearRenderTarget(transparent);

  Media::ResourceBuffer::Surface surface(*buffer);
  const Media::SolidColorBrush brush({colour.red, colour.green, colour.blue, colour.alpha});
  float w = static_cast<float>(width), h = static_cast<float>(height), offset = 0.0f;
  if (kind == kCircle) {
    // The antialiased edge of the circle stays inside the image.
    w -= 1.0f, h -= 1.0f, offset = 0.5f;
  }
  const float ratio = path->inscribedRatio;
  const float inscribed = ratio * std::min(w, h);
  if (ratio > 0.0f && (roundedLine || inscribed > 2.0f * lineWidth)) {
    // The outline's outer edge touches the image's sides: the path shrinks by the part of
    // the stroke that lies outside it.
    const float stroke = std::min(lineWidth, inscribed);
    const float inset = stroke / ratio;
    offset += inset * 0.5f;
    const auto geometry = path->createPathGeometry(offset, offset, w - inset, h - inset);
    surface.target().drawGeometry(*geometry, nullptr, 0.0f, 0.0f, &brush, stroke,
                                  roundedLine ? environment.roundedStroke : nullptr);
  } else {
    const auto geometry = path->createPathGeometry(offset, offset, w, h);
    surface.target().drawGeometry(*geometry, &brush, 0.0f, 0.0f, nullptr, 0.0f, nullptr);
  }
  surface.endDraw();
  return buffer;
}

FigureList::FigureList(const BuiltinPaths& paths, std::string_view figureFolderPattern,
                       std::shared_ptr<Effect::EffectItemSelect::SharedList> choices,
                       FigureEntry::Environment environment)
    : choices_(std::move(choices)), environment_(std::move(environment)) {
  for (const auto& figure : kBuiltinFigures)
    entries_.push_back({figure.name, &paths[figure.path], {}, figure.kind});

  for (const auto& file : listSortedFiles(figureFolderPattern, "Resource::FigureList::FigureList"))
    entries_.push_back({std::filesystem::path(file).stem().string(), nullptr, file,
                        FigureEntry::kOther});
  if (choices_) nameChoices(entries_, *choices_);
}

std::unique_ptr<Media::ResourceBuffer> FigureList::createImage(int32_t index, int32_t width,
                                                               int32_t height,
                                                               const Media::Color::Rgba& colour,
                                                               float lineWidth, bool roundedLine,
                                                               int32_t format) const {
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return nullptr;
  return entries_[static_cast<std::size_t>(index)].draw(width, height, colour, lineWidth,
                                                        roundedLine, format, environment_);
}

std::unique_ptr<Media::ResourceBuffer> FigureList::createImageByName(int32_t index, int32_t width,
                                                                     int32_t height) const {
  return createImage(index, width, height, {0.0f, 0.0f, 0.0f, 1.0f}, kFilled, false,
                     Media::Direct3DService::Get().maskFormat);
}

}  // namespace Resource
