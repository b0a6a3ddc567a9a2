#pragma once
// The undo service: records what an edit is about to change and turns the items that
// really changed into one step at the front of the current scene's history; undo and redo
// replay a step inside an edit-update scope.
//
// A step is opened by an edit-update scope (UpdateSection::beginUndo) or, for a drag, by
// the control that starts it (beginStep ... commit). Items are pushed before the change they
// cover. Each scene has its own history; the modified flag is shared by all.
#include <cstdint>
#include <memory>
#include <vector>

#include "edit/undo_item.h"
#include "system/config.h"
#include "system/service_holder.h"

namespace Edit {
class Object;
class Layer;
}  // namespace Edit
namespace Effect {
class EffectBase;
class EffectItem;
}  // namespace Effect
namespace Component {
struct ColorSetting;
}

namespace Undo {

class UndoService : public System::Service<UndoService> {
 public:
  // Binds [Undo] to the parameter store (defaults without one).
  UndoService();
  ~UndoService();
  UndoService(const UndoService&) = delete;
  UndoService& operator=(const UndoService&) = delete;

  // The history that commits and replays use: the current scene's (set by the edit
  // service when the scene changes); null for none.
  void setHistory(UndoHistory* history) { history_ = history; }
  UndoHistory* history() const { return history_; }

  // Opens a step: recording, and the pending items are dropped.
  void beginStep();
  // Closes the step: the items that changed become a new step at the front (the redo steps
  // are dropped, the history is trimmed to UndoMax steps, the project counts as modified);
  // a step in which nothing changed leaves history and modified flag alone. An item whose
  // capture fails ("different number of items.") discards the whole step and the exception
  // goes on.
  void commit();
  // Drops the open step without committing anything (an edit that failed part-way).
  void discardStep() noexcept;
  bool isRecording() const { return recording; }

  // Recording, before the change (pushObjectCreate once the new object exists).
  void pushObjectUpdate(const std::shared_ptr<Edit::Object>& object);
  void pushObjectCreate(const std::shared_ptr<Edit::Object>& object);
  void pushObjectDelete(const std::shared_ptr<Edit::Object>& object);
  // The boundaries, then each effect's values, in chain order.
  void pushObjectSection(const std::shared_ptr<Edit::Object>& object);
  void pushObjectGroup(const std::shared_ptr<Edit::Object>& object);
  void pushObjectEffect(const std::shared_ptr<Edit::Object>& object);
  void pushObjectFlag(const std::shared_ptr<Edit::Object>& object);
  void pushObjectLayerRange(const std::shared_ptr<Edit::Object>& object);
  void pushEffectUpdate(const std::shared_ptr<Effect::EffectBase>& effect);
  void pushLayerUpdate(const std::shared_ptr<Edit::Layer>& layer);
  void pushColorSettingUpdate(const std::shared_ptr<Component::ColorSetting>& colorSetting);
  // An item built elsewhere (the layer header's move and create/delete items).
  void pushItem(std::unique_ptr<UndoItem> item);

  bool canUndo() const { return history_ && history_->undone < history_->steps.size(); }
  bool canRedo() const { return history_ && history_->undone > 0; }
  // Replays the next step backwards (undo) or the last undone step forwards (redo) in an
  // edit-update scope that reports changed edit data. When an item throws, the items before
  // it stay applied, the scope is closed and the exception goes on.
  void undo();
  void redo();
  // The text window's keys: they act only on a step that changed nothing but that text
  // item, and leave the text window's editing state alone.
  void undoText(const Effect::EffectItem& item);
  void redoText(const Effect::EffectItem& item);
  // Whether the step holds exactly one effect-update item whose two states hold a snapshot
  // of `item` and of no other item.
  static bool isOnlyEffectItemStep(const UndoStep& step, const Effect::EffectItem& item);

  // [Undo] UndoMax: the most steps a history keeps; below 1 nothing is kept.
  int32_t undoMax = 100;
  // Set by every commit that keeps a step; cleared by saving and by a project reset.
  bool modified = false;
  // A step is open.
  bool recording = false;

 private:
  template <class Op, class Target>
  void push(const std::shared_ptr<Target>& target, bool capture);
  void replay(UndoStep& step, bool forward, bool keepTextEditing);

  System::Config::Section config_{"Undo"};
  System::Config::Int undoMaxParameter_{config_, "UndoMax", &undoMax, 100};
  System::Config::Binding binding_;

  UndoHistory* history_ = nullptr;
  std::vector<std::unique_ptr<UndoItem>> pending_;
};

// The mix-in that gives a component the undo service.
class UndoInstance {
 protected:
  UndoInstance() : undoService(UndoService::instance()) {}
  UndoService* undoService;
};

}  // namespace Undo
