#include "system/config.h"

#include <gtest/gtest.h>

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "system/comma_locale.h"
#include "system/ini_file.h"
#include "system/log_capture.h"
#include "system/temp_folder.h"

namespace {

using System::IniFile;
namespace Config = System::Config;
using TestSupport::readWholeFile;
using TestSupport::TempFolder;

// An owner laid out as every service and component lays out its parameters: the section,
// the parameters beside their variables, and the binding last.
struct Owner {
  explicit Owner(IniFile* store, const char* sectionName = "Owner")
      : section(sectionName), binding(section, store) {
    binding.load();
  }

  Config::Section section;
  int32_t width = -1;
  Config::Int widthParameter{section, "Width", &width, 200};
  float scale = -1.0f;
  Config::Float scaleParameter{section, "Scale", &scale, 1.5f};
  std::string name = "unset";
  Config::String nameParameter{section, "Name", &name, "default"};
  Config::Binding binding;
};

class ConfigTest : public ::testing::Test {
 protected:
  // Loads the store from a file holding `text`.
  void loadStore(const std::string& text) {
    store_.loadFile(folder_.writeFile("velumo2.ini", text));
  }
  const std::string& stored(const char* section, const char* key) {
    return store_.findValue(section, key).text;
  }

  TempFolder folder_;
  TestSupport::LogCapture log_;
  IniFile store_;
};

TEST_F(ConfigTest, IntReadsTheLeadingNumberOrTheDefault) {
  const std::pair<const char*, int32_t> cases[] = {
      {"150px", 150}, {" -7", -7}, {"abc", 200}, {"", 200}, {"99999999999", 200}, {"+0", 0},
  };
  for (const auto& [text, expected] : cases) {
    loadStore(std::string("[Owner]\r\nWidth=") + text + "\r\n");
    Owner owner(&store_);
    EXPECT_EQ(owner.width, expected) << text;
  }
}

TEST_F(ConfigTest, FloatReadsLikeStrtofAndWritesSixDecimals) {
  const std::pair<const char*, float> cases[] = {
      {"1e-3", 0.001f}, {"0.25", 0.25f}, {"2.5px", 2.5f}, {"x", 1.5f}, {"", 1.5f}, {"1e39", 1.5f},
  };
  for (const auto& [text, expected] : cases) {
    loadStore(std::string("[Owner]\r\nScale=") + text + "\r\n");
    Owner owner(&store_);
    EXPECT_EQ(owner.scale, expected) << text;
  }

  const std::pair<float, const char*> written[] = {
      {0.5f, "0.500000"},
      {-2.25f, "-2.250000"},
      {3.0f, "3.000000"},
      {1e20f, "100000002004087734272.000000"},
  };
  for (const auto& [value, text] : written) {
    {
      Owner owner(&store_);
      owner.scale = value;
    }
    EXPECT_EQ(stored("Owner", "Scale"), text);
  }
}

TEST_F(ConfigTest, FloatIsWrittenWithAPointWhateverTheProcessLocale) {
  const TestSupport::CommaLocale comma;
  ASSERT_TRUE(comma.active());
  {
    Owner owner(&store_);
    owner.scale = 0.5f;
  }
  Owner reread(&store_);
  EXPECT_EQ(stored("Owner", "Scale"), "0.500000");
  EXPECT_EQ(reread.scale, 0.5f);
}

TEST_F(ConfigTest, StringKeepsAnEmptyStoredValue) {
  loadStore("[Owner]\r\nName=\r\n");
  EXPECT_EQ(Owner(&store_).name, "");

  loadStore("[Owner]\r\nName= spaced \xE3\x81\x82\r\n");
  EXPECT_EQ(Owner(&store_).name, " spaced \xE3\x81\x82");

  // A damaged sequence reads as U+FFFD, so the variable always holds valid text.
  loadStore("[Owner]\r\nName=a\xFF\r\n");
  EXPECT_EQ(Owner(&store_).name, "a\xEF\xBF\xBD");
}

TEST_F(ConfigTest, MissingSectionOrKeysGiveDefaultsAndAreWrittenOnSave) {
  loadStore("[Owner]\r\nOther=kept\r\n[Unrelated]\r\nk=v\r\n");
  {
    Owner owner(&store_);
    EXPECT_EQ(owner.width, 200);
    EXPECT_EQ(owner.scale, 1.5f);
    EXPECT_EQ(owner.name, "default");
  }
  EXPECT_EQ(stored("Owner", "Width"), "200");
  EXPECT_EQ(stored("Owner", "Scale"), "1.500000");
  EXPECT_EQ(stored("Owner", "Name"), "default");
  EXPECT_EQ(stored("Owner", "Other"), "kept");  // keys no parameter owns stay
  EXPECT_EQ(stored("Unrelated", "k"), "v");

  {
    Owner absent(&store_, "Fresh");
    EXPECT_EQ(absent.width, 200);
  }
  EXPECT_EQ(store_.getSection("Fresh").keys().size(), 3u);
  EXPECT_TRUE(log_.texts("WARN").empty());
  EXPECT_TRUE(log_.texts("ERROR").empty());
}

TEST_F(ConfigTest, DestroyingTheOwnerSavesIntoTheStoreOnly) {
  loadStore("[Owner]\r\nWidth=10\r\n");
  const std::string onDisk = readWholeFile(folder_ / "velumo2.ini");
  {
    Owner owner(&store_);
    EXPECT_EQ(owner.width, 10);
    owner.width = -42;
    owner.name = "changed";
  }
  EXPECT_EQ(stored("Owner", "Width"), "-42");
  EXPECT_EQ(stored("Owner", "Name"), "changed");
  EXPECT_EQ(readWholeFile(folder_ / "velumo2.ini"), onDisk);
}

TEST_F(ConfigTest, OwnersSharingASectionEachWriteTheirKeysAndTheLastWins) {
  struct Other {
    explicit Other(IniFile* store) : binding(section, store) { binding.load(); }
    Config::Section section{"Owner"};
    int32_t width = 0;
    Config::Int widthParameter{section, "Width", &width, 1};
    int32_t height = 0;
    Config::Int heightParameter{section, "Height", &height, 2};
    Config::Binding binding;
  };
  loadStore("[Owner]\r\nWidth=5\r\n");
  {
    Owner first(&store_);
    {
      Other second(&store_);
      EXPECT_EQ(second.width, 5);
      second.width = 7;
      second.height = 8;
    }
    first.width = 6;
  }
  EXPECT_EQ(stored("Owner", "Width"), "6");
  EXPECT_EQ(stored("Owner", "Height"), "8");
  EXPECT_EQ(stored("Owner", "Name"), "default");
}

TEST_F(ConfigTest, SectionWithoutNameIsNeitherLoadedNorSaved) {
  store_.getOrCreateValue("", "Width").text = "5";
  {
    Owner owner(&store_, "");
    EXPECT_EQ(owner.width, 200);  // the variables still get their defaults
    owner.width = 9;
  }
  EXPECT_EQ(stored("", "Width"), "5");
  EXPECT_EQ(store_.getSection("").keys().size(), 1u);
}

TEST_F(ConfigTest, WithoutAStoreTheDefaultsApplyAndNothingIsSaved) {
  Owner owner(nullptr);
  EXPECT_EQ(owner.width, 200);
  EXPECT_EQ(owner.scale, 1.5f);
  EXPECT_EQ(owner.name, "default");
}

TEST_F(ConfigTest, OwnerFailingPartWayFreesTheListWithoutSaving) {
  struct Failing {
    explicit Failing(IniFile* store) : binding(section, store) {
      binding.load();
      try {
        throw std::runtime_error("resource missing");
      } catch (...) {
        section.freeParameterList();
        throw;
      }
    }
    Config::Section section{"Failing"};
    int32_t value = 0;
    Config::Int parameter{section, "Value", &value, 3};
    Config::Binding binding;
  };
  EXPECT_THROW(Failing{&store_}, std::runtime_error);
  EXPECT_FALSE(store_.hasSection("Failing"));
}

TEST_F(ConfigTest, ParametersKeepTheirConstructionOrder) {
  Owner owner(&store_);
  ASSERT_EQ(owner.section.parameters().size(), 3u);
  EXPECT_EQ(owner.section.parameters()[0]->key(), "Width");
  EXPECT_EQ(owner.section.parameters()[1]->key(), "Scale");
  EXPECT_EQ(owner.section.parameters()[2]->key(), "Name");
}

// A settings struct declared through a table: each key, member and default written once.
struct TableSettings {
  TableSettings() { Config::setDefaults(*this, entries()); }
  static std::span<const Config::Entry<TableSettings>> entries() {
    static const Config::Entry<TableSettings> table[] = {
        {"Count", &TableSettings::count, 3},
        {"Label", &TableSettings::label, "none"},
        {"Ratio", &TableSettings::ratio, 0.25f},
        {"Limit", &TableSettings::limit, -1},
    };
    return table;
  }
  int32_t count;
  std::string label;
  float ratio;
  int32_t limit;
};

struct TableOwner {
  explicit TableOwner(IniFile* store) : binding(section, store) { binding.load(); }
  TableSettings settings;
  Config::Section section{"Table"};
  Config::Table table{section, settings, TableSettings::entries()};
  Config::Binding binding;
};

TEST_F(ConfigTest, ATableBindsEachEntryAsASingleParameterWould) {
  const TableSettings fresh;
  EXPECT_EQ(fresh.count, 3);
  EXPECT_EQ(fresh.label, "none");
  EXPECT_EQ(fresh.ratio, 0.25f);
  EXPECT_EQ(fresh.limit, -1);

  loadStore("[Table]\r\nLimit=12\r\nLabel=kept\r\nCount=x\r\n");
  {
    TableOwner owner(&store_);
    EXPECT_EQ(owner.settings.count, 3);  // unreadable: the default
    EXPECT_EQ(owner.settings.label, "kept");
    EXPECT_EQ(owner.settings.ratio, 0.25f);  // missing: the default
    EXPECT_EQ(owner.settings.limit, 12);
    // The parameters stand in the table's order, whatever their types.
    std::vector<std::string> keys;
    for (const Config::Parameter* parameter : owner.section.parameters())
      keys.push_back(parameter->key());
    EXPECT_EQ(keys, (std::vector<std::string>{"Count", "Label", "Ratio", "Limit"}));
    owner.settings.count = 8;
    owner.settings.ratio = 0.5f;
  }
  EXPECT_EQ(stored("Table", "Count"), "8");
  EXPECT_EQ(stored("Table", "Label"), "kept");
  EXPECT_EQ(stored("Table", "Ratio"), "0.500000");
  EXPECT_EQ(stored("Table", "Limit"), "12");
}

// The whole way: velumo2.ini read with write-back, an owner built and destroyed, the store
// released: the file holds the owner's section and the sections nobody used this run.
TEST_F(ConfigTest, ParameterFileIsRewrittenAtRelease) {
  const std::string path = folder_.writeFile("velumo2.ini", "; old\r\n[Never]\r\nk=as read\r\n");
  {
    IniFile parameters;
    parameters.loadFile(path);
    parameters.setWriteBack(true);
    Owner owner(&parameters);
    owner.width = 321;
  }
  IniFile reread;
  reread.loadFile(path);
  EXPECT_EQ(reread.findValue("Owner", "Width").text, "321");
  EXPECT_EQ(reread.findValue("Owner", "Scale").text, "1.500000");
  EXPECT_EQ(reread.findValue("Never", "k").text, "as read");
  EXPECT_EQ(readWholeFile(path).find("; old"), std::string::npos);
}

}  // namespace
