#include "edit/update_section.h"

#include <exception>

#include "edit/edit_service.h"
#include "edit/edit_ui.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "system/event_service.h"
#include "system/log.h"

namespace Edit {

UpdateSection::UpdateSection(EditService& service)
    : scene(service.currentScene_), service_(&service), lock_(service.lock_) {
  service.updateOpen_ = true;
}

void UpdateSection::releaseLock() noexcept {
  if (lock_.owns_lock()) {
    lock_.unlock();
    service_->updateOpen_ = false;
    ++service_->editGeneration_;
  }
}

UpdateSection::~UpdateSection() {
  if (closed_) return;
  // An exception is unwinding through the command (or it forgot to close): the edit is
  // finished all the same, so what was changed and recorded stays undoable and the windows
  // and listeners hear of it. Nothing may leave a destructor; a failure is logged instead.
  // A commit that fails has dropped its step already.
  try {
    close();
  } catch (const std::exception& exception) {
    System::Log::error("Edit::UpdateSection::~UpdateSection", "closing the update failed.\n%s",
                       exception.what());
  } catch (...) {
    System::Log::error("Edit::UpdateSection::~UpdateSection", "closing the update failed.");
  }
}

void UpdateSection::beginUndo() {
  if (undoOpen) return;
  undoOpen = true;
  if (service_->undoService) service_->undoService->beginStep();
}

void UpdateSection::close() {
  if (closed_) return;
  closed_ = true;

  // The work under the lock. A failure still lets the lock go before it travels on.
  std::exception_ptr failure;
  bool selectionChanged = false;
  try {
    if (updateLayer && scene) scene->update();
    if (scene) {
      if (scene->focusObject && scene->focusObject->layer == -1) {
        scene->focusObject.reset();
        notifyFocus = true;
      }
      // Commands act on the selection: a removed object must not stay in it.
      selectionChanged = scene->selection.dropRemoved();
    }
  } catch (...) {
    failure = std::current_exception();
  }
  if (undoOpen) {
    undoOpen = false;
    try {
      if (service_->undoService) service_->undoService->commit();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  releaseLock();

  // Whatever happens below, the scope lets its scene and object go.
  struct Release {
    UpdateSection& scope;
    ~Release() {
      scope.object.reset();
      scope.scene.reset();
    }
  } release{*this};
  if (failure) std::rethrow_exception(failure);

  editUi().refreshSettingWindows(*this);

  Event::EventService* events = service_->eventService;
  if (!events) return;
  if (notifyObject) events->editDataChanged().fire(object);
  if (notifyLayer) events->layersChanged().fire();
  if (notifyScene) events->sceneChanged().fire(sceneId);
  if (notifyFocus) {
    const std::shared_ptr<Object> focus = scene ? scene->focusObject : nullptr;
    events->focusObjectChanged().fire(focus);
  }
  if (notifyFrame && scene) events->cursorFrameChanged().fire(scene->cursorFrame);
  if (selectionChanged) events->selectionChanged().fire();
}

ReadSection::ReadSection(std::shared_mutex& lock, const std::shared_ptr<Scene>& currentScene)
    : lock_(lock) {
  // Copied under the lock: the UI thread switches scenes only while it holds it exclusively.
  scene = currentScene;
}

ReadSection::~ReadSection() {
  lock_.unlock();
  scene.reset();
}

}  // namespace Edit
