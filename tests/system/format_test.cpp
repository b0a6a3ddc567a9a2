#include "system/format.h"

#include <gtest/gtest.h>

TEST(FormatString, CutsAtTheLimitWithoutSplittingACharacter) {
  // 1,022 ASCII bytes then a three-byte character: the character does not fit whole.
  const std::string head(1022, 'x');
  const std::string text = System::formatString("%s%s", head.c_str(), "\xE3\x81\x82");
  EXPECT_EQ(text, head);
  const std::string longer = System::formatString("%s", std::string(3000, 'y').c_str());
  EXPECT_EQ(longer.size(), System::kMaxTextLength);
}
