#include "effect/movement_preset.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "effect/movement_preset_manager.h"
#include "system/comma_locale.h"
#include "system/exception_text.h"
#include "system/fake_ui_bridge.h"
#include "system/file.h"
#include "system/log_capture.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"

namespace {

using Effect::MovementParamsDefine;
using Effect::MovementParamsManager;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;

// A program folder of its own: %AppInstall% is the folder, %Default% lies in its data
// folder. Error boxes and log lines are kept for the test to read.
class MovementPresetTest : public ::testing::Test {
 protected:
  MovementPresetTest() {
    install_.makeFolder("data");
    System::FileName::resetVariableList(install_.path());
    defaultFolder_ = System::FileName::expandVariable("%Default%");
  }
  ~MovementPresetTest() override { System::FileName::resetVariableList(); }

  std::string writeSystemFile(const std::string& text) {
    return install_.writeFile("preset.params", text);
  }
  std::string writeUserFile(const std::string& name, const std::string& text) {
    return install_.writeFile("data/Default/" + name, text);
  }

  static std::vector<std::string> names(const MovementParamsManager& manager) {
    std::vector<std::string> result;
    for (const auto* preset : manager.getList()) result.emplace_back(preset->getName());
    return result;
  }
  std::vector<std::string> boxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : ui_.boxes) texts.push_back(box.text);
    return texts;
  }

  TestSupport::TempFolder install_;
  std::string defaultFolder_;
  TestSupport::FakeUiBridge ui_;
  TestSupport::LogCapture log_;
};

// ---- the file text -----------------------------------------------------------------------

TEST(MovementPresetText, KeepsOnlyLinesWithExactlyOneEqualsSign) {
  const std::string text =
      "\xEF\xBB\xBF"
      "first=1\r\n"
      "; a=1\n"
      "\n"
      "\r\n"
      "k=1=2\n"
      "no separator\n"
      " spaced key = 0.5 \r\n"
      "empty=\r\n"
      "=3\n"
      "last=4";
  // The byte-order mark stays part of the first key; keys and values keep their blanks.
  EXPECT_THAT(MovementParamsDefine::parseMovementParamsText(text),
              ElementsAre(MovementParamsDefine::Entry{"\xEF\xBB\xBF" "first", "1"},
                          MovementParamsDefine::Entry{" spaced key ", " 0.5 "},
                          MovementParamsDefine::Entry{"empty", ""},
                          MovementParamsDefine::Entry{"", "3"},
                          MovementParamsDefine::Entry{"last", "4"}));
}

TEST(MovementPresetText, ReadsValueTexts) {
  struct Case {
    const char* text;
    std::vector<double> values;
  };
  const Case cases[] = {
      {"", {}},
      {"0.1,0.2,0.3,0.4", {0.1, 0.2, 0.3, 0.4}},
      {" 1, -2.5,3e1", {1.0, -2.5, 30.0}},  // leading blanks are allowed
      {"1px,2", {1.0, 2.0}},                // what follows a number is ignored
  };
  for (const Case& c : cases)
    EXPECT_EQ(MovementParamsDefine::parseValues(c.text), c.values) << c.text;
}

TEST(MovementPresetText, RefusesPiecesThatAreNoFiniteNumbers) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"1,,2", "invalid stod argument"},  // empty pieces are kept, and are no numbers
      {"1,", "invalid stod argument"},
      {"x", "invalid stod argument"},
      {"nan", "invalid stod argument"},  // a curve must never carry NaN or infinity
      {"inf", "invalid stod argument"},
      {"1e999", "stod argument out of range"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TestSupport::whatOf([&] { (void)MovementParamsDefine::parseValues(c.text); }),
              c.error)
        << c.text;
  }
}

TEST(MovementPresetText, WritesTrimmedNumbersOnOneLine) {
  struct Case {
    std::vector<double> values;
    const char* text;
  };
  const Case cases[] = {
      {{0.25, 0.5, 1.0}, "params=0.25,0.5,1\r\n"},
      {{}, "params=\r\n"},
      {{-0.5, 100.0, 0.1234567}, "params=-0.5,100,0.123457\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MovementParamsDefine::formatMovementParamsText(c.values), c.text);
}

// ---- saving ------------------------------------------------------------------------------

TEST_F(MovementPresetTest, SaveWritesOneLineAndLogsThePathAsGiven) {
  MovementParamsDefine::saveMovementParamsFile("%Default%/Ease.params", {0.25, 0.5, 1.0});
  EXPECT_EQ(TestSupport::readWholeFile(defaultFolder_ + "/Ease.params"), "params=0.25,0.5,1\r\n");
  EXPECT_THAT(log_.texts("INFO"),
              ElementsAre("save movement params file : %Default%/Ease.params"));

  // Saving again replaces the file, and what was saved reads back as one preset.
  MovementParamsDefine::saveMovementParamsFile("%Default%/Ease.params", {0.1, 0.2, 0.3, 0.4});
  MovementParamsManager manager;
  manager.loadMovementParams();
  EXPECT_THAT(names(manager), ElementsAre("Ease"));
  EXPECT_EQ(manager.findMovementParams("Ease")->values,
            (std::vector<double>{0.1, 0.2, 0.3, 0.4}));
}

TEST_F(MovementPresetTest, APresetSavedUnderADecimalCommaLocaleReadsBackTheSame) {
  const TestSupport::CommaLocale comma;
  ASSERT_TRUE(comma.active());
  const std::vector<double> values{0.25, -1.5, 3.125, 0.1234567};
  MovementParamsDefine::saveMovementParamsFile("%Default%/Ease.params", values);
  EXPECT_EQ(TestSupport::readWholeFile(defaultFolder_ + "/Ease.params"),
            "params=0.25,-1.5,3.125,0.123457\r\n");
  MovementParamsManager manager;
  manager.loadMovementParams();
  ASSERT_TRUE(manager.findMovementParams("Ease"));
  EXPECT_EQ(manager.findMovementParams("Ease")->values,
            (std::vector<double>{0.25, -1.5, 3.125, 0.123457}));
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(MovementPresetTest, SaveIntoAFolderThatCannotHoldTheFileThrowsAndLeavesNothing) {
  const std::string path = defaultFolder_ + "/missing/x.params";
  EXPECT_EQ(TestSupport::whatOf([&] {
              MovementParamsDefine::saveMovementParamsFile("%Default%/missing/x.params", {1.0});
            }),
            "failed to open file.\n\n[Note]\n" + path + "\n\n[Place]\nSystem::File::open()");
  EXPECT_FALSE(std::filesystem::exists(defaultFolder_ + "/missing"));
}

// ---- registering -------------------------------------------------------------------------

TEST_F(MovementPresetTest, SystemFileKeysStandAloneAndUserFileKeysTakeTheTitle) {
  writeSystemFile("a=1,2\r\nb=3\r\n");
  writeUserFile("x.params", "a=1,2\r\nb=3\r\n");
  MovementParamsManager manager;
  manager.loadMovementParams();
  EXPECT_THAT(names(manager), ElementsAre("a", "b", "a@x", "b@x"));
  EXPECT_EQ(manager.findMovementParams("a@x")->values, (std::vector<double>{1.0, 2.0}));
  EXPECT_THAT(log_.texts("INFO"), IsSupersetOf({"register movement params [a]",
                                                "register movement params [b@x]"}));
  EXPECT_THAT(ui_.boxes, IsEmpty());
}

TEST_F(MovementPresetTest, AFileWithOneEntryIsNamedAfterTheFile) {
  writeSystemFile("only=5\r\n");
  writeUserFile("Ease.params", "; my curve\r\nparams=0.1,0.2,0.3,0.4\r\n");
  MovementParamsManager manager;
  manager.loadMovementParams();
  EXPECT_THAT(names(manager), ElementsAre("preset", "Ease"));
  EXPECT_EQ(manager.findMovementParams("Ease")->values,
            (std::vector<double>{0.1, 0.2, 0.3, 0.4}));
  EXPECT_EQ(manager.findMovementParams("only"), nullptr);
}

TEST_F(MovementPresetTest, IgnoredLinesDoNotCountAndAKeyAloneGivesAPresetWithoutValues) {
  // Two entries survive, so each keeps its key.
  writeUserFile("set.params", "k=1=2\nno separator\n;c=1\n\nempty=\nfast=1\n");
  MovementParamsManager manager;
  manager.loadMovementParams();
  EXPECT_THAT(names(manager), ElementsAre("empty@set", "fast@set"));
  EXPECT_THAT(manager.findMovementParams("empty@set")->values, IsEmpty());
}

TEST_F(MovementPresetTest, KeysThatAreNoValidTextBecomeValidNames) {
  writeUserFile("set.params", "bad\xff=1\nok=2\n");
  MovementParamsManager manager;
  manager.loadMovementParams();
  EXPECT_THAT(names(manager), ElementsAre("bad\xEF\xBF\xBD@set", "ok@set"));
}

TEST_F(MovementPresetTest, ADuplicateNameKeepsTheFirstPresetAndGoesOn) {
  writeSystemFile("a=1\r\nb=2\r\n");
  writeUserFile("a.params", "params=9\r\n");
  MovementParamsManager manager;
  manager.loadMovementParams();
  EXPECT_THAT(names(manager), ElementsAre("a", "b"));
  EXPECT_EQ(manager.findMovementParams("a")->values, std::vector<double>{1.0});
  EXPECT_THAT(boxTexts(), ElementsAre("Failed to register movement params. [a]\n\n"
                                      "Duplicate params with the same key exist."));
}

TEST_F(MovementPresetTest, ARefusedDuplicateUsesUpItsOrderNumber) {
  writeSystemFile("c=1\r\nc=x\r\nd=3\r\n");  // the duplicate's value is never read
  MovementParamsManager manager;
  manager.loadMovementParams();
  EXPECT_THAT(names(manager), ElementsAre("c", "d"));
  EXPECT_EQ(manager.findMovementParams("d")->order - manager.findMovementParams("c")->order, 2);
  EXPECT_EQ(boxTexts().size(), 1u);
}

TEST_F(MovementPresetTest, AValueThatIsNoNumberEndsItsFileButKeepsWhatCameBefore) {
  writeSystemFile("a=1\r\nb=0.5,x\r\nc=2\r\n");
  writeUserFile("other.params", "params=3\r\n");
  MovementParamsManager manager;
  manager.loadMovementParams();
  EXPECT_THAT(names(manager), ElementsAre("a", "other"));
  EXPECT_THAT(boxTexts(), ElementsAre("Failed to register movement params. [" + install_.path() +
                                      "/preset.params]\n\ninvalid stod argument"));
}

TEST_F(MovementPresetTest, MissingFilesRegisterNothingAndSayNothing) {
  MovementParamsManager manager;
  manager.loadMovementParams();
  manager.registerMovementParams("%Default%/gone.params", false);
  std::filesystem::create_directories(defaultFolder_ + "/folder.params");
  manager.registerMovementParams("%Default%/folder.params", false);
  EXPECT_THAT(manager.getList(), IsEmpty());
  EXPECT_THAT(ui_.boxes, IsEmpty());
  EXPECT_THAT(log_.texts("WARN"), IsEmpty());
  EXPECT_THAT(log_.texts("ERROR"), IsEmpty());
}

TEST_F(MovementPresetTest, AnOversizedFileIsNotReadAndIsNamedInTheLog) {
  std::string text = "a=1\nb=2\n";
  text.resize(MovementParamsDefine::kMaxFileSize + 1, '\n');
  const std::string path = writeUserFile("huge.params", text);
  MovementParamsManager manager;
  manager.loadMovementParams();
  EXPECT_THAT(manager.getList(), IsEmpty());
  ASSERT_EQ(log_.texts("WARN").size(), 1u);
  EXPECT_NE(log_.texts("WARN")[0].find(path), std::string::npos);
  EXPECT_THAT(ui_.boxes, IsEmpty());
}

// ---- reloading and the menu settings -----------------------------------------------------

TEST_F(MovementPresetTest, ReloadingKeepsGrowingTheOrderAndKeepsTheRelativeOrder) {
  writeSystemFile("a=1\r\nb=2\r\n");
  writeUserFile("x.params", "params=3\r\n");
  MovementParamsManager manager;
  manager.loadMovementParams();
  const int32_t lastOrder = manager.findMovementParams("x")->order;

  MovementParamsDefine::saveMovementParamsFile("%Default%/y.params", {4.0});
  manager.loadMovementParams();
  const auto list = manager.getList();
  ASSERT_EQ(list.size(), 4u);
  EXPECT_GT(list.front()->order, lastOrder);
  EXPECT_EQ(list[0]->getName(), "a");
  EXPECT_EQ(list[1]->getName(), "b");
  EXPECT_EQ(list[2]->order + 1, list[3]->order);  // the user files in listing order
}

TEST_F(MovementPresetTest, MenuSettingsLiveInTheParameterStoreAcrossReloads) {
  System::ServiceHolder<Setting::ParameterIni> store;
  writeSystemFile("a=1\r\nb=2\r\nc=3\r\nd=0.5,x\r\n");
  {
    MovementParamsManager manager;
    manager.loadMovementParams();
    auto list = manager.getList();
    ASSERT_EQ(list.size(), 3u);
    list[0]->label = "slow";
    list[1]->label = "fast";
    list[2]->label = "slow";
    EXPECT_THAT(manager.getNameList(), ElementsAre("slow", "fast"));

    // The user moves c to the top; a reload reads that back.
    list[2]->order = -1;
    manager.loadMovementParams();
    EXPECT_THAT(names(manager), ElementsAre("c", "a", "b"));
    EXPECT_EQ(manager.findMovementParams("b")->label, "fast");
    EXPECT_THAT(manager.getNameList(), ElementsAre("slow", "fast"));
  }
  // Every preset wrote its section; the preset that failed to read wrote none.
  for (const char* name : {"Params.a", "Params.b", "Params.c"})
    EXPECT_TRUE(Setting::ParameterIni::instance()->hasSection(name)) << name;
  EXPECT_FALSE(Setting::ParameterIni::instance()->hasSection("Params.d"));
  EXPECT_EQ(Setting::ParameterIni::instance()->findValue("Params.c", "order").text, "-1");
}

TEST_F(MovementPresetTest, HiddenPresetsStayListedForTheMenusToSkip) {
  System::ServiceHolder<Setting::ParameterIni> store;
  Setting::ParameterIni::instance()->getOrCreateValue("Params.a", "hide").text = "1";
  writeSystemFile("a=1\r\nb=2\r\n");
  MovementParamsManager manager;
  manager.loadMovementParams();
  EXPECT_THAT(names(manager), ElementsAre("a", "b"));
  EXPECT_EQ(manager.findMovementParams("a")->hide, 1);
  EXPECT_EQ(manager.findMovementParams("b")->hide, 0);
}

}  // namespace
