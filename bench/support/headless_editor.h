#pragma once
// The editor's services and seams without a window, in the program's creation order, for
// the benchmark programs: settings, the image service, the graphics device, the events,
// the media inputs and their caches, the effect registry, undo, the edit model and the
// render engine. Released in reverse order; the caches and render threads stop first.
#include <cstdio>
#include <optional>
#include <string>

#include "builtin/builtin_catalogue.h"
#include "edit/edit_service.h"
#include "edit/media_input_edit_host.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/anchor_render_access.h"
#include "effect/drawing_resources.h"
#include "effect/effect_service.h"
#include "effect/mask_image_source.h"
#include "effect/media_file_probe.h"
#include "effect/media_input_host.h"
#include "effect/media_input_source.h"
#include "effect/output_video_drawer.h"
#include "gpu/direct3d_service.h"
#include "gpu/draw2d/direct2d_service.h"
#include "gpu/resource/effect_drawing_resources.h"
#include "gpu/resource/resource_service.h"
#include "media/image/image_service.h"
#include "media/input/input_service.h"
#include "media/input/input_service_seams.h"
#include "render/cache_mask_images.h"
#include "render/cache_service.h"
#include "render/output_drawer.h"
#include "render/published_group_gains.h"
#include "render/render_anchor_access.h"
#include "render/render_service.h"
#include "system/event_service.h"
#include "system/service_holder.h"
#include "system/setting_service.h"

namespace Bench {

class HeadlessEditor {
 public:
  HeadlessEditor() {
    Effect::setDrawingResources(&drawingResources_);
    Effect::EffectService::setCatalogue(Effect::builtinCatalogue());
    Effect::setOutputVideoDrawer(&drawer_);
    Effect::setAnchorRenderAccess(&anchorAccess_);
    Effect::setGroupAudioGainSource(&groupGains_);
    Effect::setMaskImageSource(&maskImages_);
    inputs_.emplace();
    inputSource_.emplace(*Plugin::InputService::instance());
    inputProbe_.emplace(*Plugin::InputService::instance());
    Effect::setMediaInputSource(&*inputSource_);
    Effect::setMediaFileProbe(&*inputProbe_);
    caches_.emplace();
    registry_.emplace();
    undo_.emplace();
    edit_.emplace();
    mediaHost_.emplace(*Edit::EditService::instance());
    Effect::setMediaInputHost(&*mediaHost_);
    render_.emplace();
  }
  HeadlessEditor(const HeadlessEditor&) = delete;
  HeadlessEditor& operator=(const HeadlessEditor&) = delete;
  ~HeadlessEditor() {
    Cache::CacheService::instance()->stop();
    Render::RenderService::Get().stop();
    render_.reset();
    Effect::setMediaInputHost(nullptr);
    mediaHost_.reset();
    edit_.reset();
    undo_.reset();
    registry_.reset();
    caches_.reset();
    Effect::setMediaFileProbe(nullptr);
    Effect::setMediaInputSource(nullptr);
    inputProbe_.reset();
    inputSource_.reset();
    inputs_.reset();
    Effect::setMaskImageSource(nullptr);
    Effect::setGroupAudioGainSource(nullptr);
    Effect::setAnchorRenderAccess(nullptr);
    Effect::setOutputVideoDrawer(nullptr);
    Effect::setDrawingResources(nullptr);
  }

  // Loads the project and makes `scene` current; false (the reason printed) when either
  // cannot be had.
  bool loadProject(const std::string& path, std::optional<int> scene) {
    Edit::EditService& edit = *Edit::EditService::instance();
    if (!edit.loadProject(path, false, true)) {
      std::fprintf(stderr, "the project could not be loaded: %s\n", path.c_str());
      return false;
    }
    if (scene) {
      if (!edit.getScene(*scene)) {
        std::fprintf(stderr, "the project has no scene %d\n", *scene);
        return false;
      }
      edit.setCurrentScene(*scene);
    }
    return true;
  }

  Edit::Scene& scene() { return *Edit::EditService::instance()->currentScene(); }

 private:
  System::ServiceHolder<Setting::SettingService> settings_;
  System::ServiceHolder<Media::ImageService> images_;
  System::ServiceHolder<Media::Direct2DService> direct2D_;
  System::ServiceHolder<Media::Direct3DService> direct3D_;
  System::ServiceHolder<Resource::ResourceService> resources_;
  System::ServiceHolder<Event::EventService> events_;
  Resource::EffectDrawingResources drawingResources_;
  Render::OutputDrawer drawer_;
  Render::RenderAnchorAccess anchorAccess_;
  Render::PublishedGroupGains groupGains_;
  Render::CacheMaskImages maskImages_;
  std::optional<System::ServiceHolder<Plugin::InputService>> inputs_;
  std::optional<Plugin::InputServiceSource> inputSource_;
  std::optional<Plugin::InputServiceProbe> inputProbe_;
  std::optional<System::ServiceHolder<Cache::CacheService>> caches_;
  std::optional<System::ServiceHolder<Effect::EffectService>> registry_;
  std::optional<System::ServiceHolder<Undo::UndoService>> undo_;
  std::optional<System::ServiceHolder<Edit::EditService>> edit_;
  std::optional<Edit::MediaInputEditHost> mediaHost_;
  std::optional<System::ServiceHolder<Render::RenderService>> render_;
};

}  // namespace Bench
