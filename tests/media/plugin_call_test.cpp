// The crash guard around calls into plug-in code: faults become exceptions, the thread goes
// on, the program's own callbacks are never jumped across, and signals that are not a
// guarded call's go to the handler that was there before.
#include "media/plugin/plugin_call.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>

#include "system/temp_folder.h"

namespace {

using Plugin::callPluginFunction;

constexpr const char* kField = "table.fnTest";
constexpr const char* kPlace = "Test::guardedCall";

// An address in the never-mapped first page that is not null (a null store would be
// reported by the undefined-behaviour checker before it faults).
void writeToLowPage() { *reinterpret_cast<volatile int*>(static_cast<uintptr_t>(16)) = 1; }

std::string faultText(const std::function<void()>& fault) {
  try {
    callPluginFunction(kField, kPlace, fault);
  } catch (const std::exception& error) {
    return error.what();
  }
  return "no exception";
}

TEST(PluginCallTest, FaultsBecomeTheStructuredException) {
  struct Case {
    const char* what;
    int signal;
    std::function<void()> fault;
  };
  const Case cases[] = {
      {"wild store", SIGSEGV, writeToLowPage},
      {"illegal instruction", SIGILL, [] { __builtin_trap(); }},
#if defined(__x86_64__)
      {"division by zero", SIGFPE,
       [] { asm volatile("xorl %%ecx, %%ecx\n\tdivl %%ecx" ::: "eax", "ecx", "edx"); }},
#endif
  };
  for (const Case& c : cases) {
    const std::string text = faultText(c.fault);
    char code[32];
    std::snprintf(code, sizeof code, "Code: 0x%08X", c.signal);
    EXPECT_NE(text.find("table.fnTest() structured exception"), std::string::npos) << c.what;
    EXPECT_NE(text.find(code), std::string::npos) << c.what << "\n" << text;
    EXPECT_NE(text.find("[Place]\nTest::guardedCall()"), std::string::npos) << c.what;
    // The faulting instruction lies in this test program.
    EXPECT_NE(text.find("Module: test_media"), std::string::npos) << c.what << "\n" << text;
  }
}

TEST(PluginCallTest, BusErrorOfATruncatedMappingIsCaught) {
  // A read of a mapped file page that lies past the file's end.
  TestSupport::TempFolder folder("velumo-plugin-call");
  const std::string path = folder / "page";
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, 4096), 0);
  void* page = ::mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0);
  ASSERT_NE(page, MAP_FAILED);
  ASSERT_EQ(::ftruncate(fd, 0), 0);
  const std::string text = faultText([page] { (void)*static_cast<volatile int*>(page); });
  ::munmap(page, 4096);
  ::close(fd);
  EXPECT_NE(text.find("Code: 0x00000007"), std::string::npos) << text;
}

TEST(PluginCallTest, TheThreadGoesOnAfterAFault) {
  for (int round = 0; round < 3; ++round) {
    EXPECT_NE(faultText(writeToLowPage), "no exception");
    EXPECT_EQ(callPluginFunction(kField, kPlace, [round] { return round * 2; }), round * 2);
  }
  // An exception thrown by the called code passes through unchanged, and the guard is
  // still in order for the next fault.
  EXPECT_THROW(callPluginFunction(kField, kPlace, []() -> int { throw std::logic_error("x"); }),
               std::logic_error);
  EXPECT_NE(faultText(writeToLowPage), "no exception");
}

TEST(PluginCallTest, ACallbackIntoTheProgramRunsOutsideTheGuard) {
  // The outer call stands for a plug-in; its callback into the program makes a guarded call
  // of its own whose fault is caught inside the callback, and the outer call ends normally.
  std::string inner;
  const int result = callPluginFunction("table.fnOutput", kPlace, [&] {
    Plugin::PluginCallbackScope callback;
    inner = faultText(writeToLowPage);
    return 7;
  });
  EXPECT_EQ(result, 7);
  EXPECT_NE(inner.find("table.fnTest() structured exception"), std::string::npos) << inner;
}

TEST(PluginCallDeathTest, OtherSignalsGoToTheHandlerBefore) {
  // A fresh process, so that the handler before the guard's is this test's.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        struct sigaction mine {};
        mine.sa_handler = [](int) { ::_exit(42); };
        ::sigaction(SIGSEGV, &mine, nullptr);
        callPluginFunction(kField, kPlace, [] { return 0; });  // installs the guard's handler
        // A fault outside any guarded call.
        writeToLowPage();
        ::_exit(1);
      },
      ::testing::ExitedWithCode(42), "");
}

}  // namespace
