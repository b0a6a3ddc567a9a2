#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "system/exception.h"
#include "system/log.h"

namespace {

using System::makeErrnoException;

struct ErrorCase {
  int error;
  uint32_t hresult;
  const char* message;
};

// errno values, the codes they become and the texts shown for them. Values that share their
// number with a Win32 code of their own meaning (EIO is 5 like "access denied") must not be
// shown with that code's text.
const ErrorCase kErrnoCases[] = {
    {0, 0x00000000, "The operation completed successfully."},
    {ENOENT, 0x80070002, "No such file or directory"},
    {EACCES, 0x80070005, "Permission denied"},
    {EEXIST, 0x80070050, "File exists"},
    {EINVAL, 0x80070057, "The parameter is incorrect."},  // the code's own text
    {ENOSPC, 0x80070070, "No space left on device"},
    {EBADF, 0x80070009, "Bad file descriptor"},
    {ENOTDIR, 0x80070014, "Not a directory"},
    {EIO, 0x80072715, "Input/output error"},
    {EFAULT, 0x8007271E, "Bad address"},
    {ESPIPE, 0x8007272D, "Illegal seek"},
    {EROFS, 0x8007272E, "Read-only file system"},
    {ELIBBAD, 0x80072760, "Accessing a corrupted shared library"},
    {EUSERS, 0x80072767, "Too many users"},
    {EHOSTDOWN, 0x80072780, "Host is down"},
};

std::string failedCallText(const char* call, uint32_t hresult, const char* message,
                           const char* place) {
  char buffer[1024];
  std::snprintf(buffer, sizeof buffer, "%s() failed.\n\n[Note]\nHRESULT: 0x%08X\n%s\n\n[Place]\n%s()",
                call, hresult, message, place);
  return buffer;
}

TEST(Exception, HresultFailureText) {
  const auto e = System::makeHresultException("eglCreateContext", "Media::Direct3DService::create",
                                              static_cast<int32_t>(0x80004005));
  EXPECT_STREQ(e.what(),
               "eglCreateContext() failed.\n\n[Note]\nHRESULT: 0x80004005\nUnspecified error\n\n"
               "[Place]\nMedia::Direct3DService::create()");
  const auto unknown = System::makeHresultException("call", "A::b", static_cast<int32_t>(0x80001234));
  EXPECT_STREQ(unknown.what(),
               "call() failed.\n\n[Note]\nHRESULT: 0x80001234\nunknown error\n\n[Place]\nA::b()");
}

TEST(Exception, LastErrorReadsErrno) {
  errno = ENOENT;
  const auto e = System::makeLastErrorException("open", "System::File::open");
  EXPECT_EQ(e.what(), failedCallText("open", 0x80070002, "No such file or directory",
                                     "System::File::open"));
}

TEST(Exception, ErrnoCodesAndTexts) {
  for (const auto& c : kErrnoCases) {
    EXPECT_EQ(makeErrnoException("read", "System::File::readBlock", c.error).what(),
              failedCallText("read", c.hresult, c.message, "System::File::readBlock"))
        << "errno " << c.error;
    EXPECT_EQ(static_cast<uint32_t>(System::hresultFromWin32(System::win32FromErrno(c.error))),
              c.hresult)
        << "errno " << c.error;
  }
}

TEST(Exception, EveryErrnoGetsItsOwnCode) {
  // Two errno values with one code would show one of them with the other's text.
  for (int a = 0; a < 134; ++a)
    for (int b = a + 1; b < 134; ++b)
      ASSERT_NE(System::win32FromErrno(a), System::win32FromErrno(b)) << a << " and " << b;
  // And none of them takes a code that the program uses with its own meaning.
  for (int error = 0; error < 134; ++error) {
    const int32_t code = System::win32FromErrno(error);
    for (int32_t own : {System::kWin32ErrorWriteFault, System::kWin32ErrorReadFault,
                        System::kWin32ErrorOutOfMemory, System::kWin32ErrorAlreadyExists})
      EXPECT_NE(code, own) << "errno " << error;
  }
}

TEST(Exception, HresultFromWin32) {
  struct Case {
    int32_t code;
    uint32_t hresult;
  };
  const Case cases[] = {
      {0, 0}, {-5, 0xFFFFFFFB}, {2, 0x80070002}, {183, 0x800700B7}, {0x12345, 0x80072345},
  };
  for (const auto& c : cases)
    EXPECT_EQ(static_cast<uint32_t>(System::hresultFromWin32(c.code)), c.hresult) << c.code;
}

TEST(Exception, Win32ErrorTexts) {
  struct Case {
    int32_t code;
    const char* message;
  };
  const Case cases[] = {
      {30, "The system cannot read from the specified device."},
      {29, "The system cannot write to the specified device."},
      {14, "Not enough memory resources are available to complete this operation."},
      {183, "Cannot create a file when that file already exists."},
      {0, "The operation completed successfully."},
      {-7, "unknown error"},
      {0xFFFF, "unknown error"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(System::makeWin32ErrorException("System::File::readBlock", c.code).what(),
              std::string(c.message) + "\n\n[Place]\nSystem::File::readBlock()")
        << c.code;
  }
}

TEST(Exception, MessageWithAndWithoutNote) {
  EXPECT_STREQ(System::makeException("Edit::Scene::load", "failed to load scene.", "scene 3").what(),
               "failed to load scene.\n\n[Note]\nscene 3\n\n[Place]\nEdit::Scene::load()");
  const auto plain = System::makeException("Edit::Scene::load", "failed to load scene.");
  EXPECT_STREQ(plain.what(), "failed to load scene.\n\n[Place]\nEdit::Scene::load()");
  EXPECT_EQ(std::strstr(plain.what(), "[Note]"), nullptr);
  EXPECT_STREQ(System::makeNotImplementedException("Effect::MovementBase::getValue").what(),
               "not implement.\n\n[Place]\nEffect::MovementBase::getValue()");
}

TEST(Exception, FormattedNote) {
  const char* name = "/home/u/100% done %s.vlp2";
  EXPECT_STREQ(System::makeFormattedException("System::File::open", "failed to open file.", "%s", name)
                   .what(),
               "failed to open file.\n\n[Note]\n/home/u/100% done %s.vlp2\n\n[Place]\n"
               "System::File::open()");
  EXPECT_STREQ(
      System::makeFormattedException("System::IniFile::load", "bad line.", "line %d: %s", 12, "x=")
          .what(),
      "bad line.\n\n[Note]\nline 12: x=\n\n[Place]\nSystem::IniFile::load()");
  // An empty note keeps its heading, with an empty line under it.
  EXPECT_STREQ(System::makeFormattedException("A::b", "message.", "%s", "").what(),
               "message.\n\n[Note]\n\n\n[Place]\nA::b()");
}

TEST(Exception, LongTextsAreCutAt1023Characters) {
  const std::string note(2000, 'n');
  const auto e = System::makeException("A::b", "message.", note);
  const std::string text = e.what();
  EXPECT_EQ(text.size(), 1023u);
  EXPECT_EQ(text, ("message.\n\n[Note]\n" + note).substr(0, 1023));
  const auto formatted = System::makeFormattedException("A::b", "message.", "%s", note.c_str());
  EXPECT_EQ(std::string(formatted.what()).size(), 1023u);
}

TEST(Exception, StructuredExceptionText) {
  System::StructuredExceptionReport report;
  report.address = reinterpret_cast<const void*>(uintptr_t{0x7FF612AB});
  report.code = 0xC0000005;
  report.module = "plugin.so";
  EXPECT_STREQ(System::makeStructuredException("table.func_open",
                                               "Plugin::ExternalInputPlugin::ExternalInputFile::open",
                                               report)
                   .what(),
               "table.func_open() structured exception\n\n[Note]\nCode: 0xC0000005\n"
               "Address 0x000000007FF612AB\nModule: plugin.so\n\n[Place]\n"
               "Plugin::ExternalInputPlugin::ExternalInputFile::open()");
}

int someFunctionOfThisProgram() { return 42; }

TEST(Exception, ExceptionModuleFindsTheModuleOfAnAddress) {
  System::StructuredExceptionReport report;
  report.module = "stale";
  System::getExceptionModule(reinterpret_cast<const void*>(uintptr_t{0x10}), 11, report);
  EXPECT_EQ(report.module, "unknown");
  EXPECT_EQ(report.code, 11u);
  EXPECT_EQ(report.address, reinterpret_cast<const void*>(uintptr_t{0x10}));

  System::getExceptionModule(reinterpret_cast<const void*>(&someFunctionOfThisProgram), 11, report);
  EXPECT_EQ(report.module, "test_system");
  System::getExceptionModule(static_cast<const void*>(stdout), 11, report);  // libc data
  EXPECT_EQ(report.module.rfind("libc.so", 0), 0u) << report.module;
}

// The log lines are checked in a child process, so that the output installed here does not
// change the log of the other tests. The child writes what differs and exits with 1.
[[noreturn]] void checkLogLines() {
  struct Line {
    std::string level, place, text;
  };
  static std::vector<Line> lines;
  System::Log::setOutput([](const System::Log::Type& type, std::string_view place,
                            std::string_view text) {
    lines.push_back({type.name, std::string(place), std::string(text)});
  });
  System::StructuredExceptionReport report;
  report.address = reinterpret_cast<const void*>(uintptr_t{0x1234});
  report.code = 0xC0000005;
  (void)System::makeHresultException("call", "A::b", static_cast<int32_t>(0x80004005));
  (void)makeErrnoException("open", "System::File::open", ENOENT);
  (void)System::makeWin32ErrorException("System::File::write", 29);
  (void)System::makeException("A::b", "message.", "note");
  (void)System::makeException("A::b", "message.");
  (void)System::makeFormattedException("A::b", "message.", "%s", "50%");
  (void)System::makeStructuredException("ICSendMessage", "Media::VideoDecompressor::decode",
                                        report);
  const char* const expected[] = {
      "call() failed in A::b() [Unspecified error] (HRESULT: 0x80004005)",
      "open() failed in System::File::open() [No such file or directory] (HRESULT: 0x80070002)",
      "The system cannot write to the specified device. in System::File::write()",
      "message. in A::b() [note]",
      "message. in A::b()",
      "message. in A::b() [50%]",
      "ICSendMessage() structured exception in Media::VideoDecompressor::decode() "
      "[Code: 0xC0000005 Address: 0x0000000000001234 Module: unknown]",
  };
  bool same = lines.size() == std::size(expected);
  if (!same) std::fprintf(stderr, "%zu lines\n", lines.size());
  for (std::size_t i = 0; i < lines.size() && i < std::size(expected); ++i) {
    if (lines[i].level != "ERROR" || lines[i].place != "Exception" || lines[i].text != expected[i]) {
      std::fprintf(stderr, "line %zu: [%s] [%s] %s\n", i, lines[i].level.c_str(),
                   lines[i].place.c_str(), lines[i].text.c_str());
      same = false;
    }
  }
  std::_Exit(same ? 0 : 1);
}

TEST(ExceptionDeathTest, EveryFactoryLogsOneErrorLine) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(checkLogLines(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
