#pragma once
// A menu being built, as the core sees it: the edit model appends its context-menu sections
// to whatever menu the window framework hands it, without knowing the toolkit behind it.
#include <functional>
#include <string_view>

namespace System {

class MenuSink {
 public:
  virtual ~MenuSink() = default;
  // Appends an item with the program's own text (the menu translates it) that runs `action`
  // when it is chosen. A disabled item is shown grey and cannot be chosen.
  virtual void appendItem(std::string_view text, std::function<void()> action,
                          bool enabled = true) = 0;
  virtual void appendSeparator() = 0;
};

}  // namespace System
