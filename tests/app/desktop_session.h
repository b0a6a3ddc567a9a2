// Drives the real program on a private X display: a virtual screen started for the test,
// the program shown on it, and the desktop tools (xdotool, xwd) that find, move, type into,
// click on and photograph its window the way a user's desktop would.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace E2e {

using Milliseconds = std::chrono::milliseconds;

// A started child process. It is killed and reaped when the object goes, so a failed
// assertion never leaves it running.
class ChildProcess {
 public:
  // Starts `argv` with the whole environment `environment`. Standard output and error go to
  // `output` (created anew); `passedFd`, when given, is kept open in the child as descriptor
  // 3. A failed start leaves pid() at -1 and the reason in error().
  ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
               const std::filesystem::path& output, int passedFd = -1);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  bool running() const { return pid_ > 0 && !status_; }
  const std::string& error() const { return error_; }

  bool signal(int number) const;
  // The exit status (128 + the signal number when a signal ended it), or nothing when the
  // process is still running after `limit`.
  std::optional<int> waitForExit(Milliseconds limit);
  // Ends it for sure: a polite SIGTERM first, SIGKILL when that is not enough.
  void stop();

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
  std::string error_;
};

// What a short command printed on standard output, and how it ended (-1: it did not end in
// time and was killed).
struct CommandResult {
  int status = -1;
  std::string output;
  bool ok() const { return status == 0; }
};

// Runs a short command to its end, for at most `limit`.
CommandResult runCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment, Milliseconds limit);

// The process environment without the entries whose names are listed, plus `added`.
std::vector<std::string> environmentWith(const std::vector<std::string>& removedNames,
                                         const std::vector<std::string>& added);

// A virtual X screen for one test, on a display number the server picks itself (so tests
// that run at the same time never collide). The server ends with the object.
class VirtualDisplay {
 public:
  // The programs the desktop tests need that are not installed, separated by spaces; empty
  // when everything is there.
  static std::string missingTools();

  // Starts the server with one screen of the given size; false with the reason in error().
  bool start(const std::filesystem::path& logFile, int width, int height);
  void stop() { server_.reset(); }
  const std::string& name() const { return name_; }  // ":N"
  const std::string& error() const { return error_; }
  // The environment of a program shown on this display.
  std::vector<std::string> environment(const std::vector<std::string>& added = {}) const;

 private:
  std::optional<ChildProcess> server_;
  std::string name_;
  std::string error_;
};

// A window's place and size on the screen, in pixels.
struct Geometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Geometry&) const = default;
};

std::string toString(const Geometry& geometry);

// The program's main window on a virtual display, and what a user does to it. Every call is
// bounded in time; a step that fails returns false (or nothing) so that the test can say
// which one.
class EditorSession {
 public:
  EditorSession(const VirtualDisplay& display, std::filesystem::path dataHome,
                std::filesystem::path outputFile);

  // Starts the program with its settings under `dataHome` (XDG_DATA_HOME).
  bool start(const std::vector<std::string>& arguments = {});
  ChildProcess* process() { return program_ ? &*program_ : nullptr; }
  // What the program wrote on standard output and error so far (for failure messages).
  std::string output() const;

  // Waits until the program's main window is shown and remembers it; false when it is not
  // within `limit`. A message box the start shows first (a warning about what the graphics
  // device lacks) holds the main window back: it is answered with its default button, as a
  // user would, and counted.
  bool waitForMainWindow(Milliseconds limit);
  const std::string& window() const { return window_; }
  int answeredStartBoxes() const { return answeredStartBoxes_; }
  // The program's windows that are shown now (main window, boxes, open menus).
  std::vector<std::string> shownWindows() const;
  bool isShown(const std::string& window) const;
  // Waits for a message box (or another dialog) of the program; its window, or nothing when
  // none is shown within `limit`.
  std::optional<std::string> waitForBox(Milliseconds limit) const;
  // Waits for an open menu of the program (a drop-down or context menu); its window, or
  // nothing when none is shown within `limit`.
  std::optional<std::string> waitForMenu(Milliseconds limit) const;
  // Waits until the window is no longer shown.
  bool waitUntilGone(const std::string& window, Milliseconds limit) const;

  // Where the window (the main window by default) stands and how large it is.
  std::optional<Geometry> geometry(const std::string& window = {}) const;
  // Waits until the window stands at `wanted` as the display server sees it.
  bool waitForGeometry(const Geometry& wanted, Milliseconds limit) const;
  bool move(int x, int y) const;
  bool resize(int width, int height) const;

  // Gives the window (the main window by default) the keyboard focus and presses a key
  // combination in xdotool's notation ("ctrl+s", "Escape", "alt+f").
  bool key(const std::string& combination, const std::string& window = {}) const;
  // Moves the pointer to (x, y) of the window's (the main window's by default) own
  // coordinates and clicks `button` (1 left, 2 middle, 3 right).
  bool clickAt(int x, int y, int button = 1, const std::string& window = {}) const;
  // Gives the window the keyboard focus and types the text, a key for each character.
  bool typeText(const std::string& text, const std::string& window) const;
  // Writes what the window (the main window by default) shows as a PNG file.
  bool screenshot(const std::filesystem::path& png, const std::string& window = {}) const;
  // Asks the window to close the way a window manager's close button does
  // (WM_DELETE_WINDOW); the program decides whether it closes.
  bool requestClose() const;

  // Waits until the program has handled every X event sent to it before the call (the
  // move, the keys, the clicks): it answers the window manager's ping only then. False when
  // it did not answer within `limit`.
  bool sync(Milliseconds limit) const;

  // Sends a quit signal and waits for the exit status; nothing when it did not end in time.
  std::optional<int> terminate(Milliseconds limit);
  // Ends the program when it still runs: a quit signal, then SIGKILL when that is not enough.
  void stop();

 private:
  CommandResult xdotool(const std::vector<std::string>& arguments) const;

  const VirtualDisplay& display_;
  std::filesystem::path dataHome_;
  std::filesystem::path outputFile_;
  std::optional<ChildProcess> program_;
  std::string window_;
  int answeredStartBoxes_ = 0;
};

// A decoded RGB picture (three bytes a pixel, rows from the top).
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> pixels;
  // The number of different colours, counted up to `enough`.
  int colourCount(int enough) const;
};

// Decodes a PNG file with the desktop tools; nothing when it is no valid PNG.
std::optional<Picture> readPng(const std::filesystem::path& png);

}  // namespace E2e
