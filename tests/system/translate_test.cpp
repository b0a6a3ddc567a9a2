#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "system/dialog.h"
#include "system/file.h"
#include "system/log_capture.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"
#include "system/translate_service.h"
#include "system/translate_table.h"
#include "system/ui_bridge.h"

namespace {

namespace fs = std::filesystem;
using Setting::ParameterIni;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::StartsWith;
using TestSupport::LogCapture;
using TestSupport::ScopedEnvironment;
using TestSupport::TempFolder;
using Translate::TranslateService;
using TextKind = Translate::TranslateService::TextKind;
using RefreshStep = Translate::TranslateService::RefreshStep;

// Records the boxes the service and the error dialogs show.
class FakeBridge : public System::UiBridge {
 public:
  struct Box {
    std::string kind;
    std::string text;
    std::string caption;
  };
  std::vector<Box> boxes;
  System::DesktopMetrics desktopMetrics() override { return {}; }
  void showErrorBox(const std::string& text, const std::string& caption) override {
    boxes.push_back({"error", text, caption});
  }
  void showInformationBox(const std::string& text, const std::string& caption) override {
    boxes.push_back({"information", text, caption});
  }
};

bool containsText(const std::vector<std::string>& texts, const std::string& part) {
  for (const auto& text : texts)
    if (text.find(part) != std::string::npos) return true;
  return false;
}

// The program's folder is a temporary one with a data folder, so %Language% is
// <folder>/data/Language. The parameter store exists, so "Language" can be set before the
// service is created and read back after it is gone. The interface language is English
// unless a test says otherwise.
class TranslateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.makeFolder("data");
    System::FileName::resetVariableList(install_.path());
    languageFolder_ = System::FileName::expandVariable("%Language%");
    parameters_.emplace();
    System::setUiBridge(&bridge_);
  }
  void TearDown() override {
    service_.reset();
    parameters_.reset();
    System::setUiBridge(nullptr);
    System::FileName::resetVariableList();
  }

  void setLanguage(const std::string& value) {
    ParameterIni::instance()->getOrCreateValue("Translate", "Language").text = value;
  }
  std::string savedLanguage() const {
    return ParameterIni::instance()->findValue("Translate", "Language").text;
  }
  std::string writeLanguageFile(const std::string& fileName, const std::string& contents) {
    return install_.writeFile("data/Language/" + fileName, contents);
  }
  TranslateService& start() {
    service_.emplace();
    return *TranslateService::instance();
  }
  void stop() { service_.reset(); }
  std::vector<std::string> languageFolderNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(languageFolder_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempFolder install_;
  std::string languageFolder_;
  FakeBridge bridge_;
  ScopedEnvironment lcAll_{"LC_ALL", "en_US.UTF-8"};
  ScopedEnvironment lcMessages_{"LC_MESSAGES", nullptr};
  ScopedEnvironment lang_{"LANG", nullptr};
  std::optional<System::ServiceHolder<ParameterIni>> parameters_;
  std::optional<System::ServiceHolder<TranslateService>> service_;
};

constexpr const char* kEveryTable =
    "[Effect]\r\nBlur=Flou\r\n"
    "[Message]\r\nFailed=Echec\r\n"
    "[Menu]\r\nOpen=Ouvrir\r\n"
    "[Dialog]\r\nCancel=Annuler\r\n"
    "[Name]\r\nLayer=Calque\r\n";

TEST_F(TranslateTest, EachKindOfTextGoesThroughItsOwnTable) {
  writeLanguageFile("fr.vll2", kEveryTable);
  setLanguage("fr");
  TranslateService& service = start();
  ASSERT_TRUE(Translate::isLanguageActive());

  struct Case {
    TextKind kind;
    const char* source;
    const char* translation;
  };
  const Case cases[] = {
      {TextKind::Effect, "Blur", "Flou"},     {TextKind::Message, "Failed", "Echec"},
      {TextKind::Menu, "Open", "Ouvrir"},     {TextKind::Dialog, "Cancel", "Annuler"},
      {TextKind::Name, "Layer", "Calque"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    EXPECT_EQ(service.translate(c.kind, c.source), c.translation);
    EXPECT_STREQ(service.table(c.kind).translate(c.source), c.translation);
    // The tables are separate: no other kind translates this text.
    for (const Case& other : cases)
      if (other.kind != c.kind) {
        EXPECT_EQ(service.translate(other.kind, c.source), c.source);
      }
  }
  // translateString is the Menu table's.
  EXPECT_EQ(service.translateString("Open"), "Ouvrir");
  EXPECT_EQ(service.translateString("Blur"), "Blur");
}

TEST_F(TranslateTest, AnUntranslatedTextComesBackAsTheSameCharacters) {
  writeLanguageFile("fr.vll2", kEveryTable);
  setLanguage("fr");
  TranslateService& service = start();

  const char* text = "Not in the file";
  EXPECT_EQ(service.menu.translate(text), text);
  EXPECT_EQ(service.menu.translate(static_cast<const char*>(nullptr)), nullptr);
  const std::string owned = "Also missing";
  EXPECT_EQ(service.translateString(owned).data(), owned.data());
  // A translation views the table's characters, not a copy.
  EXPECT_EQ(service.translateString("Open").data(), service.menu.translate("Open"));
}

TEST_F(TranslateTest, BackslashNPairsAreLineBreaksInKeysAndValues) {
  writeLanguageFile("fr.vll2",
                    "[Message]\r\n"
                    "First line\\nSecond line=Premiere\\nDeuxieme\\nTroisieme\r\n"
                    "Plain=With\\nbreak\r\n"
                    "Two\\n\\nbreaks=\r\n");
  setLanguage("fr");
  TranslateService& service = start();

  EXPECT_EQ(service.translate(TextKind::Message, "First line\nSecond line"),
            "Premiere\nDeuxieme\nTroisieme");
  EXPECT_EQ(service.translate(TextKind::Message, "Plain"), "With\nbreak");
  // The key as written does not match: only the text with real line breaks does.
  EXPECT_EQ(service.translate(TextKind::Message, "First line\\nSecond line"),
            "First line\\nSecond line");
  // An empty value translates to the key, line breaks included.
  EXPECT_EQ(service.translate(TextKind::Message, "Two\n\nbreaks"), "Two\n\nbreaks");
}

TEST_F(TranslateTest, ANulInsideATranslationIsKeptByTheViewLookup) {
  writeLanguageFile("fr.vll2", std::string("[Menu]\r\nOpen=Ouv\0rir\r\n", 23));
  setLanguage("fr");
  TranslateService& service = start();
  EXPECT_EQ(service.translateString("Open"), std::string_view("Ouv\0rir", 7));
  // The NUL-terminated lookup hands out the same characters, which a C caller reads up to
  // the NUL.
  EXPECT_EQ(service.menu.translate("Open"), service.translateString("Open").data());
  EXPECT_STREQ(service.menu.translate("Open"), "Ouv");
}

TEST_F(TranslateTest, AnEmptyValueTranslatesToItsKey) {
  writeLanguageFile("fr.vll2", "[Menu]\r\nKeep me=\r\nChange me=Changed\r\n");
  setLanguage("fr");
  TranslateService& service = start();
  EXPECT_EQ(service.menu.size(), 2u);
  EXPECT_EQ(service.translateString("Keep me"), "Keep me");
  EXPECT_EQ(service.translateString("Change me"), "Changed");
}

TEST_F(TranslateTest, WithoutAnActiveLanguageTextsStayAsTheyAre) {
  writeLanguageFile("fr.vll2", kEveryTable);
  setLanguage("fr");
  TranslateService& service = start();
  ASSERT_EQ(service.translateString("Open"), "Ouvrir");

  // The language dialog's "Default" stores the empty text.
  service.language.clear();
  service.updateLanguage();
  EXPECT_FALSE(Translate::isLanguageActive());
  EXPECT_EQ(service.translateString("Open"), "Open");
  EXPECT_EQ(service.translate(TextKind::Effect, "Blur"), "Blur");
  stop();
  EXPECT_EQ(savedLanguage(), "");
}

TEST_F(TranslateTest, TheAutomaticChoiceResolvesOnceAndIsSaved) {
  struct Case {
    const char* name;
    const char* lcAll;
    const char* lang;
    std::vector<std::string> files;  // created in this order
    std::string expected;
  };
  const Case cases[] = {
      {"English picks the first file by name", "en_US.UTF-8", nullptr, {"b.vll2", "a.vll2"}, "a"},
      {"English without files", "en_US.UTF-8", nullptr, {}, ""},
      {"Japanese keeps the program's own texts", "ja_JP.UTF-8", nullptr, {"a.vll2"}, ""},
      {"LANG counts when LC_ALL is not set", nullptr, "ja_JP.UTF-8", {"a.vll2"}, ""},
      {"an empty LC_ALL is not set", "", "en_GB.UTF-8", {"a.vll2"}, "a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& entry : fs::directory_iterator(languageFolder_)) fs::remove(entry.path());
    for (const auto& file : c.files) writeLanguageFile(file, "[Menu]\r\nOpen=" + file + "\r\n");
    ScopedEnvironment lcAll("LC_ALL", c.lcAll);
    ScopedEnvironment lang("LANG", c.lang);
    setLanguage("*");

    TranslateService& service = start();
    EXPECT_EQ(service.language, c.expected);
    EXPECT_EQ(Translate::isLanguageActive(), !c.expected.empty());
    if (!c.expected.empty()) {
      EXPECT_EQ(service.translateString("Open"), c.expected + ".vll2");
    }
    stop();
    EXPECT_EQ(savedLanguage(), c.expected);
  }
}

TEST_F(TranslateTest, TheInterfaceLanguageFollowsTheLocaleVariablesInOrder) {
  struct Case {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    bool japanese;
  };
  const Case cases[] = {
      {"ja_JP.UTF-8", "en_US.UTF-8", "en_US.UTF-8", true},
      {"en_US.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", false},
      {nullptr, "ja_JP.UTF-8", "en_US.UTF-8", true},
      {nullptr, "", "ja", true},
      {nullptr, nullptr, "C.UTF-8", false},
      {nullptr, nullptr, nullptr, false},
  };
  for (const Case& c : cases) {
    ScopedEnvironment lcAll("LC_ALL", c.lcAll);
    ScopedEnvironment lcMessages("LC_MESSAGES", c.lcMessages);
    ScopedEnvironment lang("LANG", c.lang);
    EXPECT_EQ(TranslateService::isJapaneseUserInterface(), c.japanese)
        << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
        << (c.lang ? c.lang : "-");
  }
}

TEST_F(TranslateTest, AMissingFileLeavesEveryTextUnchangedAndKeepsTheChoice) {
  setLanguage("gone");
  LogCapture log;
  TranslateService& service = start();
  EXPECT_TRUE(Translate::isLanguageActive());
  EXPECT_EQ(service.language, "gone");
  EXPECT_TRUE(service.menu.empty());
  EXPECT_EQ(service.translateString("Open"), "Open");
  EXPECT_TRUE(containsText(log.texts("WARN"), "language file not found."));
  stop();
  EXPECT_EQ(savedLanguage(), "gone");
}

TEST_F(TranslateTest, AFileThatIsNotUtf8TurnsTranslationOff) {
  struct Case {
    const char* name;
    std::string contents;
  };
  const Case cases[] = {
      {"a value", "[Effect]\r\nBlur=Flou\r\n[Menu]\r\nOpen=\xff\xfe\r\n"},
      {"a key", "[Menu]\r\nOpen=Ouvrir\r\n[Dialog]\r\nO\xc3pen=Ouvrir\r\n"},
      {"UTF-16 text", std::string("\xff\xfe[\0M\0e\0n\0u\0]\0", 14)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeLanguageFile("bad.vll2", c.contents);
    setLanguage("bad");
    LogCapture log;
    TranslateService& service = start();
    EXPECT_FALSE(Translate::isLanguageActive());
    EXPECT_EQ(service.language, "");
    EXPECT_TRUE(service.effect.empty());
    EXPECT_TRUE(service.menu.empty());
    EXPECT_EQ(service.translate(TextKind::Effect, "Blur"), "Blur");
    EXPECT_TRUE(containsText(log.texts("WARN"), "translation is off"));
    stop();
    EXPECT_EQ(savedLanguage(), "");
  }
}

TEST_F(TranslateTest, BadLinesAndUnknownSectionsAreLoggedAndTheRestIsUsed) {
  writeLanguageFile("fr.vll2",
                    "orphan=before any section\r\n"
                    "[Menu]\r\nOpen=Ouvrir\r\nno equals sign here\r\n"
                    "[Colours]\r\nRed=Rouge\r\n"
                    "[Message]\r\nFailed=Echec\r\n");
  setLanguage("fr");
  LogCapture log;
  TranslateService& service = start();
  EXPECT_TRUE(Translate::isLanguageActive());
  EXPECT_EQ(service.translateString("Open"), "Ouvrir");
  EXPECT_EQ(service.translate(TextKind::Message, "Failed"), "Echec");
  EXPECT_EQ(service.translate(TextKind::Menu, "Red"), "Red");
  const auto warnings = log.texts("WARN");
  EXPECT_TRUE(containsText(warnings, "section=Colours"));
  EXPECT_TRUE(containsText(warnings, "(line 1)"));
  EXPECT_TRUE(containsText(warnings, "(line 4)"));
}

TEST_F(TranslateTest, AByteOrderMarkIsReported) {
  writeLanguageFile("fr.vll2", "\xef\xbb\xbf[Menu]\r\nOpen=Ouvrir\r\n[Name]\r\nLayer=Calque\r\n");
  setLanguage("fr");
  LogCapture log;
  TranslateService& service = start();
  EXPECT_TRUE(Translate::isLanguageActive());
  EXPECT_EQ(service.translate(TextKind::Name, "Layer"), "Calque");
  EXPECT_TRUE(containsText(log.texts("WARN"), "byte-order mark"));
}

TEST_F(TranslateTest, ATitleThatIsAPathIsRefused) {
  install_.writeFile("data/outside.vll2", kEveryTable);
  for (const char* title : {"../outside", "sub/fr", ".."}) {
    SCOPED_TRACE(title);
    setLanguage(title);
    LogCapture log;
    TranslateService& service = start();
    EXPECT_FALSE(Translate::isLanguageActive());
    EXPECT_EQ(service.language, "");
    EXPECT_TRUE(containsText(log.texts("WARN"), "language name invalid."));
    stop();
  }
}

TEST_F(TranslateTest, TheLanguageListNamesTheLanguageFiles) {
  for (const char* name : {"zh.vll2", "en.vll2", "Fr.VLL2", "notes.txt", "de.vll2x", ".vll2",
                           "en.vll2.tmp"})
    writeLanguageFile(name, "");
  install_.makeFolder("data/Language/folder.vll2");
  EXPECT_THAT(TranslateService::getLanguageList(), ElementsAre("Default", "en", "Fr", "zh"));

  fs::remove_all(languageFolder_);
  EXPECT_THAT(TranslateService::getLanguageList(), ElementsAre("Default"));
}

TEST_F(TranslateTest, AFileListedWithAnUpperCaseExtensionLoads) {
  writeLanguageFile("Fr.VLL2", kEveryTable);
  setLanguage("Fr");
  TranslateService& service = start();
  EXPECT_TRUE(Translate::isLanguageActive());
  EXPECT_EQ(service.translateString("Open"), "Ouvrir");
}

TEST_F(TranslateTest, ErrorBoxesPassTheMessageTableWhileALanguageIsActive) {
  writeLanguageFile("fr.vll2", kEveryTable);
  setLanguage("fr");
  TranslateService& service = start();
  Dialog::showError("%s", "Failed");
  service.language.clear();
  service.updateLanguage();
  Dialog::showError("%s", "Failed");
  service.language = "fr";
  service.updateLanguage();
  stop();
  Dialog::showError("%s", "Failed");

  ASSERT_EQ(bridge_.boxes.size(), 3u);
  EXPECT_EQ(bridge_.boxes[0].text, "Echec");
  EXPECT_EQ(bridge_.boxes[1].text, "Failed");
  // A service that is gone translates nothing.
  EXPECT_EQ(bridge_.boxes[2].text, "Failed");
  EXPECT_FALSE(Translate::isLanguageActive());
}

TEST_F(TranslateTest, ALanguageChangeRunsTheRefreshCallbacksInStepOrder) {
  setLanguage("");
  TranslateService& service = start();
  std::vector<std::string> calls;
  const auto add = [&](RefreshStep step, std::string name) {
    return service.addRefreshCallback(step, [&calls, name] { calls.push_back(name); });
  };
  add(RefreshStep::RefreshViews, "views");
  add(RefreshStep::RedrawWindow, "redraw");
  add(RefreshStep::RebuildMenus, "file menu");
  const auto removed = add(RefreshStep::RebuildMenus, "removed");
  add(RefreshStep::RebuildMenus, "edit menu");
  add(RefreshStep::ClearMenus, "clear menus");
  add(RefreshStep::ClearMenus, "shortcuts");
  service.removeRefreshCallback(removed);

  service.updateLanguage();
  EXPECT_THAT(calls, ElementsAre("clear menus", "shortcuts", "file menu", "edit menu", "redraw",
                                 "views"));
}

TEST_F(TranslateTest, RegisteringAFileCopiesSelectsAndRefreshes) {
  writeLanguageFile("fr.vll2", "[Message]\r\n言語ファイルを設定しました=Langue installee\r\n");
  const std::string source = install_.writeFile("downloads/fr.vll2",
                                                "[Message]\r\n言語ファイルを設定しました=Fichier "
                                                "de langue installe\r\n[Menu]\r\nOpen=Ouvrir\r\n");
  setLanguage("");
  TranslateService& service = start();
  std::vector<std::string> seen;
  service.addRefreshCallback(RefreshStep::RebuildMenus, [&] {
    seen.push_back(std::string(service.translateString("Open")));
  });

  service.registerLanguageFile(source);
  EXPECT_EQ(TestSupport::readWholeFile(languageFolder_ + "/fr.vll2"),
            TestSupport::readWholeFile(source));
  EXPECT_EQ(service.language, "fr");
  EXPECT_TRUE(Translate::isLanguageActive());
  // The menus were rebuilt with the new tables in place.
  EXPECT_THAT(seen, ElementsAre("Ouvrir"));
  ASSERT_EQ(bridge_.boxes.size(), 1u);
  EXPECT_EQ(bridge_.boxes[0].kind, "information");
  EXPECT_EQ(bridge_.boxes[0].text, "Fichier de langue installe");
  EXPECT_EQ(bridge_.boxes[0].caption, "Velumo Kivrun2");
  EXPECT_THAT(languageFolderNames(), ElementsAre("fr.vll2"));
  stop();
  EXPECT_EQ(savedLanguage(), "fr");
}

TEST_F(TranslateTest, RegisteringAFileThatIsAlreadyInPlaceKeepsIt) {
  const std::string contents = "[Menu]\r\nOpen=Ouvrir\r\n";
  const std::string installed = writeLanguageFile("fr.vll2", contents);
  fs::create_directories(install_ / "links");
  fs::create_symlink(installed, install_ / "links/fr.vll2");
  struct Case {
    const char* name;
    std::string path;
  };
  const Case cases[] = {
      {"the installed path", installed},
      {"through the path variable", "%Language%/fr.vll2"},
      {"another spelling", languageFolder_ + "/./fr.vll2"},
      {"a link to it", install_ / "links/fr.vll2"},
  };
  setLanguage("");
  TranslateService& service = start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    service.language.clear();
    service.updateLanguage();
    service.registerLanguageFile(c.path);
    EXPECT_EQ(TestSupport::readWholeFile(installed), contents);
    EXPECT_EQ(service.language, "fr");
    EXPECT_EQ(service.translateString("Open"), "Ouvrir");
  }
  EXPECT_THAT(languageFolderNames(), ElementsAre("fr.vll2"));
}

TEST_F(TranslateTest, AFailedCopyLeavesNoFileAndChangesNothing) {
  const std::string source = install_.writeFile("downloads/fr.vll2", kEveryTable);
  // A folder where the file would go: the copy is written, then cannot take its place.
  install_.makeFolder("data/Language/fr.vll2");
  struct Case {
    const char* name;
    std::string path;
    const char* code;
  };
  const Case cases[] = {
      {"a missing source", install_ / "downloads/missing.vll2", "HRESULT: 0x80070002"},
      {"a target that cannot be replaced", source, "HRESULT: 0x"},
      {"a folder as the source", install_ / "downloads", "HRESULT: 0x"},
  };
  setLanguage("");
  TranslateService& service = start();
  int refreshes = 0;
  service.addRefreshCallback(RefreshStep::RefreshViews, [&] { ++refreshes; });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      service.registerLanguageFile(c.path);
      ADD_FAILURE() << "no exception";
    } catch (const std::exception& exception) {
      const std::string text = exception.what();
      EXPECT_THAT(text, StartsWith("CopyFile() failed.\n\n[Note]\n"));
      EXPECT_THAT(text, HasSubstr(c.code));
      EXPECT_THAT(text, testing::EndsWith(
                            "\n\n[Place]\nTranslate::TranslateService::registerLanguageFile()"));
    }
    EXPECT_THAT(languageFolderNames(), ElementsAre("fr.vll2"));
    EXPECT_TRUE(fs::is_directory(languageFolder_ + "/fr.vll2"));
  }
  EXPECT_EQ(service.language, "");
  EXPECT_EQ(refreshes, 0);
  EXPECT_THAT(bridge_.boxes, IsEmpty());
}

// Files of this process may not grow past a few bytes while it lives: a write past that
// fails (EFBIG) instead of raising the signal.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST_F(TranslateTest, ACopyThatFailsPartWayKeepsTheInstalledFile) {
  const std::string installed = writeLanguageFile("fr.vll2", kEveryTable);
  std::string large = "[Menu]\r\n";
  while (large.size() < 200000) large += "Some text=Un texte\r\n";
  const std::string source = install_.writeFile("downloads/fr.vll2", large);
  setLanguage("fr");
  TranslateService& service = start();
  {
    const FileSizeLimit limit(4096);
    EXPECT_THROW(service.registerLanguageFile(source), std::exception);
  }
  EXPECT_EQ(TestSupport::readWholeFile(installed), kEveryTable);
  EXPECT_THAT(languageFolderNames(), ElementsAre("fr.vll2"));
  EXPECT_EQ(service.translateString("Open"), "Ouvrir");
}

TEST_F(TranslateTest, AFileNameWithoutATitleIsRefused) {
  const std::string source = install_.writeFile("downloads/.vll2", kEveryTable);
  setLanguage("");
  TranslateService& service = start();
  EXPECT_THROW(service.registerLanguageFile(source), std::exception);
  EXPECT_THAT(languageFolderNames(), IsEmpty());
  EXPECT_FALSE(Translate::isLanguageActive());
}

}  // namespace
