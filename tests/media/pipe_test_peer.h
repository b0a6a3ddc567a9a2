#pragma once
// The helper's side of the pipe protocol played by a test, byte for byte: a helper link
// whose pipes end in the test instead of a program. The test writes the helper's replies
// into the pipe beforehand (the pipes hold 1 MiB, so whole exchanges fit) and reads back
// what the program sent, so that every exchange runs on the test's own thread, in order.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "media/plugin/pipe_helper_link.h"
#include "system/descriptor.h"
#include "system/log_capture.h"
#include "system/scoped_install_folder.h"

namespace PipeTest {

// Little-endian protocol items, appended in order.
class Bytes {
 public:
  Bytes& i32(int32_t value) { return raw(&value, sizeof value); }
  Bytes& i64(int64_t value) { return raw(&value, sizeof value); }
  Bytes& str(std::u16string_view text) {
    i32(static_cast<int32_t>(text.size()));
    return raw(text.data(), text.size() * sizeof(char16_t));
  }
  Bytes& block(const std::vector<uint8_t>& bytes) {
    i32(static_cast<int32_t>(bytes.size()));
    return raw(bytes.data(), bytes.size());
  }
  Bytes& raw(const void* data, std::size_t size) {
    const auto* begin = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), begin, begin + size);
    return *this;
  }
  const std::vector<uint8_t>& bytes() const { return bytes_; }
  bool operator==(const Bytes& other) const { return bytes_ == other.bytes_; }
  // Test failures show the bytes in hexadecimal.
  friend void PrintTo(const Bytes& bytes, std::ostream* out) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (const uint8_t byte : bytes.bytes_) *out << kDigits[byte >> 4] << kDigits[byte & 15] << ' ';
  }

 private:
  std::vector<uint8_t> bytes_;
};

// The shared state of the test and the link the control section owns.
struct PeerState {
  System::UniqueDescriptor programRead;   // the program reads the helper's replies here
  System::UniqueDescriptor helperWrite;   // ... which the test writes here
  System::UniqueDescriptor helperRead;    // the test reads the program's commands here
  System::UniqueDescriptor programWrite;  // ... which the program writes here
  int starts = 0;
  int terminations = 0;
  bool running = false;
  int mutexWaits = 0;

  PeerState() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) std::abort();
    programRead.reset(ends[0]);
    helperWrite.reset(ends[1]);
    if (::pipe2(ends, O_CLOEXEC) != 0) std::abort();
    helperRead.reset(ends[0]);
    programWrite.reset(ends[1]);
    for (const int end : {helperWrite.get(), programWrite.get()})
      ::fcntl(end, F_SETPIPE_SZ, 1 << 20);
    // The test reads what is there, never waits.
    ::fcntl(helperRead.get(), F_SETFL, O_NONBLOCK);
  }

  // The helper's reply (or a part of it), for the program to read next.
  void reply(const Bytes& bytes) {
    const auto& data = bytes.bytes();
    if (data.empty()) return;
    if (::write(helperWrite.get(), data.data(), data.size()) !=
        static_cast<ssize_t>(data.size()))
      std::abort();
  }
  // The helper goes away: the program reads the end of the stream after what was replied.
  void die() { helperWrite.reset(); }
  // Everything the program sent since the last call.
  Bytes sent() {
    Bytes bytes;
    uint8_t buffer[65536];
    ssize_t count = 0;
    while ((count = ::read(helperRead.get(), buffer, sizeof buffer)) > 0)
      bytes.raw(buffer, static_cast<std::size_t>(count));
    return bytes;
  }
};

class PeerLink final : public Plugin::PipeHelperLink {
 public:
  explicit PeerLink(std::shared_ptr<PeerState> state) : state_(std::move(state)) {}
  void start() override {
    ++state_->starts;
    state_->running = true;
  }
  bool isRunning() override { return state_->running; }
  void terminate() override {
    if (!state_->running) return;
    ++state_->terminations;
    state_->running = false;
    state_->programRead.reset();
    state_->programWrite.reset();
  }
  int readDescriptor() const override { return state_->programRead.get(); }
  int writeDescriptor() const override { return state_->programWrite.get(); }
  int32_t mutexHandle() const override { return 3; }
  void waitMutexProcessMessage() override { ++state_->mutexWaits; }

 private:
  std::shared_ptr<PeerState> state_;
};

// Texts each ended by a NUL, as file filters cross the pipe.
inline std::u16string nulEnded(std::initializer_list<std::u16string_view> texts) {
  std::u16string list;
  for (const auto text : texts) {
    list += text;
    list.push_back(u'\0');
  }
  return list;
}

// The load reply of a plug-in with these kind flags, named "Peer Plugin".
inline Bytes loadReply(int32_t kinds) {
  return Bytes()
      .i32(kinds)
      .str(u"Peer Plugin")
      .str(nulEnded({u"Peer File (*.peer)", u"*.peer;*.pr"}))
      .str(u"a plug-in played by the test");
}

inline Bytes loadCommand(std::u16string_view fileName) {
  return Bytes().i32(1).str(fileName);
}

// Whether an ERROR line with exactly this text was logged (the bridges log their failures at
// the place "Exception").
inline bool loggedError(const TestSupport::LogCapture& log, const std::string& text) {
  for (const auto& record : log.records())
    if (record.level == "ERROR" && record.place == "Exception" && record.text == text) return true;
  return false;
}

// An installation in a folder of its own: the helper program beside the (pretended) executable
// and the plug-in `pluginName` of `pluginFolder` in its plug-in folder. Services made while it
// lives register that plug-in.
class HelperInstallation {
 public:
  HelperInstallation(const std::string& helper, const std::string& pluginFolder,
                     const std::string& pluginName) {
    namespace fs = std::filesystem;
    const fs::path root = install_.folder().path();
    fs::copy_file(helper, root / fs::path(helper).filename());
    fs::create_directories(root / "data/Plugin");
    fs::copy_file(fs::path(pluginFolder) / pluginName, root / "data/Plugin" / pluginName);
  }

 private:
  TestSupport::ScopedInstallFolder install_;
};

}  // namespace PipeTest
