#pragma once
// The edit model's side of what the effect framework asks of it: menu entries of effects
// and aliases run the edit commands, and a preset colour's new name is shown through an edit
// that refreshes the setting windows. The program installs it once the edit service exists
// (Effect::setEditAccess).
#include "effect/edit_access.h"

namespace Edit {

class EffectEditAccess : public Effect::EditAccess {
 public:
  void createObject(std::string_view effectName, int layer, int frame) override;
  void setEffect(const std::shared_ptr<Object>& object, std::string_view effectName,
                 Effect::EffectBase* afterEffect, bool replace) override;
  void loadObject(const std::string& path, int layer, int frame) override;
  void loadEffect(const std::shared_ptr<Object>& object, const std::string& path,
                  Effect::EffectBase* afterEffect, bool replace) override;
  void runPresetColorUpdate(const std::function<void()>& change) override;
  // The scenes of the edit service's project.
  std::optional<std::string> sceneName(int32_t sceneId) const override;
  std::optional<int32_t> findSceneByName(std::string_view name) const override;
  std::optional<SceneSpan> sceneSpan(int32_t sceneId) const override;
  // Through Edit::ProjectConvert::convertTrackParameter (edit/legacy_track_convert.h).
  std::string convertLegacyTrack(std::string_view legacyText) override;
};

}  // namespace Edit
