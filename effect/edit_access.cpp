#include "effect/edit_access.h"

#include <atomic>

namespace Effect {

namespace {
std::atomic<EditAccess*> installedAccess{nullptr};
}  // namespace

void setEditAccess(EditAccess* access) { installedAccess.store(access); }

EditAccess* editAccess() { return installedAccess.load(); }

}  // namespace Effect
