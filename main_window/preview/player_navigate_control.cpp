#include "main_window/preview/player_navigate_control.h"

#include <algorithm>
#include <cmath>

#include "edit/edit_command_section.h"
#include "edit/edit_ui.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "main_window/preview/preview_control.h"
#include "main_window/preview/preview_geometry.h"
#include "system/text.h"
#include "ui/controls/control_paint.h"
#include "ui/menu_base.h"
#include "ui/menu_popup.h"
#include "ui/tool_tips.h"

namespace Component {

namespace {

// The buttons' icons, as fractions of the button.
constexpr float kPlayTriangle[6] = {0.3f, 0.2f, 0.3f, 0.8f, 0.78f, 0.5f};
constexpr float kPauseLines[10] = {0.37f, 0.25f, 0.37f, 0.75f, 0.16f,
                                   0.63f, 0.25f, 0.63f, 0.75f, 0.16f};
constexpr float kStopSquare[4] = {0.3f, 0.3f, 0.7f, 0.7f};
constexpr float kPreviousSectionTriangle[6] = {0.72f, 0.2f, 0.72f, 0.8f, 0.35f, 0.5f};
constexpr float kPreviousSectionLine[5] = {0.3f, 0.2f, 0.3f, 0.8f, 0.1f};
constexpr float kNextSectionTriangle[6] = {0.28f, 0.2f, 0.28f, 0.8f, 0.65f, 0.5f};
constexpr float kNextSectionLine[5] = {0.7f, 0.2f, 0.7f, 0.8f, 0.1f};
constexpr float kRangeStartLines[15] = {0.35f, 0.2f, 0.35f, 0.8f, 0.1f,  //
                                        0.35f, 0.2f, 0.6f,  0.2f, 0.1f,  //
                                        0.35f, 0.8f, 0.6f,  0.8f, 0.1f};
constexpr float kRangeEndLines[15] = {0.65f, 0.2f, 0.65f, 0.8f, 0.1f,  //
                                      0.4f,  0.2f, 0.65f, 0.2f, 0.1f,  //
                                      0.4f,  0.8f, 0.65f, 0.8f, 0.1f};

const Control::IconShape kPlayIcon{kPlayTriangle, nullptr, {}};
const Control::IconShape kPauseIcon{nullptr, nullptr, kPauseLines};
const Control::IconShape kStopIcon{nullptr, kStopSquare, {}};
const Control::IconShape kPreviousSectionIcon{kPreviousSectionTriangle, nullptr,
                                              kPreviousSectionLine};
const Control::IconShape kNextSectionIcon{kNextSectionTriangle, nullptr, kNextSectionLine};
const Control::IconShape kRangeStartIcon{nullptr, nullptr, kRangeStartLines};
const Control::IconShape kRangeEndIcon{nullptr, nullptr, kRangeEndLines};

constexpr const char* kPlayTip = "プレビュー再生";
constexpr const char* kPauseTip = "プレビュー一時停止";

// The frame on show: the playing position while the scene plays, else the cursor.
int32_t shownFrame(const Edit::Scene& scene) {
  return scene.playing ? scene.displayFrame : scene.cursorFrame;
}

Edit::Scene* currentScene(Edit::EditService* edit) {
  return edit ? edit->currentScene().get() : nullptr;
}

// A repeat button sits in the row at the place an icon button would take.
void placeInRow(Control::RepeatClickButtonControl& button, Control::LayoutControl& row,
                int32_t index, int32_t barHeight) {
  button.parentRect = &row.fullRect;
  button.clipRect = &row.visibleRect;
  button.layoutX = index * (barHeight - 6);
  button.layoutY = 0;
  button.layoutW = barHeight - 12;
  button.layoutH = 0;
}

int32_t timeCounterWidth() {
  const Control::MeasuredText measured = Control::measureText(
      Control::textFormat(Resource::ResourceService::kPreviewTime), "00:00:00.00");
  return measured.width + 2;
}

}  // namespace

// --- the time counter ----------------------------------------------------------------------

std::string TimeCounterControl::text() const {
  const Edit::Scene* scene = currentScene(editService);
  if (!scene || scene->rate <= 0) return System::formatTime(0.0);
  return System::formatTime(static_cast<double>(shownFrame(*scene)) * scene->scale /
                            scene->rate);
}

void TimeCounterControl::procPaint() {
  if (!Control::isPaintable(*this)) return;
  Control::ControlDrawScope scope(*this);
  scope.fillClip(*scope.brushes().Background.get());
  const Control::MeasuredText measured = Control::measureText(
      Control::textFormat(Resource::ResourceService::kPreviewTime), text());
  scope.drawLayout(measured.layout.get(), (scope.width() - measured.width) / 2,
                   (scope.height() - measured.height) / 2, *scope.brushes().Text.get());
}

// --- the volume button ---------------------------------------------------------------------

VolulmeButtonControl::VolulmeButtonControl(Window::WindowControl& parent, int32_t x, int32_t y,
                                           int32_t w, int32_t h)
    : SliderButtonControl(parent, x, y, w, h) {
  acceptsContextMenu = true;
  toolTipText = "プレビュー再生の音量を変更";
}

int32_t VolulmeButtonControl::getValue() { return moviePlayer ? moviePlayer->volume() : 0; }

std::string VolulmeButtonControl::getValueText() { return std::to_string(getValue()) + "%"; }

void VolulmeButtonControl::setDragValue(int32_t startValue, int32_t steps) {
  const int64_t value = std::clamp<int64_t>(int64_t{startValue} + steps, 0, 100);
  if (moviePlayer) moviePlayer->setVolume(static_cast<int32_t>(value));
}

void VolulmeButtonControl::procCaptureCancel() {
  redraw();
  if (Window::ToolTips::isShown()) Window::ToolTips::hide();
}

void VolulmeButtonControl::buildMenu(Window::BaseMenu& menu) {
  for (int32_t value = 0; value <= 100; value += 10) {
    menu.insertItem(std::to_string(value) + "%",
                    [this, value] {
                      if (moviePlayer) moviePlayer->setVolume(value);
                    })
        .setRadioCheck()
        .setCheck([this, value] { return getValue() == value; });
  }
}

void VolulmeButtonControl::procContextMenu(int32_t, int32_t) {
  Window::PopupMenu menu;
  buildMenu(menu);
  menu.show();
}

// --- the zoom button -----------------------------------------------------------------------

ZoomButtonControl::ZoomButtonControl(Window::WindowControl& parent, int32_t x, int32_t y,
                                     int32_t w, int32_t h, PreviewControl& preview)
    : BitmapButtonControl(parent, x, y, w, h), preview(preview) {
  acceptsContextMenu = true;
  acceptsRightButton = true;
  toolTipText = "プレビュー表示の拡大率を変更";
}

void ZoomButtonControl::procLButtonDown(int32_t x, int32_t y) {
  if (mouseService && mouseService->pressedTarget())
    mouseService->beginDrag(x, y, Window::MouseCursor::Program143);
  redraw();
  showToolTip(zoomText(preview.zoom));
  mode = Mode::Left;
  startZoom = preview.zoom;
}

void ZoomButtonControl::procRButtonDown(int32_t x, int32_t y) {
  if (mouseService && mouseService->pressedTarget())
    mouseService->beginDrag(x, y, Window::MouseCursor::SizeAll);
  mode = Mode::Right;
  startScrollX = preview.horizontalBar.viewStart;
  startScrollY = preview.verticalBar.viewStart;
}

void ZoomButtonControl::procMouseDrag(int32_t dx, int32_t dy) {
  if (mode == Mode::Right) {
    preview.scrollTo(startScrollX - dx, startScrollY - dy);
    return;
  }
  // Dragging from "fit" starts from the percentage the fit shows.
  if (startZoom == 0)
    startZoom = fitZoomPercent(preview.pictureWidth(), preview.pictureHeight(),
                               preview.areaWidth(), preview.areaHeight());
  preview.setZoom(draggedZoom(startZoom, dy));
  showToolTip(zoomText(preview.zoom));
}

void ZoomButtonControl::procCaptureCancel() {
  redraw();
  if (Window::ToolTips::isShown()) Window::ToolTips::hide();
}

void ZoomButtonControl::procContextMenu(int32_t, int32_t) {
  Window::PopupMenu menu;
  preview.fillZoomMenu(menu);
  menu.show();
}

// --- the bar ---------------------------------------------------------------------------------

PlayerNavigateControl::PlayerNavigateControl(Window::WindowControlContainer& container,
                                             int32_t x, int32_t y, int32_t w, int32_t h,
                                             PreviewControl& preview)
    : WindowControlRenderTarget(container, x, y, w, h),
      barHeight(h),
      layout(*this, 6, 0, -6, 0),
      timeCounter(layout, 0, 0, timeCounterWidth(), 0),
      seekBar(layout, timeCounter.layoutW + 8, 0, -(10 * h - 76), 0),
      buttonRow(*this, -(10 * h - 82), 6, -(2 * h - 28), -6),
      playButton(buttonRow, 0, h - 12, kPlayIcon, false),
      stopButton(buttonRow, h - 6, h - 12, kStopIcon, false),
      previousFrameButton(container, Control::IconShape{Control::Arrow::kLeft, nullptr, {}}),
      nextFrameButton(container, Control::IconShape{Control::Arrow::kRight, nullptr, {}}),
      previousSectionButton(buttonRow, 4 * (h - 6), h - 12, kPreviousSectionIcon, false),
      nextSectionButton(buttonRow, 5 * (h - 6), h - 12, kNextSectionIcon, false),
      rangeStartButton(buttonRow, 6 * (h - 6), h - 12, kRangeStartIcon, false),
      rangeEndButton(buttonRow, 7 * (h - 6), h - 12, kRangeEndIcon, false),
      rightGroup(*this, -(2 * h - 34), 10, 0, -10),
      volumeButton(rightGroup, 0, 0, h - 20, 0),
      zoomButton(rightGroup, h - 14, 0, h - 20, 0, preview) {
  acceptsContextMenu = true;
  placeInRow(previousFrameButton, buttonRow, 2, h);
  placeInRow(nextFrameButton, buttonRow, 3, h);
  playButton.toolTipText = kPlayTip;
  stopButton.toolTipText = "プレビュー停止";
  previousFrameButton.toolTipText = "前のフレームに移動";
  nextFrameButton.toolTipText = "次のフレームに移動";
  previousSectionButton.toolTipText = "前のセクションに移動";
  nextSectionButton.toolTipText = "次のセクションに移動";
  rangeStartButton.toolTipText = "範囲選択の開始フレームに設定";
  rangeEndButton.toolTipText = "範囲選択の終了フレームに設定";

  playButton.clickCallback = [this](Control::ButtonControl&) {
    if (!moviePlayer) return;
    if (isScenePlaying())
      moviePlayer->stop(false);
    else
      moviePlayer->play();
  };
  stopButton.clickCallback = [this](Control::ButtonControl&) {
    if (moviePlayer) moviePlayer->stop(true);
  };
  previousFrameButton.clickCallback = [this](Control::ButtonControl&) { stepFrame(-1); };
  nextFrameButton.clickCallback = [this](Control::ButtonControl&) { stepFrame(1); };
  previousSectionButton.clickCallback = [](Control::ButtonControl&) {
    Edit::EditCommand::jumpPrevSection();
  };
  nextSectionButton.clickCallback = [](Control::ButtonControl&) {
    Edit::EditCommand::jumpNextSection();
  };
  rangeStartButton.clickCallback = [this](Control::ButtonControl&) {
    if (const Edit::Scene* scene = currentScene(editService))
      Edit::editUi().setFrameRange(scene->cursorFrame, -1);
  };
  rangeEndButton.clickCallback = [this](Control::ButtonControl&) {
    if (const Edit::Scene* scene = currentScene(editService))
      Edit::editUi().setFrameRange(-1, scene->cursorFrame);
  };
  seekBar.changeCallback = [this](Control::TrackBarControl&, int32_t value) {
    if (editService) editService->setCursorFrame(value);
  };

  if (!eventService) return;
  std::weak_ptr<int> alive = alive_;
  eventService->playbackChanged().add([alive, this](bool playing) {
    if (!alive.expired()) setPlaying(playing);
  });
  eventService->visibleFramesChanged().add([alive, this](int first, int count) {
    if (alive.expired()) return;
    if (seekBar.selectStart == first && seekBar.selectEnd == first + count) return;
    seekBar.setSelectRange(first, first + count);
    Control::repaint(seekBar);
  });
  eventService->frameRangeChanged().add([alive, this](int start, int end) {
    if (alive.expired()) return;
    if (seekBar.subStart == start && seekBar.subEnd == end) return;
    seekBar.setSubRange(start, end);
    Control::repaint(seekBar);
  });
  eventService->cursorFrameChanged().add([alive, this](int) {
    if (!alive.expired()) refresh();
  });
  eventService->sceneChanged().add([alive, this](int) {
    if (!alive.expired()) refresh();
  });
  eventService->editDataChanged().add([alive, this](const Event::ObjectReference&) {
    if (!alive.expired()) refresh();
  });
  eventService->focusObjectChanged().add([alive, this](const Event::ObjectReference&) {
    if (!alive.expired()) updateButtonStates();
  });
  eventService->frameNotice().add([alive, this](int kind, int) {
    if (!alive.expired() && kind == 2) refresh();
  });
}

bool PlayerNavigateControl::isScenePlaying() const {
  const Edit::Scene* scene = currentScene(editService);
  return scene && scene->playing;
}

void PlayerNavigateControl::setPlaying(bool playing) {
  playButton.icon = playing ? kPauseIcon : kPlayIcon;
  playButton.toolTipText = playing ? kPauseTip : kPlayTip;
  Control::repaint(playButton);
}

void PlayerNavigateControl::stepFrame(int32_t step) {
  Edit::Scene* scene = currentScene(editService);
  if (!scene) return;
  const int64_t frame = int64_t{scene->cursorFrame} + step;
  scene->cursorFrame =
      static_cast<int32_t>(std::clamp<int64_t>(frame, 0, std::max(scene->lastFrame(), 0)));
  if (eventService) eventService->cursorFrameChanged().fire(scene->cursorFrame);
}

void PlayerNavigateControl::refresh() {
  const Edit::Scene* scene = currentScene(editService);
  if (!scene) return;
  const int32_t last = std::max(scene->lastFrame(), 0);
  const int32_t frame = shownFrame(*scene);
  int32_t selectStart = 0;
  int32_t selectEnd = 0;
  if (!scene->playing) {
    selectStart = scene->displayFrame;
    selectEnd = scene->displayFrame + scene->displayFrameCount;
  }
  const int32_t subStart = scene->selectedFrameStart;
  const int32_t subEnd = scene->selectedFrameEnd;
  if (seekBar.value == frame && seekBar.maximum == last && seekBar.minimum == 0 &&
      seekBar.selectStart == selectStart && seekBar.selectEnd == selectEnd &&
      seekBar.subStart == subStart && seekBar.subEnd == subEnd)
    return;
  seekBar.setRange(last);
  seekBar.setValue(frame);
  seekBar.setSelectRange(selectStart, selectEnd);
  seekBar.setSubRange(subStart, subEnd);
  Control::repaint(seekBar);
  Control::repaint(timeCounter);
  updateButtonStates();
}

void PlayerNavigateControl::updateButtonStates() {
  const Edit::Scene* scene = currentScene(editService);
  const int32_t cursor = scene ? scene->cursorFrame : 0;
  const int32_t last = scene ? std::max(scene->lastFrame(), 0) : 0;
  const Edit::Object* focus = scene ? scene->focusObject.get() : nullptr;
  const auto set = [](Control::ButtonControl& button, bool enabled) {
    if (button.enabled == enabled) return;
    button.enabled = enabled;
    Control::repaint(button);
  };
  set(previousFrameButton, scene && cursor != 0);
  set(nextFrameButton, scene && cursor != last);
  set(previousSectionButton, focus && focus->start < cursor);
  set(nextSectionButton, focus && cursor < focus->end);
}

void PlayerNavigateControl::buildMenu(Window::BaseMenu& menu) {
  menu.insertItem("再生", [this] {
        if (moviePlayer) moviePlayer->play();
      }).setEnable([this] { return !isScenePlaying(); });
  menu.insertItem("一時停止", [this] {
        if (moviePlayer) moviePlayer->stop(false);
      }).setEnable([this] { return isScenePlaying(); });
  menu.insertItem("停止", [this] {
        if (moviePlayer) moviePlayer->stop(true);
      }).setEnable([this] { return isScenePlaying(); });
  menu.insertSeparator();
  menu.insertItem("指定時間に移動", [] { Edit::EditCommand::jumpToTime(); });
  menu.insertItem("フレーム範囲選択を解除", [] { Edit::editUi().setFrameRange(-1, -1); })
      .setEnable([this] {
        const Edit::Scene* scene = currentScene(editService);
        return scene && scene->selectedFrameStart >= 0 && scene->selectedFrameEnd >= 0;
      });
}

void PlayerNavigateControl::procContextMenu(int32_t, int32_t) {
  Window::PopupMenu menu;
  buildMenu(menu);
  menu.show();
}

void PlayerNavigateControl::procPaint() {
  if (!Control::isPaintable(*this)) return;
  Control::ControlDrawScope scope(*this);
  scope.fillClip(*scope.brushes().Background.get());
  for (Window::WindowControl* child :
       std::initializer_list<Window::WindowControl*>{
           &timeCounter, &seekBar, &playButton, &stopButton, &previousFrameButton,
           &nextFrameButton, &previousSectionButton, &nextSectionButton, &rangeStartButton,
           &rangeEndButton, &volumeButton, &zoomButton})
    child->procPaint();
}

}  // namespace Component
