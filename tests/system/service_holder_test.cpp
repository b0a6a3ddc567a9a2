#include "system/service_holder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> events;

struct First : System::Service<First> {
  First() { events.push_back("+First"); }
  ~First() {
    // A service is still reachable while it destroys itself.
    events.push_back(instance() == this ? "-First(reachable)" : "-First");
  }
};
struct Second : System::Service<Second> {
  Second() { events.push_back("+Second"); }
  ~Second() { events.push_back("-Second"); }
};
struct Failing : System::Service<Failing> {
  Failing() { throw std::runtime_error("constructor failed"); }
};

}  // namespace

TEST(ServiceHolder, ASecondHolderCountsAndTheLastReleaseDestroys) {
  events.clear();
  {
    System::ServiceHolder<First> outer;
    First* created = First::instance();
    ASSERT_NE(created, nullptr);
    {
      System::ServiceHolder<First> inner;
      EXPECT_EQ(First::instance(), created);
      EXPECT_EQ(First::useCount(), 2);
    }
    EXPECT_EQ(First::instance(), created);
    EXPECT_EQ(First::useCount(), 1);
  }
  EXPECT_EQ(First::instance(), nullptr);
  EXPECT_EQ(First::useCount(), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"+First", "-First(reachable)"}));
}

TEST(ServiceStack, AFailedCreationReleasesWhatWasAcquiredInReverseOrder) {
  events.clear();
  System::ServiceStack stack;
  stack.acquire<First>();
  stack.acquire<Second>();
  EXPECT_THROW(stack.acquire<Failing>(), std::runtime_error);
  EXPECT_EQ(Failing::instance(), nullptr);
  stack.releaseAll();
  EXPECT_EQ(First::instance(), nullptr);
  EXPECT_EQ(Second::instance(), nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"+First", "+Second", "-Second", "-First(reachable)"}));
}
