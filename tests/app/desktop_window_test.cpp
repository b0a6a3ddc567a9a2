// Runs the built program on a virtual X screen and handles its window as a user's desktop
// does: finds it, photographs it, moves and resizes it, ends the program and starts it
// again, and closes the window through the window manager's close request, answering the
// question about unsaved edits.
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "desktop_session.h"

namespace {

namespace fs = std::filesystem;
using E2e::Geometry;
using E2e::Milliseconds;

// A sanitized start of the whole program takes seconds, more on a busy machine.
constexpr Milliseconds kStartLimit{60000};
constexpr Milliseconds kExitLimit{60000};
// The display server applies a move or a resize at once; the wait covers a slow tool.
constexpr Milliseconds kPlacementLimit{5000};
// The screen is larger than any placement the tests ask for, so none is clipped.
constexpr int kScreenWidth = 1600;
constexpr int kScreenHeight = 1200;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The value of `key` in `section` of an ini file's text; empty when absent.
std::string iniValue(const std::string& ini, const std::string& section, const std::string& key) {
  const std::size_t start = ini.find("[" + section + "]\r\n");
  if (start == std::string::npos) return {};
  const std::size_t end = ini.find("\r\n[", start);
  const std::string body = ini.substr(start, end == std::string::npos ? end : end - start);
  const std::size_t at = body.find("\r\n" + key + "=");
  if (at == std::string::npos) return {};
  const std::size_t value = at + key.size() + 3;
  return body.substr(value, body.find("\r\n", value) - value);
}

class DesktopWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string missing = E2e::VirtualDisplay::missingTools();
    if (!missing.empty())
      GTEST_SKIP() << "the desktop tests need a virtual X server and its tools; missing: "
                   << missing << " (tools/install-deps installs them)";
    static std::atomic<int> runs{0};
    work_ = fs::temp_directory_path() /
            ("velumo2-desktop-test-" + std::to_string(getpid()) + "-" + std::to_string(++runs));
    fs::remove_all(work_);
    fs::create_directories(work_ / "data" / "velumo2");
    // Every line the program logs goes to its standard error too, which a failure shows
    // (the text of a box the start answered among them).
    std::ofstream(settingsFile(), std::ios::binary)
        << "[Logger]\r\nDebuggerLogLevel=2\r\nFileLogLevel=2\r\n";
    ASSERT_TRUE(display_.start(work_ / "xvfb.log", kScreenWidth, kScreenHeight))
        << display_.error() << "\n" << readFile(work_ / "xvfb.log");
    editor_.emplace(display_, work_ / "data", work_ / "velumo2.out");
  }
  void TearDown() override {
    // The program goes before its display, and both go whatever the test asserted.
    editor_.reset();
    display_.stop();
    if (!work_.empty()) fs::remove_all(work_);
  }

  // Starts the program and waits for its main window.
  void startEditor() {
    ASSERT_TRUE(editor_->start()) << editor_->process()->error();
    ASSERT_TRUE(editor_->waitForMainWindow(kStartLimit))
        << "no main window of the program on the display\n" << editor_->output();
  }

  // Ends the program with a quit signal; it must end in order.
  void terminateEditor() {
    ASSERT_EQ(editor_->terminate(kExitLimit), 0) << editor_->output();
  }

  fs::path settingsFile() const { return work_ / "data" / "velumo2" / "velumo2.ini"; }

  fs::path work_;
  E2e::VirtualDisplay display_;
  std::optional<E2e::EditorSession> editor_;
};

// The first start opens the window at the default placement and draws it (its picture is
// kept next to the tests as a PNG, for whoever looks into a failure). The placement the
// user gives it is kept in velumo2.ini at the end and comes back at the next start.
TEST_F(DesktopWindow, TheWindowIsDrawnAndItsPlacementComesBackAfterARestart) {
  ASSERT_NO_FATAL_FAILURE(startEditor());
  EXPECT_TRUE(editor_->waitForGeometry(Geometry{0, 0, 1280, 720}, kPlacementLimit))
      << E2e::toString(editor_->geometry().value_or(Geometry{}));
  // A graphics device without ordered pixel-shader writes (the software renderer) is worth a
  // warning before the window opens; nothing else stops the start.
  const bool warned = editor_->output().find("D3D ROVs not supported.") != std::string::npos;
  EXPECT_EQ(editor_->answeredStartBoxes(), warned ? 1 : 0) << editor_->output();

  // Until the program has drawn, the window shows one flat colour.
  const fs::path png = fs::path(VELUMO_DESKTOP_ARTEFACTS) / "e2e-started.png";
  std::optional<E2e::Picture> picture;
  const auto deadline = std::chrono::steady_clock::now() + kPlacementLimit;
  do {
    ASSERT_TRUE(editor_->screenshot(png)) << png;
    picture = E2e::readPng(png);
    ASSERT_TRUE(picture) << png << " is no valid PNG";
  } while (picture->colourCount(3) < 3 && std::chrono::steady_clock::now() < deadline);
  EXPECT_EQ(picture->width, 1280);
  EXPECT_EQ(picture->height, 720);
  EXPECT_GE(picture->colourCount(3), 3) << "the window shows nothing drawn: " << png;

  const Geometry placed{123, 77, 900, 600};
  ASSERT_TRUE(editor_->move(placed.x, placed.y));
  ASSERT_TRUE(editor_->resize(placed.width, placed.height));
  ASSERT_TRUE(editor_->waitForGeometry(placed, kPlacementLimit))
      << E2e::toString(editor_->geometry().value_or(Geometry{}));
  // The program has taken the new placement before it is asked to end.
  ASSERT_TRUE(editor_->sync(kPlacementLimit));
  ASSERT_NO_FATAL_FAILURE(terminateEditor());

  const std::string ini = readFile(settingsFile());
  EXPECT_EQ(iniValue(ini, "Window", "x"), "123") << ini;
  EXPECT_EQ(iniValue(ini, "Window", "y"), "77") << ini;
  EXPECT_EQ(iniValue(ini, "Window", "w"), "900") << ini;
  EXPECT_EQ(iniValue(ini, "Window", "h"), "600") << ini;
  EXPECT_EQ(iniValue(ini, "Window", "zoom"), "0") << ini;

  ASSERT_NO_FATAL_FAILURE(startEditor());
  EXPECT_TRUE(editor_->waitForGeometry(placed, kPlacementLimit))
      << E2e::toString(editor_->geometry().value_or(Geometry{}));
  ASSERT_NO_FATAL_FAILURE(terminateEditor());
}

// With nothing edited, the window manager's close request ends the program at once, without
// asking, and the program still shuts down in order.
TEST_F(DesktopWindow, TheCloseRequestEndsTheProgramWithoutAsking) {
  ASSERT_NO_FATAL_FAILURE(startEditor());
  ASSERT_TRUE(editor_->requestClose());
  // A question would hold the program in its box until the limit.
  ASSERT_EQ(editor_->process()->waitForExit(kExitLimit), 0)
      << "the program did not end in order after the close request\n" << editor_->output();
  EXPECT_NE(readFile(settingsFile()).find("[Window]\r\n"), std::string::npos);
}

// A user's way through the File menu: Ctrl+O shows the open dialog, the project typed into
// it opens and joins the recent projects, and a click on "終了", the menu's last item, ends
// the program without a question (the project is unchanged).
TEST_F(DesktopWindow, TheOpenShortcutOpensAProjectAndTheExitItemEndsTheProgram) {
  const fs::path project = work_ / "clip.vlp2";
  std::ofstream(project, std::ios::binary)
      << "[project]\r\ndisplay.scene=0\r\n"
         "[scene.0]\r\nscene=0\r\nvideo.width=640\r\nvideo.height=480\r\nvideo.rate=24\r\n"
         "video.scale=1\r\n";
  ASSERT_NO_FATAL_FAILURE(startEditor());

  ASSERT_TRUE(editor_->key("ctrl+o"));
  const std::optional<std::string> dialog = editor_->waitForBox(kPlacementLimit);
  ASSERT_TRUE(dialog) << "Ctrl+O showed no open dialog\n" << editor_->output();
  ASSERT_TRUE(editor_->typeText(project.string(), *dialog));
  ASSERT_TRUE(editor_->key("Return", *dialog));
  ASSERT_TRUE(editor_->waitUntilGone(*dialog, kPlacementLimit)) << editor_->output();

  // The project loads after the dialog closed: the click waits until the program has
  // handled everything before it. "ファイル" is the bar's first title, at its left end.
  ASSERT_TRUE(editor_->sync(kExitLimit)) << editor_->output();
  ASSERT_TRUE(editor_->clickAt(30, 10));
  std::optional<std::string> menu = editor_->waitForMenu(kPlacementLimit);
  if (!menu) {
    // A busy machine may have delivered the first click before the window was active again.
    ASSERT_TRUE(editor_->clickAt(30, 10));
    menu = editor_->waitForMenu(kStartLimit);
  }
  ASSERT_TRUE(menu) << "a click on the bar's first title opened no menu\n" << editor_->output();
  EXPECT_TRUE(editor_->screenshot(fs::path(VELUMO_DESKTOP_ARTEFACTS) / "e2e-file-menu.png", *menu));
  const std::optional<Geometry> placed = editor_->geometry(*menu);
  ASSERT_TRUE(placed);
  // Inside the last item, above the menu's bottom margin.
  ASSERT_TRUE(editor_->clickAt(placed->width / 2, placed->height - 12, 1, *menu));
  ASSERT_EQ(editor_->process()->waitForExit(kExitLimit), 0)
      << "the exit item did not end the program in order\n" << editor_->output();
  EXPECT_NE(readFile(work_ / "data" / "velumo2" / "history.ini").find(project.string()),
            std::string::npos)
      << "the opened project is not among the recent projects";
}

// A quit signal while a box of the start holds the program (the warning about what the
// graphics device lacks) ends it in order; the window it had not made yet never stays open.
TEST_F(DesktopWindow, AQuitSignalDuringTheStartsBoxEndsTheProgram) {
  ASSERT_TRUE(editor_->start()) << editor_->process()->error();
  const std::optional<std::string> box = editor_->waitForBox(kStartLimit);
  if (!box) GTEST_SKIP() << "this graphics device shows no box at the start";
  ASSERT_EQ(editor_->terminate(kExitLimit), 0)
      << "the program did not end in order after the signal\n" << editor_->output();
}

// Resumed edits count as unsaved: the close request asks first. Cancel keeps the program
// running with its window; OK ends it in order, and the edits are left in the resume file.
TEST_F(DesktopWindow, TheCloseRequestAsksFirstWhenTheEditsAreUnsaved) {
  const fs::path data = work_ / "data" / "velumo2";
  std::ofstream(settingsFile(), std::ios::binary | std::ios::app)
      << "[Edit]\r\nEditResume=1\r\n";
  std::ofstream(data / "resume.vlp2", std::ios::binary)
      << "[project]\r\ndisplay.scene=0\r\n"
         "[scene.0]\r\nscene=0\r\nvideo.width=640\r\nvideo.height=480\r\nvideo.rate=24\r\n"
         "video.scale=1\r\n";
  ASSERT_NO_FATAL_FAILURE(startEditor());

  ASSERT_TRUE(editor_->requestClose());
  std::optional<std::string> box = editor_->waitForBox(kPlacementLimit);
  ASSERT_TRUE(box) << "no question before closing\n" << editor_->output();
  ASSERT_TRUE(editor_->key("Escape", *box));
  ASSERT_TRUE(editor_->sync(kPlacementLimit));
  EXPECT_FALSE(editor_->isShown(*box));
  EXPECT_TRUE(editor_->isShown(editor_->window()));
  EXPECT_FALSE(editor_->process()->waitForExit(Milliseconds(0)));

  ASSERT_TRUE(editor_->requestClose());
  box = editor_->waitForBox(kPlacementLimit);
  ASSERT_TRUE(box) << "no question before closing\n" << editor_->output();
  EXPECT_TRUE(
      editor_->screenshot(fs::path(VELUMO_DESKTOP_ARTEFACTS) / "e2e-close-question.png", *box));
  // Return alone answers Cancel, the default: OK is the other button.
  ASSERT_TRUE(editor_->key("Tab", *box));
  ASSERT_TRUE(editor_->key("space", *box));
  ASSERT_EQ(editor_->process()->waitForExit(kExitLimit), 0)
      << "the program did not end in order after the consent\n" << editor_->output();
  EXPECT_NE(readFile(data / "resume.vlp2").find("video.width=640\r\n"), std::string::npos);
}

}  // namespace
