#include "effect/palette.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "effect/edit_access.h"
#include "effect/palette_manager.h"
#include "system/fake_ui_bridge.h"
#include "system/file.h"
#include "system/log_capture.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"
#include "system/text.h"

namespace {

using Effect::Palette;
using Effect::PaletteDefine;
using Effect::PaletteEntry;
using Effect::PaletteManager;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Color = std::array<float, 4>;
constexpr Color kBlack{0.0f, 0.0f, 0.0f, 1.0f};

Color rgb(int red, int green, int blue) {
  return {red / 255.0f, green / 255.0f, blue / 255.0f, 1.0f};
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  for (std::string& line : System::splitByChar(text, '\n')) {
    if (line.empty()) continue;
    EXPECT_EQ(line.back(), '\r') << line;
    line.pop_back();
    result.push_back(line);
  }
  return result;
}

// A program folder of its own with %Default% in its data folder; error boxes and log lines
// are kept for the test to read.
class PaletteTest : public ::testing::Test {
 protected:
  PaletteTest() {
    install_.makeFolder("data");
    System::FileName::resetVariableList(install_.path());
    defaultFolder_ = System::FileName::expandVariable("%Default%");
  }
  ~PaletteTest() override {
    Effect::setEditAccess(nullptr);
    System::FileName::resetVariableList();
  }

  std::string writePalette(const std::string& name, const std::string& text) {
    return install_.writeFile("data/Default/" + name + ".palette", text);
  }
  std::string readPalette(const std::string& name) const {
    return TestSupport::readWholeFile(defaultFolder_ + "/" + name + ".palette");
  }
  std::vector<std::string> boxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : ui_.boxes) texts.push_back(box.text);
    return texts;
  }
  static std::vector<std::string> paletteNames(const PaletteManager& manager) {
    std::vector<std::string> names;
    for (const auto& palette : manager.getPaletteList()) names.push_back(palette->name);
    return names;
  }
  static std::vector<std::string> presetColorNames(const PaletteManager& manager) {
    std::vector<std::string> names;
    for (const auto* color : manager.getPresetColorList()) names.emplace_back(color->getName());
    return names;
  }

  TestSupport::TempFolder install_;
  std::string defaultFolder_;
  TestSupport::FakeUiBridge ui_;
  TestSupport::LogCapture log_;
};

// ---- the file text -----------------------------------------------------------------------

TEST(PaletteText, ReadsCellLinesInAnyOrderAndSkipsWhatDoesNotRead) {
  struct Case {
    const char* text;
    int cell;
    Color color;
    const char* name;
  };
  const Case cases[] = {
      {"3=ff8000|orange\r\n70=000000\r\n", 3, rgb(255, 128, 0), "orange"},
      {"5=ff0000\n5=00ff00\n", 5, rgb(0, 255, 0), ""},        // the later line wins
      {"5=ff0000|a\n5=00ff00\n", 5, rgb(0, 255, 0), ""},      // and takes the name away
      {"2=fff\n", 2, kBlack, ""},                               // three digits: skipped
      {"2=00ff00|a|b\n", 2, rgb(0, 255, 0), "a"},               // further pieces ignored
      {" 7 =  0000ff  \n", 7, rgb(0, 0, 255), ""},              // blanks around both parts
      {"9=ABCDEF\n", 9, rgb(0xab, 0xcd, 0xef), ""},             // upper case digits
      {"10=123456|\n", 10, rgb(0x12, 0x34, 0x56), ""},          // an empty name
      {"11=ff00gg\n", 11, kBlack, ""},                          // a pair that does not read
      {"11=f0f0f0x\n", 11, kBlack, ""},                         // seven characters
      {"12=0f-f00\n", 12, rgb(15, 0, 0), ""},                   // a signed pair stays in range
      {"13=ffffff=\n", 13, kBlack, ""},                         // two "=": skipped
      {"; 14=ffffff\n", 14, kBlack, ""},                        // a comment
      {"15 = ffffff | name with blanks \r\n", 15, rgb(255, 255, 255), " name with blanks "},
      {"16=ffffff|bad\xff\n", 16, rgb(255, 255, 255), "bad\xEF\xBF\xBD"},
      {"0=ffffff", 0, rgb(255, 255, 255), ""},                  // no line end at the end
  };
  for (const Case& c : cases) {
    const auto cells = PaletteDefine::parsePaletteText(c.text);
    ASSERT_EQ(cells.size(), 64u) << c.text;
    EXPECT_EQ(cells[static_cast<std::size_t>(c.cell)],
              (PaletteEntry{c.color, c.name}))
        << c.text;
    for (std::size_t i = 0; i < cells.size(); ++i)
      if (static_cast<int>(i) != c.cell) EXPECT_EQ(cells[i], PaletteEntry{}) << c.text << " cell " << i;
  }
}

TEST(PaletteText, CellNumbersOutsideTheGridAreSkipped) {
  for (const char* text : {"-1=ffffff\n", "64=ffffff\n", "x=ffffff\n", "=ffffff\n",
                           "99999999999=ffffff\n"}) {
    for (const PaletteEntry& cell : PaletteDefine::parsePaletteText(text))
      EXPECT_EQ(cell, PaletteEntry{}) << text;
  }
}

TEST(PaletteText, WritesAllCellsRoundedAndClamped) {
  std::vector<PaletteEntry> cells(64);
  cells[0] = {{1.0f, 0.5f, 0.0f, 1.0f}, "orange"};
  cells[1] = {{2.0f, -1.0f, std::nanf(""), 1.0f}, ""};
  cells[2] = {{0.5f, 0.25f, 0.75f, 1.0f}, ""};  // 127.5 goes up to 128
  const auto written = lines(PaletteDefine::formatPaletteText(cells));
  ASSERT_EQ(written.size(), 64u);
  EXPECT_EQ(written[0], "0=ff8000|orange");
  EXPECT_EQ(written[1], "1=ff0000");
  EXPECT_EQ(written[2], "2=8040bf");
  EXPECT_EQ(written[63], "63=000000");
}

TEST(PaletteText, ANameTheReaderCouldNotGiveBackIsLeftOutButTheColourStays) {
  TestSupport::LogCapture log;
  std::vector<PaletteEntry> cells(64);
  cells[4] = {rgb(255, 0, 0), "a=b"};
  cells[5] = {rgb(0, 255, 0), "a|b"};
  cells[6] = {rgb(0, 0, 255), "two\nlines"};
  cells[7] = {rgb(255, 255, 0), "ends in\r"};
  cells[8] = {rgb(0, 255, 255), "inner\rreturn"};  // can be read back: kept
  const std::string text = PaletteDefine::formatPaletteText(cells);
  const auto read = PaletteDefine::parsePaletteText(text);
  EXPECT_EQ(read[4], (PaletteEntry{rgb(255, 0, 0), ""}));
  EXPECT_EQ(read[5], (PaletteEntry{rgb(0, 255, 0), ""}));
  EXPECT_EQ(read[6], (PaletteEntry{rgb(0, 0, 255), ""}));
  EXPECT_EQ(read[7], (PaletteEntry{rgb(255, 255, 0), ""}));
  EXPECT_EQ(read[8], cells[8]);
  EXPECT_EQ(log.texts("WARN").size(), 4u);
}

// ---- loading and the default palette -----------------------------------------------------

TEST_F(PaletteTest, AnEmptyFolderGivesTheDefaultPaletteWrittenAtOnce) {
  PaletteManager manager;
  manager.loadPalette();
  EXPECT_THAT(paletteNames(manager), ElementsAre("default"));

  const auto written = lines(readPalette("default"));
  ASSERT_EQ(written.size(), 64u);
  EXPECT_EQ(written[0], "0=ffffff|white");
  EXPECT_EQ(written[1], "1=dfdfdf");
  EXPECT_EQ(written[7], "7=202020");
  EXPECT_EQ(written[8], "8=ff0000|red");
  EXPECT_EQ(written[15], "15=200000");
  EXPECT_EQ(written[56], "56=000000|black");
  EXPECT_EQ(written[63], "63=000000");

  EXPECT_THAT(presetColorNames(manager),
              ElementsAre("white", "red", "yellow", "green", "aqua", "blue", "magenta", "black"));
  EXPECT_EQ(manager.findPresetColor("yellow")->color, (Color{1.0f, 1.0f, 0.0f, 1.0f}));
  EXPECT_THAT(log_.texts("INFO"), ::testing::Contains("save palette file : %Default%/default.palette"));
  EXPECT_THAT(ui_.boxes, IsEmpty());
}

TEST_F(PaletteTest, AReadFileIsKeptAsItIsAndWrittenBackWithAllCells) {
  writePalette("warm", "3=ff8000|orange\r\n70=000000\r\n");
  PaletteManager manager;
  manager.loadPalette();
  EXPECT_THAT(paletteNames(manager), ElementsAre("warm"));  // no default palette then
  EXPECT_FALSE(std::filesystem::exists(defaultFolder_ + "/default.palette"));
  EXPECT_THAT(log_.texts("INFO"), ::testing::Contains("register palette [warm]"));

  const auto palette = manager.findPalette("warm");
  manager.savePalette(*palette);
  const auto written = lines(readPalette("warm"));
  ASSERT_EQ(written.size(), 64u);
  EXPECT_EQ(written[3], "3=ff8000|orange");
  EXPECT_EQ(written[4], "4=000000");
  EXPECT_EQ(PaletteDefine::parsePaletteText(readPalette("warm")), palette->cells);
}

TEST_F(PaletteTest, ADefaultFileThatCannotBeReadIsNotReplaced) {
  std::string text = "0=ffffff|white\n";
  text.resize(PaletteDefine::kMaxFileSize + 1, '\n');
  writePalette("default", text);
  PaletteManager manager;
  manager.loadPalette();
  EXPECT_THAT(paletteNames(manager), ElementsAre("default"));  // the built-in one, in memory
  EXPECT_EQ(readPalette("default"), text);
  EXPECT_EQ(log_.texts("WARN").size(), 1u);
}

TEST_F(PaletteTest, MissingFilesAndFoldersNamedLikePalettesRegisterNothing) {
  std::filesystem::create_directories(defaultFolder_ + "/folder.palette");
  PaletteManager manager;
  manager.registerPalette("%Default%/gone.palette");
  manager.registerPalette("%Default%/folder.palette");
  EXPECT_THAT(manager.getPaletteList(), IsEmpty());
  EXPECT_THAT(ui_.boxes, IsEmpty());
  EXPECT_THAT(log_.texts("ERROR"), IsEmpty());
}

TEST_F(PaletteTest, ANameThatIsTakenIsRefusedWithAnErrorBox) {
  writePalette("a", "0=ff0000\n");
  PaletteManager manager;
  manager.loadPalette();
  install_.writeFile("data/Default/other/a.palette", "0=00ff00\n");
  manager.registerPalette("%Default%/other/a.palette");
  EXPECT_THAT(paletteNames(manager), ElementsAre("a"));
  EXPECT_EQ(manager.findPalette("a")->cells[0].color, rgb(255, 0, 0));
  EXPECT_THAT(boxTexts(), ElementsAre("Failed to register palette. [a]\n\n"
                                      "Duplicate palettes with the same name exist."));
}

TEST_F(PaletteTest, PalettesAreListedInUtf16CodeUnitOrder) {
  for (const char* name : {"default", "a", "B", "ab", "\xEF\xBC\xA1" /* U+FF21 */,
                           "\xF0\x9F\x98\x80" /* U+1F600 */})
    writePalette(name, "");
  PaletteManager manager;
  manager.loadPalette();
  // A character outside the basic plane is a surrogate pair (D83D ...), which sorts before
  // U+FF21 as UTF-16 although its UTF-8 bytes sort after.
  EXPECT_THAT(paletteNames(manager), ElementsAre("B", "a", "ab", "default", "\xF0\x9F\x98\x80",
                                                 "\xEF\xBC\xA1"));
}

TEST_F(PaletteTest, AReloadReplacesThePalettesButWindowsKeepTheirs) {
  writePalette("a", "0=ff0000|red\n");
  PaletteManager manager;
  manager.loadPalette();
  const auto held = manager.findPalette("a");
  writePalette("a", "0=00ff00|green\n");
  manager.loadPalette();
  EXPECT_EQ(held->cells[0].name, "red");
  EXPECT_EQ(manager.findPalette("a")->cells[0].name, "green");
  EXPECT_THAT(presetColorNames(manager), ElementsAre("green"));
}

// ---- saving ------------------------------------------------------------------------------

TEST_F(PaletteTest, AFailedSaveShowsTheErrorBoxAndChangesNothingElse) {
  std::filesystem::create_directories(defaultFolder_ + "/blocked.palette");
  PaletteManager manager;
  const Palette blocked("blocked", std::vector<PaletteEntry>(64));
  manager.savePalette(blocked);
  EXPECT_TRUE(std::filesystem::is_directory(defaultFolder_ + "/blocked.palette"));

  // A name that would put the file outside %Default% is no file name.
  const Palette escaping("../escape", std::vector<PaletteEntry>(64));
  manager.savePalette(escaping);
  EXPECT_FALSE(std::filesystem::exists(install_.path() + "/data/escape.palette"));

  EXPECT_THAT(boxTexts(), ElementsAre("パレットの保存に失敗しました", "パレットの保存に失敗しました"));
  // Nothing is left behind in the folder but the blocking folder itself.
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(defaultFolder_))
    left.push_back(entry.path().filename().string());
  EXPECT_THAT(left, ElementsAre("blocked.palette"));
}

// ---- preset colours ----------------------------------------------------------------------

TEST_F(PaletteTest, TheFirstPaletteVisitedKeepsASharedName) {
  writePalette("b", "5=00ff00|red\n6=0000ff|blue\n");
  writePalette("a", "1=ff0000|red\n");
  PaletteManager manager;
  manager.loadPalette();
  EXPECT_THAT(presetColorNames(manager), ElementsAre("red", "blue"));
  EXPECT_EQ(manager.findPresetColor("red")->color, rgb(255, 0, 0));
  // Every named cell is logged, also the one that did not become a preset colour.
  int logged = 0;
  for (const auto& text : log_.texts("INFO")) logged += text == "register preset color [red]";
  EXPECT_EQ(logged, 2);
}

TEST_F(PaletteTest, NamingACellTakesTheNameFromEveryOtherCellAndSavesWhatChanged) {
  writePalette("a", "1=ff0000|red\n2=00ff00|green\n");
  writePalette("b", "5=00ff00|red\n6=0000ff|blue\n");
  writePalette("c", "0=ffffff|white\n");
  PaletteManager manager;
  manager.loadPalette();
  const std::string untouched = readPalette("c");

  // Counts the edits the change runs in.
  struct CountingEditAccess : Effect::EditAccess {
    int scopes = 0;
    void createObject(std::string_view, int, int) override {}
    void setEffect(const std::shared_ptr<Edit::Object>&, std::string_view, Effect::EffectBase*,
                   bool) override {}
    void loadObject(const std::string&, int, int) override {}
    void loadEffect(const std::shared_ptr<Edit::Object>&, const std::string&, Effect::EffectBase*,
                    bool) override {}
    void runPresetColorUpdate(const std::function<void()>& change) override {
      ++scopes;
      change();
    }
  } access;
  Effect::setEditAccess(&access);
  const int& scopes = access.scopes;

  const auto b = manager.findPalette("b");
  b->cells[7].name = "red";  // a second cell of the same palette carrying it
  manager.setPresetColorName(b, 5, "red");
  EXPECT_EQ(scopes, 1);
  EXPECT_EQ(manager.findPalette("a")->cells[1].name, "");
  EXPECT_EQ(b->cells[7].name, "");
  EXPECT_EQ(b->cells[5].name, "red");
  EXPECT_EQ(lines(readPalette("a"))[1], "1=ff0000");
  EXPECT_EQ(lines(readPalette("b"))[5], "5=00ff00|red");
  EXPECT_EQ(readPalette("c"), untouched);  // "c" lost nothing and was not written
  EXPECT_EQ(manager.findPresetColor("red")->color, rgb(0, 255, 0));

  // Without a name the cell's name is cleared; the palette is saved and the colours rebuilt.
  manager.setPresetColorName(b, 6, std::nullopt);
  EXPECT_EQ(scopes, 2);
  EXPECT_EQ(lines(readPalette("b"))[6], "6=0000ff");
  EXPECT_EQ(manager.findPresetColor("blue"), nullptr);

  // A cell outside the palette changes nothing.
  manager.setPresetColorName(b, 64, "x");
  manager.setPresetColorName(b, -1, "x");
  EXPECT_EQ(scopes, 2);
  EXPECT_EQ(manager.findPresetColor("x"), nullptr);
}

TEST_F(PaletteTest, APaletteNotYetLoadedCanBeNamedAndSaved) {
  writePalette("a", "1=ff0000|red\n");
  PaletteManager manager;
  manager.loadPalette();
  // The colour window makes a new palette from an existing one.
  auto copy = std::make_shared<Palette>("copy", manager.findPalette("a")->cells);
  manager.setPresetColorName(copy, 1, "crimson");
  EXPECT_EQ(lines(readPalette("copy"))[1], "1=ff0000|crimson");
  EXPECT_EQ(manager.findPalette("a")->cells[1].name, "red");  // another name: untouched
  // Until it is loaded the manager does not know the new palette.
  EXPECT_EQ(manager.findPresetColor("crimson"), nullptr);
  manager.loadPalette();
  EXPECT_THAT(paletteNames(manager), ElementsAre("a", "copy"));
  EXPECT_NE(manager.findPresetColor("crimson"), nullptr);
}

TEST_F(PaletteTest, PresetColourMenuSettingsLiveInTheParameterStore) {
  System::ServiceHolder<Setting::ParameterIni> store;
  writePalette("a", "0=ff0000|red\n1=00ff00|green\n2=0000ff|blue\n3=ffffff|white\n");
  {
    PaletteManager manager;
    manager.loadPalette();
    auto list = manager.getPresetColorList();
    ASSERT_EQ(list.size(), 4u);
    list[1]->label = "cool";
    list[2]->label = "cool";
    list[3]->label = "plain";
    EXPECT_THAT(manager.getPresetColorLabelList(), ElementsAre("cool", "plain"));

    // The user puts white first; the rebuilt colours read that back, while new default
    // orders keep growing.
    list[3]->order = -5;
    manager.reloadPresetColor();
    EXPECT_THAT(presetColorNames(manager), ElementsAre("white", "red", "green", "blue"));
    EXPECT_THAT(manager.getPresetColorLabelList(), ElementsAre("plain", "cool"));
  }
  EXPECT_EQ(Setting::ParameterIni::instance()->findValue("Color.white", "order").text, "-5");
  EXPECT_EQ(Setting::ParameterIni::instance()->findValue("Color.green", "label").text, "cool");
}

TEST_F(PaletteTest, NewPresetColoursTakeGrowingDefaultOrders) {
  writePalette("a", "0=ff0000|red\n1=00ff00|green\n");
  PaletteManager manager;
  manager.loadPalette();
  const int32_t first = manager.findPresetColor("green")->order;
  manager.reloadPresetColor();
  EXPECT_EQ(manager.findPresetColor("red")->order, first + 1);
  EXPECT_EQ(manager.findPresetColor("green")->order, first + 2);
}

}  // namespace
