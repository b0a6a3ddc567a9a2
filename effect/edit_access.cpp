#include "effect/edit_access.h"

#include <atomic>

#include "system/exception.h"

namespace Effect {

namespace {
std::atomic<EditAccess*> installedAccess{nullptr};
// Legacy object files are read by the edit model's converter.
constexpr const char* kConvertPlace = "Edit::ProjectConvert::convertTrackParameter";
}  // namespace

std::string EditAccess::convertLegacyTrack(std::string_view) {
  throw System::makeNotImplementedException(kConvertPlace);
}

void setEditAccess(EditAccess* access) { installedAccess.store(access); }

EditAccess* editAccess() { return installedAccess.load(); }

std::string convertLegacyTrack(std::string_view legacyText) {
  EditAccess* access = installedAccess.load();
  if (!access) throw System::makeNotImplementedException(kConvertPlace);
  return access->convertLegacyTrack(legacyText);
}

}  // namespace Effect
