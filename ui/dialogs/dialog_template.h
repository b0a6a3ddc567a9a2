#pragma once
// A modal dialog built from a caption and a list of labelled fields: the fields are laid
// out in rows when the dialog opens, and on confirmation each takes its value from its
// control in order; the first that refuses keeps the dialog open. The caller keeps typed
// pointers to the fields it added and reads them after create returned true.
//
// On the offscreen platform nobody could answer: create is cancelled (false) unless a test
// drives the dialog through a ScopedDialogDriver.
#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/dialogs/dialog_items.h"

namespace Dialog {

// An extra push button of the bottom row.
struct DialogButton {
  std::string text;  // translated when the button is made
  std::function<void()> action;
  int32_t width = 0;  // 0: four row heights
  int32_t id = 0;     // kIdFirstButton + the index in `buttons`
};

class DialogTemplate {
 public:
  DialogTemplate() = default;
  explicit DialogTemplate(std::string title) : title(std::move(title)) {}
  virtual ~DialogTemplate();
  DialogTemplate(const DialogTemplate&) = delete;
  DialogTemplate& operator=(const DialogTemplate&) = delete;

  // Runs the dialog modally: true when confirmed, false when cancelled. The tooltip is
  // hidden and the preview playback stops first. A null parent is the manager window.
  bool create(int minimumWidth, QWidget* parent = nullptr);

  // Every command and notification the dialog does not consume itself; the result goes
  // back to the sender.
  virtual bool procMessage(QDialog& dialog, const DialogMessage& message);

  DialogItemText* addNameInput(const std::string& text, bool required);
  DialogItemNameText* addNameText(const std::string& label, const std::string& text);
  DialogItemInteger* addInteger(const std::string& label, int32_t value, int32_t min,
                                int32_t max);
  DialogItemNumber* addNumber(const std::string& label, float value, double min, double max);
  DialogItemNumber* addNumber(const std::string& label, double value, double min, double max);
  DialogItemListBox* addListBox(const std::string& label, int32_t selected);
  DialogItemStatic* addStatic(const std::string& text);
  // Appends a field of any kind; the template owns it.
  template <class T>
  T* addItem(std::unique_ptr<T> item) {
    T* typed = item.get();
    items.push_back(std::move(item));
    return typed;
  }
  // Appends a button record with the next id.
  void addButton(std::string text, std::function<void()> action, int32_t width = 0);

  std::string title;
  int32_t width = 0;
  int32_t height = 0;
  bool okButton = false;
  int32_t buttonMode = 0;  // 0 automatic, 1 always "OK", other values never "OK"
  std::vector<std::unique_ptr<DialogItem>> items;
  std::vector<DialogButton> buttons;
};

// The caption as shown: translated, cut to 63 UTF-16 units.
QString dialogCaption(const std::string& title);

// Runs instead of the user once a dialog is open (tests). It may fill the controls, press
// keys and click buttons; a dialog still open when it returns is cancelled.
using DialogDriver = std::function<void(DialogTemplate&, QDialog&)>;

class ScopedDialogDriver {
 public:
  explicit ScopedDialogDriver(DialogDriver driver);
  ~ScopedDialogDriver();
  ScopedDialogDriver(const ScopedDialogDriver&) = delete;
  ScopedDialogDriver& operator=(const ScopedDialogDriver&) = delete;

 private:
  DialogDriver previous_;
};

}  // namespace Dialog
