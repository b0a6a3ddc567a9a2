#include "app/application.h"

#include <QApplication>

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/quit_signals.h"
#include "app/scoped_install.h"
#include "builtin/builtin_catalogue.h"
#include "builtin/filter/builtin_transition_filters.h"
#include "builtin/input/input_file_filters.h"
#include "edit/edit_service.h"
#include "edit/effect_edit_access.h"
#include "edit/media_input_edit_host.h"
#include "edit/edit_ui.h"
#include "edit/render_switches.h"
#include "edit/selection_input.h"
#include "edit/undo_service.h"
#include "effect/edit_access.h"
#include "effect/effect_service.h"
#include "gpu/direct3d_service.h"
#include "gpu/draw2d/direct2d_service.h"
#include "gpu/resource/effect_drawing_resources.h"
#include "gpu/resource/resource_service.h"
#include "main_window/explorer/explorer_component.h"
#include "main_window/lists/object_list_component.h"
#include "main_window/lists/scene_list_component.h"
#include "main_window/preview/preview_edit_component.h"
#include "main_window/log/log_component.h"
#include "main_window/status/status_component.h"
#include "main_window/timeline/edit_component.h"
#include "media/image/image_service.h"
#include "media/input/input_service.h"
#include "media/input/input_service_seams.h"
#include "menu/main_menu.h"
#include "output/export_ui.h"
#include "output/output_service.h"
#include "render/cache_mask_images.h"
#include "render/cache_service.h"
#include "render/output_drawer.h"
#include "render/published_group_gains.h"
#include "render/render_anchor_access.h"
#include "render/render_service.h"
#include "render/xaudio2_service.h"
#include "script/script_effect_host.h"
#include "script/script_service.h"
#include "system/dialog.h"
#include "system/event_service.h"
#include "system/log.h"
#include "system/logger.h"
#include "system/process.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/translate_service.h"
#include "ui/keyboard_shortcut.h"
#include "ui/mouse_selection_input.h"
#include "ui/qt_export_ui.h"
#include "ui/qt_edit_ui.h"
#include "ui/qt_ui_bridge.h"
#include "ui/window_footer.h"
#include "ui/window_mouse.h"
#include "ui/window_service.h"

namespace App {
namespace {

// How many media explorers style.conf's [Layout] ExplorerWindowNum asks for: 1 when the
// key is missing or unreadable, and never more than a window can hold.
int32_t explorerWindowCount() {
  constexpr int32_t kMostExplorers = 16;
  try {
    const int32_t wanted =
        Setting::SettingService::instance()->layout.findValue("ExplorerWindowNum").toInt(1);
    return std::clamp(wanted, 0, kMostExplorers);
  } catch (const std::exception& failure) {
    System::Log::warn("App::acquireServices", "ExplorerWindowNum not read.\n%s",
                      failure.what());
    return 1;
  }
}

// Acquires the services in their fixed creation order. A throw leaves the ones acquired so
// far in the stack, which the caller releases in reverse order.
void acquireServices(System::ServiceStack& services) {
  services.acquire<Setting::SettingService>();
  System::Process::SetThreadPriority("MainThreadPriority");
  services.acquire<System::Logger>();
  services.acquire<Translate::TranslateService>();
  // Still images are read and written through the image service.
  services.acquire<Media::ImageService>();
  // The graphics services: 2-D drawing and fonts, then the device. A machine without the
  // device's requirements ends the start here with the device's message.
  services.acquire<Media::Direct2DService>();
  services.acquire<Media::Direct3DService>();
  // The preview's sound output: it opens the sound system only when playback first starts.
  services.acquire<Media::XAudio2Service>();
  services.acquire<Resource::ResourceService>();
  services.acquire<Event::EventService>();
  // The shortcuts exist before the window's menus register theirs.
  services.acquire<Window::Shortcut>();
  // The input dispatcher comes before the window whose input it routes.
  services.acquire<Window::WindowMouseService>();
  services.acquire<Window::WindowService>();
  Window::WindowService::instance()->footer().setStatusText("Initializing...");
  // The media readers, then the picture and sound caches that read through them.
  services.acquire<Plugin::InputService>();
  // The export writers, built in and from the plug-in folder.
  services.acquire<Plugin::OutputService>();
  // The script engines; an engine that cannot be built is reported and left out.
  services.acquire<Plugin::ScriptService>();
  Plugin::registerScriptPlugins(*Plugin::ScriptService::instance());
  services.acquire<Cache::CacheService>();
  services.acquire<Effect::EffectService>();
  services.acquire<Undo::UndoService>();
  services.acquire<Edit::EditService>();
  services.acquire<Render::RenderService>();
  // The main window's components: the timeline first, then the status bar, which fills the
  // footer and the caption.
  auto timeline = std::make_shared<Component::EditComponent>();
  services.onRelease([timeline]() mutable { timeline.reset(); });
  auto status = std::make_shared<Component::StatusComponent>();
  services.onRelease([status]() mutable { status.reset(); });
  // The tool windows, each docked where its placement puts it; the log window is hidden
  // unless the saved placement shows it.
  services.acquire<Component::PreviewEditComponent>();
  services.acquire<Component::SceneListComponent>();
  services.acquire<Component::ObjectListComponent>();
  // The media explorers, as many as style.conf's layout asks for.
  const int32_t explorers = explorerWindowCount();
  for (int32_t index = 0; index < explorers; ++index) {
    auto explorer = std::make_shared<Component::ExplorerComponent>(index);
    services.onRelease([explorer]() mutable { explorer.reset(); });
  }
  auto log = std::make_shared<Component::LogComponent>();
  services.onRelease([log]() mutable { log.reset(); });
  // The menu bar's contents last: their commands reach every service above.
  services.acquire<Menu::MainMenu>();
  // The window was shown before its tool windows existed: they are placed and drawn now.
  Window::WindowService::instance()->updateLayout();
}

// Shows a failure of the start or the shut-down once everything is released. A box that
// cannot be shown is logged: the program ends normally all the same.
int endWithException(System::ServiceStack& services, const std::exception& exception) {
  services.releaseAll();
  try {
    Dialog::showException(exception);
  } catch (const std::exception& failure) {
    System::Log::error("App::run", "exception not shown.\n%s", failure.what());
  }
  return 0;
}

}  // namespace

int run(int argc, char** argv) {
  QApplication application(argc, argv);
  Window::QtUiBridge bridge;
  const ScopedInstall<System::UiBridge> bridgeInstall(System::setUiBridge, &bridge);
  // The edit model's confirmations (discarding unsaved work) ask with a message box.
  Window::QtEditUi editUi;
  const ScopedInstall<Edit::EditUi> editUiInstall(Edit::setEditUi, &editUi);
  // Clicks that select objects hold the input capture while Ctrl is down; the window's input
  // dispatcher keeps it (it asks the dispatcher once that exists).
  Window::MouseSelectionInput selectionInput;
  const ScopedInstall<Edit::SelectionInput> selectionInputInstall(Edit::setSelectionInput,
                                                                   &selectionInput);
  Window::QtExportUi exportUi;
  const ScopedInstall<Plugin::ExportUi> exportUiInstall(Plugin::setExportUi, &exportUi);
  QuitSignals quitSignals;

  System::ServiceStack services;
  // The effect and alias menu entries run the edit commands while the edit service lives.
  Edit::EffectEditAccess editAccess;
  std::optional<ScopedInstall<Effect::EditAccess>> editAccessInstall;
  // The preview's view switches of the edit commands are the render engine's settings.
  std::optional<ScopedInstall<Edit::RenderSwitches>> renderSwitchesInstall;
  // Font and figure choices of the effects come from the font table and the figure list;
  // installed before the effects are made, it answers from the services once they exist.
  Resource::EffectDrawingResources drawingResources;
  const ScopedInstall<const Effect::DrawingResources> drawingResourcesInstall(
      Effect::setDrawingResources, &drawingResources);
  // The output effects draw and the anchors measure through the render engine.
  Render::OutputDrawer outputDrawer;
  const ScopedInstall<Effect::OutputVideoDrawer> outputDrawerInstall(Effect::setOutputVideoDrawer,
                                                                     &outputDrawer);
  // The mask selection's images come from the picture cache and the render's buffers.
  Render::CacheMaskImages maskImages;
  const ScopedInstall<Effect::MaskImageSource> maskImagesInstall(Effect::setMaskImageSource,
                                                                 &maskImages);
  Render::RenderAnchorAccess anchorAccess;
  const ScopedInstall<const Effect::AnchorRenderAccess> anchorAccessInstall(
      Effect::setAnchorRenderAccess, &anchorAccess);
  // The audio outputs take the gains of the group audio control that governs them.
  Render::PublishedGroupGains groupGains;
  const ScopedInstall<const Effect::GroupAudioGainSource> groupGainsInstall(
      Effect::setGroupAudioGainSource, &groupGains);
  // The media inputs and the dropped-file checks ask the input service once it exists.
  std::optional<Plugin::InputServiceSource> mediaSource;
  std::optional<Plugin::InputServiceProbe> mediaProbe;
  std::optional<ScopedInstall<const Effect::MediaInputSource>> mediaSourceInstall;
  std::optional<ScopedInstall<const Effect::MediaFileProbe>> mediaProbeInstall;
  // The media inputs' edits (object lengths, undo records) go through the edit model.
  std::optional<Edit::MediaInputEditHost> mediaHost;
  std::optional<ScopedInstall<Effect::MediaInputHost>> mediaHostInstall;
  // The wipes clip and blur through the built-in filters once the registry holds them.
  Effect::BuiltinTransitionFilters transitionFilters;
  std::optional<ScopedInstall<Resource::TransitionFilters>> transitionFiltersInstall;
  // The script effects' headers are read into items as the registry registers the scripts;
  // the host finds the script engines once their service exists.
  Plugin::ScriptEffectHost scriptHost;
  const ScopedInstall<Effect::ScriptHost> scriptHostInstall(Effect::setScriptHost, &scriptHost);
  // The registry registers the built-in effects and movements when it starts.
  Effect::EffectService::setCatalogue(Effect::builtinCatalogue());
  try {
    acquireServices(services);
    Plugin::InputService& inputs = *Plugin::InputService::instance();
    mediaSourceInstall.emplace(Effect::setMediaInputSource, &mediaSource.emplace(inputs));
    mediaProbeInstall.emplace(Effect::setMediaFileProbe, &mediaProbe.emplace(inputs));
    Effect::setInputFileFilters(inputs.videoFilter(), inputs.audioFilter(), inputs.imageFilter());
    mediaHostInstall.emplace(Effect::setMediaInputHost,
                             &mediaHost.emplace(*Edit::EditService::instance()));
    editAccessInstall.emplace(Effect::setEditAccess, &editAccess);
    transitionFiltersInstall.emplace(Resource::setTransitionFilters, &transitionFilters);
    renderSwitchesInstall.emplace(Edit::setRenderSwitches, &Render::RenderService::Get().video());
    // Closing the window asks whether the edit data may be discarded; a refusal keeps it.
    Window::WindowService::instance()->setCloseQuery(
        [] {
          Edit::EditService* edit = Edit::EditService::instance();
          return !edit || edit->confirmDiscard();
        });
    // The edit service's start listener opens the project the command line names.
    Edit::EditService::instance()->setCommandLine(std::vector<std::string>(argv, argv + argc));
    Event::EventService::instance()->startEvent().fire();
    Window::WindowService::instance()->footer().setStatusText("");
  } catch (const std::exception& exception) {
    return endWithException(services, exception);
  }

  // A quit signal that came while the window did not exist yet (a box of the start was open)
  // only ended that box: the program ends now, in order, instead of running on.
  if (QuitSignals::received() != 0) Window::WindowService::instance()->requestQuit();
  System::Log::info("App::run", "started");
  try {
    Window::WindowService::instance()->processMessage();
  } catch (const std::exception& exception) {
    // The message, a backup of the project, and no resume file from an unsound state. It
    // never throws: the shut-down below always runs.
    Edit::EditService::instance()->applicationException(exception);
  } catch (...) {
    Edit::EditService::instance()->applicationException(
        std::runtime_error("unknown exception."));
  }
  System::Log::info("App::run", "shutting down");

  try {
    Event::EventService::instance()->exitEvent().fire();
    // The caches wake whoever waits for them (later requests return at once), then the render
    // threads stop, before anything they use is released. A running export is aborted
    // first: its writer ends its file between two frames.
    if (Plugin::OutputService* outputs = Plugin::OutputService::instance()) outputs->stop();
    if (Cache::CacheService* caches = Cache::CacheService::instance()) caches->stop();
    if (Render::RenderService* render = Render::RenderService::instance()) render->stop();
    mediaHostInstall.reset();
    mediaSourceInstall.reset();
    mediaProbeInstall.reset();
    editAccessInstall.reset();
    transitionFiltersInstall.reset();
    renderSwitchesInstall.reset();
    services.releaseAll();
  } catch (const std::exception& exception) {
    return endWithException(services, exception);
  }
  return 0;
}

}  // namespace App
