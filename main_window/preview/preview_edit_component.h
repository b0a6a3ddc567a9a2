#pragma once
// The preview window: the current scene's frame at the cursor with its objects' handles,
// and the player bar along its bottom. It asks the render service for a new frame whenever
// the cursor, the focus, the setting window's section, the scene or the edit data change,
// and shows what the render worker hands back. One per process, made at start-up after the
// object setting window.
//
// Threads: the render callback runs on the render worker. It fills the frame image under
// the image's mutex and swaps the frame's handles into the pending list under the pending
// mutex, then posts a notice; everything else runs on the UI thread.
#include <cstdint>
#include <memory>
#include <mutex>

#include "edit/edit_service.h"
#include "gpu/readback_image.h"
#include "main_window/preview/anchor_item_list.h"
#include "main_window/preview/player_navigate_control.h"
#include "main_window/preview/preview_control.h"
#include "system/config.h"
#include "system/event_service.h"
#include "system/service_holder.h"
#include "ui/window_client.h"
#include "ui/window_control.h"

namespace Media {
class RenderBuffer;
}

namespace Component {

class PreviewEditComponent : public Window::WindowClientRenderTarget,
                             public Edit::EditInstance,
                             public Event::EventInstance,
                             public System::Service<PreviewEditComponent> {
 public:
  static constexpr const char* kTitle = "プレビュー編集";
  static constexpr const char* kSection = "Window.preview";
  static constexpr int32_t kContainerPriority = 200;
  // The request key of the preview's frames in the render service.
  static constexpr int kRequestKey = 1;
  // Notice kinds of list 6.
  static constexpr int kPreviewFrame = 1;
  static constexpr int kPlayerFrame = 2;

  PreviewEditComponent();
  // Stops collecting handles and waits for a preview render still running.
  ~PreviewEditComponent() override;

  // Asks for the frame, unless the scene plays or the window is hidden; an older request
  // still waiting is dropped by the render service.
  void requestFrame(int32_t frame);
  void requestCursorFrame();
  // The render worker's callback: the frame image and the pending handles, then a notice.
  void onFrameRendered(int frame, Media::RenderBuffer& buffer, Anchor::AnchorList* anchors);
  // List 6 on the UI thread: a preview frame (1) or a player frame (2) to show.
  void deliverFrame(int kind, int frame);

  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  void procContextMenu(int32_t x, int32_t y) override;
  void procPaint() override;
  void procMove() override;
  // The preview's own items (camera-view switches, zoom, options), then the window menu.
  void buildContextMenu(Window::BaseMenu& menu);

  int32_t displayZoom = 0;
  System::Config::Section config{kSection};
  System::Config::Int displayZoomParameter{config, "DisplayZoom", &displayZoom, 0};
  std::unique_ptr<System::Config::Binding> binding;

  Media::ReadbackImage frameImage;
  // The frame's handles as the effects fill them on the worker.
  Anchor::PreviewAnchorList collecting;
  std::mutex pendingMutex;
  Anchor::PreviewAnchorList pending;
  bool pendingArrived = false;

  int32_t playerControlHeight = 0;
  Window::WindowControlContainer container;
  PreviewControl preview;
  PlayerNavigateControl playerBar;

 private:
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace Component
