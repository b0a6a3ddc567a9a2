#include "system/setting_service.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "system/file.h"
#include "system/ini_file.h"
#include "system/logger.h"
#include "system/service_holder.h"
#include "system/settings_access.h"
#include "system/temp_folder.h"
#include "system/ui_bridge.h"

namespace {

namespace fs = std::filesystem;
using Setting::ParameterIni;
using Setting::SettingService;
using testing::HasSubstr;
using TestSupport::TempFolder;

// The three keys that the style-bound metrics require, with nothing else.
constexpr const char* kRequiredLayout =
    "SettingItemHeight=18\n"
    "ExplorerHeaderHeight=26\n"
    "ListItemHeight=19\n";

class FakeBridge : public System::UiBridge {
 public:
  System::DesktopMetrics metrics;
  System::DesktopMetrics desktopMetrics() override { return metrics; }
  void showErrorBox(const std::string&, const std::string&) override {}
};

// The program's folder is a temporary one with a data folder, so %AppInstall% is the folder
// and %AppData% its data/ sub-folder.
class SettingServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.makeFolder("data");
    System::FileName::resetVariableList(install_.path());
  }
  void TearDown() override {
    System::setUiBridge(nullptr);
    System::FileName::resetVariableList();
  }

  std::string data(const std::string& name) const { return install_ / ("data/" + name); }
  void writeInstalled(const std::string& name, const std::string& text) const {
    install_.writeFile(name, text);
  }
  void writeUser(const std::string& name, const std::string& text) const {
    install_.writeFile("data/" + name, text);
  }
  void installStyle(const std::string& extraLayout = {}, const std::string& rest = {}) const {
    writeInstalled("style.conf", "[Layout]\n" + std::string(kRequiredLayout) + extraLayout + rest);
  }

  // The text of a key in an ini file on disk; nullopt when the file or the key is missing.
  static std::optional<std::string> iniValue(const std::string& path, const std::string& section,
                                             const std::string& key) {
    if (!fs::exists(path)) return std::nullopt;
    System::IniFile file;
    file.loadFile(path);
    const auto ref = file.getSection(section);
    if (!ref.hasKey(key)) return std::nullopt;
    return ref.findValue(key).text;
  }

  static const std::string& layout(SettingService& s, const char* key) {
    return s.style.findValue("Layout", key).text;
  }
  static const std::string& font(SettingService& s, const char* key) {
    return s.style.findValue("Font", key).text;
  }

  TempFolder install_;
};

TEST_F(SettingServiceTest, UserCopyWinsAndTheInstalledCopyFillsMissingKeys) {
  writeInstalled("system.conf", "[Config]\nMainThreadPriority=1\nPixelFormat=10\n");
  writeUser("system.conf", "[Config]\nMainThreadPriority=2\n");
  installStyle("ScrollBarSize=30\nFooterHeight=40\n");
  writeUser("style.conf", "[Layout]\nScrollBarSize=11\n");
  writeInstalled("effect.conf", "[OldScript.Blur]\nsize=Size\nmode=Mode\n");
  writeUser("effect.conf", "[OldScript.Blur]\nsize=Radius\n");

  System::ServiceHolder<SettingService> settings;
  SettingService& s = *SettingService::instance();

  EXPECT_EQ(s.system.config.findValue("MainThreadPriority").text, "2");
  EXPECT_EQ(s.system.config.findValue("PixelFormat").text, "10");
  EXPECT_EQ(layout(s, "ScrollBarSize"), "11");
  EXPECT_EQ(layout(s, "FooterHeight"), "40");
  EXPECT_EQ(Setting::Style::scrollBarSize, 11);
  EXPECT_EQ(Setting::Style::footerHeight, 40);
  EXPECT_EQ(s.effect.findValue("OldScript.Blur", "size").text, "Radius");
  EXPECT_EQ(s.effect.findValue("OldScript.Blur", "mode").text, "Mode");
  // A later write-back goes to the user's copy.
  EXPECT_EQ(s.style.path(), data("style.conf"));
  EXPECT_EQ(s.system.store.path(), data("system.conf"));
  EXPECT_EQ(s.effect.path(), data("effect.conf"));
}

TEST_F(SettingServiceTest, ARequiredLayoutKeyMissingOrNotANumberEndsTheStart) {
  const std::map<std::string, std::string> layouts = {
      {"SettingItemHeight missing", "ExplorerHeaderHeight=26\nListItemHeight=19\n"},
      {"SettingItemHeight not a number",
       "SettingItemHeight=tall\nExplorerHeaderHeight=26\nListItemHeight=19\n"},
      {"ExplorerHeaderHeight missing", "SettingItemHeight=18\nListItemHeight=19\n"},
      {"ListItemHeight empty", "SettingItemHeight=18\nExplorerHeaderHeight=26\nListItemHeight=\n"},
      {"no style.conf at all", ""},
  };
  for (const auto& [name, lines] : layouts) {
    SCOPED_TRACE(name);
    if (lines.empty())
      fs::remove(install_ / "style.conf");
    else
      writeInstalled("style.conf", "[Layout]\n" + lines);

    try {
      System::ServiceHolder<SettingService> settings;
      ADD_FAILURE() << "the settings service was created";
    } catch (const std::exception& failure) {
      EXPECT_THAT(failure.what(),
                  HasSubstr("ini file parameter invalid format(int) or undefined."));
    }
    EXPECT_EQ(SettingService::instance(), nullptr);
    EXPECT_EQ(SettingService::useCount(), 0);
    EXPECT_EQ(ParameterIni::instance(), nullptr);
    EXPECT_EQ(ParameterIni::useCount(), 0);
  }
}

TEST_F(SettingServiceTest, HighDpiModeScalesLayoutAndFontSizesBySystemDpi) {
  installStyle(
      "Twenty=20\nOne=1\nZero=0\nNegative=-3\nWord=abc\nPadded= 8px\nExplorerWindowNum=2\n",
      "[Font]\nControl=9,Some Family\nPlain=9\nNamed=abc,Some Family\n"
      "DefaultFamily=Some Family\n[Color]\nBorder=102030\n");
  writeUser("velumo2.ini", "[Direct3D]\nHighDpiMode=1\n");
  FakeBridge bridge;
  bridge.metrics.dpi = 144;
  System::setUiBridge(&bridge);

  {
    System::ServiceHolder<SettingService> settings;
    SettingService& s = *SettingService::instance();

    EXPECT_FLOAT_EQ(s.dpiScale, 1.5f);
    const std::vector<std::pair<const char*, const char*>> expectedLayout = {
        {"Twenty", "30"},
        {"One", "2"},
        {"Zero", "1"},
        {"Negative", "1"},
        {"Word", "abc"},
        {"Padded", "12"},
        {"ExplorerWindowNum", "2"},
        {"SettingItemHeight", "27"},
        {"ListItemHeight", "29"},
    };
    for (const auto& [key, value] : expectedLayout) EXPECT_EQ(layout(s, key), value) << key;
    EXPECT_EQ(font(s, "Control"), "14,Some Family");
    EXPECT_EQ(font(s, "Plain"), "14");
    EXPECT_EQ(font(s, "Named"), "abc,Some Family");
    EXPECT_EQ(font(s, "DefaultFamily"), "Some Family");
    EXPECT_EQ(s.style.findValue("Color", "Border").text, "102030");

    // The metrics are computed from the scaled style.
    EXPECT_EQ(Setting::Style::settingItemHeight, 27);
    EXPECT_EQ(Setting::Style::settingItemHeightPlus2, 29);
    EXPECT_EQ(Setting::Style::explorerHeaderHeight, 39);
    // Scaling is no change of a setting: nothing marks the style for writing.
    EXPECT_FALSE(s.style.isWriteBack());
  }
  EXPECT_FALSE(fs::exists(data("style.conf")));
}

TEST_F(SettingServiceTest, StyleStaysUnscaledWithoutHighDpiModeOrAtNormalDpi) {
  struct Case {
    const char* name;
    const char* parameterIni;
    std::optional<int> dpi;  // nullopt: headless, no bridge
  };
  const Case cases[] = {
      {"mode 0 at 144 dpi", "[Direct3D]\nHighDpiMode=0\n", 144},
      {"no mode at 144 dpi", "", 144},
      {"mode 1 at 96 dpi", "[Direct3D]\nHighDpiMode=1\n", 96},
      {"mode 1 headless", "[Direct3D]\nHighDpiMode=1\n", std::nullopt},
      {"mode not a number at 144 dpi", "[Direct3D]\nHighDpiMode=on\n", 144},
  };
  installStyle("Twenty=20\nOne=1\n", "[Font]\nControl=9,Some Family\n");
  FakeBridge bridge;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeUser("velumo2.ini", c.parameterIni);
    if (c.dpi) bridge.metrics.dpi = *c.dpi;
    System::setUiBridge(c.dpi ? &bridge : nullptr);

    System::ServiceHolder<SettingService> settings;
    SettingService& s = *SettingService::instance();
    EXPECT_EQ(s.dpiScale, 1.0f);
    EXPECT_EQ(layout(s, "Twenty"), "20");
    EXPECT_EQ(layout(s, "One"), "1");
    EXPECT_EQ(font(s, "Control"), "9,Some Family");
    EXPECT_EQ(Setting::Style::settingItemHeight, 18);
  }
}

TEST_F(SettingServiceTest, DesktopMetricsComeFromTheBridgeAndDefaultHeadless) {
  installStyle();
  {
    System::ServiceHolder<SettingService> settings;
    const auto& system = SettingService::instance()->system;
    EXPECT_EQ(system.keyDelay, 500);
    EXPECT_EQ(system.keyRepeatInterval, 100);
    EXPECT_EQ(system.caretBlinkTime, 500);
    EXPECT_EQ(system.dragWidth, 6);
    EXPECT_EQ(system.dragHeight, 6);
    EXPECT_EQ(system.doubleClickTime, 500);
    EXPECT_EQ(system.screenWidth, 1920);
    EXPECT_EQ(system.screenHeight, 1080);
    EXPECT_GT(system.installedMemory, 0);
  }

  FakeBridge bridge;
  bridge.metrics = {250, 30, 530, 4, 0, 400, 2560, -1, 96};
  System::setUiBridge(&bridge);
  System::ServiceHolder<SettingService> settings;
  const auto& system = SettingService::instance()->system;
  EXPECT_EQ(system.keyDelay, 250);
  EXPECT_EQ(system.keyRepeatInterval, 30);
  EXPECT_EQ(system.caretBlinkTime, 530);
  EXPECT_EQ(system.dragWidth, 4);
  EXPECT_EQ(system.dragHeight, 1);  // at least one pixel
  EXPECT_EQ(system.doubleClickTime, 400);
  EXPECT_EQ(system.screenWidth, 2560);
  EXPECT_EQ(system.screenHeight, 1);
}

TEST_F(SettingServiceTest, StyleBoundMetricsTakeTheirKeysOrDefaults) {
  struct Case {
    const char* name;
    std::string extraLayout;
    std::string fontSection;
    std::vector<int32_t> expected;  // scroll bar, footer, separator, title header
    std::string family;
  };
  const Case cases[] = {
      {"all keys given",
       "ScrollBarSize=14\nFooterHeight=30\nWindowSeparatorSize=3\nTitleHeaderHeight=25\n",
       "[Font]\nDefaultFamily=Some Family\n",
       {14, 30, 3, 25},
       "Some Family"},
      {"only the required keys", "", "", {20, 24, 5, 22}, "Yu Gothic UI"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    installStyle(c.extraLayout, c.fontSection);
    System::ServiceHolder<SettingService> settings;
    EXPECT_EQ(Setting::Style::settingItemHeight, 18);
    EXPECT_EQ(Setting::Style::settingItemHeightPlus2, 20);
    EXPECT_EQ(Setting::Style::explorerHeaderHeight, 26);
    EXPECT_EQ(Setting::Style::listItemHeight, 19);
    EXPECT_EQ((std::vector<int32_t>{Setting::Style::scrollBarSize, Setting::Style::footerHeight,
                                    Setting::Style::windowSeparatorSize,
                                    Setting::Style::titleHeaderHeight}),
              c.expected);
    EXPECT_EQ(Setting::Style::defaultFamily, c.family);
  }
}

TEST_F(SettingServiceTest, AnUnchangedRunWritesOnlyTheParameterIni) {
  writeInstalled("system.conf", "[Config]\nMainThreadPriority=0\n");
  installStyle();
  writeInstalled("effect.conf", "[OldScript.Blur]\nsize=Size\n");
  // The user's style copy has a comment: a rewrite would drop it.
  const std::string userStyle = "; mine\n[Layout]\nScrollBarSize=11\n";
  writeUser("style.conf", userStyle);
  writeUser("velumo2.ini", "[Other]\nKept=yes\n");

  for (const bool withLogger : {false, true}) {
    SCOPED_TRACE(withLogger ? "with logger" : "without logger");
    fs::remove(data("velumo2.ini"));
    writeUser("velumo2.ini", "[Other]\nKept=yes\n");
    {
      System::ServiceHolder<SettingService> settings;
      std::optional<System::ServiceHolder<System::Logger>> logger;
      if (withLogger) logger.emplace();
      // Nothing is written before the release.
      EXPECT_EQ(TestSupport::readWholeFile(data("velumo2.ini")), "[Other]\nKept=yes\n");
      logger.reset();
    }
    EXPECT_FALSE(fs::exists(data("system.conf")));
    EXPECT_FALSE(fs::exists(data("effect.conf")));
    EXPECT_EQ(TestSupport::readWholeFile(data("style.conf")), userStyle);

    const std::string ini = data("velumo2.ini");
    EXPECT_EQ(iniValue(ini, "Other", "Kept"), "yes");
    EXPECT_TRUE(iniValue(ini, "Direct3D", "HighDpiMode").has_value());
    if (withLogger) {
      EXPECT_EQ(iniValue(ini, "Logger", "MaxViewLine"), "200");
      EXPECT_EQ(iniValue(ini, "Logger", "MaxFileNum"), "5");
      EXPECT_EQ(iniValue(ini, "Logger", "ViewLogLevel"), "2");
      EXPECT_EQ(iniValue(ini, "Logger", "FileLogLevel"), "4");
      EXPECT_EQ(iniValue(ini, "Logger", "DebuggerLogLevel"), "0");
    } else {
      EXPECT_EQ(iniValue(ini, "Logger", "MaxViewLine"), std::nullopt);
    }
  }
}

TEST_F(SettingServiceTest, AChangedStoreIsWrittenToTheUserCopyAtRelease) {
  installStyle("ScrollBarSize=30\n");
  writeInstalled("system.conf", "[Config]\nMainThreadPriority=0\n");
  {
    System::ServiceHolder<SettingService> settings;
    SettingService& s = *SettingService::instance();
    s.style.getOrCreateValue(s.layout, "ScrollBarSize").text = "12";
    s.style.setWriteBack(true);
  }
  const std::string written = data("style.conf");
  EXPECT_EQ(iniValue(written, "Layout", "ScrollBarSize"), "12");
  // The whole merged store goes to the user's copy.
  EXPECT_EQ(iniValue(written, "Layout", "SettingItemHeight"), "18");
  EXPECT_EQ(iniValue(install_ / "style.conf", "Layout", "ScrollBarSize"), "30");
  // Unchanged stores stay where they were.
  EXPECT_FALSE(fs::exists(data("system.conf")));
  EXPECT_FALSE(fs::exists(data("effect.conf")));
}

TEST_F(SettingServiceTest, ReadConfigIntReadsWithoutAddingKeys) {
  installStyle();
  EXPECT_EQ(Setting::readConfigInt("WorkerThreadPriority", 4), 4);  // no service yet

  writeInstalled(
      "system.conf",
      "[Config]\nNumber=7\nNegative=-2\nPadded= 12px\nWord=abc\nEmpty=\nHuge=99999999999\n");
  System::ServiceHolder<SettingService> settings;
  const System::IniFile& store = SettingService::instance()->system.store;
  const auto keysBefore = store.getSection("Config").keys().size();

  const std::vector<std::tuple<const char*, int, int>> cases = {
      {"Number", 3, 7}, {"Negative", 3, -2}, {"Padded", 3, 12}, {"Word", 3, 3},
      {"Empty", 3, 3},  {"Huge", 3, 3},      {"Missing", 3, 3},
  };
  for (const auto& [key, fallback, expected] : cases)
    EXPECT_EQ(Setting::readConfigInt(key, fallback), expected) << key;

  EXPECT_EQ(store.getSection("Config").keys().size(), keysBefore);
  EXPECT_FALSE(store.getSection("Config").hasKey("Missing"));
}

TEST_F(SettingServiceTest, ReadConfigIntWithoutAConfigSectionCreatesNone) {
  installStyle();
  System::ServiceHolder<SettingService> settings;
  const System::IniFile& store = SettingService::instance()->system.store;
  EXPECT_EQ(Setting::readConfigInt("WorkerThreadPriority", -1), -1);
  EXPECT_FALSE(store.hasSection("Config"));
}

}  // namespace
