#pragma once
// The menu bar of the manager window with its five top menus. The owners of the menus give
// one builder per top menu; the builders run at once and again after every language change,
// when the menus are emptied, their captions translated anew and their items rebuilt.
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/menu_base.h"

namespace Window {

namespace WindowMenu {

// A top menu as the bar shows it: its root, menu, caption and position in the bar.
struct SubMenuText {
  RootMenu* root = nullptr;
  QPointer<QMenu> menu;
  std::string caption;
  int position = 0;

  // Shows the translated caption at the position in the bar again.
  void update() const;
};

}  // namespace WindowMenu

class WindowMenuManager : public RootMenu {
 public:
  enum TopMenu : int { File = 0, Edit = 1, Display = 2, Setting = 3, Etc = 4 };
  static constexpr int kTopMenuCount = 5;
  static constexpr std::array<const char*, kTopMenuCount> kCaptions{"ファイル", "編集", "表示",
                                                                    "設定", "その他"};
  using Builder = std::function<void(BaseMenu& menu)>;

  WindowMenuManager();
  ~WindowMenuManager() override;
  WindowMenuManager(const WindowMenuManager&) = delete;
  WindowMenuManager& operator=(const WindowMenuManager&) = delete;

  // Puts the bar at the top of the window, across its width. In a window that lays out its
  // contents the bar is outside the client area, which starts below it.
  void attach(QWidget* window);
  QMenuBar* menuBar() const { return bar_; }
  BaseMenu& topMenu(int position) { return *topMenus_.at(static_cast<std::size_t>(position)); }
  const WindowMenu::SubMenuText& subMenuText(int position) const {
    return texts_.at(static_cast<std::size_t>(position));
  }

  // Fills the top menu now with `builder` and again after each language change. One
  // builder per top menu; a second one replaces the first for later rebuilds.
  void setMenuBuilder(int position, Builder builder);

  // Deletes every item of the five top menus and forgets the commands, the tables and the
  // shortcuts bound to them.
  void clearMenus();
  // Shows the translated captions again, then runs the builders in position order.
  void rebuildMenus();

 protected:
  bool runsOnTrigger() const override { return true; }

 private:
  QPointer<QMenuBar> bar_;
  std::array<std::unique_ptr<BaseMenu>, kTopMenuCount> topMenus_;
  std::array<WindowMenu::SubMenuText, kTopMenuCount> texts_;
  std::array<Builder, kTopMenuCount> builders_;
  std::vector<uint64_t> refreshIds_;
};

}  // namespace Window
