// Item texts come from files that users pass around. Whatever a text holds, reading it
// either works or fails with a standard conversion error, and the item stays writable.
#include <gtest/gtest.h>

#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "every_item_kind.h"

namespace {

using namespace Effect;

std::vector<std::string> hostileTexts() {
  return {
      "",
      " ",
      "\\",
      "\\\\\\",
      "\\n\\",
      "\r\n\r",
      std::string("a\0b", 3),
      "\xff\xfe\xc3",
      "-",
      "+",
      "0",
      "00",
      "-1",
      "99",
      "2147483648",
      "-2147483649",
      std::string(10000, '9'),
      std::string(4096, '\\'),
      "nan",
      "1e999",
      "0x10",
      "ffffff",
      "FFFFFFFFFFFF",
      "zzzzzzzzzzzz",
      "0000ffff0000",
      ".",
      "..",
      "a.b",
      "名前",
      "0,1,2",
  };
}

TEST(ItemHostileInput, ReadersFailCleanlyAndLeaveAWritableItem) {
  EffectItemList items;
  const auto all = TestSupport::everyItemKind(items);
  EffectItemList spareItems;
  const auto spares = TestSupport::everyItemKind(spareItems);
  for (std::size_t reader = 0; reader < std::size(TestSupport::kItemReaderNames); ++reader) {
    for (const std::string& text : hostileTexts()) {
      for (std::size_t k = 0; k < all.size(); ++k) {
        EffectItem& item = *all[k];
        SCOPED_TRACE(std::string(TestSupport::kItemReaderNames[reader]) + " / " + item.name +
                     " / " + text.substr(0, 40));
        try {
          TestSupport::readItem(item, reader, text);
        } catch (const std::invalid_argument&) {
        } catch (const std::out_of_range&) {
        }
        // The item still writes, and what it writes reads back to the same text.
        std::string written;
        ASSERT_NO_THROW(written = item.toString());
        EffectItem& spare = *spares[k];
        ASSERT_NO_THROW(spare.fromString(written));
        EXPECT_EQ(spare.toString(), written);
      }
    }
  }
}

}  // namespace
