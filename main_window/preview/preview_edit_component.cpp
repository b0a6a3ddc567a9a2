#include "main_window/preview/preview_edit_component.h"

#include "edit/edit_command_view.h"
#include "edit/scene.h"
#include "render/movie_player.h"
#include "render/render_service.h"
#include "render/render_video_worker.h"
#include "system/setting_service.h"
#include "ui/menu_base.h"
#include "ui/menu_popup.h"
#include "ui/window_service.h"

namespace Component {

namespace {

Window::WindowClient::Placement defaultPlacement() {
  return Window::WindowClient::Placement{0.2f, 0.0f, 0.8f, 0.7f, Window::WindowClient::kTop,
                                         true};
}

int32_t readPlayerControlHeight() {
  const Setting::SettingService* settings = Setting::SettingService::instance();
  if (!settings) return 0;
  return settings->layout.findValue("PlayerControlHeight").toInt(0);
}

Render::RenderVideoWorker* videoWorker() {
  Render::RenderService* render = Render::RenderService::instance();
  return render ? &render->video() : nullptr;
}

Render::MoviePlayer* player() {
  Render::RenderService* render = Render::RenderService::instance();
  return render ? &render->player() : nullptr;
}

}  // namespace

PreviewEditComponent::PreviewEditComponent()
    : WindowClientRenderTarget(kTitle, kSection, defaultPlacement()),
      playerControlHeight(readPlayerControlHeight()),
      container(Window::WindowControlContainer::filling(rect, kContainerPriority)),
      preview(container, 0, 0, 0, -playerControlHeight, displayZoom),
      playerBar(container, 0, -playerControlHeight, 0, playerControlHeight, preview) {
  acceptsContextMenu = true;
  acceptsWheel = true;
  binding = std::make_unique<System::Config::Binding>(config, Setting::ParameterIni::instance());
  binding->load();
  if (Render::RenderVideoWorker* video = videoWorker()) video->setAnchorList(&collecting);
  if (!eventService) return;
  std::weak_ptr<int> alive = alive_;
  eventService->cursorFrameChanged().add([alive, this](int frame) {
    if (!alive.expired()) requestFrame(frame);
  });
  eventService->focusObjectChanged().add([alive, this](const Event::ObjectReference&) {
    if (!alive.expired()) requestCursorFrame();
  });
  eventService->settingFrameChanged().add([alive, this](int section) {
    if (alive.expired()) return;
    preview.section.currentSection = section;
    requestCursorFrame();
  });
  eventService->sceneChanged().add([alive, this](int) {
    if (!alive.expired()) requestCursorFrame();
  });
  eventService->editDataChanged().add([alive, this](const Event::ObjectReference&) {
    if (!alive.expired()) requestCursorFrame();
  });
  eventService->selectionChanged().add([alive, this] {
    if (!alive.expired()) Control::repaint(preview.video);
  });
  eventService->frameNotice().add([alive, this](int kind, int frame) {
    if (!alive.expired()) deliverFrame(kind, frame);
  });
}

PreviewEditComponent::~PreviewEditComponent() {
  alive_.reset();
  if (Render::RenderVideoWorker* video = videoWorker()) {
    // A render still running fills the list and calls back into this window.
    video->setAnchorList(nullptr);
    video->requestThread().cancelTask(kRequestKey);
    video->requestThread().waitAllTasks();
  }
}

void PreviewEditComponent::requestCursorFrame() {
  if (!editService || !editService->currentScene()) return;
  requestFrame(editService->currentScene()->cursorFrame);
}

void PreviewEditComponent::requestFrame(int32_t frame) {
  if (isHidden() || !editService) return;
  const std::shared_ptr<Edit::Scene>& scene = editService->currentScene();
  if (!scene || scene->playing) return;
  Render::RenderVideoWorker* video = videoWorker();
  if (!video) return;
  video->requestRenderingFrame(
      kRequestKey, frame,
      [this](int rendered, Media::RenderBuffer& buffer, Anchor::AnchorList* anchors) {
        onFrameRendered(rendered, buffer, anchors);
      });
}

void PreviewEditComponent::onFrameRendered(int frame, Media::RenderBuffer& buffer,
                                           Anchor::AnchorList* anchors) {
  frameImage.setImage(buffer);
  {
    std::lock_guard lock(pendingMutex);
    pending.clear();
    // Only this window installs a list, so a list handed back is the collecting one.
    if (anchors == &collecting) std::swap(pending, collecting);
    pendingArrived = true;
  }
  Event::EventService::postCommand(Event::EventCommandType::RenderedFrame, frame);
}

void PreviewEditComponent::deliverFrame(int kind, int) {
  if (isHidden()) return;
  if (kind == kPreviewFrame) {
    frameImage.read([this](const Media::ImageBuffer& image) { preview.setPicture(image); });
    {
      std::lock_guard lock(pendingMutex);
      if (pendingArrived) {
        Anchor::PreviewAnchorList arrived;
        std::swap(arrived, pending);
        pendingArrived = false;
        preview.video.anchors.setAnchors(std::move(arrived));
      }
    }
  } else if (kind == kPlayerFrame) {
    const Edit::Scene* scene = editService ? editService->currentScene().get() : nullptr;
    Render::MoviePlayer* moviePlayer = player();
    if (!scene || !scene->playing || !moviePlayer) return;
    const Render::MoviePlayer::FrameEntry* shown = moviePlayer->presentedFrame();
    if (!shown || !shown->image) return;
    shown->image->read([this](const Media::ImageBuffer& image) { preview.setPicture(image); });
    preview.video.anchors.setAnchors({});
  } else {
    return;
  }
  preview.video.layoutAnchors();
  Control::repaint(preview.video);
}

void PreviewEditComponent::procMouseWheel(int32_t, int32_t, int32_t delta) {
  if (!editService || !editService->currentScene()) return;
  Edit::Scene& scene = *editService->currentScene();
  scene.cursorFrame = wheelFrame(scene.cursorFrame, delta, scene.lastFrame());
  if (eventService) eventService->cursorFrameChanged().fire(scene.cursorFrame);
}

void PreviewEditComponent::procContextMenu(int32_t, int32_t) {
  Window::PopupMenu menu;
  buildContextMenu(menu);
  menu.show();
}

void PreviewEditComponent::buildContextMenu(Window::BaseMenu& menu) {
  Render::RenderVideoWorker* video = videoWorker();
  const auto switchItem = [&menu](const char* text, auto state, auto set) {
    menu.insertItem(text, [state, set] { set(!state()); }).setCheck(state);
  };
  switchItem("グリッド(カメラ制御)の表示",
             [video] { return video && video->settings().cameraGrid != 0; },
             [](bool on) { Edit::EditCommand::setCameraGrid(on); });
  switchItem("編集視点(カメラ制御)表示",
             [video] { return video && video->settings().cameraFreeView != 0; },
             [](bool on) { Edit::EditCommand::setCameraFreeView(on); });
  switchItem("クリッピングオブジェクトの視覚化",
             [video] { return video && video->settings().visibleClippingObject != 0; },
             [](bool on) { Edit::EditCommand::setVisibleClippingObjectView(on); });
  menu.insertSeparator();
  {
    Window::BaseMenu zoomMenu(menu, "拡大表示");
    preview.fillZoomMenu(zoomMenu);
  }
  menu.insertSeparator();
  {
    Window::BaseMenu options(menu, "オプション");
    struct Option {
      const char* text;
      int32_t Edit::EditSettings::*field;
      bool rerender;
    };
    static constexpr Option kOptions[] = {
        {"シングルクリックでオブジェクトをフォーカス(プレビュー)",
         &Edit::EditSettings::singleClickFocusAnchorObject, false},
        {"クリック時にオブジェクトのグループを選択(プレビュー)",
         &Edit::EditSettings::clickAnchorObjectSelectGroup, false},
        {"オブジェクトのスナップ(プレビュー)", &Edit::EditSettings::anchorObjectMoveSnap, false},
        {"マウスホバー時に対象以外のアンカーを非表示",
         &Edit::EditSettings::mouseHoverHideOtherAnchor, false},
        {"オブジェクトの移動軌跡に点を表示", &Edit::EditSettings::displayObjectMovePoint, true},
        {"区間のアンカー表示をオブジェクトの中心位置にする",
         &Edit::EditSettings::displayObjectCenterAnchor, true},
    };
    for (const Option& option : kOptions) {
      options
          .insertItem(option.text,
                      [this, option] {
                        if (!editService) return;
                        int32_t& value = editService->settings.*option.field;
                        value = value != 0 ? 0 : 1;
                        if (option.rerender) requestCursorFrame();
                      })
          .setCheck([this, option] {
            return editService && editService->settings.*option.field != 0;
          });
    }
  }
  menu.insertSeparator();
  createPopupMenu(menu);
}

void PreviewEditComponent::procPaint() {
  if (isHidden() || !drawing.renderTarget || rect.width <= 0 || rect.height <= 0) return;
  Media::RenderTarget::DrawScope scope(*drawing.renderTarget, rect.x, rect.y,
                                       rect.x + rect.width, rect.y + rect.height, true);
  preview.procPaint();
  playerBar.procPaint();
}

void PreviewEditComponent::procMove() { container.updateLayout(); }

}  // namespace Component
