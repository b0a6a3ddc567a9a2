// The message boxes: what each box of the program shows (seen through the test sink, never
// shown), the answers of a question, the headless answers, and errors posted by workers.
#include "ui/message_box.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "../system/log_capture.h"
#include "system/dialog.h"
#include "system/event_service.h"
#include "system/service_holder.h"
#include "ui/qt_edit_ui.h"
#include "ui/qt_export_ui.h"
#include "ui/qt_ui_bridge.h"
#include "ui/window_service.h"

namespace {

using Window::MessageBoxAnswer;
using Window::MessageBoxButtons;
using Window::MessageBoxIcon;
using Window::MessageBoxRequest;

struct Shown {
  MessageBoxRequest request;
  std::thread::id thread;
};

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { System::setUiBridge(&bridge_); }
  void TearDown() override { System::setUiBridge(nullptr); }

  // A sink that records every box and gives `answer`.
  Window::ScopedMessageBoxSink recordingSink(MessageBoxAnswer answer = MessageBoxAnswer::Ok) {
    return Window::ScopedMessageBoxSink([this, answer](const MessageBoxRequest& request) {
      shown_.push_back({request, std::this_thread::get_id()});
      if (onShown_) onShown_();
      return answer;
    });
  }

  Window::QtUiBridge bridge_;
  std::vector<Shown> shown_;
  std::function<void()> onShown_;
};

TEST_F(MessageBoxTest, EachBoxOfTheProgramHasItsCaptionIconAndText) {
  struct Case {
    const char* name;
    std::function<void()> show;
    MessageBoxIcon icon;
    const char* caption;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"error", [] { Dialog::showError("%d files could not be read", 3); }, MessageBoxIcon::Error,
       "Velumo Kivrun2", "3 files could not be read"},
      {"exception", [] { Dialog::showException(std::runtime_error("disk full")); },
       MessageBoxIcon::Error, "Velumo Kivrun2 : Application Exception", "disk full"},
      {"warning", [] { Dialog::showWarning("test", "no language file"); },
       MessageBoxIcon::Warning, "Velumo Kivrun2", "no language file"},
      {"information", [] { System::uiBridge()->showInformationBox("installed", "Notice"); },
       MessageBoxIcon::Information, "Notice", "installed"},
  };
  TestSupport::LogCapture log;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    shown_.clear();
    const auto sink = recordingSink();
    c.show();
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].request.icon, c.icon);
    EXPECT_EQ(shown_[0].request.buttons, MessageBoxButtons::Ok);
    EXPECT_EQ(shown_[0].request.caption, c.caption);
    EXPECT_EQ(shown_[0].request.text, c.text);
  }
}

TEST_F(MessageBoxTest, ConfirmationsAreTrueOnlyForOk) {
  Window::QtEditUi editUi;
  Window::QtExportUi exportUi;
  const std::function<bool(const std::string&, const std::string&)> confirms[] = {
      [&](const std::string& text, const std::string& caption) {
        return editUi.confirm(text, caption);
      },
      [&](const std::string& text, const std::string& caption) {
        return exportUi.confirm(text, caption);
      }};
  for (const auto& confirm : confirms) {
    for (const MessageBoxAnswer answer : {MessageBoxAnswer::Ok, MessageBoxAnswer::Cancel}) {
      shown_.clear();
      const auto sink = recordingSink(answer);
      EXPECT_EQ(confirm("Discard the changes?", "Close"), answer == MessageBoxAnswer::Ok);
      ASSERT_EQ(shown_.size(), 1u);
      EXPECT_EQ(shown_[0].request.icon, MessageBoxIcon::Warning);
      EXPECT_EQ(shown_[0].request.buttons, MessageBoxButtons::OkCancel);
      EXPECT_EQ(shown_[0].request.caption, "Close");
      EXPECT_EQ(shown_[0].request.text, "Discard the changes?");
    }
  }
}

TEST_F(MessageBoxTest, SinksNestAndThePreviousOneComesBack) {
  int outer = 0;
  const Window::ScopedMessageBoxSink first([&](const MessageBoxRequest&) {
    ++outer;
    return MessageBoxAnswer::Ok;
  });
  {
    const auto inner = recordingSink(MessageBoxAnswer::Cancel);
    EXPECT_EQ(Window::showMessageBox({MessageBoxIcon::Warning, MessageBoxButtons::OkCancel,
                                      "c", "t"}),
              MessageBoxAnswer::Cancel);
  }
  EXPECT_EQ(Window::showMessageBox({}), MessageBoxAnswer::Ok);
  EXPECT_EQ(outer, 1);
  EXPECT_EQ(shown_.size(), 1u);
}

TEST_F(MessageBoxTest, OffscreenTheBoxesGiveTheAnswersThatKeepTheData) {
  // No sink: the real path, which must not block on the offscreen platform.
  Window::QtEditUi ui;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(ui.confirm("Delete the scene?", "Scene"));
  EXPECT_EQ(Window::showMessageBox({MessageBoxIcon::Error, MessageBoxButtons::Ok, "Caption",
                                    "Error text"}),
            MessageBoxAnswer::Ok);
  Window::showMessageBox({MessageBoxIcon::Information, MessageBoxButtons::Ok, "Info", "quiet"});
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_NE(printed.find("Scene\nDelete the scene?\n"), std::string::npos) << printed;
  EXPECT_NE(printed.find("Caption\nError text\n"), std::string::npos) << printed;
  EXPECT_EQ(printed.find("quiet"), std::string::npos) << "information boxes stay silent";
}

TEST_F(MessageBoxTest, AnErrorPostedByAWorkerIsShownOnTheUiThreadExactlyAsPosted) {
  System::ServiceHolder<Event::EventService> events;
  System::ServiceHolder<Window::WindowService> windows;
  const auto sink = recordingSink();
  onShown_ = [] { Window::WindowService::instance()->requestQuit(); };
  // Only a guard against a hang when the post never arrives; it ends with the test, so that
  // it cannot end a loop of a later test in the same program.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout,
                   [] { Window::WindowService::instance()->requestQuit(); });
  guard.start(10000);

  std::thread worker([] { Dialog::postError("%s", "export at 100% of 3"); });
  worker.join();  // the worker returned without waiting for the box
  EXPECT_TRUE(shown_.empty()) << "nothing is shown before the UI thread runs its queue";

  Window::WindowService::instance()->processMessage();
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].thread, std::this_thread::get_id());
  EXPECT_EQ(shown_[0].request.caption, "Velumo Kivrun2");
  EXPECT_EQ(shown_[0].request.text, "export at 100% of 3");
}

TEST_F(MessageBoxTest, ErrorsPostedDuringShutDownAreLoggedNotShown) {
  TestSupport::LogCapture log;
  const auto sink = recordingSink();
  {
    System::ServiceHolder<Event::EventService> events;
    {
      System::ServiceHolder<Window::WindowService> windows;
    }
    // The window and its loop are gone; the event service goes next with these queued.
    std::thread([] {
      Dialog::postError("%s", "late error");
      Dialog::postException(std::runtime_error("late exception"));
    }).join();
  }
  // No service at all any more.
  std::thread([] { Dialog::postError("%s", "after the end"); }).join();

  EXPECT_TRUE(shown_.empty());
  std::vector<std::string> lost;
  for (const std::string& text : log.texts("WARN"))
    if (text.find("not shown") != std::string::npos) lost.push_back(text);
  EXPECT_EQ(lost,
            (std::vector<std::string>{"error not shown.\nlate error",
                                      "exception not shown.\nlate exception",
                                      "error not shown.\nafter the end"}));
}

}  // namespace
