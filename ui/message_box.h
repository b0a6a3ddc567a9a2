#pragma once
// Every message box of the program passes here: the error, warning and information boxes
// of the UI bridge and the confirmations of the edit model. Owned by the manager window
// while it exists, unowned and application-modal before and after it.
//
// On the offscreen platform (tests, a run without a display) nobody could close a box: the
// caption and text go to standard error (information boxes are silent) and the answer is
// the one that keeps the user's data, Cancel for a question.
//
// A test replaces the box with a sink that sees what would be shown and gives the answer.
#include <functional>
#include <string>

namespace Window {

enum class MessageBoxIcon { Error, Warning, Information };
enum class MessageBoxButtons { Ok, OkCancel };
enum class MessageBoxAnswer { Ok, Cancel };

struct MessageBoxRequest {
  MessageBoxIcon icon = MessageBoxIcon::Error;
  MessageBoxButtons buttons = MessageBoxButtons::Ok;
  std::string caption;
  std::string text;
};

// Shows the box modally (UI thread) and returns the user's answer; closing the box with
// Escape or its close button is Cancel for a question.
MessageBoxAnswer showMessageBox(const MessageBoxRequest& request);

// The headless answer: Ok for a box that only informs, Cancel for a question.
MessageBoxAnswer headlessAnswer(MessageBoxButtons buttons);

using MessageBoxSink = std::function<MessageBoxAnswer(const MessageBoxRequest&)>;

// Routes every box to `sink` while it lives, and back to the toolkit (or the previous sink)
// afterwards. UI thread.
class ScopedMessageBoxSink {
 public:
  explicit ScopedMessageBoxSink(MessageBoxSink sink);
  ~ScopedMessageBoxSink();
  ScopedMessageBoxSink(const ScopedMessageBoxSink&) = delete;
  ScopedMessageBoxSink& operator=(const ScopedMessageBoxSink&) = delete;

 private:
  MessageBoxSink previous_;
};

}  // namespace Window
