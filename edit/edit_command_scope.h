#pragma once
// The frame of every edit command that changes the model: one edit-update scope carrying
// the refresh requests of the change, one undo step, and the rule that the scope is closed on
// every way out, also when a model operation throws, so the step keeps what was recorded and
// the edit lock is released before the exception goes on.
//
// A command logs its line and checks its preconditions before it builds its step: a refused
// command opens nothing.
#include <memory>
#include <utility>

#include "edit/update_section.h"

namespace Edit {
class EditService;
class Object;
}  // namespace Edit

namespace Edit::EditCommand {

// What the scope refreshes at its close, named by what the change touched; combined with |.
enum class Refresh : unsigned {
  Nothing = 0,
  // Objects were added, removed or moved: the layer tables rebuild.
  Layers = 1u << 0,
  // Objects moved in time: the setting window derives its shown section from the cursor
  // again and the time-control window reloads its curve.
  SectionFromCursor = 1u << 1,
  // An object's chain, points or flags changed: the setting window rebuilds its effect
  // blocks and the time-control, colour and text windows reload.
  SettingWindows = 1u << 2,
  // Effect flags or values changed: the setting window's blocks reload them and the colour
  // window re-reads its colour.
  SettingValues = 1u << 3,
  // A track's movement settings changed: the time-control window reloads its curve.
  TimeCurve = 1u << 4,
  // The edit-data listeners hear of the change, with the step's object.
  EditData = 1u << 5,
};

constexpr Refresh operator|(Refresh a, Refresh b) {
  return static_cast<Refresh>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// One command's undoable step. Building it opens the edit-update scope (which stops the
// player), sets the refresh requests and opens the undo step; run() makes the change, which
// pushes each undo item before the part it covers, and closes the scope. `object` goes to
// the edit-data listeners and may stay empty.
class CommandStep {
 public:
  CommandStep(EditService& service, Refresh refresh, std::shared_ptr<Object> object = nullptr);
  CommandStep(const CommandStep&) = delete;
  CommandStep& operator=(const CommandStep&) = delete;

  // Calls change(scope) and closes the scope afterwards, on an exception too.
  template <class Change>
  void run(Change&& change) {
    try {
      std::forward<Change>(change)(scope_);
    } catch (...) {
      try {
        scope_.close();
      } catch (...) {
        // The first failure is the one the caller hears of.
      }
      throw;
    }
    scope_.close();
  }

 private:
  UpdateSection scope_;
};

}  // namespace Edit::EditCommand
