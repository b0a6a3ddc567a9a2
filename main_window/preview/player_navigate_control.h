#pragma once
// The player bar along the bottom of the preview window: the time of the frame on show, a
// seek bar with the timeline's visible span and the selected frame range marked on it, the
// transport buttons, the volume button and the zoom button. It drives the preview player
// and the scene's cursor frame and follows both through the event lists. UI thread only.
#include <cstdint>
#include <memory>
#include <string>

#include "edit/edit_service.h"
#include "render/movie_player_instance.h"
#include "system/event_service.h"
#include "ui/controls/icon_button_control.h"
#include "ui/controls/rect_control.h"
#include "ui/controls/slider_button_control.h"
#include "ui/controls/track_bar_control.h"
#include "ui/window_control.h"

namespace Window {
class BaseMenu;
}

namespace Component {

class PreviewControl;

// The time of the frame on show: the playing position while the scene plays, else the
// cursor.
class TimeCounterControl : public Window::WindowControlRenderTarget,
                           public Edit::EditInstance {
 public:
  using WindowControlRenderTarget::WindowControlRenderTarget;
  void procPaint() override;
  // The text shown, "[-]hh:mm:ss.cc".
  std::string text() const;
};

// The preview volume: dragged up one percent per two pixels, or chosen from its menu.
class VolulmeButtonControl : public SliderButtonControl, public Render::MoviePlayerInstance {
 public:
  VolulmeButtonControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t w,
                       int32_t h);
  void procContextMenu(int32_t x, int32_t y) override;
  void procCaptureCancel() override;
  // The eleven choices 0% .. 100%, the current one checked.
  void buildMenu(Window::BaseMenu& menu);
  int32_t getValue() override;
  std::string getValueText() override;
  void setDragValue(int32_t startValue, int32_t steps) override;
};

// The preview zoom: a left drag changes it, a right drag scrolls the picture.
class ZoomButtonControl : public Control::BitmapButtonControl {
 public:
  enum class Mode { Left, Right };
  ZoomButtonControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t w, int32_t h,
                    PreviewControl& preview);
  void procLButtonDown(int32_t x, int32_t y) override;
  void procRButtonDown(int32_t x, int32_t y) override;
  void procMouseDrag(int32_t dx, int32_t dy) override;
  void procContextMenu(int32_t x, int32_t y) override;
  void procCaptureCancel() override;

  PreviewControl& preview;
  Mode mode = Mode::Left;
  int32_t startZoom = 0;
  int32_t startScrollX = 0;
  int32_t startScrollY = 0;
};

class PlayerNavigateControl : public Window::WindowControlRenderTarget,
                              public Edit::EditInstance,
                              public Event::EventInstance,
                              public Render::MoviePlayerInstance {
 public:
  PlayerNavigateControl(Window::WindowControlContainer& container, int32_t x, int32_t y,
                        int32_t w, int32_t h, PreviewControl& preview);

  void procContextMenu(int32_t x, int32_t y) override;
  void procPaint() override;
  // The bar's own items: play, pause, stop, jump to a time, clear the frame range.
  void buildMenu(Window::BaseMenu& menu);

  // The seek bar, the time and the buttons follow the scene (only what changed repaints).
  void refresh();
  // Which step buttons can act at the cursor; repaints the ones that changed.
  void updateButtonStates();
  // The play button's look: pause while playing.
  void setPlaying(bool playing);
  // The cursor one frame away, kept in the scene, and the cursor list told.
  void stepFrame(int32_t step);

  bool isScenePlaying() const;

  int32_t barHeight;
  Control::LayoutControl layout;
  TimeCounterControl timeCounter;
  Control::TrackBarControl seekBar;
  Control::LayoutControl buttonRow;
  Control::IconButtonControl playButton;
  Control::IconButtonControl stopButton;
  Control::RepeatClickButtonControl previousFrameButton;
  Control::RepeatClickButtonControl nextFrameButton;
  Control::IconButtonControl previousSectionButton;
  Control::IconButtonControl nextSectionButton;
  Control::IconButtonControl rangeStartButton;
  Control::IconButtonControl rangeEndButton;
  Control::LayoutControl rightGroup;
  VolulmeButtonControl volumeButton;
  ZoomButtonControl zoomButton;

 private:
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace Component
