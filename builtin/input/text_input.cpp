#include "builtin/input/text_input.h"

#include <array>
#include <exception>

#include "builtin/choice_lists.h"
#include "builtin/input/text_input_layout.h"
#include "effect/media_input_host.h"
#include "effect/script_host.h"
#include "gpu/resource_buffer.h"
#include "system/log.h"
#include "system/text.h"

namespace Effect {

namespace {

constexpr const char* kScriptPlace = "Effect::TextInput::expandScript";

constexpr std::array<TextInput::Alignment, 18> kAlignments{{
    {-0.5f, -0.5f, 0.0f, false},  // 左寄せ[上]
    {0.0f, -0.5f, 0.5f, false},   // 中央揃え[上]
    {0.5f, -0.5f, 1.0f, false},   // 右寄せ[上]
    {-0.5f, 0.0f, 0.0f, false},   // 左寄せ[中]
    {0.0f, 0.0f, 0.5f, false},    // 中央揃え[中]
    {0.5f, 0.0f, 1.0f, false},    // 右寄せ[中]
    {-0.5f, 0.5f, 0.0f, false},   // 左寄せ[下]
    {0.0f, 0.5f, 0.5f, false},    // 中央揃え[下]
    {0.5f, 0.5f, 1.0f, false},    // 右寄せ[下]
    {0.5f, -0.5f, 0.0f, true},    // 縦書 上寄[右]
    {0.5f, 0.0f, 0.5f, true},     // 縦書 中央[右]
    {0.5f, 0.5f, 1.0f, true},     // 縦書 下寄[右]
    {0.0f, -0.5f, 0.0f, true},    // 縦書 上寄[中]
    {0.0f, 0.0f, 0.5f, true},     // 縦書 中央[中]
    {0.0f, 0.5f, 1.0f, true},     // 縦書 下寄[中]
    {-0.5f, -0.5f, 0.0f, true},   // 縦書 上寄[左]
    {-0.5f, 0.0f, 0.5f, true},    // 縦書 中央[左]
    {-0.5f, 0.5f, 1.0f, true},    // 縦書 下寄[左]
}};

constexpr std::array<TextInput::Decoration, 7> kDecorations{{
    {0.0f, 0.0f, true},     // 標準文字
    {0.0f, 1.0f, true},     // 影付き文字
    {0.0f, 0.5f, true},     // 影付き文字(薄)
    {0.15f, 0.0f, true},    // 縁取り文字
    {0.075f, 0.0f, true},   // 縁取り文字(細)
    {0.225f, 0.0f, true},   // 縁取り文字(太)
    {0.075f, 0.0f, false},  // 縁取り文字(角)
}};

template <std::size_t N, class T>
const T& entryOf(const std::array<T, N>& table, int value) {
  return value >= 0 && static_cast<std::size_t>(value) < N ? table[static_cast<std::size_t>(value)]
                                                           : table[0];
}

Media::ColorF colorOf(const EffectItemColor& item) {
  return {item.red / 255.0f, item.green / 255.0f, item.blue / 255.0f, 1.0f};
}

// Seconds from the object's first frame to the context's instant.
double secondsSinceStart(const EffectContext& context) {
  const MediaTime::Timing timing = sceneTimingOf(context.scene);
  if (!timing.isUsable()) return 0.0;
  return timing.seconds(context.time - context.objectFrames.start);
}

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// The text as one line of the timeline: cut to its first characters, line feeds shown as a
// return sign and the other control characters as spaces.
std::string shortenedText(const std::string& text) {
  std::u16string wide = System::utf8ToUtf16(text);
  const bool cut = wide.size() > TextInput::kDisplayNameLength;
  if (cut) {
    wide.resize(TextInput::kDisplayNameLength);
    // Half a surrogate pair is no character.
    if (isHighSurrogate(wide.back())) wide.pop_back();
  }
  for (char16_t& unit : wide) {
    if (unit == u'\n')
      unit = u'\u23CE';
    else if (unit < 0x20)
      unit = u' ';
  }
  std::string shown = System::utf16ToUtf8(wide);
  if (cut) shown += "...";
  return shown;
}

}  // namespace

TextInput::Alignment TextInput::alignmentOf(int value) { return entryOf(kAlignments, value); }

TextInput::Decoration TextInput::decorationOf(int value) { return entryOf(kDecorations, value); }

TextInput::TextInput()
    : ScriptEffect(kName, EffectType::Input, MediaType::Video, ""),
      size(items, "サイズ", 40.0, 1.0, 1000.0, 0.01),
      spacing(items, "字間", 0.0, -100.0, 100.0, 0.01),
      lineSpacing(items, "行間", 0.0, -100.0, 100.0, 0.01),
      displaySpeed(items, "表示速度", 0.0, 0.0, 100.0, 0.01),
      font(items, "フォント", nullptr),
      textColor(items, "文字色", 0xFFFFFF),
      shadowColor(items, "影・縁色", 0x000000),
      decoration(items, "文字装飾", 0, TextStyleList(), 0.0f, 0.4f),
      alignment(items, "文字揃え", 0, TextAlignList(), 0.4f, 0.8f),
      bold(items, "B", false, 0.8f, 0.9f),
      italic(items, "I", false, 0.9f, 1.0f),
      text(items, "テキスト", ""),
      perCharacter(items, "文字毎に個別オブジェクト", false),
      alongPath(items, "移動座標上に表示", false),
      autoLength(items, "オブジェクトの長さを自動調節", false) {
  displaySpeed.notify = text.notify = perCharacter.notify = autoLength.notify = true;
}

std::shared_ptr<EffectBase> TextInput::create() const { return std::make_shared<TextInput>(); }

std::string TextInput::expandScript(EffectContext* context, std::string_view block) {
  const std::string script = !block.empty() && block.front() == '='
                                 ? "mes(" + std::string(block.substr(1)) + ")"
                                 : std::string(block);
  try {
    return scriptHost().runTextBlock(*this, context, script);
  } catch (const std::exception& e) {
    System::Log::warn(kScriptPlace, "script exception: %s", e.what());
  } catch (...) {
    System::Log::warn(kScriptPlace, "script exception: %s", "unknown exception");
  }
  return {};
}

std::string TextInput::expandScripts(EffectContext* context) {
  const std::string& source = text.value;
  std::string expanded = source;
  std::size_t from = 0;
  for (;;) {
    const std::size_t open = source.find("<?", from);
    if (open == std::string::npos) break;
    const std::size_t close = source.find("?>", open + 2);
    if (close == std::string::npos) break;
    const std::string_view whole(source.data() + open, close + 2 - open);
    // A block never spans a NUL; the search goes on from the next character.
    if (whole.find('\0') != std::string_view::npos) {
      from = open + 1;
      continue;
    }
    // Every copy of the same block shows what its first run printed.
    System::replaceAll(expanded, whole, expandScript(context, whole.substr(2, whole.size() - 4)));
    from = close + 2;
  }
  return expanded;
}

void TextInput::prepareLayout(Layout& layout, EffectContext* context) {
  const auto number = [context](const EffectItemNumber& item) {
    return context ? item.getValue(*context) : item.getDisplayValue(0);
  };
  layout.text = System::utf8ToUtf16(expandScripts(context));
  layout.family = System::utf8ToUtf16(font.toString());
  layout.alignment = alignmentOf(alignment.value);
  const Decoration decorated = decorationOf(decoration.value);

  Media::TextDraw& draw = layout.draw;
  draw.text = layout.text.c_str();
  draw.currentTime = context ? secondsSinceStart(*context) : 0.0;
  draw.vertical = layout.alignment.vertical;
  draw.lineAlignment = layout.alignment.lineAlignment;
  draw.characterSpacing = static_cast<float>(number(spacing));
  draw.lineSpacing = static_cast<float>(number(lineSpacing));
  draw.baseFamily = layout.family.c_str();
  draw.baseSize = static_cast<float>(number(size));
  draw.bold = bold.value;
  draw.italic = italic.value;
  draw.baseColor = colorOf(textColor);
  draw.baseEdgeColor = colorOf(decoration.value != 0 ? shadowColor : textColor);
  draw.edgeRatio = decorated.outline;
  draw.shadowAlpha = decorated.shadow;
  draw.roundedEdge = decorated.roundJoins;
  draw.displaySpeed = number(displaySpeed);
  draw.measure();
}

OwnedImage TextInput::inputVideo(EffectContext& context) {
  if (text.value.empty()) return {};
  Layout layout;
  prepareLayout(layout, &context);
  if (perCharacter.value) {
    drawCharacters(context, layout);
    return {};
  }
  const int32_t width = layout.draw.imageWidth();
  const int32_t height = layout.draw.imageHeight();
  if (width <= 0 || height <= 0) return {};
  auto image = std::make_unique<Media::ResourceBuffer>(width, height);
  image->createRenderTargetView();
  const float transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  image->clearRenderTarget(transparent);
  // The alignment's corner (or edge, or middle) of the text is the object's position.
  context.outputView.centerX = static_cast<float>(image->width()) * layout.alignment.fx;
  context.outputView.centerY = static_cast<float>(image->height()) * layout.alignment.fy;
  layout.draw.draw(*image);
  return adoptBuffer(std::move(image));
}

std::string TextInput::getDisplayName() const {
  if (text.value.empty()) return EffectBase::getDisplayName();
  if (!cachedName_ || cachedNameSource_ != text.value) {
    cachedName_ = shortenedText(text.value);
    cachedNameSource_ = text.value;
  }
  return *cachedName_;
}

void TextInput::updateItemState() { alongPath.shown = perCharacter.value; }

}  // namespace Effect
