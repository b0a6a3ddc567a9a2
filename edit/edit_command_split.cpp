// Splitting objects at a frame and cutting objects out, whole or a frame range of them.
#include "edit/edit_command_split.h"

#include <algorithm>
#include <unordered_map>

#include "edit/edit_command_object.h"
#include "edit/edit_command_scope.h"
#include "edit/edit_limits.h"
#include "edit/edit_service.h"
#include "edit/edit_ui.h"
#include "edit/group.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_event_param.h"
#include "system/log.h"

namespace Edit::EditCommand {

namespace {

// One new group per source group, made the first time the source group is met.
class NewGroups {
 public:
  const std::shared_ptr<Group>& of(const Group* source) {
    auto& group = groups_[source];
    if (!group) group = std::make_shared<Group>();
    return group;
  }

 private:
  std::unordered_map<const Group*, std::shared_ptr<Group>> groups_;
};

struct Pieces {
  std::shared_ptr<Object> left;
  std::shared_ptr<Object> right;
};

// The two pieces of `source` cut at `frame` (source.start < frame <= source.end), made off
// the scene: they carry the source's layer number but no slot lists them yet. Each piece
// with an input effect hears of the split.
Pieces cutPieces(UpdateSection& scope, const std::shared_ptr<Object>& source, int frame) {
  Pieces pieces{std::make_shared<Object>(), std::make_shared<Object>()};
  source->split(frame, *pieces.left, *pieces.right, *scope.scene);
  for (const auto& piece : {pieces.left, pieces.right}) {
    Effect::EffectEventParam event;
    event.kind = Effect::EffectEventParam::ObjectSplit;
    event.scope = &scope;
    event.datum = static_cast<const Object*>(source.get());
    piece->sendInputEffectEvent(event);
  }
  return pieces;
}

// Puts a piece made by cutPieces on its layer.
void putOn(Scene& scene, const std::shared_ptr<Object>& piece) {
  const int layer = piece->layer;
  piece->layer = -1;
  scene.moveObjectToLayer(piece, layer);
}

// A copy of a piece that never was on the scene goes into the clipboard remembering the
// group of the object it came from, so that pasted pieces of one group are grouped again.
void copyToClipboard(ObjectClipboard& clipboard, const std::shared_ptr<Object>& piece,
                     const std::shared_ptr<Group>& sourceGroup) {
  clipboard.addCopy(piece);
  clipboard.objects.back()->group = sourceGroup;
}

}  // namespace

void splitObject(int frame) {
  EditService* service = EditService::instance();
  const TargetObjects targets(*service->currentScene());
  if (targets.empty()) return;
  System::Log::info("Edit::EditCommand::splitObject", "split object num=%d frame=%d",
                    static_cast<int>(targets.size()), frame);
  const TargetObjects::List objects = targets.objects();
  Undo::UndoService* undo = service->undoService;

  CommandStep step(*service, Refresh::Layers | Refresh::EditData);
  step.run([&](UpdateSection& scope) {
    Scene& scene = *scope.scene;
    NewGroups leftGroups;
    NewGroups rightGroups;
    for (const auto& source : objects) {
      if (!(source->start < frame && frame <= source->end)) continue;
      const Pieces pieces = cutPieces(scope, source, frame);
      undo->pushObjectCreate(pieces.left);
      undo->pushObjectCreate(pieces.right);
      if (source->group) {
        undo->pushObjectGroup(pieces.left);
        undo->pushObjectGroup(pieces.right);
      }
      undo->pushObjectDelete(source);
      // The source leaves first: its pieces take its frames on the same layer.
      scene.removeObject(*source);
      putOn(scene, pieces.left);
      putOn(scene, pieces.right);
      if (source->group) {
        pieces.left->joinGroup(leftGroups.of(source->group.get()));
        pieces.right->joinGroup(rightGroups.of(source->group.get()));
      }
      if (scene.focusObject == source) {
        scene.focusObject = pieces.right;
        scope.notifyFocus = true;
      }
    }
  });
}

namespace {

// The ripple cut of frames a .. b out of the targets.
void cutRange(EditService& service, const TargetObjects::List& objects, int a, int b) {
  Undo::UndoService* undo = service.undoService;
  ObjectClipboard& clipboard = service.clipboard;
  clipboard.clear();

  CommandStep step(service, Refresh::Layers | Refresh::SectionFromCursor | Refresh::EditData);
  step.run([&](UpdateSection& scope) {
    Scene& scene = *scope.scene;
    scene.cursorFrame = std::clamp(a, 0, scene.lastFrame());
    scope.notifyFrame = true;
    scene.selectedFrameStart = -1;
    scene.selectedFrameEnd = -1;
    editUi().setFrameRange(-1, -1);

    const int64_t c = int64_t{b} + 1;
    TargetObjects::List moving;
    // The piece that stays replaces the source: undo items first, then the change.
    auto keep = [&](const std::shared_ptr<Object>& source,
                    std::initializer_list<std::shared_ptr<Object>> kept) {
      for (const auto& piece : kept) undo->pushObjectCreate(piece);
      undo->pushObjectDelete(source);
      if (source->group)
        for (const auto& piece : kept) undo->pushObjectGroup(piece);
      scene.removeObject(*source);
      for (const auto& piece : kept) {
        putOn(scene, piece);
        if (source->group) piece->joinGroup(source->group);
      }
      if (scene.focusObject == source) {
        scene.focusObject = *(kept.end() - 1);
        scope.notifyFocus = true;
      }
    };
    for (const auto& source : objects) {
      const int64_t s = source->start;
      const int64_t e = source->end;
      const std::shared_ptr<Group> group = source->group;
      if (s < a && c <= e) {
        const Pieces first = cutPieces(scope, source, a);
        const Pieces second = cutPieces(scope, first.right, static_cast<int>(c));
        copyToClipboard(clipboard, second.left, group);
        keep(source, {first.left, second.right});
        moving.push_back(second.right);
      } else if (s < a && a <= e && e < c) {
        const Pieces pieces = cutPieces(scope, source, a);
        copyToClipboard(clipboard, pieces.right, group);
        keep(source, {pieces.left});
      } else if (a <= s && s < c && c <= e) {
        const Pieces pieces = cutPieces(scope, source, static_cast<int>(c));
        copyToClipboard(clipboard, pieces.left, group);
        keep(source, {pieces.right});
        moving.push_back(pieces.right);
      } else if (a <= s && e < c) {
        clipboard.addCopy(source);
        undo->pushObjectDelete(source);
        scene.removeObject(*source);
      } else if (s >= c) {
        moving.push_back(source);
      }
    }
    scene.selection.clear();
    if (moving.empty()) return;

    // Close the gap: the moved objects slide left by the range's length, but no further
    // than the first unmoved object on one of their layers allows.
    scene.update();
    for (const auto& object : moving) service.selectObject(object, false);
    ObjectRange range;
    LayerObjectManager::getObjectRange(range, moving);
    int64_t shift = int64_t{a} - c;
    for (bool blocked = true; blocked && shift < 0;) {
      blocked = false;
      for (const auto& [layer, frames] : range.layers) {
        const LayerObjects& slot = scene.getLayerObjects(layer);
        const int64_t from = shift + frames.first;
        const int64_t to = shift + frames.second;
        for (std::size_t i = upperBoundObjectStart(slot, to); i > 0; --i) {
          const Object& other = *slot.objects[i - 1];
          if (other.end < from) break;
          if (other.selected) continue;
          shift = int64_t{other.end} - frames.first + 1;
          blocked = true;
          break;
        }
        if (blocked) break;
      }
    }
    // The walk above leaves room on every layer; a move that would still land on an object
    // that stays (or leave the frame range) is not made at all.
    auto fits = [&](const Object& object) {
      const int64_t start = object.start + shift;
      const int64_t end = object.end + shift;
      if (!scene.canPlaceObject(object.layer, start, end, &object)) {
        for (const auto& other : scene.getLayerObjects(object.layer).objects)
          if (other->layer == object.layer && !other->selected && other->start <= end &&
              other->end >= start)
            return false;
        // Only moved objects are in the way: they move along.
        return isValidFrame(start) && isValidFrame(end);
      }
      return true;
    };
    if (shift < 0 && std::all_of(moving.begin(), moving.end(),
                                 [&](const auto& object) { return fits(*object); })) {
      for (const auto& object : moving) {
        undo->pushObjectUpdate(object);
        object->start = clampFrame(object->start + shift);
        object->end = clampFrame(object->end + shift);
        scene.markSort(*object);
      }
    }
    scene.selection.clear();
  });
}

}  // namespace

void cutObject() {
  EditService* service = EditService::instance();
  const Scene& scene = *service->currentScene();
  const TargetObjects targets(scene);
  if (targets.empty()) return;
  const int count = static_cast<int>(targets.size());
  if (scene.selectedFrameStart < 0 || scene.selectedFrameEnd < 0) {
    System::Log::info("Edit::EditCommand::cutObject", "cut object num=%d", count);
    copyObject();
    deleteObject();
    return;
  }
  System::Log::info("Edit::EditCommand::cutObject", "cut range object num=%d", count);
  const int a = std::min(scene.selectedFrameStart, scene.selectedFrameEnd);
  const int b = std::max(scene.selectedFrameStart, scene.selectedFrameEnd);
  // A copy: the selection is emptied and refilled while the cut runs.
  const TargetObjects::List objects = targets.objects();
  cutRange(*service, objects, a, b);
}

}  // namespace Edit::EditCommand
