#pragma once
// Shared by the object edit commands: the scope every command opens, and the rule that a
// scope is closed on every way out, also when a model operation throws, so the step keeps
// what was recorded and the edit lock is released before the exception goes on.
#include <utility>

#include "edit/edit_service.h"
#include "edit/update_section.h"

namespace Edit::EditCommand::Detail {

// Runs `change` and closes the scope afterwards, on an exception too.
template <class Change>
void runClosing(UpdateSection& scope, Change&& change) {
  try {
    std::forward<Change>(change)();
  } catch (...) {
    try {
      scope.close();
    } catch (...) {
      // The first failure is the one the caller hears of.
    }
    throw;
  }
  scope.close();
}

}  // namespace Edit::EditCommand::Detail
