#include "edit/scene_info.h"

#include "edit/edit_ui.h"
#include "edit/frame_rate.h"
#include "edit/scene.h"
#include "system/text.h"

namespace Edit {

std::string sceneInfoText(const Scene& scene) {
  // A scene read from a file always has a positive rate; a broken one shows no time rather
  // than dividing by zero.
  const double seconds = scene.rate > 0 ? static_cast<double>(scene.scale) *
                                              static_cast<double>(scene.lastFrame()) /
                                              static_cast<double>(scene.rate)
                                        : 0.0;
  // Built by concatenation: a scene name may hold '%', and the numbers read the same in
  // every locale.
  return scene.name + "\nTotalTime: " + System::formatTimeSeconds(seconds) + "\nVideo: " +
         std::to_string(scene.width) + " x " + std::to_string(scene.height) + " / " +
         System::formatNumber(frameRateToValue(scene.rate, scene.scale)) + "fps\nAudio: " +
         System::formatNumber(scene.audioRate / 1000.0) + "khz\n";
}

void Scene::showInfoTooltip() const { editUi().showToolTip(sceneInfoText(*this)); }

}  // namespace Edit
