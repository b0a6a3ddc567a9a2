#include "effect/edit_command_hooks.h"

#include <utility>

namespace Effect {

namespace {

EditCommandHooks& installedHooks() {
  static EditCommandHooks hooks;
  return hooks;
}

}  // namespace

void setEditCommandHooks(EditCommandHooks hooks) { installedHooks() = std::move(hooks); }

const EditCommandHooks& editCommandHooks() { return installedHooks(); }

}  // namespace Effect
