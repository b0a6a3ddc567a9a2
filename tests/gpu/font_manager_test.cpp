// The font table: which faces become entries under which names, who sees them by default,
// the face getFont picks for bold and italic, and the default family when the configured
// one is not installed.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gpu/draw2d/direct2d_service.h"
#include "gpu/draw2d/font_manager.h"
#include "gpu/text/font_face.h"
#include "system/log_capture.h"
#include "system/setting_service.h"

namespace {

using Media::Font;
using Media::FontManager;

// One face of a made-up font set: its family names with their languages, weight on the
// 1 ... 999 scale and slant.
struct FaceSpec {
  std::vector<std::pair<std::string, std::string>> names;
  int weight = 400;
  int slant = FC_SLANT_ROMAN;
};

struct FontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;

FontSetPtr makeSet(const std::vector<FaceSpec>& faces) {
  FontSetPtr set(FcFontSetCreate());
  int file = 0;
  for (const FaceSpec& face : faces) {
    FcPattern* pattern = FcPatternCreate();
    for (const auto& [name, language] : face.names) {
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
      FcPatternAddString(pattern, FC_FAMILYLANG,
                         reinterpret_cast<const FcChar8*>(language.c_str()));
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, static_cast<int>(FcWeightFromOpenType(face.weight)));
    FcPatternAddInteger(pattern, FC_SLANT, face.slant);
    FcPatternAddInteger(pattern, FC_WIDTH, FC_WIDTH_NORMAL);
    const std::string path = "/fonts/face" + std::to_string(file++) + ".ttf";
    FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(path.c_str()));
    FcFontSetAdd(set.get(), pattern);
  }
  return set;
}

// Keeps the process-wide default family of a test and puts the old one back.
class DefaultFamily {
 public:
  explicit DefaultFamily(std::string family) : saved_(Setting::Style::defaultFamily) {
    Setting::Style::defaultFamily = std::move(family);
  }
  ~DefaultFamily() { Setting::Style::defaultFamily = saved_; }

 private:
  std::string saved_;
};

// A family with light, regular, semi-bold, bold and black faces, an italic and an oblique.
std::vector<FaceSpec> alphaFaces() {
  return {
      {{{"Alpha", "en"}}, 700},
      {{{"Alpha", "en"}, {"Alpha Light", "en"}}, 300},
      {{{"Alpha", "en"}}, 400},
      {{{"Alpha", "en"}, {"Alpha SemiBold", "en"}}, 600},
      {{{"Alpha", "en"}, {"Alpha Black", "en"}}, 900},
      {{{"Alpha", "en"}}, 400, FC_SLANT_ITALIC},
      {{{"Alpha", "en"}}, 400, FC_SLANT_OBLIQUE},
      {{{"Gamma", "en"}}, 400},
      {{{"Gamma", "en"}}, 400, FC_SLANT_OBLIQUE},
  };
}

TEST(FontManagerTest, TheUsersLanguageDecidesTheNameAndWhetherTheFontIsShown) {
  const auto set = makeSet({
      {{{"Gothic A", "en"}}},
      {{{"ゴシックB", "ja"}, {"Gothic B", "en"}}},
  });
  struct Case {
    const char* locale;
    const char* name;
    int hide;
  } cases[] = {
      {"ja-JP", "Gothic A", 1},
      {"en-US", "Gothic A", 0},
      {"ja-JP", "ゴシックB", 0},
      {"en-US", "Gothic B", 0},
  };
  for (const Case& c : cases) {
    FontManager fonts;
    fonts.registerFont(set.get(), c.locale);
    const Media::FontDefine* entry = fonts.find(c.name);
    ASSERT_NE(entry, nullptr) << c.locale << " " << c.name;
    EXPECT_EQ(entry->hide, c.hide) << c.locale << " " << c.name;
    EXPECT_EQ(entry->label, "");
  }
}

TEST(FontManagerTest, UprightFacesSharingANameGiveOneEntryButEachSpendsAnIndex) {
  TestSupport::LogCapture log;
  const auto set = makeSet(alphaFaces());
  FontManager fonts;
  fonts.registerFont(set.get(), "en-US");

  std::vector<std::string> names;
  for (const Media::FontDefine* entry : fonts.getFontDefineList())
    names.emplace_back(entry->getName());
  // Italic and oblique faces are not entries; faces nearer the regular weight come first,
  // so the regular face wins its name.
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "Alpha Light", "Alpha SemiBold",
                                             "Alpha Black", "Gamma"}));
  EXPECT_EQ(fonts.find("Alpha")->font().weight, 400);
  EXPECT_EQ(fonts.find("Alpha")->index(), 0);
  // Bold "Alpha" (index 3) found its name taken: the next entries skip its index.
  EXPECT_EQ(fonts.find("Alpha Black")->index(), 4);
  EXPECT_EQ(fonts.find("Gamma")->index(), 5);
  EXPECT_EQ(fonts.registrationCounter(), 6);
  EXPECT_EQ(fonts.find("Alpha")->order, 0);
  EXPECT_EQ(fonts.find("Gamma")->order, 5);

  const auto info = log.texts("INFO");
  EXPECT_EQ(std::count(info.begin(), info.end(), "register font [Alpha]*"), 1);
  EXPECT_EQ(std::count(info.begin(), info.end(), "register font [Gamma]*"), 1);
}

TEST(FontManagerTest, TheChoiceListIsInNaturalOrderIgnoringCase) {
  const auto set = makeSet({{{{"font10", "en"}}}, {{{"Font2", "en"}}}, {{{"apple", "en"}}}});
  FontManager fonts;
  fonts.registerFont(set.get(), "en-US");
  std::vector<std::string> names;
  for (const Media::FontDefine* entry : fonts.getFontList()) names.emplace_back(entry->getName());
  EXPECT_EQ(names, (std::vector<std::string>{"apple", "Font2", "font10"}));
}

TEST(FontManagerTest, GetFontMakesBoldAndItalicFacesOfTheFamily) {
  const DefaultFamily defaultFamily("Alpha");
  const auto set = makeSet(alphaFaces());
  FontManager fonts;
  fonts.registerFont(set.get(), "en-US");
  struct Case {
    const char* name;
    bool bold;
    bool italic;
    int weight;
    int style;
  } cases[] = {
      {"Alpha", false, false, 400, Font::kNormal},
      {"Alpha", true, false, 600, Font::kNormal},      // 400 + 200
      {"Alpha Light", true, false, 400, Font::kNormal},  // 300 + 200 = 500: 400 is next
      {"Alpha Black", true, false, 900, Font::kNormal},  // 999: nothing heavier than 900
      {"Alpha", false, true, 400, Font::kItalic},      // italic even with an oblique sibling
      {"Gamma", false, true, 400, Font::kOblique},     // only an oblique to stand in
      {"Not Installed", true, false, 600, Font::kNormal},
      {"Not Installed", false, false, 400, Font::kNormal},
  };
  for (const Case& c : cases) {
    const Font font = fonts.getFont(c.name, c.bold, c.italic);
    EXPECT_EQ(font.weight, c.weight) << c.name << " bold " << c.bold << " italic " << c.italic;
    EXPECT_EQ(font.style, c.style) << c.name << " bold " << c.bold << " italic " << c.italic;
    EXPECT_EQ(font.family, c.name == std::string("Gamma") ? "Gamma" : "Alpha") << c.name;
  }
}

TEST(FontManagerTest, WeightsAreMatchedLikeStyleSheets) {
  Media::FontFamily family;
  for (int weight : {300, 400, 500, 700}) {
    Font font;
    font.weight = weight;
    family.fonts.push_back(font);
  }
  struct Case {
    int wanted;
    int chosen;
  } cases[] = {{400, 400}, {450, 500}, {600, 700}, {350, 300}, {800, 700}, {100, 300},
               {999, 700}, {1, 300}};
  for (const Case& c : cases) {
    const Font* font = Media::matchFont(family, c.wanted, 5, Font::kNormal);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->weight, c.chosen) << "wanted " << c.wanted;
  }
  EXPECT_EQ(Media::matchFont(Media::FontFamily{}, 400, 5, Font::kNormal), nullptr);
}

TEST(FontManagerTest, AMissingDefaultFamilyIsReplacedWithAWarning) {
  const DefaultFamily defaultFamily("Yu Gothic UI");
  TestSupport::LogCapture log;
  const auto set = makeSet({{{{"Beta", "en"}}}, {{{"Alpha", "en"}}}});
  FontManager fonts;
  fonts.registerFont(set.get(), "en-US");
  // Neither is a Japanese family: the first family stands in.
  EXPECT_EQ(fonts.defaultFamilyName(), "Alpha");
  EXPECT_EQ(fonts.getFont("Nothing", false, false).family, "Alpha");
  const auto warnings = log.texts("WARN");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("[Yu Gothic UI]"), std::string::npos) << warnings[0];
}

TEST(FontManagerTest, AnEmptyTableCannotGiveAFont) {
  const auto set = makeSet({});
  FontManager fonts;
  fonts.registerFont(set.get(), "en-US");
  EXPECT_THROW(fonts.getFont("Anything", false, false), std::exception);
}

TEST(FontManagerTest, TheLocaleNameComesFromTheEnvironment) {
  struct Case {
    const char* lang;
    const char* name;
  } cases[] = {{"ja_JP.UTF-8", "ja-JP"}, {"de_DE@euro", "de-DE"}, {"C", "en-US"},
               {"POSIX", "en-US"}, {"", "en-US"}};
  const char* savedAll = std::getenv("LC_ALL");
  const char* savedMessages = std::getenv("LC_MESSAGES");
  const char* savedLang = std::getenv("LANG");
  const std::optional<std::string> all = savedAll ? std::optional<std::string>(savedAll) : std::nullopt;
  const std::optional<std::string> messages =
      savedMessages ? std::optional<std::string>(savedMessages) : std::nullopt;
  const std::optional<std::string> lang = savedLang ? std::optional<std::string>(savedLang) : std::nullopt;
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  for (const Case& c : cases) {
    setenv("LANG", c.lang, 1);
    EXPECT_EQ(FontManager::userLocaleName(), c.name) << c.lang;
  }
  const auto restore = [](const char* name, const std::optional<std::string>& value) {
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  };
  restore("LC_ALL", all);
  restore("LC_MESSAGES", messages);
  restore("LANG", lang);
}

// The installed fonts: the program's packages bring the Japanese sans-serif family.
class InstalledFontTest : public ::testing::Test {
 protected:
  std::optional<System::ServiceHolder<Media::Direct2DService>> direct2D_;
};

TEST_F(InstalledFontTest, WithoutTheConfiguredFamilyTheJapaneseSansSerifFamilyIsTheDefault) {
  const DefaultFamily defaultFamily("Yu Gothic UI");
  TestSupport::LogCapture log;
  direct2D_.emplace();
  EXPECT_EQ(Media::Direct2DService::Get().defaultFamilyName(), "Noto Sans CJK JP");
  EXPECT_EQ(Media::Direct2DService::Get().getFont("Yu Gothic UI", false, false).family,
            "Noto Sans CJK JP");
  EXPECT_EQ(log.texts("WARN").size(), 1u);
}

TEST_F(InstalledFontTest, FaceMetricsFollowTheDesignOrTheColumnForVerticalText) {
  direct2D_.emplace();
  Resource::FontFace face;
  face.setFont("DejaVu Sans", 40.0f, false, false, true);
  EXPECT_FLOAT_EQ(face.lineHeight(), 40.0f);
  EXPECT_FLOAT_EQ(face.ascent(), 20.0f);
  EXPECT_NE(face.face(), nullptr);

  // DejaVu Sans: 2048 units per em, ascender 1901, descender 483, no line gap.
  face.setFont("DejaVu Sans", 20.0f, false, false, false);
  EXPECT_FLOAT_EQ(face.scale(), 20.0f / 2048.0f);
  EXPECT_NEAR(face.ascent(), 1901.0f * 20.0f / 2048.0f, 1e-3);
  EXPECT_NEAR(face.lineHeight(), (1901.0f + 483.0f) * 20.0f / 2048.0f, 1e-3);

  face.setFont("DejaVu Sans", 20.0f, true, false, false);
  EXPECT_EQ(face.font().weight, 700);
}

}  // namespace
