#pragma once
// The field kinds every dialog builds from: texts and names, combo boxes, integers,
// numbers, a choice list and a fixed text.
#include <functional>
#include <string>
#include <vector>

#include "ui/dialogs/dialog_item.h"

namespace Dialog {

// An edit box. An empty box is refused with "必須項目です" when the field is required.
class DialogItemText : public DialogItem {
 public:
  DialogItemText(std::string label, std::string text, bool required)
      : DialogItem(std::move(label)), text(std::move(text)), required(required) {}
  void create(QWidget* parent, int x, int y, int width, int height) override;
  bool submit() override;
  void update() override;

  std::string text;
  bool required;
};

// A text that must be a valid name (checkName).
class DialogItemNameText : public DialogItemText {
 public:
  using DialogItemText::DialogItemText;
  bool submit() override;
};

// An edit box with a drop-down of choices; the user may type anything.
class DialogItemComboBox : public DialogItem {
 public:
  DialogItemComboBox(std::string label, std::string text, bool required)
      : DialogItem(std::move(label)), text(std::move(text)), required(required) {}
  void create(QWidget* parent, int x, int y, int width, int height) override;
  bool submit() override;
  // Refills the choices from `choiceProvider` when there is one, then shows `text`.
  void update() override;

  std::string text;
  bool required;
  std::vector<std::string> choices;  // shown untranslated
  std::function<void(std::vector<std::string>&)> choiceProvider;
};

class DialogItemNameComboBox : public DialogItemComboBox {
 public:
  DialogItemNameComboBox(std::string label, std::string text)
      : DialogItemComboBox(std::move(label), std::move(text), false) {}
  bool submit() override;
};

// Digits only, without the input method.
class DialogItemInteger : public DialogItem {
 public:
  DialogItemInteger(std::string label, int32_t value, int32_t min, int32_t max)
      : DialogItem(std::move(label)), value(value), min(min), max(max) {}
  void create(QWidget* parent, int x, int y, int width, int height) override;
  bool submit() override;
  void update() override;

  int32_t value;
  int32_t min;
  int32_t max;
};

class DialogItemNumber : public DialogItem {
 public:
  DialogItemNumber(std::string label, double value, double min, double max)
      : DialogItem(std::move(label)), value(value), min(min), max(max) {}
  void create(QWidget* parent, int x, int y, int width, int height) override;
  bool submit() override;

  double value;
  double min;
  double max;
};

// A fixed choice list; the texts are translated through the Dialog table when shown.
class DialogItemListBox : public DialogItem {
 public:
  DialogItemListBox(std::string label, int32_t selected)
      : DialogItem(std::move(label)), selected(selected) {}
  void create(QWidget* parent, int x, int y, int width, int height) override;
  // Keeps `selected` when nothing is chosen; never refuses.
  bool submit() override;

  void addItem(std::string text) { texts.push_back(std::move(text)); }
  // Selects the first entry equal to `text` (untranslated, exactly); no match changes nothing.
  void selectItem(const std::string& text);

  int32_t selected;
  std::vector<std::string> texts;
};

// A line of text, without a label.
class DialogItemStatic : public DialogItem {
 public:
  explicit DialogItemStatic(std::string text) : text(std::move(text)) {}
  void create(QWidget* parent, int x, int y, int width, int height) override;
  bool submit() override { return true; }
  void update() override {}

  std::string text;
};

}  // namespace Dialog
