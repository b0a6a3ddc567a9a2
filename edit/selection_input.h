#pragma once
// What the selection clicks ask of the window that delivers the mouse and the keys.
//
// A control that has just selected objects keeps the input capture while the user may go on
// adding to the selection: it holds the capture until Ctrl goes up (or, in the multi-select
// mode, until the keyboard focus leaves), and is then told so that it can ask the edit
// service again whether the selection stays (Edit::EditService::clickOutsideSelection).
//
// The windows install their implementation at start-up. The headless default has no
// capture owner, the Ctrl key up and the multi-select mode off, and keeps no capture given
// to it: every click outside the selection then clears it.
#include <cstdint>

namespace Edit {

// A control of the windows that takes input (a timeline row, the preview). The edit model
// never looks inside: it only hands it back to the selection input.
struct InputTarget;

// What a held capture waits for.
inline constexpr int32_t kCaptureUntilControlUp = 0x11;      // the Ctrl key (its virtual key)
inline constexpr int32_t kCaptureUntilFocusLeaves = 0x10000;  // the keyboard focus

class SelectionInput {
 public:
  virtual ~SelectionInput() = default;

  // The control that holds the capture, or null when nobody holds it.
  virtual InputTarget* captureOwner() { return nullptr; }
  // What the held capture waits for; 0 when nobody holds it.
  virtual int32_t captureMode() { return 0; }
  // The control holds the capture until what `mode` waits for happens.
  virtual void giveCapture(InputTarget* target, int32_t mode) {}
  // Whether the Ctrl key is held down right now.
  virtual bool isControlKeyDown() { return false; }
  // Whether the multi-select mode is on: clicks outside the selection keep it.
  virtual bool isMultiSelect() { return false; }
};

// Installs the input (nullptr puts the headless one back). UI thread, while no click is
// being handled.
void setSelectionInput(SelectionInput* input);
// The installed input, or the headless one.
SelectionInput& selectionInput();

}  // namespace Edit
