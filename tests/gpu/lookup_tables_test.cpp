// The noise lookup tables: the generator, the permutation and range properties, the upload,
// and one table made once however many workers ask for it first.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

#include "gpu/gpu_test_support.h"
#include "gpu/resource/lookup_tables.h"
#include "gpu/resource_buffer.h"

namespace {

// The generator written out again, step by step, to check the program's one.
uint64_t referenceStep(uint64_t s) {
  const uint64_t quotient = s / 135829u;
  uint64_t t = s * 97555u;
  t -= quotient * 135829u;
  t ^= t << 17;
  t ^= 0x137BD137BD137BD1ull;
  t ^= t >> 19;
  t ^= 0x37BD137BD137BD13ull;
  t ^= t << 41;
  t ^= 0x7BD137BD137BD137ull;
  t ^= t >> 47;
  t ^= 0xBD137BD137BD137Bull;
  return t;
}

TEST(LookupTables, TheGeneratorFollowsItsSteps) {
  uint64_t program = Resource::kLookupTableSeed, reference = Resource::kLookupTableSeed;
  for (int i = 0; i < 1000; ++i) {
    program = Resource::lookupTableStep(program);
    reference = referenceStep(reference);
    ASSERT_EQ(program, reference) << i;
  }
}

TEST(LookupTables, ThePermutationHoldsEveryValueOnce) {
  const auto values = Resource::permutationTableValues();
  ASSERT_EQ(values.size(), 65536u);
  std::set<uint32_t> seen;
  for (float value : values) seen.insert(static_cast<uint32_t>(std::lround(value * 65535.0f)));
  EXPECT_EQ(seen.size(), 65536u);
  EXPECT_EQ(*seen.begin(), 0u);
  EXPECT_EQ(*seen.rbegin(), 65535u);
  // Shuffled: far from the order it started in.
  std::size_t inPlace = 0;
  for (std::size_t i = 0; i < values.size(); ++i) inPlace += values[i] == static_cast<float>(i) / 65535.0f;
  EXPECT_LT(inPlace, 100u);
  // The same tables on every run.
  EXPECT_EQ(values, Resource::permutationTableValues());
}

TEST(LookupTables, TheSmoothNoiseSpansMinusAHalfToAHalf) {
  const auto values = Resource::smoothNoiseTableValues();
  ASSERT_EQ(values.size(), 65536u);
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  EXPECT_FLOAT_EQ(*low, -0.5f);
  EXPECT_FLOAT_EQ(*high, 0.5f);
  // Smooth: neighbours differ far less than the whole range.
  double step = 0;
  for (std::size_t i = 1; i < 256; ++i) step = std::max(step, double(std::fabs(values[i] - values[i - 1])));
  EXPECT_LT(step, 0.75);
  EXPECT_EQ(values, Resource::smoothNoiseTableValues());
}

class LookupTableUpload : public TestSupport::GpuTest {};

TEST_F(LookupTableUpload, TheTableIsAnImageOfItsValues) {
  const auto table = Resource::makeSmoothNoiseTable();
  ASSERT_EQ(table->width(), 256u);
  ASSERT_EQ(table->height(), 256u);
  EXPECT_EQ(table->format(), 41);
  const auto image = table->readBack();
  const auto values = Resource::smoothNoiseTableValues();
  for (uint32_t y : {0u, 17u, 255u}) {
    float read[256];
    std::memcpy(read, image->row(y), sizeof read);
    for (uint32_t x : {0u, 100u, 255u}) EXPECT_EQ(read[x], values[y * 256 + x]) << x << ", " << y;
  }
}

TEST_F(LookupTableUpload, WorkersAskingAtOnceGetOneTable) {
  std::atomic<int> made{0};
  Resource::LazySharedResource table([&] {
    ++made;
    return Resource::makePermutationTable();
  });
  std::vector<std::shared_ptr<Media::ResourceBuffer>> got(4);
  std::vector<std::thread> workers;
  for (int i = 0; i < 4; ++i) workers.emplace_back([&, i] { got[i] = table.get(); });
  for (auto& worker : workers) worker.join();
  EXPECT_EQ(made.load(), 1);
  for (const auto& each : got) EXPECT_EQ(each, got[0]);
}

}  // namespace
