#pragma once
// The folder browser inside an explorer control: a list of one folder's files over the
// file-system model, in details (a tree view with columns) or in one of the icon and list
// modes, with a back/forward history and navigation events for its owner.
//
// It is a child widget of the manager window's client area, placed over its control's
// rectangle; the control's owner never draws there.
#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/controls/explorer_property_key.h"

class QFileSystemModel;
class QListView;
class QStackedWidget;
class QTreeView;
class QWidget;

namespace Control {

// What a browser tells the one who advised it, around every navigation.
class ExplorerBrowserEvents {
 public:
  // The view is about to leave its folder (only when it shows one).
  virtual void onNavigationPending(const std::string& folder) = 0;
  // The view shows `folder` now (an absolute path).
  virtual void onNavigationComplete(const std::string& folder) = 0;
  // A navigation to `folder` did not happen; the view is unchanged.
  virtual void onNavigationFailed(const std::string& folder) = 0;

 protected:
  ~ExplorerBrowserEvents() = default;
};

class ExplorerBrowser {
 public:
  // The list view's modes, numbered as the settings keep them.
  enum ViewMode : int32_t {
    kAuto = -1, kIcon = 1, kSmallIcon = 2, kList = 3, kDetails = 4, kThumbnail = 5, kTile = 6,
    kThumbStrip = 7, kContent = 8
  };
  enum class Browse { kDefault, kBack, kForward, kParent };
  struct SortColumn {
    ExplorerPropertyKey key;
    int32_t direction = 1;  // 1 ascending, -1 descending
  };

  // Makes the widgets as a hidden child of `parent`, in `mode` (kAuto: details).
  ExplorerBrowser(QWidget* parent, int32_t mode);
  ~ExplorerBrowser();
  ExplorerBrowser(const ExplorerBrowser&) = delete;
  ExplorerBrowser& operator=(const ExplorerBrowser&) = delete;

  // Registers the receiver of the events; the cookie undoes it. One receiver at a time.
  uint32_t advise(std::shared_ptr<ExplorerBrowserEvents> events);
  bool unadvise(uint32_t cookie);

  // Shows the widget over the rectangle (client coordinates); an empty one hides it.
  void setRect(int32_t x, int32_t y, int32_t width, int32_t height);

  // Browses to a folder (kDefault), or through the history or to the parent of the current
  // folder (the path is ignored). False, after onNavigationFailed, when there is no such
  // folder or no such step in the history.
  bool browseTo(const std::string& path, Browse how = Browse::kDefault);
  // The folder shown, empty before the first navigation.
  const std::string& currentFolder() const { return current_; }
  bool canGoBack() const { return position_ > 0; }
  bool canGoForward() const { return position_ + 1 < history_.size(); }

  // The view's settings. A mode outside 1 to 8 or an icon size outside 16 to 256 is refused.
  bool setViewModeAndIconSize(int32_t mode, int32_t iconSize);
  int32_t viewMode() const { return mode_; }
  int32_t iconSize() const { return iconSize_; }
  // One sort column or none; a key the view cannot show is refused.
  bool setSortColumn(const std::optional<SortColumn>& sort);
  std::optional<SortColumn> sortColumn() const;
  // The visible columns in their order; an empty list or an unknown key is refused.
  bool setColumns(const std::vector<ExplorerPropertyKey>& columns);
  std::vector<ExplorerPropertyKey> columns() const;
  bool setColumnWidth(const ExplorerPropertyKey& key, int32_t width);
  int32_t columnWidth(const ExplorerPropertyKey& key) const;

  // The widget that shows the current mode (for tests and the drag source).
  QWidget* widget() const;
  QTreeView* detailsView() const { return details_; }
  QListView* iconView() const { return icons_; }
  QFileSystemModel* model() const { return model_; }

 private:
  void show(const std::string& folder);

  QPointer<QStackedWidget> stack_;
  QFileSystemModel* model_ = nullptr;  // owned by the stack
  QTreeView* details_ = nullptr;
  QListView* icons_ = nullptr;
  std::shared_ptr<ExplorerBrowserEvents> events_;
  uint32_t cookie_ = 0;
  uint32_t nextCookie_ = 1;
  std::vector<std::string> history_;
  std::size_t position_ = 0;
  std::string current_;
  int32_t mode_ = kDetails;
  int32_t iconSize_ = 48;
};

// The absolute form of a folder path as the browser reports it: "/" separators, no "."
// or ".." parts, no trailing separator but for the root.
std::string normalFolderPath(const std::string& path);

}  // namespace Control
