#pragma once
// The file dialog filters of the file inputs: movies, audio files and images. The file items
// refer to these objects without owning them; the media readers fill them with the
// extensions they take once they exist (setInputFileFilters), and until then each offers
// every file.
#include "system/file.h"

namespace Effect {

namespace InputFileFilters {
System::Filter& video();
System::Filter& audio();
System::Filter& image();
}  // namespace InputFileFilters

// Replaces the three filters' contents. UI thread, while no file dialog is open.
void setInputFileFilters(System::Filter video, System::Filter audio, System::Filter image);

}  // namespace Effect
