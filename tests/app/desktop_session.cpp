#include "desktop_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

extern char** environ;

namespace E2e {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// How often a wait looks again at what it waits for.
constexpr Milliseconds kPollStep{50};
// What a desktop tool may take at most; they answer in milliseconds on an idle machine.
constexpr Milliseconds kToolLimit{10000};

// The full path of a program on PATH; empty when it is not installed.
fs::path findProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path ? path : "/usr/bin:/bin";
  while (!folders.empty()) {
    const auto end = folders.find(':');
    const fs::path candidate = fs::path(folders.substr(0, end)) / name;
    if (!candidate.parent_path().empty() && ::access(candidate.c_str(), X_OK) == 0)
      return candidate;
    if (end == std::string_view::npos) break;
    folders.remove_prefix(end + 1);
  }
  return {};
}

// The program `argv` names, resolved on PATH.
fs::path programOf(const std::vector<std::string>& argv) {
  return argv.at(0).find('/') == std::string::npos ? findProgram(argv[0]) : fs::path(argv[0]);
}

// A NULL-terminated array of pointers into `strings`, as exec wants them.
std::vector<char*> pointers(const std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (const auto& text : strings) result.push_back(const_cast<char*>(text.c_str()));
  result.push_back(nullptr);
  return result;
}

// Starts a process that lives as long as a test may: the X server or the program. It dies
// with the test program, so that a test killed at its time limit leaves no X server behind.
// Its output goes to `outputFd`; `passedFd` becomes its descriptor 3. -1 with errno set
// when it could not start.
pid_t spawnGuarded(const std::vector<std::string>& argv,
                   const std::vector<std::string>& environment, int outputFd, int passedFd) {
  const fs::path program = programOf(argv);
  if (program.empty()) {
    errno = ENOENT;
    return -1;
  }
  // Everything the child uses is made before the fork: after it, only system calls.
  const std::vector<char*> args = pointers(argv);
  const std::vector<char*> envp = pointers(environment);
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) ::_exit(127);
  const int nullFd = ::open("/dev/null", O_RDONLY);
  ::dup2(nullFd, STDIN_FILENO);
  ::dup2(outputFd, STDOUT_FILENO);
  ::dup2(outputFd, STDERR_FILENO);
  if (passedFd >= 0) {
    // dup2 onto itself would keep the close-on-exec flag.
    if (passedFd == 3)
      ::fcntl(3, F_SETFD, 0);
    else
      ::dup2(passedFd, 3);
  }
  ::execve(program.c_str(), args.data(), envp.data());
  ::_exit(127);
}

// Starts a short command with its standard output on `outputFd` and its errors dropped.
// Without the copy of the test's memory that a fork makes, it starts quickly even from a
// large sanitized test program; the caller kills it when it takes too long.
pid_t spawnCommand(const std::vector<std::string>& argv,
                   const std::vector<std::string>& environment, int outputFd) {
  const fs::path program = programOf(argv);
  if (program.empty()) {
    errno = ENOENT;
    return -1;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int failed = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, pointers(argv).data(),
                                   pointers(environment).data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    errno = failed;
    return -1;
  }
  return pid;
}

std::optional<int> reap(pid_t pid, bool block) {
  int status = 0;
  const pid_t done = ::waitpid(pid, &status, block ? 0 : WNOHANG);
  if (done != pid) return std::nullopt;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Reads a descriptor until its end or the deadline; false when the time ran out.
bool readAll(int fd, std::string& into, Clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd entry{fd, POLLIN, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    char buffer[65536];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return true;
    into.append(buffer, static_cast<std::size_t>(n));
  }
}

template <typename Number>
std::optional<Number> parseNumber(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The value of `NAME=value` in xdotool's --shell output.
std::optional<int> shellValue(const std::string& output, const std::string& name) {
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(name + "=", 0) == 0) return parseNumber<int>(line.substr(name.size() + 1));
  return std::nullopt;
}

// Waits until `done` holds, looking again every poll step, for at most `limit`.
template <typename Condition>
bool waitUntil(Condition done, Milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollStep);
  }
}

enum class WindowKind { Normal, Dialog, Other };

// A connection of the test's own to the display, for what the desktop tools cannot do:
// reading a window's type and sending the window manager's close request.
class XConnection {
 public:
  explicit XConnection(const std::string& display)
      : connection_(xcb_connect(display.c_str(), nullptr)) {}
  ~XConnection() { xcb_disconnect(connection_); }
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  // What the window says it is: its first _NET_WM_WINDOW_TYPE entry.
  WindowKind kindOf(const std::string& windowId) const {
    const auto window = parseNumber<uint32_t>(windowId);
    if (!window || !usable()) return WindowKind::Other;
    const xcb_atom_t type = atom("_NET_WM_WINDOW_TYPE");
    using Reply = std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)>;
    const Reply reply(
        xcb_get_property_reply(connection_,
                               xcb_get_property(connection_, 0, *window, type, XCB_ATOM_ATOM, 0, 1),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
      return WindowKind::Other;
    const xcb_atom_t first = *static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    if (first == atom("_NET_WM_WINDOW_TYPE_NORMAL")) return WindowKind::Normal;
    if (first == atom("_NET_WM_WINDOW_TYPE_DIALOG")) return WindowKind::Dialog;
    return WindowKind::Other;
  }

  // The close request of the window manager protocol: WM_DELETE_WINDOW, sent to the
  // window's owner.
  bool requestClose(const std::string& windowId) const {
    const auto window = parseNumber<uint32_t>(windowId);
    return window && usable() && sendProtocol(*window, atom("WM_DELETE_WINDOW"), 0);
  }

  // The window manager's ping: the owner answers it to the root window once it has handled
  // every event sent to it before. False when no answer came within `limit`.
  bool ping(const std::string& windowId, Milliseconds limit) const {
    const auto window = parseNumber<uint32_t>(windowId);
    if (!window || !usable()) return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    // The answer goes to the root window, to whoever listens to its structure (the toolkit
    // sends it for the structure of the root, the protocol for the root's children).
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t pingAtom = atom("_NET_WM_PING");
    // The stamp tells this ping's answer from an earlier one's.
    static uint32_t stamps = 0;
    const uint32_t stamp = ++stamps;
    if (!sendProtocol(*window, pingAtom, stamp)) return false;
    const auto deadline = Clock::now() + limit;
    for (;;) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) continue;
        const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (message->data.data32[0] == pingAtom && message->data.data32[1] == stamp) return true;
      }
      const auto left = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now());
      if (left.count() <= 0 || !usable()) return false;
      pollfd entry{xcb_get_file_descriptor(connection_), POLLIN, 0};
      ::poll(&entry, 1, static_cast<int>(left.count()));
    }
  }

 private:
  bool usable() const { return xcb_connection_has_error(connection_) == 0; }

  // Sends a WM_PROTOCOLS message of the window manager protocol to the window's owner.
  bool sendProtocol(xcb_window_t window, xcb_atom_t protocol, uint32_t stamp) const {
    const xcb_atom_t protocols = atom("WM_PROTOCOLS");
    if (protocols == XCB_ATOM_NONE || protocol == XCB_ATOM_NONE) return false;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = protocols;
    message.data.data32[0] = protocol;
    message.data.data32[1] = stamp;
    message.data.data32[2] = window;
    const xcb_void_cookie_t sent = xcb_send_event_checked(
        connection_, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_generic_error_t* error = xcb_request_check(connection_, sent);
    std::free(error);
    return error == nullptr;
  }

  xcb_atom_t atom(const char* name) const {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return value;
  }

  xcb_connection_t* connection_;
};

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment, const fs::path& output,
                           int passedFd) {
  const int outputFd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (outputFd < 0) {
    error_ = "cannot write " + output.string() + ": " + std::strerror(errno);
    return;
  }
  pid_ = spawnGuarded(argv, environment, outputFd, passedFd);
  if (pid_ < 0) error_ = "cannot start " + argv.at(0) + ": " + std::strerror(errno);
  ::close(outputFd);
}

ChildProcess::~ChildProcess() { stop(); }

bool ChildProcess::signal(int number) const { return running() && ::kill(pid_, number) == 0; }

std::optional<int> ChildProcess::waitForExit(Milliseconds limit) {
  if (pid_ <= 0) return std::nullopt;
  waitUntil([this] { return status_ || (status_ = reap(pid_, false)).has_value(); }, limit);
  return status_;
}

void ChildProcess::stop() {
  if (!running()) return;
  if (signal(SIGTERM) && waitForExit(Milliseconds(5000))) return;
  ::kill(pid_, SIGKILL);
  status_ = reap(pid_, true);
}

CommandResult runCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment, Milliseconds limit) {
  CommandResult result;
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return result;
  const pid_t pid = spawnCommand(argv, environment, pipeFds[1]);
  ::close(pipeFds[1]);
  if (pid < 0) {
    ::close(pipeFds[0]);
    return result;
  }
  const auto deadline = Clock::now() + limit;
  const bool ended = readAll(pipeFds[0], result.output, deadline);
  ::close(pipeFds[0]);
  std::optional<int> status;
  if (ended)
    waitUntil([&] { return (status = reap(pid, false)).has_value(); },
              std::chrono::duration_cast<Milliseconds>(deadline - Clock::now()));
  if (!status) {
    ::kill(pid, SIGKILL);
    reap(pid, true);
    return result;
  }
  result.status = *status;
  return result;
}

std::vector<std::string> environmentWith(const std::vector<std::string>& removedNames,
                                         const std::vector<std::string>& added) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string_view text(*entry);
    const std::string_view name = text.substr(0, text.find('='));
    bool removed = false;
    for (const auto& removedName : removedNames) removed = removed || name == removedName;
    if (!removed) environment.emplace_back(text);
  }
  environment.insert(environment.end(), added.begin(), added.end());
  return environment;
}

std::string VirtualDisplay::missingTools() {
  std::string missing;
  for (const char* tool : {"Xvfb", "xdotool", "xwd", "xwdtopnm", "pnmtopng", "pngtopnm"})
    if (findProgram(tool).empty()) missing += (missing.empty() ? "" : " ") + std::string(tool);
  return missing;
}

bool VirtualDisplay::start(const fs::path& logFile, int width, int height) {
  // The server writes the number of the display it chose once it takes connections.
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    error_ = std::string("pipe2: ") + std::strerror(errno);
    return false;
  }
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  server_.emplace(std::vector<std::string>{"Xvfb", "-displayfd", "3", "-screen", "0", screen,
                                           "-nolisten", "tcp", "-noreset"},
                  environmentWith({}, {}), logFile, pipeFds[1]);
  ::close(pipeFds[1]);
  std::string number;
  if (server_->running()) readAll(pipeFds[0], number, Clock::now() + Milliseconds(20000));
  ::close(pipeFds[0]);
  while (!number.empty() && (number.back() == '\n' || number.back() == ' ')) number.pop_back();
  if (!parseNumber<int>(number)) {
    error_ =
        server_->error().empty() ? "the X server gave no display number in time" : server_->error();
    server_.reset();
    return false;
  }
  name_ = ":" + number;
  return true;
}

std::vector<std::string> VirtualDisplay::environment(const std::vector<std::string>& added) const {
  std::vector<std::string> entries{"DISPLAY=" + name_};
  entries.insert(entries.end(), added.begin(), added.end());
  return environmentWith({"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY"}, entries);
}

std::string toString(const Geometry& geometry) {
  return std::to_string(geometry.width) + "x" + std::to_string(geometry.height) + "+" +
         std::to_string(geometry.x) + "+" + std::to_string(geometry.y);
}

EditorSession::EditorSession(const VirtualDisplay& display, fs::path dataHome, fs::path outputFile)
    : display_(display), dataHome_(std::move(dataHome)), outputFile_(std::move(outputFile)) {}

bool EditorSession::start(const std::vector<std::string>& arguments) {
  window_.clear();
  answeredStartBoxes_ = 0;
  std::vector<std::string> argv{VELUMO2_EXE};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  program_.reset();
  std::vector<std::string> added{"DISPLAY=" + display_.name(), "QT_QPA_PLATFORM=xcb",
                                 "XDG_DATA_HOME=" + dataHome_.string()};
  // The X keyboard library copies the counted key names of the server's reply with strndup,
  // which the strict string check takes for a read past an unterminated string.
  if (const char* options = std::getenv("ASAN_OPTIONS"))
    added.push_back(std::string("ASAN_OPTIONS=") + options + ":strict_string_checks=0");
  program_.emplace(argv,
                   environmentWith({"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "QT_QPA_PLATFORM",
                                    "XDG_DATA_HOME", "ASAN_OPTIONS"},
                                   added),
                   outputFile_);
  return program_->running();
}

std::string EditorSession::output() const {
  std::ifstream in(outputFile_, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

CommandResult EditorSession::xdotool(const std::vector<std::string>& arguments) const {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return runCommand(argv, display_.environment(), kToolLimit);
}

std::vector<std::string> EditorSession::shownWindows() const {
  std::vector<std::string> windows;
  if (!program_) return windows;
  const CommandResult found =
      xdotool({"search", "--onlyvisible", "--pid", std::to_string(program_->pid())});
  std::istringstream lines(found.output);
  for (std::string line; std::getline(lines, line);)
    if (parseNumber<uint32_t>(line)) windows.push_back(line);
  return windows;
}

bool EditorSession::isShown(const std::string& window) const {
  const auto windows = shownWindows();
  return std::find(windows.begin(), windows.end(), window) != windows.end();
}

std::optional<std::string> EditorSession::waitForBox(Milliseconds limit) const {
  const XConnection connection(display_.name());
  std::optional<std::string> box;
  waitUntil(
      [&] {
        for (const std::string& window : shownWindows())
          if (connection.kindOf(window) == WindowKind::Dialog) box = window;
        return box.has_value();
      },
      limit);
  return box;
}

std::optional<std::string> EditorSession::waitForMenu(Milliseconds limit) const {
  const XConnection connection(display_.name());
  std::optional<std::string> menu;
  waitUntil(
      [&] {
        // Menus are the shown windows that are neither the main window nor a dialog.
        for (const std::string& window : shownWindows())
          if (window != window_ && connection.kindOf(window) == WindowKind::Other) menu = window;
        return menu.has_value();
      },
      limit);
  return menu;
}

bool EditorSession::waitUntilGone(const std::string& window, Milliseconds limit) const {
  return waitUntil([&] { return !isShown(window); }, limit);
}

bool EditorSession::waitForMainWindow(Milliseconds limit) {
  if (!program_) return false;
  const auto deadline = Clock::now() + limit;
  const auto left = [&] {
    return std::max(Milliseconds(0),
                    std::chrono::duration_cast<Milliseconds>(deadline - Clock::now()));
  };
  const XConnection connection(display_.name());
  window_.clear();
  waitUntil(
      [&] {
        // A program that ended shows no window: no need to wait for the limit.
        if (!program_->running() || program_->waitForExit(Milliseconds(0))) return true;
        for (const std::string& window : shownWindows()) {
          const WindowKind kind = connection.kindOf(window);
          if (kind == WindowKind::Normal) {
            window_ = window;
            return true;
          }
          // A key that came too early is pressed again on the next look.
          if (kind == WindowKind::Dialog && key("Return", window) &&
              waitUntil([&] { return !isShown(window); }, std::min(left(), kToolLimit)))
            ++answeredStartBoxes_;
        }
        return false;
      },
      limit);
  return !window_.empty();
}

std::optional<Geometry> EditorSession::geometry(const std::string& window) const {
  const CommandResult result =
      xdotool({"getwindowgeometry", "--shell", window.empty() ? window_ : window});
  if (!result.ok()) return std::nullopt;
  const auto x = shellValue(result.output, "X");
  const auto y = shellValue(result.output, "Y");
  const auto width = shellValue(result.output, "WIDTH");
  const auto height = shellValue(result.output, "HEIGHT");
  if (!x || !y || !width || !height) return std::nullopt;
  return Geometry{*x, *y, *width, *height};
}

bool EditorSession::waitForGeometry(const Geometry& wanted, Milliseconds limit) const {
  return waitUntil([&] { return geometry() == wanted; }, limit);
}

bool EditorSession::move(int x, int y) const {
  return xdotool({"windowmove", window_, std::to_string(x), std::to_string(y)}).ok();
}

bool EditorSession::resize(int width, int height) const {
  return xdotool({"windowsize", window_, std::to_string(width), std::to_string(height)}).ok();
}

bool EditorSession::key(const std::string& combination, const std::string& window) const {
  // Keys typed through the server's test extension go to the focused window, exactly as
  // a keyboard's would.
  return xdotool({"windowfocus", "--sync", window.empty() ? window_ : window}).ok() &&
         xdotool({"key", "--clearmodifiers", combination}).ok();
}

bool EditorSession::clickAt(int x, int y, int button, const std::string& window) const {
  // The server handles the motion before the click that follows it: no wait is needed
  // (and waiting for a motion would never end when the pointer is already there).
  return xdotool({"mousemove", "--window", window.empty() ? window_ : window, std::to_string(x),
                  std::to_string(y)})
             .ok() &&
         xdotool({"click", std::to_string(button)}).ok();
}

bool EditorSession::typeText(const std::string& text, const std::string& window) const {
  return xdotool({"windowfocus", "--sync", window}).ok() &&
         xdotool({"type", "--delay", "5", "--clearmodifiers", text}).ok();
}

bool EditorSession::screenshot(const fs::path& png, const std::string& window) const {
  // The window's picture as the server holds it, converted to PNG; a failed step leaves a
  // file that does not decode.
  const CommandResult result = runCommand(
      {"/bin/sh", "-c", "xwd -silent -id \"$0\" | xwdtopnm 2>/dev/null | pnmtopng > \"$1\"",
       window.empty() ? window_ : window, png.string()},
      display_.environment(), kToolLimit);
  return result.ok() && fs::file_size(png) > 0;
}

bool EditorSession::requestClose() const {
  return XConnection(display_.name()).requestClose(window_);
}

bool EditorSession::sync(Milliseconds limit) const {
  return XConnection(display_.name()).ping(window_, limit);
}

std::optional<int> EditorSession::terminate(Milliseconds limit) {
  if (!program_) return std::nullopt;
  program_->signal(SIGTERM);
  return program_->waitForExit(limit);
}

void EditorSession::stop() {
  if (program_) program_->stop();
}

int Picture::colourCount(int enough) const {
  std::set<uint32_t> colours;
  for (std::size_t at = 0; at + 2 < pixels.size(); at += 3) {
    colours.insert(uint32_t{pixels[at]} << 16 | uint32_t{pixels[at + 1]} << 8 | pixels[at + 2]);
    if (static_cast<int>(colours.size()) >= enough) break;
  }
  return static_cast<int>(colours.size());
}

std::optional<Picture> readPng(const fs::path& png) {
  const CommandResult decoded =
      runCommand({"pngtopnm", png.string()}, environmentWith({}, {}), kToolLimit);
  if (!decoded.ok()) return std::nullopt;
  // A binary portable pixmap ("P6", three samples a pixel) or graymap ("P5", one: the
  // encoder stores a picture of greys only as grey), then the width, the height, the
  // largest sample and one blank before the samples.
  std::istringstream header(decoded.output);
  std::string magic;
  int maxValue = 0;
  Picture picture;
  header >> magic >> picture.width >> picture.height >> maxValue;
  const std::size_t channels = magic == "P6" ? 3 : magic == "P5" ? 1 : 0;
  if (!header || channels == 0 || maxValue != 255 || picture.width <= 0 || picture.height <= 0)
    return std::nullopt;
  const auto start = static_cast<std::size_t>(header.tellg()) + 1;
  const auto count = static_cast<std::size_t>(picture.width) * picture.height;
  if (decoded.output.size() != start + count * channels) return std::nullopt;
  picture.pixels.reserve(count * 3);
  for (std::size_t at = start; at < decoded.output.size(); at += channels)
    for (std::size_t sample = 0; sample < 3; ++sample)
      picture.pixels.push_back(
          static_cast<unsigned char>(decoded.output[at + (channels == 3 ? sample : 0)]));
  return picture;
}

}  // namespace E2e
