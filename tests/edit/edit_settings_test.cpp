// [Edit] of the parameter store: the edit service reads every setting at its start and
// writes each one back, under its key, at its end.
#include "edit/edit_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "registry_fixture.h"
#include "system/setting_service.h"

namespace {

class EditSettingsTest : public ChainFixture::RegistryFixture {
 protected:
  System::IniFile& store() { return *Setting::ParameterIni::instance(); }
  std::map<std::string, std::string> storedSection() {
    std::map<std::string, std::string> values;
    for (const auto& entry : store().getSection("Edit").keys())
      values[entry.first] = entry.second.text;
    return values;
  }
};

// The keys and defaults are what existing velumo2.ini files hold: a renamed key or a changed
// default would silently reset or change a user's setting.
TEST_F(EditSettingsTest, EveryKeyIsWrittenWithItsDefault) {
  edit_.reset();
  const std::map<std::string, std::string> expected = {
      {"EditResume", "0"},
      {"AutoBackup", "1"},
      {"AutoBackupInterval", "5"},
      {"AutoBackupFileMax", "10"},
      {"HistoryFileMax", "10"},
      {"LayerObjectMoveSnap", "1"},
      {"AnchorObjectMoveSnap", "1"},
      {"SingleClickFocusLayerObject", "1"},
      {"SingleClickFocusAnchorObject", "0"},
      {"ClickLayerObjectSelectGroup", "1"},
      {"ClickAnchorObjectSelectGroup", "1"},
      {"DisplayObjectMovePoint", "1"},
      {"DisplayObjectCenterAnchor", "0"},
      {"MouseHoverHideOtherAnchor", "0"},
      {"AddSectionSplitByCursorFrame", "0"},
      {"FixedMovieTimeRange", "0"},
      {"MoveFrameSelectRangeMode", "1"},
      {"CustomMoveFrameA", "5f"},
      {"CustomMoveFrameB", "1"},
      {"CustomMoveFrameC", "30"},
      {"CustomMoveFrameD", "60"},
  };
  EXPECT_EQ(storedSection(), expected);
}

TEST_F(EditSettingsTest, StoredValuesAreReadAndChangesWrittenBack) {
  edit_.reset();
  store().getOrCreateValue("Edit", "AutoBackupInterval").text = "15";
  store().getOrCreateValue("Edit", "CustomMoveFrameB").text = "2.5";
  store().getOrCreateValue("Edit", "HistoryFileMax").text = "many";
  edit_.emplace();
  EXPECT_EQ(edit().settings.autoBackupInterval, 15);
  EXPECT_EQ(edit().settings.customMoveFrameB, "2.5");
  EXPECT_EQ(edit().settings.historyFileMax, 10);  // unreadable: the default
  EXPECT_EQ(edit().settings.editResume, 0);

  edit().settings.editResume = 1;
  edit().settings.customMoveFrameD = "90f";
  edit_.reset();
  EXPECT_EQ(storedSection().at("EditResume"), "1");
  EXPECT_EQ(storedSection().at("CustomMoveFrameD"), "90f");
  EXPECT_EQ(storedSection().at("AutoBackupInterval"), "15");
  EXPECT_EQ(storedSection().at("HistoryFileMax"), "10");
}

}  // namespace
