#include "gpu/draw2d/font_manager.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>

#include "gpu/hresult.h"
#include "system/exception.h"
#include "system/log.h"
#include "system/setting_service.h"
#include "system/text.h"

namespace Media {
namespace {

constexpr const char* kRegisterPlace = "Media::FontManager::registerFont";
constexpr const char* kGetFontPlace = "Media::FontManager::getFont";

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct ObjectSetDeleter {
  void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// Whether a fontconfig language tag ("ja", "zh-tw") names the locale ("ja-jp"): the same
// tag, or the locale's language alone.
bool languageMatches(std::string_view fcLanguage, std::string_view locale) {
  const std::string tag = lowerCase(fcLanguage);
  if (tag == locale) return true;
  const std::size_t dash = locale.find('-');
  return dash != std::string_view::npos && tag == locale.substr(0, dash);
}

// The family names of a pattern with their languages, in fontconfig's order (the most
// general name first, the face's own family name last).
std::vector<std::pair<std::string, std::string>> familyNames(const FcPattern* pattern) {
  std::vector<std::pair<std::string, std::string>> names;
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    FcChar8* language = nullptr;
    const bool hasLanguage =
        FcPatternGetString(pattern, FC_FAMILYLANG, i, &language) == FcResultMatch;
    names.emplace_back(reinterpret_cast<const char*>(name),
                       hasLanguage ? reinterpret_cast<const char*>(language) : "");
  }
  return names;
}

// The indices of the names in the locale's language, or in English when `locale` has none.
std::vector<std::size_t> namesIn(const std::vector<std::pair<std::string, std::string>>& names,
                                 std::string_view locale) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (languageMatches(names[i].second, locale)) found.push_back(i);
  return found;
}

int32_t integerOf(const FcPattern* pattern, const char* object, int32_t fallback) {
  int value = 0;
  if (FcPatternGetInteger(pattern, object, 0, &value) == FcResultMatch) return value;
  double real = 0.0;
  if (FcPatternGetDouble(pattern, object, 0, &real) == FcResultMatch)
    return static_cast<int32_t>(std::lround(real));
  return fallback;
}

// fontconfig's width (50 ... 200 percent) on the nine steps of the font API.
int32_t stretchOf(int32_t width) {
  static constexpr int32_t kWidths[] = {50, 63, 75, 87, 100, 113, 125, 150, 200};
  int32_t best = 5;
  int32_t bestDistance = 1 << 30;
  for (int32_t i = 0; i < 9; ++i) {
    const int32_t distance = std::abs(kWidths[i] - width);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i + 1;
    }
  }
  return best;
}

int32_t styleOf(int32_t slant) {
  if (slant >= FC_SLANT_OBLIQUE) return Font::kOblique;
  if (slant >= FC_SLANT_ITALIC) return Font::kItalic;
  return Font::kNormal;
}

PangoWeight pangoWeight(int32_t weight) {
  return static_cast<PangoWeight>(std::clamp(weight, 100, 1000));
}

PangoStretch pangoStretch(int32_t stretch) {
  return static_cast<PangoStretch>(std::clamp(stretch, 1, 9) - 1);
}

PangoStyle pangoStyle(int32_t style) {
  if (style == Font::kItalic) return PANGO_STYLE_ITALIC;
  if (style == Font::kOblique) return PANGO_STYLE_OBLIQUE;
  return PANGO_STYLE_NORMAL;
}

// How well a face's weight answers a wanted weight: lower is better. Between 400 and 500 the
// other of the two comes first, then lighter faces, then heavier ones; below 400 lighter
// faces come first, above 500 heavier ones.
int32_t weightRank(int32_t wanted, int32_t weight) {
  if (weight == wanted) return 0;
  const int32_t distance = std::abs(weight - wanted);
  if (wanted >= 400 && wanted <= 500) {
    if (weight > wanted && weight <= 500) return distance;
    if (weight < wanted) return 1000 + distance;
    return 2000 + distance;
  }
  const bool lighterFirst = wanted < 400;
  const bool preferred = lighterFirst ? weight < wanted : weight > wanted;
  return preferred ? distance : 1000 + distance;
}

int32_t styleRank(int32_t wanted, int32_t style) {
  if (style == wanted) return 0;
  if (wanted == Font::kNormal) return style == Font::kOblique ? 1 : 2;
  return style == Font::kNormal ? 2 : 1;  // italic and oblique stand in for each other
}

std::shared_ptr<FcPattern> sharePattern(FcPattern* pattern) {
  FcPatternReference(pattern);
  return std::shared_ptr<FcPattern>(pattern, PatternDeleter{});
}

Font makeFont(FcPattern* pattern, std::string family, std::string faceName) {
  Font font;
  font.pattern = sharePattern(pattern);
  font.family = std::move(family);
  font.faceName = std::move(faceName);
  font.weight = std::clamp(
      FcWeightToOpenType(integerOf(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR)), 1, 999);
  font.stretch = stretchOf(integerOf(pattern, FC_WIDTH, FC_WIDTH_NORMAL));
  font.style = styleOf(integerOf(pattern, FC_SLANT, FC_SLANT_ROMAN));
  return font;
}

std::unique_ptr<FcFontSet, FontSetDeleter> listSystemFonts() {
  std::unique_ptr<FcPattern, PatternDeleter> all(FcPatternCreate());
  std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
      FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_STYLE, FC_SLANT, FC_WEIGHT, FC_WIDTH,
                       FC_FILE, FC_INDEX, nullptr));
  std::unique_ptr<FcFontSet, FontSetDeleter> set;
  if (all && objects) set.reset(FcFontList(nullptr, all.get(), objects.get()));
  if (!set) throw System::makeHresultException("FcFontList", kRegisterPlace, Hresult::kFail);
  return set;
}

// The family fontconfig picks for Japanese sans-serif text; empty when it has none.
std::string japaneseSansFamily() {
  std::unique_ptr<FcPattern, PatternDeleter> pattern(
      FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ja")));
  if (!pattern) return {};
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  std::unique_ptr<FcPattern, PatternDeleter> match(FcFontMatch(nullptr, pattern.get(), &result));
  FcChar8* family = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch) return {};
  return reinterpret_cast<const char*>(family);
}

}  // namespace

std::unique_ptr<PangoFontDescription, void (*)(PangoFontDescription*)> Font::description(
    double pixelSize) const {
  std::unique_ptr<PangoFontDescription, void (*)(PangoFontDescription*)> result(
      pango_font_description_new(), pango_font_description_free);
  pango_font_description_set_family(result.get(), faceName.empty() ? family.c_str()
                                                                   : faceName.c_str());
  pango_font_description_set_weight(result.get(), pangoWeight(weight));
  pango_font_description_set_stretch(result.get(), pangoStretch(stretch));
  pango_font_description_set_style(result.get(), pangoStyle(style));
  if (pixelSize > 0.0)
    pango_font_description_set_absolute_size(result.get(), pixelSize * PANGO_SCALE);
  return result;
}

std::string Font::file() const {
  FcChar8* path = nullptr;
  if (!pattern || FcPatternGetString(pattern.get(), FC_FILE, 0, &path) != FcResultMatch) return {};
  return reinterpret_cast<const char*>(path);
}

int32_t Font::faceIndex() const {
  return pattern ? integerOf(pattern.get(), FC_INDEX, 0) : 0;
}

FontDefine::FontDefine(std::string name, Font font, std::shared_ptr<const FontFamily> family,
                       int32_t index, bool localized)
    : MenuDefineBase("Font", name, index, "", localized),
      name_(std::move(name)),
      font_(std::move(font)),
      family_(std::move(family)),
      index_(index) {}

FontManager::FontManager() {
  table_.max_load_factor(1.0f);
  table_.rehash(8);
}

FontManager::~FontManager() = default;

std::string FontManager::userLocaleName() {
  const char* value = nullptr;
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    value = std::getenv(variable);
    if (value && *value) break;
    value = nullptr;
  }
  std::string_view locale = value ? value : "";
  locale = locale.substr(0, locale.find_first_of(".@"));
  // Without a language the user reads the program's English names.
  if (locale.empty() || locale == "C" || locale == "POSIX") return "en-US";
  std::string name(locale);
  std::replace(name.begin(), name.end(), '_', '-');
  return name;
}

void FontManager::registerFont(const FcFontSet* fonts, std::string_view userLocale) {
  std::unique_ptr<FcFontSet, FontSetDeleter> systemFonts;
  if (!fonts) {
    systemFonts = listSystemFonts();
    fonts = systemFonts.get();
  }
  const std::string locale = lowerCase(userLocale.empty() ? userLocaleName() : userLocale);

  // fontconfig lists faces, not families: gather the faces under their family's name. The
  // order of the listing is the cache's, so families and their faces are sorted to register
  // the same entries with the same indices on every start.
  struct Face {
    FcPattern* pattern;
    std::string faceName;
  };
  struct Gathered {
    bool localized = false;
    std::vector<Face> faces;
  };
  std::map<std::string, Gathered> gathered;
  for (int i = 0; i < fonts->nfont; ++i) {
    FcPattern* pattern = fonts->fonts[i];
    const auto names = familyNames(pattern);
    if (names.empty()) continue;
    std::vector<std::size_t> chosen = namesIn(names, locale);
    const bool localized = !chosen.empty();
    if (!localized) chosen = namesIn(names, "en-us");
    // A face without a name in either language goes by its first name.
    if (chosen.empty()) chosen.push_back(0);
    Gathered& family = gathered[names[chosen.front()].first];
    family.localized = family.localized || localized;
    family.faces.push_back({pattern, names[chosen.back()].first});
  }

  table_.reserve(gathered.size());
  for (auto& [familyName, family] : gathered) {
    auto fontFamily = std::make_shared<FontFamily>();
    fontFamily->name = familyName;
    for (const Face& face : family.faces)
      fontFamily->fonts.push_back(makeFont(face.pattern, familyName, face.faceName));
    // Within a family the regular face comes first, so it is the one a name is kept for.
    std::stable_sort(fontFamily->fonts.begin(), fontFamily->fonts.end(),
                     [](const Font& a, const Font& b) {
                       const auto key = [](const Font& f) {
                         return std::tuple(std::abs(f.stretch - 5), std::abs(f.weight - 400),
                                           f.weight, f.file(), f.faceIndex());
                       };
                       return key(a) < key(b);
                     });
    families_.push_back(fontFamily);
    for (const Font& font : fontFamily->fonts) {
      // Oblique and italic faces are reached through getFont, not registered.
      if (font.style != Font::kNormal) continue;
      const int32_t index = registrationCounter_++;
      if (table_.find(font.faceName) != table_.end()) continue;
      try {
        table_.emplace(font.faceName, std::make_unique<FontDefine>(font.faceName, font, fontFamily,
                                                                   index, family.localized));
      } catch (const std::exception& exception) {
        System::Log::warn(kRegisterPlace, "font [%s] not registered.\n%s", font.faceName.c_str(),
                          exception.what());
        continue;
      }
      System::Log::info(kRegisterPlace, "register font [%s]%c", font.faceName.c_str(),
                        family.localized ? '*' : ' ');
    }
  }

  if (!find(Setting::Style::defaultFamily)) {
    fallbackFamily_ = japaneseSansFamily();
    if (!find(fallbackFamily_)) fallbackFamily_.clear();
    if (fallbackFamily_.empty() && !families_.empty()) fallbackFamily_ = families_.front()->name;
    System::Log::warn(kRegisterPlace, "default font family [%s] not installed; [%s] is used.",
                      Setting::Style::defaultFamily.c_str(), fallbackFamily_.c_str());
  }
}

const FontDefine* FontManager::find(std::string_view name) const {
  const auto found = table_.find(name);
  return found == table_.end() ? nullptr : found->second.get();
}

std::string FontManager::defaultFamilyName() const {
  if (find(Setting::Style::defaultFamily)) return Setting::Style::defaultFamily;
  return fallbackFamily_.empty() ? Setting::Style::defaultFamily : fallbackFamily_;
}

const FontFamily* FontManager::defaultFamily() const {
  const std::string name = defaultFamilyName();
  for (const auto& family : families_)
    if (family->name == name) return family.get();
  // A registered face name that is not a family's primary name: its own family.
  if (const FontDefine* entry = find(name)) return &entry->family();
  return families_.empty() ? nullptr : families_.front().get();
}

Font FontManager::getFont(std::string_view familyName, bool bold, bool italic) const {
  const FontDefine* entry = find(familyName);
  if (!entry) {
    const FontFamily* family = defaultFamily();
    const Font* font = family ? matchFont(*family, bold ? 600 : 400, 5,
                                          italic ? Font::kItalic : Font::kNormal)
                              : nullptr;
    if (!font)
      throw System::makeHresultException("family->GetFirstMatchingFont", kGetFontPlace,
                                         Hresult::kFail);
    return *font;
  }
  if (!bold && !italic) return entry->font();
  int32_t weight = entry->font().weight + (bold ? 200 : 0);
  if (weight >= 1000) weight = 999;
  if (weight <= 0) weight = 1;
  const int32_t style = italic ? Font::kItalic : entry->font().style;
  const Font* font = matchFont(entry->family(), weight, entry->font().stretch, style);
  if (!font)
    throw System::makeHresultException("family->GetFirstMatchingFont", kGetFontPlace,
                                       Hresult::kFail);
  return *font;
}

std::vector<const FontDefine*> FontManager::getFontList() const {
  std::vector<const FontDefine*> list;
  list.reserve(table_.size());
  for (const auto& [name, entry] : table_) list.push_back(entry.get());
  std::sort(list.begin(), list.end(), [](const FontDefine* a, const FontDefine* b) {
    const int order = System::compareString(a->getName(), b->getName());
    return order != 0 ? order < 0 : a->getName() < b->getName();
  });
  return list;
}

std::vector<const FontDefine*> FontManager::getFontDefineList() const {
  std::vector<const FontDefine*> list = getFontList();
  std::stable_sort(list.begin(), list.end(), [](const FontDefine* a, const FontDefine* b) {
    return a->order != b->order ? a->order < b->order : a->index() < b->index();
  });
  return list;
}

const Font* matchFont(const FontFamily& family, int32_t weight, int32_t stretch, int32_t style) {
  const Font* best = nullptr;
  std::tuple<int32_t, int32_t, int32_t> bestRank;
  for (const Font& font : family.fonts) {
    // Narrower faces come first for a narrow or normal stretch, wider ones for a wide one.
    const int32_t stretchDistance = std::abs(font.stretch - stretch);
    const bool stretchPreferred = stretch <= 5 ? font.stretch <= stretch : font.stretch >= stretch;
    const auto rank = std::tuple(stretchDistance * 2 + (stretchPreferred ? 0 : 1),
                                 styleRank(style, font.style), weightRank(weight, font.weight));
    if (!best || rank < bestRank) {
      best = &font;
      bestRank = rank;
    }
  }
  return best;
}

}  // namespace Media
