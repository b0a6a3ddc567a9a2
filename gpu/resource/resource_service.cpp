#include "gpu/resource/resource_service.h"

#include <cstring>
#include <type_traits>

#include "edit/edit_service.h"
#include "edit/scene.h"
#include "edit/update_section.h"
#include "gpu/image/png_file.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"
#include "system/exception.h"

namespace Resource {
namespace {

// The style key of each text format; format 1 is derived from format 0.
constexpr const char* kTextFormatKeys[ResourceService::kTextFormatCount] = {
    "Control", nullptr, "EditControl", "LayerObject", "PreviewTime", "TimeGauge", "Footer",
    "TextEdit", "Log"};

}  // namespace

ResourceService::ResourceService()
    : lookupTables_{LazySharedResource(makePermutationTable),
                    LazySharedResource(makeSmoothNoiseTable)} {
  for (std::size_t i = 0; i < kTextFormatCount; ++i)
    textFormats_[i].format.setGenerator([this, i](Media::ComResourcePtr<Media::TextFormat>* slot) {
      if (i == kControlSmall) {
        const Media::TextFormat& control = *textFormats_[kControl].format.get();
        *slot = TextFormat::create(control.family, control.size * 0.8f);
        return;
      }
      const FontValue value = readFontValue(kTextFormatKeys[i]);
      *slot = TextFormat::create(value.family, value.size);
    });
  buildBuiltinPaths(figurePaths_);
  pixelShaders_ = std::make_unique<PixelShaderList>();
  controlFont_ = std::make_unique<GdiFontList>();
  figureList_ = std::make_unique<FigureList>(figurePaths_, "%Figure%/*.svg",
                                             Effect::EffectItemSelect::createSharedList(),
                                             figureEnvironment());
  transitionList_ = std::make_unique<TransitionList>(
      figurePaths_, "%Transition%/*.png", Effect::EffectItemSelect::createSharedList(),
      transitionEnvironment());
}

ResourceService::~ResourceService() = default;

ResourceService& ResourceService::Get() {
  ResourceService* service = instance();
  if (!service)
    throw System::makeException("Resource::ResourceService::Get", "ResourceService not created.");
  return *service;
}

TextFormatResource& ResourceService::textFormat(std::size_t index) {
  if (index >= kTextFormatCount)
    throw System::makeFormattedException("Resource::ResourceService::textFormat",
                                         "text format index out of range.", "index=%zu", index);
  return textFormats_[index];
}

std::shared_ptr<Media::ResourceBuffer> ResourceService::lookupTable(LookupTable table) {
  return lookupTables_.at(table).get();
}

void ResourceService::drawLuminanceKey(Media::ResourceBuffer& target,
                                       Media::ResourceBuffer& picture,
                                       const LuminanceKeyConstants& constants) {
  static_assert(sizeof(LuminanceKeyConstants) == PixelShaderList::kSharedConstantBytes);
  // The shared constants are one buffer: draws that use them run one at a time.
  std::lock_guard lock(sharedConstantsMutex_);
  const Media::ConstantBufferCommon& buffer = uploadShared(&constants, sizeof(constants));
  Media::ShaderBindings::setSampler(0, samplerStates_.get(1));
  pixelShaders_->entry(PixelShaderList::kLuminanceKey)
      .drawInputWithConstants(target, picture, buffer, nullptr);
  Media::ShaderBindings::setSampler(0, nullptr);
}

const Media::ConstantBufferCommon& ResourceService::uploadShared(const void* constants,
                                                                std::size_t size) {
  if (size > PixelShaderList::kSharedConstantBytes)
    throw System::makeFormattedException("Resource::ResourceService::drawWithSharedConstants",
                                         "constants larger than the shared buffer.",
                                         "size=%zu", size);
  uint8_t* shared = pixelShaders_->sharedConstants();
  std::memset(shared, 0, PixelShaderList::kSharedConstantBytes);
  if (size > 0) std::memcpy(shared, constants, size);
  return pixelShaders_->uploadSharedConstants();
}

template <class Target>
void ResourceService::drawShared(Media::PixelShader& shader, Target& target,
                                 Media::ResourceBuffer& input, const void* constants,
                                 std::size_t size, const Media::BlendState* blend) {
  std::lock_guard lock(sharedConstantsMutex_);
  const Media::ConstantBufferCommon& buffer = uploadShared(constants, size);
  if constexpr (std::is_same_v<Target, Media::RenderBuffer>)
    shader.drawInputWithConstantsToRender(target, input, buffer, blend);
  else
    shader.drawInputWithConstants(target, input, buffer, blend);
}

void ResourceService::drawWithSharedConstants(Media::PixelShader& shader,
                                              Media::ResourceBuffer& target,
                                              Media::ResourceBuffer& input, const void* constants,
                                              std::size_t size, const Media::BlendState* blend) {
  drawShared(shader, target, input, constants, size, blend);
}

void ResourceService::drawWithSharedConstants(Media::PixelShader& shader,
                                              Media::RenderBuffer& target,
                                              Media::ResourceBuffer& input, const void* constants,
                                              std::size_t size, const Media::BlendState* blend) {
  drawShared(shader, target, input, constants, size, blend);
}

FigureEntry::Environment ResourceService::figureEnvironment() {
  FigureEntry::Environment environment;
  environment.roundedStroke = strokeStyles_.get(StrokeStyleList::kRound);
  environment.sceneSize = [](int32_t& width, int32_t& height) {
    Edit::EditService* edit = Edit::EditService::instance();
    if (!edit) return;
    const Edit::ReadSection section = edit->beginRead();
    if (!section.scene) return;
    width = section.scene->width;
    height = section.scene->height;
  };
  return environment;
}

TransitionEntry::Environment ResourceService::transitionEnvironment() {
  TransitionEntry::Environment environment;
  environment.loadImage = [](const std::string& path) { return Media::readPngFile(path); };
  environment.drawLuminanceKey = [this](Media::ResourceBuffer& target,
                                        Media::ResourceBuffer& picture,
                                        const LuminanceKeyConstants& constants) {
    drawLuminanceKey(target, picture, constants);
  };
  return environment;
}

}  // namespace Resource
