// Frame rates between a number and a scene's rate / scale pair, with and without the
// [FrameRate] entries of system.conf.
#include "edit/frame_rate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "system/file.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"

namespace {

using Pair = std::pair<int32_t, int32_t>;

std::optional<Pair> fromValue(double fps) {
  int32_t rate = -7;
  int32_t scale = -7;
  if (!Edit::frameRateFromValue(rate, scale, fps)) {
    // A refused number leaves the pair alone.
    EXPECT_EQ(Pair(rate, scale), Pair(-7, -7)) << fps;
    return std::nullopt;
  }
  return Pair(rate, scale);
}

struct FromCase {
  double fps;
  std::optional<Pair> pair;
};

TEST(FrameRate, ANumberBecomesItsDecimalFractionReducedByTens) {
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const FromCase cases[] = {
      {29.97, Pair(2997, 100)},
      {30, Pair(30, 1)},
      {23.976, Pair(23976, 1000)},
      {59.94, Pair(5994, 100)},
      {0.5, Pair(5, 10)},
      {0.000001, Pair(1, 1000000)},
      {12.3456789, Pair(12345679, 1000000)},  // six decimals, the last rounded
      // Rates whose six decimals would not fit into 32 bits keep fewer.
      {3000, Pair(3000, 1)},
      {2500.25, Pair(250025, 100)},
      {2147483647, Pair(2147483647, 1)},
      // No frame rate: nothing given back.
      {0, std::nullopt},
      {-0.0, std::nullopt},
      {-30, std::nullopt},
      {0.0000004, std::nullopt},  // rounds to no frame at all
      {kNan, std::nullopt},
      {kInfinity, std::nullopt},
      {2147483648.0, std::nullopt},
      {1e300, std::nullopt},
  };
  for (const FromCase& c : cases) EXPECT_EQ(fromValue(c.fps), c.pair) << c.fps;
}

TEST(FrameRate, APairBecomesItsQuotientAndAPairThatIsNoRateZero) {
  EXPECT_DOUBLE_EQ(Edit::frameRateToValue(30, 1), 30.0);
  EXPECT_DOUBLE_EQ(Edit::frameRateToValue(2997, 100), 29.97);
  EXPECT_DOUBLE_EQ(Edit::frameRateToValue(30000, 1001), 30000.0 / 1001);
  for (const Pair& bad : {Pair(0, 1), Pair(30, 0), Pair(-30, 1), Pair(30, -1), Pair(0, 0)})
    EXPECT_EQ(Edit::frameRateToValue(bad.first, bad.second), 0.0)
        << bad.first << "/" << bad.second;
}

// The installed system.conf names the usual broadcast rates; damaged lines are passed over.
class FrameRateEntries : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.makeFolder("data");
    install_.writeFile("style.conf",
                       "[Layout]\r\nSettingItemHeight=18\r\nExplorerHeaderHeight=26\r\n"
                       "ListItemHeight=19\r\n");
    install_.writeFile("system.conf",
                       "[FrameRate]\r\n"
                       "29.97=30000/1001\r\n"
                       "23.976=24000/1001\r\n"
                       "30=30/1\r\n"
                       "12=24\r\n"          // no scale: 1
                       "48=x/1\r\n"         // damaged rate
                       "49=49/\r\n"         // damaged scale
                       "50=0/1\r\n"         // no rate
                       "51=51/-1\r\n"       // no scale
                       "abc=52/1\r\n"       // damaged key
                       "-53=53/1\r\n"       // no rate as key
                       "23.98=24000/1001\r\n");  // a second name of a pair: the first key wins
    System::FileName::resetVariableList(install_.path());
    settings_.emplace();
  }
  void TearDown() override {
    settings_.reset();
    System::FileName::resetVariableList();
  }

  TestSupport::TempFolder install_;
  std::optional<System::ServiceHolder<Setting::SettingService>> settings_;
};

TEST_F(FrameRateEntries, TheEntriesNameTheirPairsBothWays) {
  const FromCase cases[] = {
      {29.97, Pair(30000, 1001)},
      {23.976, Pair(24000, 1001)},
      {23.98, Pair(24000, 1001)},
      {30, Pair(30, 1)},
      {12, Pair(24, 1)},
      // Damaged lines are no entries: the number's own fraction.
      {48, Pair(48, 1)},
      {49, Pair(49, 1)},
      {50, Pair(50, 1)},
      {51, Pair(51, 1)},
      {29.970001, Pair(29970001, 1000000)},  // only an exact key matches
      // No frame rate whatever an entry says.
      {-53, std::nullopt},
      {0, std::nullopt},
  };
  for (const FromCase& c : cases) EXPECT_EQ(fromValue(c.fps), c.pair) << c.fps;

  EXPECT_DOUBLE_EQ(Edit::frameRateToValue(30000, 1001), 29.97);
  EXPECT_DOUBLE_EQ(Edit::frameRateToValue(24000, 1001), 23.976);
  EXPECT_DOUBLE_EQ(Edit::frameRateToValue(24, 1), 12.0);
  EXPECT_DOUBLE_EQ(Edit::frameRateToValue(2997, 100), 29.97);  // no entry: the quotient
  EXPECT_DOUBLE_EQ(Edit::frameRateToValue(52, 1), 52.0);
  EXPECT_EQ(Edit::frameRateToValue(0, 1), 0.0);
}

}  // namespace
