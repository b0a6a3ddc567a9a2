#pragma once
// The drawing resources many parts of the program share, made once at start-up after the
// graphics services: the text formats of the user interface (named after style.conf [Font]
// keys), the stroke styles, the built-in figure paths, the pipeline-state lists and built-in
// shaders, the control font, the figure and transition lists and the two noise tables.
//
// Text formats, stroke styles and the noise tables are made on first use and then kept;
// the figure and transition lists are fixed once the service exists. Members are declared
// in the order they are made and destroyed in reverse.
#include <array>
#include <cstddef>
#include <memory>
#include <mutex>

#include "effect/effect_item_select.h"
#include "gpu/resource/figure_list.h"
#include "gpu/resource/gdi_font_list.h"
#include "gpu/resource/lookup_tables.h"
#include "gpu/resource/path_data.h"
#include "gpu/resource/pixel_shader_list.h"
#include "gpu/resource/stroke_style_list.h"
#include "gpu/resource/transition_list.h"
#include "gpu/shader/blend_state_list.h"
#include "gpu/shader/rasterizer_state_list.h"
#include "gpu/shader/sampler_state_list.h"
#include "gpu/text/text_format.h"
#include "system/service_holder.h"

namespace Resource {

class ResourceService : public System::Service<ResourceService> {
 public:
  // The user-interface text formats, by the index windows and controls ask for.
  enum TextFormatIndex : std::size_t {
    kControl, kControlSmall, kEditControl, kLayerObject, kPreviewTime, kTimeGauge, kFooter,
    kTextEdit, kLog, kTextFormatCount
  };
  enum LookupTable : std::size_t { kPermutationTable = 0, kSmoothNoiseTable = 1 };

  // Needs the settings, the 2-D and the device services. Loads the built-in shaders and
  // reads [Font] Control (a malformed value throws the settings reader's error), then fills
  // the figure list and the transition list.
  ResourceService();
  ~ResourceService();
  ResourceService(const ResourceService&) = delete;
  ResourceService& operator=(const ResourceService&) = delete;

  // The service; throws when it has not been created.
  static ResourceService& Get();

  StrokeStyleList& strokeStyles() { return strokeStyles_; }
  // The format of an index, made on first use: a missing or malformed style key throws the
  // settings reader's float error then.
  TextFormatResource& textFormat(std::size_t index);
  const BuiltinPaths& figurePaths() const { return figurePaths_; }
  Shader::SamplerStateList& samplerStates() { return samplerStates_; }
  Shader::BlendStateList& blendStates() { return blendStates_; }
  Shader::RasterizerStateList& rasterizerStates() { return rasterizerStates_; }
  PixelShaderList& pixelShaders() { return *pixelShaders_; }
  const GdiFontList& controlFont() const { return *controlFont_; }
  const FigureList& figureList() const { return *figureList_; }
  const TransitionList& transitionList() const { return *transitionList_; }
  // A noise table, made by the first caller (callers at the same time wait for it).
  std::shared_ptr<Media::ResourceBuffer> lookupTable(LookupTable table);

  // Draws a picture wipe's mask: the luminance key shader with clamped sampling and the
  // shared constants.
  void drawLuminanceKey(Media::ResourceBuffer& target, Media::ResourceBuffer& picture,
                        const LuminanceKeyConstants& constants);
  // Held by whoever fills and uploads the built-in shaders' shared constants and draws with
  // them: that buffer is one for every drawing thread.
  std::mutex& sharedConstantsMutex() { return sharedConstantsMutex_; }
  // Draws `shader` from `input` into `target` with the first `size` bytes of the shared
  // constants taken from `constants` and the rest zero (more than 16 bytes throws). Draws
  // that use the shared constants run one at a time.
  void drawWithSharedConstants(Media::PixelShader& shader, Media::ResourceBuffer& target,
                               Media::ResourceBuffer& input, const void* constants,
                               std::size_t size, const Media::BlendState* blend);
  void drawWithSharedConstants(Media::PixelShader& shader, Media::RenderBuffer& target,
                               Media::ResourceBuffer& input, const void* constants,
                               std::size_t size, const Media::BlendState* blend);

 private:
  FigureEntry::Environment figureEnvironment();
  TransitionEntry::Environment transitionEnvironment();
  // Fills and uploads the shared constants; the caller holds sharedConstantsMutex_.
  const Media::ConstantBufferCommon& uploadShared(const void* constants, std::size_t size);
  template <class Target>
  void drawShared(Media::PixelShader& shader, Target& target, Media::ResourceBuffer& input,
                  const void* constants, std::size_t size, const Media::BlendState* blend);

  StrokeStyleList strokeStyles_;
  std::array<TextFormatResource, kTextFormatCount> textFormats_;
  BuiltinPaths figurePaths_;
  Shader::SamplerStateList samplerStates_;
  Shader::BlendStateList blendStates_;
  Shader::RasterizerStateList rasterizerStates_;
  std::unique_ptr<PixelShaderList> pixelShaders_;
  std::unique_ptr<GdiFontList> controlFont_;
  std::unique_ptr<FigureList> figureList_;
  std::unique_ptr<TransitionList> transitionList_;
  std::array<LazySharedResource, 2> lookupTables_;
  std::mutex sharedConstantsMutex_;
};

}  // namespace Resource
