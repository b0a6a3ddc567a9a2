#include "edit/edit_service.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <mutex>
#include <regex>
#include <string>
#include <system_error>

#include "edit/edit_limits.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/selection_input.h"
#include "edit/undo_service.h"
#include "system/event_service.h"
#include "system/exception.h"
#include "system/setting_service.h"
#include "system/ui_bridge.h"

namespace Edit {

EditService::EditService()
    : eventService(Event::EventService::instance()),
      undoService(Undo::UndoService::instance()),
      binding_(config_, Setting::ParameterIni::instance()) {
  binding_.load();
  auto scope = beginUpdate();
  setCurrentScene(0);
  scope.close();
}

EditService::~EditService() {
  if (undoService && currentScene_ && undoService->history() == &currentScene_->undoHistory)
    undoService->setHistory(nullptr);
}

UpdateSection EditService::beginUpdate() {
  if (updateOpen_)
    throw System::makeException("Edit::EditService::beginUpdate",
                                "update section is already open.");
  System::stopPreviewPlayer();
  return UpdateSection(*this);
}

ReadSection EditService::beginRead() { return ReadSection(lock_, currentScene_); }

std::shared_ptr<Scene> EditService::getScene(int id) const { return project.findScene(id); }

void EditService::setCurrentScene(int id) {
  // Readers copy the current scene under the lock; a caller outside an update scope gets
  // the lock for the switch here.
  std::unique_lock<std::shared_mutex> guard(lock_, std::defer_lock);
  if (!updateOpen_) guard.lock();
  project.currentSceneId = id;
  currentScene_ = project.getOrCreateScene(id);
  if (undoService) undoService->setHistory(&currentScene_->undoHistory);
}

void EditService::setFocusObject(const std::shared_ptr<Object>& object) {
  Scene& scene = *currentScene_;
  if (scene.focusObject == object) return;
  scene.focusObject = object;
  if (eventService) eventService->focusObjectChanged().fire(scene.focusObject);
}

void EditService::setCursorFrame(int frame) {
  Scene& scene = *currentScene_;
  scene.cursorFrame = std::clamp(frame, 0, scene.lastFrame());
  if (eventService) eventService->cursorFrameChanged().fire(scene.cursorFrame);
}

void EditService::notifyCurrentFrame() { setCursorFrame(currentScene_->cursorFrame); }

void EditService::moveCursorFrame(std::string_view text, int direction) {
  static const std::regex pattern("^([0-9]+)([.]?[0-9]+|f)?$");
  const std::string subject(text);
  std::smatch match;
  if (!std::regex_match(subject, match, pattern)) return;
  Scene& scene = *currentScene_;
  int64_t amount = 0;
  const std::string first = match[1].str();
  if (match[2].matched && match[2].str() == "f") {
    int frames = 0;
    const auto [end, error] = std::from_chars(first.data(), first.data() + first.size(), frames);
    if (error != std::errc()) return;  // a number out of range
    amount = frames;
  } else {
    if (scene.rate <= 0 || scene.scale <= 0) return;
    // Read with "." whatever the process locale.
    double seconds = 0.0;
    const auto [end, error] =
        std::from_chars(subject.data(), subject.data() + subject.size(), seconds);
    if (error != std::errc()) return;
    const double frames = seconds * scene.rate / scene.scale;
    // Anything beyond the frame range ends at its edge; the conversion must stay defined.
    amount = std::llround(std::min(frames, static_cast<double>(kMaxFrame)));
  }
  const int64_t target = int64_t{scene.cursorFrame} + int64_t{direction} * amount;
  setCursorFrame(static_cast<int>(std::clamp<int64_t>(target, 0, kMaxFrame)));
}

bool EditService::selectObject(const std::shared_ptr<Object>& object, bool notify) {
  if (!object || object->selected) return false;
  currentScene_->selection.add(object, *currentScene_);
  if (notify && eventService) eventService->selectionChanged().fire();
  return true;
}

void EditService::clearSelection(bool notify) {
  Selection& selection = currentScene_->selection;
  if (selection.empty()) return;
  selection.clear();
  if (notify && eventService) eventService->selectionChanged().fire();
}

void EditService::clickSelectObject(InputTarget* control, const std::shared_ptr<Object>& object,
                                    bool withGroup) {
  if (withGroup) {
    if (!currentScene_->selection.addWithGroup(object, *currentScene_)) return;
    if (eventService) eventService->selectionChanged().fire();
  } else if (!selectObject(object, true)) {
    return;
  }
  SelectionInput& input = selectionInput();
  if (!input.captureOwner()) input.giveCapture(control, kCaptureUntilControlUp);
}

void EditService::clickOutsideSelection(InputTarget* control) {
  if (currentScene_->selection.empty()) return;
  SelectionInput& input = selectionInput();
  // The selection stays when the capture is the one this reason gives, or when nobody holds
  // the capture yet and the control takes it.
  auto keptBy = [&](int32_t mode) {
    if (!input.captureOwner()) {
      input.giveCapture(control, mode);
      return true;
    }
    return input.captureMode() == mode;
  };
  if (input.isControlKeyDown() && keptBy(kCaptureUntilControlUp)) return;
  if (input.isMultiSelect() && keptBy(kCaptureUntilFocusLeaves)) return;
  clearSelection(true);
}

std::function<bool(int)> EditService::makeSceneFilter(int ownSceneId) {
  return [ownSceneId](int id) { return id != 0 && id != ownSceneId; };
}

std::vector<std::shared_ptr<Object>> filterObjects(
    const std::vector<std::shared_ptr<Object>>& objects,
    const std::function<bool(const Object&)>& predicate) {
  std::vector<std::shared_ptr<Object>> kept;
  for (const auto& object : objects)
    if (predicate(*object)) kept.push_back(object);
  return kept;
}

}  // namespace Edit
