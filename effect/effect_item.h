#pragma once
// A parameter of an effect. Every item lives inside its effect (a member of the effect's
// class, or made by a script effect) and appends itself to the effect's item list when it
// is constructed; that order is the order of the rows in the object setting window, of the
// keys in project files and of the values in undo snapshots.
//
// An item knows its kind (type code), its name (row label and file key), how to copy,
// compare and clone its value, how to write it as text and read it back (from project
// files, from scripts, from legacy object files), and which control edits it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "effect/outer_types.h"

namespace Effect {

class EffectItem;
using EffectItemList = std::vector<EffectItem*>;

// The control of the object setting window that edits an item.
enum class ControlKind {
  None,  // the item has no row
  Number,
  Check,
  CheckButton,
  Select,
  SelectButton,
  FontSelect,
  String,
  Text,
  File,
  ComboFile,
  Color,
  Scene,
  Integer,
  LayerRange,
  Button,
  MaskSelect,
};

// Type codes of the item kinds.
namespace ItemType {
inline constexpr uint8_t Integer = 0;
inline constexpr uint8_t Number = 1;
inline constexpr uint8_t Check = 2;
inline constexpr uint8_t CheckButton = 3;
inline constexpr uint8_t Text = 4;
inline constexpr uint8_t String = 5;
inline constexpr uint8_t File = 6;
inline constexpr uint8_t Color = 7;
inline constexpr uint8_t Select = 8;
inline constexpr uint8_t SelectButton = 9;
inline constexpr uint8_t Scene = 11;
inline constexpr uint8_t LayerRange = 12;
inline constexpr uint8_t ColorOrNone = 14;
inline constexpr uint8_t MaskSelect = 15;
inline constexpr uint8_t FontSelect = 16;
inline constexpr uint8_t FigureSelect = 17;
inline constexpr uint8_t Button = 18;
inline constexpr uint8_t ScriptString1 = 100;
inline constexpr uint8_t ScriptString2 = 101;
inline constexpr uint8_t HiddenInteger = 200;
}  // namespace ItemType

// Builds the rows of items: what the effect framework asks of the object setting window,
// which lies above it. The window implements it and the program installs it; until then
// (and in a headless run) items have no rows.
class ItemControlFactory {
 public:
  virtual ~ItemControlFactory() = default;
  // The row of `item`, whose control is of `kind`, inside the effect's block.
  virtual std::shared_ptr<Component::EffectItemBaseControl> createControl(
      ControlKind kind, Window::WindowControlContainer& parent, Component::EffectSetting& block,
      EffectItem& item) = 0;
};
// Installs the factory (nullptr removes it). UI thread, while no setting window is built.
void setItemControlFactory(ItemControlFactory* factory);

class EffectItem {
 public:
  // Stores the code and the name and appends the item to the owning effect's list.
  EffectItem(EffectItemList& items, uint8_t typeCode, std::string_view name);
  EffectItem& operator=(const EffectItem&) = delete;
  virtual ~EffectItem();

  // Copies the value of an item of the same kind; name, code and notify flag stay.
  virtual void copyFrom(const EffectItem& other) = 0;
  virtual bool equals(const EffectItem& other) const = 0;
  // A value carrier for undo snapshots: same code, name, notify flag and value; it belongs
  // to no effect.
  virtual std::unique_ptr<EffectItem> clone() const = 0;
  // The text the project file stores after the item's name and "=".
  virtual std::string toString() const = 0;
  virtual void fromString(std::string_view text) = 0;
  // A value a script hands over as a number (its text).
  virtual void fromScriptString(std::string_view text);
  // A value of a legacy object file: its text, its key there, the name of the item's
  // effect, and whether the text is already in the current form.
  virtual void loadKvoParameter(std::string_view text, std::string_view key,
                                std::string_view effectName, bool currentForm);
  // The row that edits the item, or empty when it has none.
  virtual std::shared_ptr<Component::EffectItemBaseControl> createControl(
      Window::WindowControlContainer& parent, Component::EffectSetting& block);
  // The path of an item that refers to a file, or null.
  virtual const std::string* getFilePath() const;
  // Throws "not implement." for kinds without a file.
  virtual void setFilePath(std::string_view path);
  // Which control createControl makes.
  virtual ControlKind getControlKind() const;
  // The scene `sceneId` is gone: an item that refers to it is set to refer to no scene, so
  // that a scene made later with the same id does not take its place. True when the value
  // changed; items that refer to no scene change nothing.
  virtual bool forgetScene(int32_t sceneId);

  uint8_t typeCode;
  std::string name;
  // When set, the controls send the effect an item-change notice after every change.
  bool notify = false;

 protected:
  // Clones copy code, name and notify flag and join no list.
  EffectItem(const EffectItem& other) = default;

  // The argument of copyFrom and equals, checked to be of the kind's class.
  template <class T>
  static const T& sameKind(const EffectItem& other) {
    return dynamic_cast<const T&>(other);
  }
};

}  // namespace Effect
