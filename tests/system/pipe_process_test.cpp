#include "system/pipe_process.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_ui_bridge.h"
#include "log_capture.h"
#include "system/descriptor.h"
#include "system/exception.h"
#include "temp_folder.h"
#include "thread_test_support.h"

using namespace std::chrono_literals;
using System::PipeProcess;
using TestSupport::LogCapture;
using TestSupport::Watchdog;

namespace {

const std::string kChild = VELUMO_PIPE_CHILD;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The system's text of an errno value as the exception texts carry it.
std::string errnoMessage(int error) {
  return System::systemMessage(System::hresultFromWin32(System::win32FromErrno(error)));
}

// Checks the text of a failed call: its call, its place and the reason.
void expectFailedCall(const std::string& text, const std::string& call, const std::string& place,
                      int error) {
  EXPECT_TRUE(contains(text, call + "() failed.")) << text;
  EXPECT_TRUE(contains(text, "[Place]\n" + place + "()")) << text;
  EXPECT_TRUE(contains(text, errnoMessage(error))) << text << "\nwanted: " << errnoMessage(error);
}

// The pipe protocol of the test child (tests/helpers/pipe_child.cpp).
class ChildConnection {
 public:
  explicit ChildConnection(PipeProcess& process) : process_(process) {}

  void send(const std::string& bytes) {
    ASSERT_EQ(::write(process_.writeDescriptor(), bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
  }
  // Exactly `size` bytes; empty when the child stopped answering.
  std::string receive(std::size_t size) {
    std::string bytes(size, '\0');
    std::size_t done = 0;
    const int descriptor = process_.readDescriptor();
    while (done < size) {
      if (System::waitReadable({&descriptor, 1}, 30s, "test") != 0) return {};
      const ssize_t count = ::read(descriptor, bytes.data() + done, size - done);
      if (count <= 0) return {};
      done += static_cast<std::size_t>(count);
    }
    return bytes;
  }
  uint32_t receiveNumber() {
    const std::string bytes = receive(4);
    uint32_t value = 0;
    if (bytes.size() == 4) std::memcpy(&value, bytes.data(), 4);
    return value;
  }
  std::string receiveText() { return receive(receiveNumber()); }

  std::vector<std::string> arguments() {
    send("a");
    std::vector<std::string> found(receiveNumber());
    for (std::string& argument : found) argument = receiveText();
    return found;
  }
  std::string echo(const std::string& text) {
    const uint32_t size = static_cast<uint32_t>(text.size());
    send("e" + std::string(reinterpret_cast<const char*>(&size), 4) + text);
    return receiveText();
  }
  // Asks the child to take the shared lock and waits until it has.
  void takeLock() {
    send("l");
    ASSERT_EQ(receive(1), "L");
  }

 private:
  PipeProcess& process_;
};

// The process that holds the shared lock, as this process sees it; 0 when it is free.
pid_t lockHolder(const PipeProcess& process) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  if (::fcntl(process.mutexDescriptor(), F_GETLK, &lock) != 0) return -1;
  return lock.l_type == F_UNLCK ? 0 : lock.l_pid;
}

std::string waitFailure(PipeProcess& process, std::optional<std::chrono::milliseconds> limit) {
  try {
    process.waitMutexProcessMessage(limit);
  } catch (const System::Exception& exception) {
    return exception.what();
  }
  return "no failure";
}

TEST(PipeProcessTest, TheChildFindsItsPipesOnItsCommandLineAndEchoes) {
  Watchdog watchdog("echo child");
  PipeProcess process;
  EXPECT_FALSE(process.isRunning());
  process.start(kChild);
  EXPECT_TRUE(process.isRunning());
  EXPECT_EQ(process.mutexHandle(), 3);
  ChildConnection child(process);

  EXPECT_EQ(child.arguments(),
            (std::vector<std::string>{kChild, "0000000000000000", "0000000000000001"}));
  EXPECT_EQ(child.echo("through both pipes"), "through both pipes");
  EXPECT_EQ(child.echo(std::string(100000, 'x')).size(), 100000u);
}

TEST(PipeProcessTest, AnExtraArgumentComesFourthAndMayNotHoldANul) {
  Watchdog watchdog("extra argument");
  PipeProcess process;
  process.start(kChild, std::string("/plug-in folder"));
  ChildConnection child(process);
  EXPECT_EQ(child.arguments(), (std::vector<std::string>{kChild, "0000000000000000",
                                                         "0000000000000001", "/plug-in folder"}));
  try {
    process.start(kChild, std::string("a\0b", 3));
    ADD_FAILURE() << "started";
  } catch (const System::Exception& exception) {
    expectFailedCall(exception.what(), "posix_spawn", "System::PipeProcess::start", EINVAL);
  }
  EXPECT_FALSE(process.isRunning());
}

TEST(PipeProcessTest, TheChildInheritsOnlyItsPipesAndTheLock) {
  Watchdog watchdog("descriptor list");
  // A descriptor that some other code opened without close-on-exec.
  System::UniqueDescriptor leaked(::open("/dev/null", O_RDONLY));
  ASSERT_TRUE(leaked);
  PipeProcess process;
  process.start(kChild);
  ChildConnection child(process);
  child.send("f");
  EXPECT_EQ(child.receiveText(), "0,1,2,3");
}

TEST(PipeProcessTest, APathWithBlanksStartsThatVeryProgram) {
  Watchdog watchdog("path with blanks");
  TestSupport::TempFolder folder;
  folder.makeFolder("my helpers");
  const std::string path = folder / "my helpers/pipe child";
  std::filesystem::copy_file(kChild, path);
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  // What a split command line would start instead.
  const std::string decoy = folder.writeFile("my", "#!/bin/sh\nexit 7\n");
  std::filesystem::permissions(decoy, std::filesystem::perms::owner_all);

  PipeProcess process;
  process.start(path);
  ChildConnection child(process);
  const std::vector<std::string> arguments = child.arguments();
  ASSERT_EQ(arguments.size(), 3u);
  EXPECT_EQ(arguments[0], path);
  EXPECT_EQ(child.echo("spaced"), "spaced");
}

TEST(PipeProcessTest, AChildThatCannotStartLeavesNothingBehind) {
  TestSupport::TempFolder folder;
  const std::string plainFile = folder.writeFile("not a program", "data");
  struct Case {
    const char* what;
    std::string path;
    int error;
  };
  const Case cases[] = {
      {"missing", folder / "missing", ENOENT},
      {"not executable", plainFile, EACCES},
      {"a folder", folder.path(), EACCES},
      {"empty", "", ENOENT},
      {"NUL inside", kChild + std::string(1, '\0') + "x", EINVAL},
      {"command line too long", "/" + std::string(PipeProcess::kMaxCommandLine, 'a'), ENAMETOOLONG},
  };
  for (const Case& c : cases) {
    PipeProcess process;
    try {
      process.start(c.path);
      ADD_FAILURE() << c.what << ": started";
    } catch (const System::Exception& exception) {
      SCOPED_TRACE(c.what);
      expectFailedCall(exception.what(), "posix_spawn", "System::PipeProcess::start", c.error);
    }
    EXPECT_FALSE(process.isRunning()) << c.what;
    EXPECT_EQ(process.readDescriptor(), -1) << c.what;
    EXPECT_EQ(process.writeDescriptor(), -1) << c.what;
    EXPECT_EQ(process.mutexDescriptor(), -1) << c.what;
    EXPECT_EQ(process.processId(), -1) << c.what;
  }
}

TEST(PipeProcessTest, AChildThatEndsByItselfIsSeenAndWritesToItFailQuietly) {
  Watchdog watchdog("child ending by itself");
  PipeProcess process;
  process.start(kChild);
  ChildConnection child(process);
  child.send("d");
  ASSERT_TRUE(TestSupport::waitUntil([&] { return !process.isRunning(); }));
  // No SIGPIPE ends this program: the write reports the broken pipe.
  const char byte = 'e';
  EXPECT_EQ(::write(process.writeDescriptor(), &byte, 1), -1);
  EXPECT_EQ(errno, EPIPE);

  LogCapture log;
  process.terminate();
  EXPECT_TRUE(log.texts("WARN").empty());
  EXPECT_EQ(process.processId(), -1);
}

TEST(PipeProcessTest, WaitingForTheLockEndsWhenTheChildGivesItBack) {
  Watchdog watchdog("lock wait");
  PipeProcess process;
  process.start(kChild);
  ChildConnection child(process);
  child.takeLock();
  EXPECT_EQ(lockHolder(process), process.processId());

  expectFailedCall(waitFailure(process, 50ms), "poll",
                   "System::PipeProcess::waitMutexProcessMessage", ETIMEDOUT);

  child.send("u");
  ASSERT_EQ(child.receive(1), "U");
  process.waitMutexProcessMessage();
  // The wait does not keep the lock: the child can take it again.
  child.takeLock();
}

TEST(PipeProcessTest, TheUiRunsItsEventsWhileTheLockIsHeld) {
  Watchdog watchdog("lock wait with a UI");
  TestSupport::FakeUiBridge bridge;
  PipeProcess process;
  process.start(kChild);
  ChildConnection child(process);
  child.takeLock();

  // Something that the UI runs during the wait makes the child give the lock back.
  bridge.onEventTurn = [&](int turn) {
    if (turn == 3) child.send("u");
  };
  process.waitMutexProcessMessage();
  EXPECT_GE(bridge.eventTurns, 3);
  EXPECT_EQ(child.receive(1), "U");

  // A user who asks to end the program ends the wait.
  child.takeLock();
  bridge.onEventTurn = nullptr;
  bridge.eventTurns = 0;
  bridge.giveUpAfterTurns = 2;
  expectFailedCall(waitFailure(process, std::nullopt), "poll",
                   "System::PipeProcess::waitMutexProcessMessage", ECANCELED);
  EXPECT_EQ(bridge.eventTurns, 2);
}

TEST(PipeProcessTest, AChildThatEndsWhileHoldingTheLockEndsTheWaitWithAnError) {
  Watchdog watchdog("child ending during the wait");
  PipeProcess process;
  process.start(kChild);
  ChildConnection child(process);
  child.takeLock();
  child.send("d");  // ends 200 ms later, the lock still taken
  expectFailedCall(waitFailure(process, std::nullopt), "poll",
                   "System::PipeProcess::waitMutexProcessMessage", ESRCH);
  EXPECT_FALSE(process.isRunning());
}

TEST(PipeProcessTest, AChildThatCrashesHoldingTheLockLeavesItFree) {
  Watchdog watchdog("crashing child");
  PipeProcess process;
  process.start(kChild);
  ChildConnection child(process);
  child.takeLock();
  child.send("c");
  ASSERT_TRUE(TestSupport::waitUntil([&] { return !process.isRunning(); }));
  EXPECT_EQ(lockHolder(process), 0);
  expectFailedCall(waitFailure(process, std::nullopt), "poll",
                   "System::PipeProcess::waitMutexProcessMessage", ESRCH);
}

TEST(PipeProcessTest, WaitingWithoutAChildFails) {
  PipeProcess process;
  expectFailedCall(waitFailure(process, std::nullopt), "poll",
                   "System::PipeProcess::waitMutexProcessMessage", EBADF);
}

TEST(PipeProcessTest, AChildThatIgnoresItsClosedPipesIsKilledWithAWarning) {
  Watchdog watchdog("stubborn child");
  PipeProcess process;
  process.start(kChild);
  ChildConnection child(process);
  child.send("s");
  ASSERT_EQ(child.receive(1), "S");
  const pid_t pid = process.processId();

  LogCapture log;
  process.terminate();
  char expected[64];
  std::snprintf(expected, sizeof expected, "kill pipe process [%016llX]",
                static_cast<unsigned long long>(pid));
  ASSERT_EQ(log.texts("WARN"), std::vector<std::string>{expected});
  EXPECT_EQ(log.records().front().place, "System::PipeProcess::terminate");
  EXPECT_FALSE(process.isRunning());
  // Reaped: the id no longer names a child of this process.
  EXPECT_EQ(::waitpid(pid, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

}  // namespace
