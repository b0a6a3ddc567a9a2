#include "main_window/status/status_component.h"

#include "edit/edit_service.h"
#include "edit/scene.h"
#include "main_window/status/status_text.h"
#include "system/event_service.h"
#include "system/file.h"
#include "system/log.h"
#include "system/setting_service.h"
#include "system/text.h"
#include "ui/window_footer.h"
#include "ui/window_service.h"

namespace Component {
namespace {

std::string readTemplate(const char* key) {
  const Setting::SettingService* settings = Setting::SettingService::instance();
  return settings ? settings->format.findValue(key).toString("") : std::string();
}

std::string expandedProjectPath(const Edit::EditService& edit) {
  return System::FileName::expandVariable(edit.project.path);
}

}  // namespace

StatusComponent::StatusComponent()
    : edit_(Edit::EditService::instance()),
      events_(Event::EventService::instance()),
      window_(Window::WindowService::instance()),
      leftTemplate_(readTemplate("FooterLeft")),
      rightTemplate_(readTemplate("FooterRight")) {
  if (!events_) return;
  events_->list<5>().add([this](int) {
    updateSceneVariables();
    updateTimeVariables();
    updateFooter();
    updateWindowTitle();
  });
  events_->list<0>().add([this](int frame) { refreshTime(frame); });
  events_->list<7>().add([this](const Event::ObjectReference&) {
    if (edit_ && edit_->currentScene()) refreshTime(edit_->currentScene()->cursorFrame);
  });
}

std::string StatusComponent::expandStatusVariable(const std::string& name) const {
  if (name == "CurrentTime") return currentTime_;
  if (name == "TotalTime") return totalTime_;
  if (name == "CurrentFrame") return currentFrame_;
  if (name == "TotalFrame") return totalFrame_;
  if (name == "ProjectName") return projectName_;
  if (name == "SceneName") return sceneName_;
  if (name == "Resolution") return resolution_;
  if (name == "FrameRate") return frameRate_;
  if (name == "SamplingRate") return samplingRate_;
  System::Log::warn("Component::StatusComponent::expandStatusVariable",
                    "invalid footer text variable. {%s}", name.c_str());
  return {};
}

void StatusComponent::updateSceneVariables() {
  if (!edit_) return;
  projectName_ = StatusText::projectNameOf(expandedProjectPath(*edit_));
  const Edit::Scene* scene = edit_->currentScene().get();
  if (!scene) return;
  sceneName_ = scene->name;
  resolution_ = StatusText::resolutionText(scene->width, scene->height);
  frameRate_ = StatusText::frameRateText(scene->rate, scene->scale);
  samplingRate_ = StatusText::samplingRateText(scene->audioRate);
}

void StatusComponent::updateTimeVariables() {
  if (!edit_ || !edit_->currentScene()) return;
  const Edit::Scene& scene = *edit_->currentScene();
  currentTime_ = StatusText::frameTimeText(scene.cursorFrame, scene.rate, scene.scale);
  totalTime_ = StatusText::frameTimeText(scene.lastFrame(), scene.rate, scene.scale);
  currentFrame_ = StatusText::frameNumberText(scene.cursorFrame);
  totalFrame_ = StatusText::frameNumberText(scene.lastFrame());
}

void StatusComponent::updateFooter() {
  const auto lookup = [this](const std::string& name) { return expandStatusVariable(name); };
  leftText_ = System::expandPlaceholders(leftTemplate_, lookup);
  rightText_ = System::expandPlaceholders(rightTemplate_, lookup);
  if (window_) window_->footer().setFooterText(leftText_, rightText_);
}

void StatusComponent::updateWindowTitle() {
  if (!edit_ || !window_) return;
  const std::string title = StatusText::windowTitleOf(expandedProjectPath(*edit_));
  if (title == window_->title()) return;
  window_->setTitle(title);
}

void StatusComponent::refreshTime(int32_t cursorFrame) {
  if (!edit_ || !edit_->currentScene()) return;
  const int32_t lastFrame = edit_->currentScene()->lastFrame();
  if (cursorFrame == cachedCursorFrame_ && lastFrame == cachedLastFrame_) return;
  cachedCursorFrame_ = cursorFrame;
  cachedLastFrame_ = lastFrame;
  updateTimeVariables();
  updateFooter();
}

}  // namespace Component
