// The file filter list a helper sends with its load reply: label and pattern texts, each
// ended by a NUL.
#include "media/plugin/pipe_protocol.h"

#include <gtest/gtest.h>

namespace {

using Plugin::parseFileFilter;

using namespace std::literals;

std::u16string units(std::u16string_view text) { return std::u16string(text); }

TEST(PipeProtocolTest, FileFiltersArePairsUpToAnEmptyLabel) {
  struct Case {
    const char* what;
    std::u16string list;
    System::Filter expected;
  };
  const Case cases[] = {
      {"two pairs", units(u"A (*.a)\0*.a\0B\0*.b;*.c\0"sv), {{"A (*.a)", "*.a"}, {"B", "*.b;*.c"}}},
      {"the list's own end", units(u"A\0*.a\0\0C\0*.c\0"sv), {{"A", "*.a"}}},
      {"a label without its pattern", units(u"A\0*.a\0B\0"sv), {{"A", "*.a"}}},
      {"a last pattern without its NUL", units(u"A\0*.a"sv), {{"A", "*.a"}}},
      {"nothing", u"", {}},
      {"an empty first label", units(u"\0*.a\0"sv), {}},
      {"an empty pattern", units(u"A\0\0"sv), {{"A", ""}}},
      {"text beyond the BMP", units(u"\U0001F3AC\0*.mov\0"sv), {{"\xF0\x9F\x8E\xAC", "*.mov"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const System::Filter filter = parseFileFilter(c.list);
    ASSERT_EQ(filter.size(), c.expected.size());
    for (std::size_t i = 0; i < filter.size(); ++i) {
      EXPECT_EQ(filter[i].description, c.expected[i].description);
      EXPECT_EQ(filter[i].patterns, c.expected[i].patterns);
    }
  }
}

}  // namespace
