// The SCRIPT line of a failed run: the message and the lines of the chunk around the line
// the error names.
#include <gtest/gtest.h>

#include "script/script_error_text.h"

namespace {

TEST(ScriptErrorTextTest, ShowsTheLinesAroundTheNamedLine) {
  const std::string chunk = "l1\nl2\r\nl3\rl4\nl5\nl6\nl7";
  const struct {
    const char* error;
    const char* text;
  } cases[] = {
      {"[string \"l1...\"]:5: bad thing", "bad thing\r\n> l4\r\n> l5\r\n> l6"},
      {"[string \"l1...\"]:1: first", "first\r\n> l1\r\n> l2\r\n> l3"},
      {"[string \"l1...\"]:2: second", "second\r\n> l1\r\n> l2\r\n> l3"},
      // At the end of the chunk fewer lines remain.
      {"[string \"l1...\"]:7: last", "last\r\n> l6\r\n> l7"},
      {"[string \"l1...\"]:20: beyond", "beyond"},
      // The chunk name may hold brackets of its own.
      {"[string \"t[1] = [[x]]\"]:3: near", "near\r\n> l2\r\n> l3\r\n> l4"},
      // The word after the line number (a source name) is skipped with its space.
      {"[string \"x\"]:4:in: odd", "odd\r\n> l3\r\n> l4\r\n> l5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    EXPECT_EQ(Plugin::composeScriptErrorText(c.error, chunk), c.text);
  }
}

TEST(ScriptErrorTextTest, TextsWithoutAReadablePositionAreKeptWhole) {
  const char* errors[] = {
      "plain message",                  // no chunk name
      "[string \"x\"] no colon",        // nothing after the name
      "[string \"x\"]:abc: not a line",  // no number
      "[string \"x\"]:5:",              // no message
      "[string \"x\":5: never closed",
      "",
  };
  for (const char* error : errors) {
    SCOPED_TRACE(error);
    EXPECT_EQ(Plugin::composeScriptErrorText(error, "a\nb\nc"), error);
  }
}

}  // namespace
