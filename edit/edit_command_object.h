#pragma once
// The object edit commands the timeline, the menus and the effect definitions run: create,
// load, delete, copy, paste and duplicate; beside them the objects every command acts on and
// what the object commands need from the windows and the media input.
//
// Each command that changes the model is one undoable step: it logs one INFO line under
// its qualified name, opens an edit-update scope, opens the undo step, records every undo
// item before the change it covers, changes the model through the layer table and chain
// operations only, and closes the scope. A command whose precondition fails (no targets, an
// empty clipboard, a cancelled dialog, no room) changes nothing and opens no scope. UI
// thread only. The other object commands live in edit_command_split.h (split and cut) and
// edit_command_length.h (lengths, empty frames, sound, scenes from files).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Edit {

class Object;
class Scene;
class UpdateSection;

// The objects a command acts on: the scene's selection when it holds an object (kept by
// reference), else the focus object when it is still on a layer, else none.
class TargetObjects {
 public:
  using List = std::vector<std::shared_ptr<Object>>;

  explicit TargetObjects(const Scene& scene);
  TargetObjects(const TargetObjects&) = delete;
  TargetObjects& operator=(const TargetObjects&) = delete;

  const List& objects() const { return selection_ ? *selection_ : own_; }
  bool empty() const { return objects().empty(); }
  std::size_t size() const { return objects().size(); }
  List::const_iterator begin() const { return objects().begin(); }
  List::const_iterator end() const { return objects().end(); }

 private:
  const List* selection_ = nullptr;
  List own_;
};


namespace EditCommand {

// The objects a command acts on, as a list of its own.
using ObjectList = std::vector<std::shared_ptr<Object>>;

// Called with the new object inside the command's scope, before the undo item is recorded.
using ObjectInitializer = std::function<void(Object* object, UpdateSection& scope)>;

// The initializer of an object made from a media file: the input effect takes the file (and
// may fit the object to it, with the layer tables made current first).
ObjectInitializer fileInitializer(std::string path);

// The length of a new object: 800000 / zoom frames after its start (zoom 10000 = 100 %).
int32_t defaultObjectLength(const Scene& scene);

// A new object with the named effect on the layer at the frame; a frame inside objects puts
// it right behind them, a following object cuts it short. The new object becomes the focus.
// Throws "layer index out of range." for a layer outside the table (nothing done) and the
// registry's "not found effect." for an unknown name (the scope closes with nothing kept).
void createObject(std::string_view effectName, int layer, int frame,
                  const ObjectInitializer& initializer = {});
// A new object read from an object or effect alias file. Every failure is caught and shown
// as "エイリアスの読み込みに失敗しました".
void loadObject(const std::string& path, int layer, int frame);
void deleteObject();
// Replaces the clipboard's content with copies of the targets. Changes no model data.
void copyObject();
void pasteObject(int layer, int frame);
// The paste of the object context menu: at the mouse in the timeline, else near the cursor.
void pasteObjectAt();
// Copies of the targets on the first layers below them where the block fits; the clipboard
// is not touched.
void duplicateObject();

}  // namespace EditCommand

}  // namespace Edit
