#include "menu/display_menu.h"

#include <string>

#include "edit/edit_command_view.h"
#include "edit/render_switches.h"
#include "edit/edit_service.h"
#include "edit/scene.h"
#include "main_window/preview/preview_geometry.h"
#include "render/render_service.h"
#include "system/ini_file.h"
#include "system/setting_service.h"
#include "ui/docking_layout.h"
#include "ui/window_client.h"
#include "ui/window_service.h"

namespace Menu {
namespace {

constexpr std::string_view kExplorerSection = "Window.explorer";

// Docks a hidden window back into its area before it shows again, then lays every window
// out anew.
void showOrHide(Window::WindowClient* window) {
  auto* windows = Window::WindowService::instance();
  if (!windows) return;
  const bool hidden = window->isHidden();
  if (hidden) windows->docking().dockClient(*window);
  window->setVisible(hidden);
  windows->updateLayout();
}

void insertWindowItem(Window::BaseMenu& menu, Window::WindowClient* window) {
  menu.insertItem(window->title, [window] { showOrHide(window); })
      .setCheck([window] { return !window->isHidden(); })
      .setShortcut(0);
}

std::vector<int32_t> previewZoomSteps() {
  auto* settings = Setting::SettingService::instance();
  if (!settings) return {};
  return previewZoomList(settings->system.config);
}

bool cameraGrid() {
  auto* render = Render::RenderService::instance();
  return render && render->video().settings().cameraGrid != 0;
}

// Play or stop (back to where playback began) and play or pause (the cursor stays on the
// frame shown last).
void playOrStop(bool restoreCursor) {
  auto* render = Render::RenderService::instance();
  if (!render) return;
  Render::MoviePlayer& player = render->player();
  if (player.isPlaying()) player.stop(restoreCursor);
  else player.play();
}

void declareWindows(Window::BaseMenu& menu) {
  std::vector<Window::WindowClient*> explorers;
  if (auto* windows = Window::WindowService::instance()) {
    const std::vector<Window::WindowClient*> clients = windows->clients();
    for (Window::WindowClient* window : clients) {
      if (window->layout.sectionName().rfind(kExplorerSection, 0) == 0) explorers.push_back(window);
      else insertWindowItem(menu, window);
    }
  }
  Window::BaseMenu explorerMenu(menu, "メディアエクスプローラー");
  for (Window::WindowClient* window : explorers) insertWindowItem(explorerMenu, window);
}

void declarePreviewZoom(Window::BaseMenu& menu) {
  Window::BaseMenu zoom(menu, "プレビュー編集の拡大表示");
  for (int32_t step : previewZoomSteps()) {
    // The preview window holds the display zoom; until it is in the program the steps have
    // nothing to set.
    zoom.insertItem(Component::zoomText(step), [] {}).setShortcut(0);
  }
  zoom.insertSeparator();
  zoom.insertItem("ズームイン", [] {}).setShortcut(0x6B);
  zoom.insertItem("ズームアウト", [] {}).setShortcut(0x6D);
}

}  // namespace

std::vector<int32_t> previewZoomList(const System::IniFile::SectionRef& config) {
  const System::IniFile::VALUE& value = config.findValue("PreviewZoom");
  return Component::parseZoomList(value.text);
}

void DisplayMenu::initialize() {
  Window::BaseMenu& menu = targetMenu();
  declareWindows(menu);
  menu.insertSeparator();
  declarePreviewZoom(menu);
  {
    // The timeline window applies its zoom; it is not in the program yet.
    Window::BaseMenu zoom(menu, "レイヤー編集の拡大表示");
    zoom.insertItem("ズームイン", [] {}).setShortcut(0xDE);
    zoom.insertItem("ズームアウト", [] {}).setShortcut(0xDC);
  }
  menu.insertSeparator();
  // The BPM grid is the timeline window's flag; nothing to switch without it.
  menu.insertItem("グリッド(BPM)の表示", [] {}).setShortcut(0);
  menu.insertItem("グリッド(カメラ制御)の表示",
                  [] { Edit::EditCommand::setCameraGrid(!cameraGrid()); })
      .setCheck(cameraGrid)
      .setShortcut(0);
  menu.insertItem("編集視点(カメラ制御)表示", [] {
        Edit::EditCommand::setCameraFreeView(!Edit::renderSwitches().isCameraFreeView());
      })
      .setCheck([] { return Edit::renderSwitches().isCameraFreeView(); })
      .setShortcut(0);
  menu.insertItem("クリッピングオブジェクトの視覚化", [] {
        Edit::EditCommand::setVisibleClippingObjectView(
            !Edit::renderSwitches().isVisibleClippingObject());
      })
      .setCheck([] { return Edit::renderSwitches().isVisibleClippingObject(); })
      .setShortcut(0);
  menu.insertSeparator();
  Window::BaseMenu playback(menu, "プレビュー再生");
  playback.insertItem("プレビュー再生・停止", [] { playOrStop(true); }).setShortcut(0);
  playback.insertItem("プレビュー再生・一時停止", [] { playOrStop(false); }).setShortcut(0x20);
}

}  // namespace Menu
