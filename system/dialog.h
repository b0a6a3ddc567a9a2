#pragma once
// The error boxes of the program. They log first, stop the preview player and show a modal
// box through the UI bridge; without a UI they only log. Error texts pass the Message table
// of the active language.
#include <exception>
#include <string>

#include "system/format.h"

namespace Dialog {

inline constexpr const char* kApplicationCaption = "Velumo Kivrun2";
inline constexpr const char* kExceptionCaption = "Velumo Kivrun2 : Application Exception";

// Logs "show exception dialog.\n%s" and shows the text with the exception caption.
void showException(const std::exception& exception);
// Logs "show error dialog.\n%s" and shows the (translated) text with the program's caption.
void showError(const char* format, ...) VELUMO_PRINTF(1, 2);
// Logs the text at WARN under `place` and shows it (translated) in a warning box with the
// program's caption: for conditions the program goes on after.
void showWarning(const char* place, const std::string& text);

// For any thread: hand the box to the UI thread and return at once. postError formats the
// text (at most 1,023 bytes) and posts it for showError, which shows it unchanged;
// postException posts a copy of the exception's text for showException. Without an event
// service nothing can be shown: the text is logged at WARN instead.
void postError(const char* format, ...) VELUMO_PRINTF(1, 2);
void postException(const std::exception& exception);

}  // namespace Dialog
