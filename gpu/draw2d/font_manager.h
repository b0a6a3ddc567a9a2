#pragma once
// The table of installed fonts, built once from fontconfig when 2-D drawing starts.
//
// A family is what fontconfig lists under one primary family name ("Noto Sans CJK JP"); its
// upright faces are registered under their own family names, which can be more specific
// ("DejaVu Sans Condensed"), the first face found for a name winning. Each entry is a menu
// entry of kind "Font": the user may relabel, reorder and hide fonts, and by default only
// fonts whose family has a name in the user's language are shown.
//
// Text is laid out with Pango, which finds faces through fontconfig too, so a font here is
// a fontconfig pattern with what Pango needs to select it again.
#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "effect/menu_define_base.h"

namespace Media {

// One face: a shared fontconfig pattern and the properties the matching rules use, on the
// scales of the program's font API (weight 1 ... 999, stretch 1 ... 9, style 0 normal,
// 1 oblique, 2 italic).
struct Font {
  enum Style : int32_t { kNormal = 0, kOblique = 1, kItalic = 2 };

  std::shared_ptr<FcPattern> pattern;
  std::string family;    // the family it belongs to (primary name)
  std::string faceName;  // its own family name (the name it is registered under)
  int32_t weight = 400;
  int32_t stretch = 5;
  int32_t style = kNormal;

  // A description Pango selects this face with at `pixelSize` (0: no size).
  std::unique_ptr<PangoFontDescription, void (*)(PangoFontDescription*)> description(
      double pixelSize = 0.0) const;
  // The file and face index of the face; empty when fontconfig gave none.
  std::string file() const;
  int32_t faceIndex() const;
};

// A family with every one of its faces.
struct FontFamily {
  std::string name;
  std::vector<Font> fonts;
};

class FontDefine : public Menu::MenuDefineBase {
 public:
  FontDefine(std::string name, Font font, std::shared_ptr<const FontFamily> family, int32_t index,
             bool localized);
  std::string_view getName() const override { return name_; }

  const Font& font() const { return font_; }
  const FontFamily& family() const { return *family_; }
  // The registration index (the default order).
  int32_t index() const { return index_; }

 private:
  std::string name_;
  Font font_;
  std::shared_ptr<const FontFamily> family_;
  int32_t index_;
};

class FontManager {
 public:
  FontManager();
  ~FontManager();
  FontManager(const FontManager&) = delete;
  FontManager& operator=(const FontManager&) = delete;

  // Fills the table from the fonts of `fonts` (fontconfig's set of the system's fonts when
  // null) and logs every registered name. `userLocale` is a locale name such as "ja-JP";
  // empty reads the process environment. Called once.
  void registerFont(const FcFontSet* fonts = nullptr, std::string_view userLocale = {});

  // A face of the family `familyName` is registered under, bolder by 200 or italic when
  // asked; a name that is not registered gives the default family's face (weight 600 when
  // bold, 400 otherwise). Throws when no font is installed at all.
  Font getFont(std::string_view familyName, bool bold, bool italic) const;

  // Every entry by family name in the locale's collation, for the font choice of text.
  std::vector<const FontDefine*> getFontList() const;
  // Every entry by its order value, for the font menu.
  std::vector<const FontDefine*> getFontDefineList() const;

  const FontDefine* find(std::string_view name) const;
  // The family drawing uses for a name that is not registered: style.conf's DefaultFamily,
  // or when that is not installed the installed Japanese sans-serif family.
  std::string defaultFamilyName() const;

  // The next registration index.
  int32_t registrationCounter() const { return registrationCounter_; }

  // The user's locale name from the environment ("ja-JP"; "en-US" for C and POSIX).
  static std::string userLocaleName();

 private:
  const FontFamily* defaultFamily() const;

  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };
  std::unordered_map<std::string, std::unique_ptr<FontDefine>, NameHash, std::equal_to<>> table_;
  int32_t registrationCounter_ = 0;
  std::vector<std::shared_ptr<const FontFamily>> families_;
  // The family used when DefaultFamily is not installed (decided once, at registration).
  std::string fallbackFamily_;
};

// Picks the face of `family` that best matches (weight, stretch, style): the nearest
// stretch, then the style (italic takes oblique before normal, and the other way round),
// then the weight by the usual font-matching rules. Null for an empty family.
const Font* matchFont(const FontFamily& family, int32_t weight, int32_t stretch, int32_t style);

}  // namespace Media
