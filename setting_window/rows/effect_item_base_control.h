#pragma once
// The row that edits one parameter item of an effect in the object setting window, and the
// parts every kind of row shares: the label column and widget area, the share of the line
// a row takes, the press and hover actions, the search for the same effect on the other
// selected objects (so that one drag edits them all) and the edit scope a change runs in.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "edit/edit_service.h"
#include "edit/update_section.h"
#include "effect/effect_base.h"
#include "effect/effect_item.h"
#include "setting_window/rows/item_row_block.h"
#include "ui/window_control.h"

namespace Undo {
class UndoService;
}  // namespace Undo

namespace Component {

// A passive rectangle that places the row's widgets; it takes no input.
class LayoutControl : public Window::WindowControlRenderTarget {
 public:
  LayoutControl(Window::WindowControlContainer& container, int32_t x, int32_t y, int32_t w,
                int32_t h);
  LayoutControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t w, int32_t h);
  void procPaint() override {}
};

class EffectItemBaseControl : public Window::WindowControlRenderTarget,
                              public Edit::EditInstance {
 public:
  using Action = std::function<void()>;

  EffectItemBaseControl(Window::WindowControlContainer& parent, ItemRowBlock& block,
                        int32_t height);
  ~EffectItemBaseControl() override;

  void procLButtonDown(int32_t x, int32_t y) override;
  void procMouseEnter() override;
  void procMouseLeave() override { procMouseEnter(); }
  void procMouseHover() override;
  void procPaint() override;
  void procMove() override;
  // The rectangle from the layout values, narrowed to the row's share of the line.
  void updateLayout() override;

  // The item the row shows.
  virtual Effect::EffectItem* getItem() const { return nullptr; }
  // A file for the row (a dropped file, or the row's own file dialog).
  virtual void updateFile(const std::string& path);
  // The window shows another section.
  virtual void updateSection() {}
  // Shows the item's value again.
  virtual void updateValue() {}

  // Whether the current scene's selection holds two or more objects: only then are the
  // other selected objects edited too.
  bool editsLinkedObjects() const;
  // The effects at the same chain position on the other selected objects that are of the
  // block effect's kind; empty when the block's effect is not in the window's object.
  std::vector<std::shared_ptr<Effect::EffectBase>> getLinkedEffects() const;
  // The item of a linked effect that matches this row's item: same index, code and name,
  // and of class T; null otherwise.
  template <class T>
  T* linkedItem(Effect::EffectBase& linked) const {
    Effect::EffectItem* own = getItem();
    if (!own || !block->effect) return nullptr;
    const auto& items = block->effect->items;
    size_t index = 0;
    while (index < items.size() && items[index] != own) ++index;
    if (index >= items.size() || index >= linked.items.size()) return nullptr;
    Effect::EffectItem* candidate = linked.items[index];
    if (!candidate || candidate->typeCode != own->typeCode || candidate->name != own->name)
      return nullptr;
    return dynamic_cast<T*>(candidate);
  }
  // Tells the effect that its item changed, when the item asks for it, inside the scope.
  void notifyItemChange(Effect::EffectBase& effect, Edit::UpdateSection& scope,
                        Effect::EffectItem& item);

  // Runs `change` in an edit scope that reports the window's object as changed; with
  // `ownUndoStep` the scope opens an undo step and records the block's effect first. The
  // scope closes (and commits) when `change` returns or throws.
  void runEdit(bool ownUndoStep, const std::function<void(Edit::UpdateSection&)>& change);
  // The start of a drag: an undo step holding the block's effect (and, with `linked`, the
  // linked effects) as they were.
  void beginDragStep(bool linked);
  void endDragStep();

  // The item's name in the active language.
  static std::string translatedName(const Effect::EffectItem& item);
  static std::string translated(const std::string& text);

  ItemRowBlock* block;
  int32_t headerWidth;
  int32_t marginWidth;
  Window::WindowControlContainer children;
  LayoutControl layout;
  float leftFraction = 0.0f;
  float rightFraction = 1.0f;
  Action clickAction;
  Action hoverAction;

 protected:
  Undo::UndoService* undoService;
};

// A row over item class T.
template <class T>
class EffectItemControl : public EffectItemBaseControl {
 public:
  EffectItemControl(Window::WindowControlContainer& parent, ItemRowBlock& block, int32_t height,
                    Effect::EffectItem& item)
      : EffectItemBaseControl(parent, block, height), item(&dynamic_cast<T&>(item)) {}

  Effect::EffectItem* getItem() const override { return item; }

  T* item;
};

// The list-like rows: the popup list and menus hand the chosen entry's value to
// selectIndex.
class EffectItemSelectBase {
 public:
  virtual ~EffectItemSelectBase() = default;
  virtual void selectIndex(int32_t value) = 0;
};

// The style's [Layout] metrics of the rows.
int32_t settingItemHeaderWidth();
int32_t settingItemMarginWidth();

}  // namespace Component
