// The patterns the text and image inputs find their parts with.
#include "builtin/choice_lists.h"

#include <gtest/gtest.h>

#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

std::vector<std::string> scriptBlocks(const std::string& text) {
  std::vector<std::string> blocks;
  const std::regex& pattern = Effect::scriptBlockPattern();
  for (auto match = std::sregex_iterator(text.begin(), text.end(), pattern);
       match != std::sregex_iterator(); ++match)
    blocks.push_back((*match)[1]);
  return blocks;
}

// Each block ends at the first "?>", and a block may run over several lines.
TEST(ChoiceListTest, ScriptBlocksAreFoundOneByOne) {
  EXPECT_EQ(scriptBlocks("a<?=1+1?>b<?x=1\ny=2?>c"),
            (std::vector<std::string>{"=1+1", "x=1\ny=2"}));
  EXPECT_EQ(scriptBlocks("<?"
                         "?>"),
            std::vector<std::string>{""});
  EXPECT_TRUE(scriptBlocks("no <? end").empty());
}

TEST(ChoiceListTest, ANumberedFileSplitsAtItsLastDigitsBeforeTheExtension) {
  struct Case {
    const char* path;
    bool matches;
    const char* prefix;
    const char* digits;
    const char* extension;
  };
  const Case cases[] = {
      {R"(C:\clips\a0005.png)", true, R"(C:\clips\a)", "0005", ".png"},
      {R"(C:\v2\shot12.take3.jpg)", true, R"(C:\v2\shot12.take)", "3", ".jpg"},
      // A name of digits alone keeps its first digit as the prefix.
      {"0123.png", true, "0", "123", ".png"},
      {"logo.png", false, "", "", ""},
      {"a0005", false, "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::smatch parts;
    const std::string path = c.path;
    ASSERT_EQ(std::regex_match(path, parts, Effect::numberedFilePattern()), c.matches);
    if (!c.matches) continue;
    EXPECT_EQ(parts[1], c.prefix);
    EXPECT_EQ(parts[2], c.digits);
    EXPECT_EQ(parts[3], c.extension);
  }
}

}  // namespace
