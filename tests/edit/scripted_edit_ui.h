#pragma once
// An edit-model UI whose answers the test scripts: each `on...` that is set answers its
// question, one left empty gives the headless answer. Installed while it lives.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "edit/edit_ui.h"

namespace TestSupport {

class ScriptedEditUi : public Edit::EditUi {
 public:
  ScriptedEditUi() { Edit::setEditUi(this); }
  ScriptedEditUi(const ScriptedEditUi&) = delete;
  ScriptedEditUi& operator=(const ScriptedEditUi&) = delete;
  ~ScriptedEditUi() override { Edit::setEditUi(nullptr); }

  std::function<bool(const std::string& text, const std::string& caption)> onConfirm;
  std::function<bool(std::string& path)> onChooseSavePath;
  std::function<bool(std::string& path)> onChooseOpenPath;
  std::function<std::optional<int>(const std::string& caption, int initialFrames)>
      onAskFrameLength;
  std::function<std::optional<double>(const std::string& caption, const std::string& label,
                                      double initial, double minimum, double maximum)>
      onAskNumber;
  std::function<std::optional<int>(const std::string& caption, const std::string& secondsLabel,
                                   const std::string& frameLabel, int initialFrame)>
      onAskTimeFrame;
  std::function<bool()> onIsControlKeyDown;
  std::function<std::optional<Edit::TimelinePoint>()> onTimelineMouse;
  std::function<void(int start, int end)> onSetFrameRange;
  std::function<void(const std::shared_ptr<Edit::Object>& object, Effect::EffectItemNumber& item)>
      onShowTimeControl;
  std::function<void(const Edit::UpdateSection& scope)> onRefreshSettingWindows;
  std::function<void(const std::string& text)> onShowToolTip;

  bool confirm(const std::string& text, const std::string& caption) override {
    return onConfirm ? onConfirm(text, caption) : EditUi::confirm(text, caption);
  }
  bool chooseSavePath(std::string& path) override {
    return onChooseSavePath ? onChooseSavePath(path) : EditUi::chooseSavePath(path);
  }
  bool chooseOpenPath(std::string& path) override {
    return onChooseOpenPath ? onChooseOpenPath(path) : EditUi::chooseOpenPath(path);
  }
  std::optional<int> askFrameLength(const std::string& caption, int initialFrames) override {
    return onAskFrameLength ? onAskFrameLength(caption, initialFrames)
                            : EditUi::askFrameLength(caption, initialFrames);
  }
  std::optional<double> askNumber(const std::string& caption, const std::string& label,
                                  double initial, double minimum, double maximum) override {
    return onAskNumber ? onAskNumber(caption, label, initial, minimum, maximum)
                       : EditUi::askNumber(caption, label, initial, minimum, maximum);
  }
  std::optional<int> askTimeFrame(const std::string& caption, const std::string& secondsLabel,
                                  const std::string& frameLabel, int initialFrame) override {
    return onAskTimeFrame ? onAskTimeFrame(caption, secondsLabel, frameLabel, initialFrame)
                          : EditUi::askTimeFrame(caption, secondsLabel, frameLabel, initialFrame);
  }
  bool isControlKeyDown() override {
    return onIsControlKeyDown ? onIsControlKeyDown() : EditUi::isControlKeyDown();
  }
  std::optional<Edit::TimelinePoint> timelineMouse() override {
    return onTimelineMouse ? onTimelineMouse() : EditUi::timelineMouse();
  }
  void setFrameRange(int start, int end) override {
    if (onSetFrameRange) onSetFrameRange(start, end);
  }
  void showTimeControl(const std::shared_ptr<Edit::Object>& object,
                       Effect::EffectItemNumber& item) override {
    if (onShowTimeControl) onShowTimeControl(object, item);
  }
  void refreshSettingWindows(const Edit::UpdateSection& scope) override {
    if (onRefreshSettingWindows) onRefreshSettingWindows(scope);
  }
  void showToolTip(const std::string& text) override {
    if (onShowToolTip) onShowToolTip(text);
  }
};

}  // namespace TestSupport
