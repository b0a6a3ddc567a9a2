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

std::optional<std::string> EditAccess::sceneName(int32_t) const { return std::nullopt; }

std::optional<int32_t> EditAccess::findSceneByName(std::string_view) const {
  return std::nullopt;
}

std::optional<EditAccess::SceneSpan> EditAccess::sceneSpan(int32_t) const { return std::nullopt; }

void setEditAccess(EditAccess* access) { installedAccess.store(access); }

EditAccess* editAccess() { return installedAccess.load(); }

std::string convertLegacyTrack(std::string_view legacyText) {
  EditAccess* access = installedAccess.load();
  if (!access) throw System::makeNotImplementedException(kConvertPlace);
  return access->convertLegacyTrack(legacyText);
}

std::optional<std::string> sceneNameOf(int32_t sceneId) {
  const EditAccess* access = installedAccess.load();
  return access ? access->sceneName(sceneId) : std::nullopt;
}

std::optional<int32_t> findSceneByName(std::string_view name) {
  const EditAccess* access = installedAccess.load();
  return access ? access->findSceneByName(name) : std::nullopt;
}

std::optional<EditAccess::SceneSpan> sceneSpanOf(int32_t sceneId) {
  const EditAccess* access = installedAccess.load();
  return access ? access->sceneSpan(sceneId) : std::nullopt;
}

}  // namespace Effect
