#pragma once
// "テキスト": laid-out text; script blocks in it run every frame, and it can be drawn as one
// object per character. It is a script effect, so that its blocks have an engine to run in.
// "文字装飾", "文字揃え", "B" and "I" share one row of the setting window.
//
// The glyphs are laid out and drawn by the text engine (gpu/text/text_draw.h); this effect
// decides what it is handed (the text with its blocks run, the item values at the instant,
// the seconds since the object's start) and what becomes of what it draws: one picture of
// the whole text, or one piece per character that runs through the rest of the object's
// chain, placed where it lies in the text or along the object's movement path.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_font_select.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/effect_item_text.h"
#include "effect/script_effect.h"

namespace Media {
class ResourceBuffer;
class TextDraw;
}  // namespace Media

namespace Effect {

class TextInput : public ScriptEffect {
 public:
  static constexpr const char* kName = "テキスト";
  // The display name of a longer text is cut to this many characters.
  static constexpr std::size_t kDisplayNameLength = 100;

  // How a "文字揃え" value places the text: the anchor factors of its box (-0.5 left or top,
  // 0 centre, 0.5 right or bottom), where short lines align (0 start, 0.5 centre, 1 end) and
  // whether it is written in columns.
  struct Alignment {
    float fx, fy, lineAlignment;
    bool vertical;
  };
  // How a "文字装飾" value decorates the glyphs: the outline width as a share of the size,
  // the shadow's strength, and whether the outline's corners are round.
  struct Decoration {
    float outline, shadow;
    bool roundJoins;
  };
  // A value outside the tables counts as the first entry.
  static Alignment alignmentOf(int value);
  static Decoration decorationOf(int value);

  TextInput();
  std::shared_ptr<EffectBase> create() const override;

  // The picture of the text at the context's instant; no image for an empty text or in the
  // per-character mode, which draws the characters itself.
  OwnedImage inputVideo(EffectContext& context) override;
  // The text shortened for the timeline, or the effect's name for an empty text.
  std::string getDisplayName() const override;
  // Rebuilds the setting window when the per-character mode changes, and fits the object's
  // length to the text's display time when an item changes or the object is cut.
  bool editEvent(EffectEventParam& event) override;
  // "移動座標上に表示" only applies to the per-character mode.
  void updateItemState() override;

  // Runs one script block through the scripting host and gives what it printed; a block
  // that begins with "=" prints the value of the expression after it. A failing block logs
  // a warning and gives nothing. `context` is null while the text is only measured.
  std::string expandScript(EffectContext* context, std::string_view block);
  // The text with every script block "<?" ... "?>" replaced by what it printed.
  std::string expandScripts(EffectContext* context);

  EffectItemNumber size;
  EffectItemNumber spacing;
  EffectItemNumber lineSpacing;
  EffectItemNumber displaySpeed;
  EffectItemFontSelect font;
  EffectItemColor textColor;
  EffectItemColor shadowColor;
  EffectItemSelectButton decoration;
  EffectItemSelectButton alignment;
  EffectItemCheckButton bold;
  EffectItemCheckButton italic;
  EffectItemText text;
  EffectItemCheck perCharacter;
  EffectItemCheck alongPath;
  EffectItemCheck autoLength;

 private:
  // What the text engine reads through pointers, kept alive while it lays out.
  struct Layout;
  // Fills the engine for the context's instant, or with the first stored values when there
  // is no context, and measures the text.
  void prepareLayout(Layout& layout, EffectContext* context);
  // The per-character mode: every shown character through the chain and the output.
  void drawCharacters(EffectContext& context, Layout& layout);
  // Fits the object's length to the whole text's display time; false when nothing changed.
  bool fitObjectLength(EffectEventParam& event);

  // The display name of `cachedNameSource_`, until the next item change.
  mutable std::optional<std::string> cachedName_;
  mutable std::string cachedNameSource_;
};

}  // namespace Effect
