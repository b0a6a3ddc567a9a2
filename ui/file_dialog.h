#pragma once
// The open and save file dialogs. Both stop the preview player first, start at the given
// path, list the filter's entries with the one that matches the path's extension chosen,
// and add that entry's first extension to a name typed without one. The open dialog takes
// only a file that exists; the save dialog asks before it overwrites one.
//
// On the offscreen platform nobody could answer: a dialog is cancelled and the path is
// left as it was.
#include <string>

#include <QString>

#include "system/file.h"

class QFileDialog;

namespace Window {

// The filter as the toolkit's ";;"-separated list: "Label (*.a *.b)" per entry.
QString fileDialogFilter(const System::Filter& filter);

// Set up an unshown dialog (a test looks at it without exec).
void setUpOpenFileDialog(QFileDialog& dialog, const std::string& path,
                         const System::Filter& filter);
// `title` is translated through the Dialog table; an empty one leaves the toolkit's title.
void setUpSaveFileDialog(QFileDialog& dialog, const std::string& path,
                         const System::Filter& filter, const std::string& title);

// Modal (UI thread). True with the chosen file in `path`; a cancel leaves `path` unchanged.
bool showOpenFileDialog(std::string& path, const System::Filter& filter);
bool showSaveFileDialog(std::string& path, const System::Filter& filter,
                        const std::string& title);

}  // namespace Window
