#include "ui/controls/explorer_browser.h"

#include <QFileSystemModel>
#include <QHeaderView>
#include <QListView>
#include <QStackedWidget>
#include <QTreeView>
#include <filesystem>
#include <system_error>

namespace Control {
namespace {

QString toQString(const std::string& text) { return QString::fromStdString(text); }

bool isFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(path, error);
}

}  // namespace

std::string normalFolderPath(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) absolute = path;
  std::string text = absolute.lexically_normal().generic_string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

ExplorerBrowser::ExplorerBrowser(QWidget* parent, int32_t mode) {
  stack_ = new QStackedWidget(parent);
  stack_->hide();
  model_ = new QFileSystemModel(stack_);
  model_->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::AllDirs);
  // Folders and files alike, in the order the user sorts by; the model lists a folder
  // on a thread of its own and fills the view as it learns.
  model_->setReadOnly(true);

  details_ = new QTreeView(stack_);
  details_->setModel(model_);
  details_->setRootIsDecorated(false);
  details_->setItemsExpandable(false);
  details_->setExpandsOnDoubleClick(false);
  details_->setSortingEnabled(true);
  details_->header()->setSortIndicator(-1, Qt::AscendingOrder);
  details_->header()->setSectionsMovable(true);
  // Every column keeps the width the user gave it, the last one too.
  details_->header()->setStretchLastSection(false);
  details_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  details_->setDragEnabled(true);
  details_->setDragDropMode(QAbstractItemView::DragOnly);
  details_->setFrameShape(QFrame::NoFrame);

  icons_ = new QListView(stack_);
  icons_->setModel(model_);
  icons_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  icons_->setDragEnabled(true);
  icons_->setDragDropMode(QAbstractItemView::DragOnly);
  icons_->setResizeMode(QListView::Adjust);
  icons_->setFrameShape(QFrame::NoFrame);

  stack_->addWidget(details_);
  stack_->addWidget(icons_);
  // Opening a folder browses into it, as a double click does in a file manager.
  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(details_),
                                  static_cast<QAbstractItemView*>(icons_)}) {
    QObject::connect(view, &QAbstractItemView::activated, view, [this](const QModelIndex& index) {
      if (model_->isDir(index)) browseTo(model_->filePath(index).toStdString());
    });
  }
  setViewModeAndIconSize(mode == kAuto ? kDetails : mode, iconSize_);
}

ExplorerBrowser::~ExplorerBrowser() { delete stack_.data(); }

uint32_t ExplorerBrowser::advise(std::shared_ptr<ExplorerBrowserEvents> events) {
  events_ = std::move(events);
  cookie_ = nextCookie_++;
  return cookie_;
}

bool ExplorerBrowser::unadvise(uint32_t cookie) {
  if (cookie == 0 || cookie != cookie_) return false;
  events_.reset();
  cookie_ = 0;
  return true;
}

void ExplorerBrowser::setRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!stack_) return;
  if (width <= 0 || height <= 0) {
    stack_->hide();
    stack_->setGeometry(0, 0, 0, 0);
    return;
  }
  stack_->setGeometry(x, y, width, height);
  stack_->show();
  stack_->raise();
}

bool ExplorerBrowser::browseTo(const std::string& path, Browse how) {
  std::string target;
  switch (how) {
    case Browse::kDefault:
      target = isFolder(path) ? normalFolderPath(path) : std::string();
      break;
    case Browse::kBack:
      if (canGoBack()) target = history_[position_ - 1];
      break;
    case Browse::kForward:
      if (canGoForward()) target = history_[position_ + 1];
      break;
    case Browse::kParent:
      if (!current_.empty() && current_ != "/")
        target = std::filesystem::path(current_).parent_path().generic_string();
      break;
  }
  // A folder of the history may have gone since it was shown.
  if (target.empty() || !isFolder(target)) {
    if (events_) events_->onNavigationFailed(how == Browse::kDefault ? path : target);
    return false;
  }
  if (events_ && !current_.empty()) events_->onNavigationPending(current_);
  switch (how) {
    case Browse::kBack: --position_; break;
    case Browse::kForward: ++position_; break;
    default:
      if (!history_.empty()) history_.resize(position_ + 1);
      history_.push_back(target);
      position_ = history_.size() - 1;
      break;
  }
  show(target);
  if (events_) events_->onNavigationComplete(current_);
  return true;
}

void ExplorerBrowser::show(const std::string& folder) {
  current_ = folder;
  const QModelIndex root = model_->setRootPath(toQString(folder));
  details_->setRootIndex(root);
  icons_->setRootIndex(root);
}

bool ExplorerBrowser::setViewModeAndIconSize(int32_t mode, int32_t iconSize) {
  if (mode < kIcon || mode > kContent || iconSize < 16 || iconSize > 256) return false;
  mode_ = mode;
  iconSize_ = iconSize;
  const QSize size(iconSize, iconSize);
  if (mode == kDetails) {
    stack_->setCurrentWidget(details_);
    return true;
  }
  // The list modes keep small icons in lines; the others lay out large icons in a grid.
  const bool small = mode == kSmallIcon || mode == kList;
  icons_->setViewMode(small ? QListView::ListMode : QListView::IconMode);
  icons_->setFlow(mode == kList ? QListView::TopToBottom : QListView::LeftToRight);
  icons_->setWrapping(true);
  icons_->setIconSize(small ? QSize(16, 16) : size);
  icons_->setGridSize(small ? QSize() : QSize(iconSize + 48, iconSize + 36));
  stack_->setCurrentWidget(icons_);
  return true;
}

bool ExplorerBrowser::setSortColumn(const std::optional<SortColumn>& sort) {
  if (!sort) {
    // No sort column: the files stay in the order the model lists them.
    details_->header()->setSortIndicator(-1, Qt::AscendingOrder);
    return true;
  }
  const int column = sort->key.column();
  if (column < 0) return false;
  details_->sortByColumn(column,
                         sort->direction == -1 ? Qt::DescendingOrder : Qt::AscendingOrder);
  return true;
}

std::optional<ExplorerBrowser::SortColumn> ExplorerBrowser::sortColumn() const {
  const QHeaderView* header = details_->header();
  const int column = header->sortIndicatorSection();
  if (column < 0 || column >= kExplorerColumnCount) return std::nullopt;
  return SortColumn{ExplorerPropertyKey::ofColumn(column),
                    header->sortIndicatorOrder() == Qt::DescendingOrder ? -1 : 1};
}

bool ExplorerBrowser::setColumns(const std::vector<ExplorerPropertyKey>& columns) {
  std::vector<int> logical;
  for (const ExplorerPropertyKey& key : columns) {
    const int column = key.column();
    if (column < 0) return false;
    logical.push_back(column);
  }
  if (logical.empty()) return false;
  QHeaderView* header = details_->header();
  for (int c = 0; c < kExplorerColumnCount; ++c) header->setSectionHidden(c, true);
  for (std::size_t visual = 0; visual < logical.size(); ++visual) {
    header->setSectionHidden(logical[visual], false);
    header->moveSection(header->visualIndex(logical[visual]), static_cast<int>(visual));
  }
  return true;
}

std::vector<ExplorerPropertyKey> ExplorerBrowser::columns() const {
  std::vector<ExplorerPropertyKey> shown;
  const QHeaderView* header = details_->header();
  for (int visual = 0; visual < header->count(); ++visual) {
    const int logical = header->logicalIndex(visual);
    if (logical >= 0 && logical < kExplorerColumnCount && !header->isSectionHidden(logical))
      shown.push_back(ExplorerPropertyKey::ofColumn(logical));
  }
  return shown;
}

bool ExplorerBrowser::setColumnWidth(const ExplorerPropertyKey& key, int32_t width) {
  const int column = key.column();
  if (column < 0 || width <= 0) return false;
  details_->header()->resizeSection(column, width);
  return true;
}

int32_t ExplorerBrowser::columnWidth(const ExplorerPropertyKey& key) const {
  const int column = key.column();
  return column < 0 ? 0 : details_->header()->sectionSize(column);
}

QWidget* ExplorerBrowser::widget() const { return stack_; }

}  // namespace Control
