#pragma once
// Where a lower layer needs a higher one, it declares one small interface and the program
// installs the implementation here, in app/, for as long as the implementation lives:
//   System::UiBridge      the core's way to the windows (message boxes, wait handles,
//                         clipboard, the preview player)     Window::QtUiBridge
//   Effect::EditAccess    the effect framework's way to the edit commands
//                                                            Edit::EffectEditAccess
//   Effect::DrawingResources  fonts and figures for the effects' choices
//                                                            Resource::EffectDrawingResources
//   Effect::OutputVideoDrawer the output effects' draws into the frame
//                                                            Render::OutputDrawer
//   Effect::AnchorRenderAccess  views and matrices for the preview's handles
//                                                            Render::RenderAnchorAccess
//   Edit::RenderSwitches  the preview's view switches        Render::RenderVideoWorker
//   Resource::TransitionFilters  the wipes' clipping and blur
//                                                            Effect::BuiltinTransitionFilters
// Interfaces whose implementations come with later parts keep their headless defaults until
// then; the README's "Layers and seams" table lists every one of them.

namespace App {

// Installs `implementation` through `install` and removes it (install(nullptr)) at the end
// of the scope.
template <class Interface>
class ScopedInstall {
 public:
  using Installer = void (*)(Interface*);
  ScopedInstall(Installer install, Interface* implementation) : install_(install) {
    install_(implementation);
  }
  ScopedInstall(const ScopedInstall&) = delete;
  ScopedInstall& operator=(const ScopedInstall&) = delete;
  ~ScopedInstall() { install_(nullptr); }

 private:
  Installer install_;
};

}  // namespace App
