// Script files cut into named scripts: bundles, "@" files, single scripts, legacy files in
// the legacy code page, and files that cannot be read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "effect/legacy_text.h"
#include "effect/script_file_parser.h"
#include "effect/script_header_texts.h"
#include "system/log_capture.h"
#include "system/temp_folder.h"

namespace {

using Effect::ScriptEntryList;
using Effect::ScriptFileParser;
using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs pairsOf(const ScriptEntryList& entries) {
  Pairs pairs;
  for (const auto& entry : entries) pairs.emplace_back(entry.name, entry.text);
  return pairs;
}

class ScriptFileTest : public ::testing::Test {
 protected:
  Pairs load(const std::string& name, const std::string& contents, bool isLegacy = false,
             bool isBundle = false) {
    return pairsOf(
        ScriptFileParser::loadScriptFile(folder.writeFile(name, contents), isLegacy, isBundle));
  }

  TestSupport::TempFolder folder{"velumo-script-file"};
  TestSupport::LogCapture log;
};

TEST_F(ScriptFileTest, FilesAreCutIntoNamedScripts) {
  struct Case {
    const char* what;
    const char* file;
    bool isBundle;
    std::string contents;
    Pairs expected;
  };
  const Case cases[] = {
      {"a plain file is one script named after it", "Glow2.anm2", false,
       "--track0:a,0,1,0\r\nobj.x=1\r\n", {{"Glow2", "--track0:a,0,1,0\r\nobj.x=1\r\n"}}},
      {"name lines stay in a plain file's text", "Two.obj2", false, "@A\nx\n@B\ny\n",
       {{"Two", "@A\nx\n@B\ny\n"}}},
      {"an @ file: text above the first name line is dropped, names are trimmed and take "
       "the file's name",
       "@set.obj2", false, "-- preamble\r\n@A\r\na=1\r\n@ B \r\nb=2\r\n",
       {{"A@set", "a=1\r\n"}, {"B@set", "b=2\r\n"}}},
      {"a bundle's scripts are named by their name lines alone", "script.anm2", true,
       "@A\nfirst\n@B\nsecond", {{"A", "first\n"}, {"B", "second"}}},
      {"a name line of blanks drops its section", "script.anm2", true,
       "@A\na\n@   \nlost\n@C\nc\n", {{"A", "a\n"}, {"C", "c\n"}}},
      {"CR alone ends lines too; a last name line without text gives an empty script",
       "script.tra2", true, "@A\ra\r@B", {{"A", "a\r"}, {"B", ""}}},
      {"an @ not at a line's start is text", "script.anm2", true, "@A\nx=\"@B\"\n",
       {{"A", "x=\"@B\"\n"}}},
      {"a name that is not UTF-8 is made valid", "script.anm2", true, "@\xFF" "A\nx\n",
       {{"\xEF\xBF\xBD" "A", "x\n"}}},
      {"a bundle without name lines has no scripts", "script.obj2", true, "obj.x=1\n", {}},
      {"an empty file is one empty script", "Empty.anm2", false, "", {{"Empty", ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(load(c.file, c.contents, false, c.isBundle), c.expected);
  }
  EXPECT_TRUE(log.texts("WARN").empty());
}

TEST_F(ScriptFileTest, LegacyFilesAreConvertedAndCurrentFilesTakenByteForByte) {
  // "テスト" and a half-width "ｱ" in the legacy code page, with a name line in an @ file.
  const std::string legacy = "@\x83\x65\x83\x58\x83\x67\r\n--label:\xB1\r\n";
  EXPECT_EQ(load("@x.anm", legacy, true),
            (Pairs{{"テスト@x", "--label:ｱ\r\n"}}));
  EXPECT_EQ(load("y.anm2", legacy), (Pairs{{"y", legacy}}));
  // A byte the code page lacks and a lead byte cut off by the end cost one character each.
  EXPECT_EQ(Effect::convertLegacyText("a\x80" "b\x83"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
  EXPECT_EQ(Effect::convertLegacyText(""), "");
}

TEST_F(ScriptFileTest, AFileThatCannotBeReadGivesNoScriptsAndAWarning) {
  const std::string missing = folder / "missing.anm2";
  EXPECT_TRUE(ScriptFileParser::loadScriptFile(missing, false, false).empty());

  // Larger than any script: refused before it is read.
  const std::string large = folder.writeFile("large.anm2", "");
  ASSERT_EQ(::truncate(large.c_str(), ScriptFileParser::kMaxFileSize + 1), 0);
  EXPECT_TRUE(ScriptFileParser::loadScriptFile(large, true, true).empty());

  // A folder under a script's name cannot be read as one.
  const std::string directory = folder.makeFolder("folder.obj2");
  EXPECT_TRUE(ScriptFileParser::loadScriptFile(directory, false, false).empty());

  const auto warnings = log.records();
  std::vector<std::string> texts;
  for (const auto& record : warnings)
    if (record.level == "WARN") {
      EXPECT_EQ(record.place, "Effect::ScriptFileParser::loadScriptFile");
      texts.push_back(record.text);
    }
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], "script file load faild.\nfailed to open file.\n\n[Note]\n" + missing +
                          "\n\n[Place]\nSystem::File::open()");
  EXPECT_EQ(texts[1].rfind("script file load faild.\nscript file too large.", 0), 0u);
  EXPECT_EQ(texts[2].rfind("script file load faild.\n", 0), 0u);

  // A file exactly at the limit is still read.
  ASSERT_EQ(::truncate(large.c_str(), ScriptFileParser::kMaxFileSize), 0);
  EXPECT_EQ(ScriptFileParser::loadScriptFile(large, false, false).size(), 1u);
}

TEST(ScriptHeaderTexts, LabelAndInformationLinesAreReadOutsideBlockComments) {
  struct Case {
    const char* what;
    const char* text;
    std::optional<std::string> label;
    std::optional<std::string> information;
  };
  const Case cases[] = {
      {"no header", "obj.x = 1\n", std::nullopt, std::nullopt},
      {"both, the text after the first colon", "--label:光:強\r\n--information:説明 v1\r\n",
       "光:強", "説明 v1"},
      {"the last line wins; a line without a colon gives an empty text",
       "--label:A\n--label\n", "", std::nullopt},
      {"only lines that begin with the directive", "  --label:A\n-- label:B\nx--label:C\n",
       std::nullopt, std::nullopt},
      {"a block comment hides its lines up to the one that closes it",
       "--[[\n--label:hidden\n]] --label:also hidden\n--information:seen\n", std::nullopt,
       "seen"},
      {"an unclosed block comment skips only its own line", "--[[ --label:A\n--label:B\n", "B",
       std::nullopt},
      {"CR-only line ends", "--label:A\r--information:I\r", "A", "I"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto texts = Effect::readScriptHeaderTexts(c.text);
    EXPECT_EQ(texts.label, c.label);
    EXPECT_EQ(texts.information, c.information);
  }
}

}  // namespace
