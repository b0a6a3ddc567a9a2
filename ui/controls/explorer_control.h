#pragma once
// A folder browser inside a docked window: the control keeps the browser's widget on its
// visible rectangle, follows its navigation, remembers the current folder and carries the
// list view's settings (mode, icon size, sort order, columns and their widths) from folder
// to folder and from run to run in the owner's velumo2.ini section.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "system/config.h"
#include "ui/controls/explorer_browser.h"
#include "ui/window_control.h"

namespace Control {

class ExplorerControl : public Window::WindowControl {
 public:
  static constexpr const char* kInitializePlace = "Control::ExplorerControl::initialize";
  static constexpr const char* kMovePlace = "Control::ExplorerControl::procMove";
  static constexpr const char* kSavePlace = "Control::ExplorerControl::saveSetting";
  static constexpr const char* kDestroyPlace = "Control::ExplorerControl::~ExplorerControl";

  // The view's settings as velumo2.ini keeps them.
  struct ConfigSection {
    std::string folderPath;
    int32_t folderViewMode = 4;
    int32_t folderIconSize = 48;
    std::string sortColumn;
    int32_t sortDirection = 1;
    int32_t columnNum = 0;
    std::string columnList;
    std::string columnWidth;

    static std::span<const System::Config::Entry<ConfigSection>> entries();
  };

  // Hears the browser's navigation for its control. Shared with the browser while advised.
  class Listener final : public ExplorerBrowserEvents {
   public:
    explicit Listener(ExplorerControl* control) : control(control) {}
    void onNavigationPending(const std::string& folder) override;
    void onNavigationComplete(const std::string& folder) override;
    void onNavigationFailed(const std::string&) override {}

    ExplorerControl* control;
  };

  using NavigationCallback = std::function<void(ExplorerControl&)>;

  // Loads the settings of `sectionName` (the owning window's section). The browser is made
  // when the control is first placed visibly.
  ExplorerControl(Window::WindowControlContainer& container, int32_t x, int32_t y, int32_t w,
                  int32_t h, const std::string& sectionName);
  // Saves the view's settings and writes the section back.
  ~ExplorerControl() override;

  // Not drawn: the browser's widget covers the control.
  void procPaint() override {}
  // Keeps the browser on the visible rectangle; an invisible control hides it.
  void procMove() override;

  // Makes the browser (once) and browses to the saved folder.
  void initialize();
  // Browses to the folder; an empty path or one that cannot be shown shows the desktop
  // folder instead. False when not even that could be shown (or there is no browser yet).
  bool browseToFolder(const std::string& path);
  // Applies the settings to the view; a setting the view refuses ends the loading there.
  void loadSetting();
  // Reads the view's settings back.
  void saveSetting();

  // The desktop folder the browser falls back to (the home folder when there is none).
  static std::string desktopFolder();

  bool initialized = false;
  std::unique_ptr<ExplorerBrowser> browser;
  NavigationCallback navigationCallback;
  std::shared_ptr<Listener> listener;
  uint32_t adviseCookie = 0;
  ConfigSection config;

 private:
  System::Config::Section section_;
  System::Config::Table table_;
  System::Config::Binding binding_;  // last: saves the section when the control goes
};

}  // namespace Control
