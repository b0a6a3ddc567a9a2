#include "main_window/explorer/explorer_component.h"

#include <QCursor>
#include <filesystem>
#include <system_error>

#include "system/dialog.h"
#include "system/event_service.h"
#include "system/file.h"
#include "system/setting_service.h"
#include "ui/dialogs/dialog_template.h"
#include "ui/list_box.h"
#include "ui/menu_base.h"
#include "ui/menu_popup.h"
#include "ui/tool_tips.h"
#include "ui/window_service.h"

namespace Component {
namespace {

constexpr float kBookmarkRectangle[4] = {0.3f, 0.2f, 0.7f, 0.55f};
constexpr float kBookmarkNotch[6] = {0.3f, 0.55f, 0.7f, 0.55f, 0.5f, 0.8f};

// A bookmark ribbon: a band with a pointed end.
const Control::IconShape& bookmarkIcon() {
  static const Control::IconShape shape{kBookmarkNotch, kBookmarkRectangle, {}};
  return shape;
}
const Control::IconShape& arrowIcon(const float* triangle) {
  static const Control::IconShape left{Control::Arrow::kLeft, nullptr, {}};
  static const Control::IconShape right{Control::Arrow::kRight, nullptr, {}};
  static const Control::IconShape up{Control::Arrow::kUp, nullptr, {}};
  return triangle == Control::Arrow::kLeft ? left : triangle == Control::Arrow::kRight ? right : up;
}

Window::WindowClient::Placement defaultPlacement(int32_t index) {
  Window::WindowClient::Placement placement;
  placement.left = 0.0f;
  placement.top = 0.0f;
  placement.right = 0.2f;
  placement.bottom = 0.7f;
  placement.area = Window::WindowClient::kLeft;
  placement.visible = index == 0;
  return placement;
}

struct DataFolder {
  const char* caption;
  const char* path;
};
constexpr DataFolder kDataFolders[] = {
    {"アプリケーションデータフォルダ", "%AppData%\\"},
    {"スクリプトフォルダ", "%Script%\\"},
    {"プラグインフォルダ", "%Plugin%\\"},
    {"図形ファイルフォルダ", "%Figure%\\"},
    {"遷移画像ファイルフォルダ", "%Transition%\\"},
    {"エイリアスファイルフォルダ", "%Alias%\\"},
    {"初期値・プリセットフォルダ", "%Default%\\"},
    {"バックアップファイルフォルダ", "%Backup%\\"},
    {"ログファイルフォルダ", "%Log%\\"},
    {"言語ファイルフォルダ", "%Language%\\"},
};

void fireBookmarksChanged() {
  if (auto* events = Event::EventService::instance()) events->bookmarksChanged().fire();
}

// Header controls take no input of their own.
template <class Control>
Control& inert(Control& control) {
  if (control.mouseService) control.mouseService->removeMouse(&control);
  return control;
}

}  // namespace

ExplorerComponent::ExplorerComponent(int32_t index)
    : MultiInstanceComponent("メディアエクスプローラー", "Window.explorer", index),
      WindowClientRenderTarget(instanceTitle, instanceSectionName, defaultPlacement(index)),
      container(Window::WindowControlContainer::filling(rect, kContainerPriority)),
      headerRow(container, 0, 0, 0, Setting::Style::explorerHeaderHeight),
      backButton(headerRow, 0, Setting::Style::explorerHeaderHeight,
                 arrowIcon(Control::Arrow::kLeft), false),
      forwardButton(headerRow, Setting::Style::explorerHeaderHeight,
                    Setting::Style::explorerHeaderHeight, arrowIcon(Control::Arrow::kRight),
                    false),
      upButton(headerRow, 2 * Setting::Style::explorerHeaderHeight,
               Setting::Style::explorerHeaderHeight, arrowIcon(Control::Arrow::kUp), false),
      pathRow(headerRow, 3 * Setting::Style::explorerHeaderHeight, 0, 0, 0),
      pathBox(pathRow, 0, -Setting::Style::explorerHeaderHeight),
      bookmarkButton(pathRow, -Setting::Style::explorerHeaderHeight,
                     Setting::Style::explorerHeaderHeight, bookmarkIcon(), false),
      explorer(container, 0, Setting::Style::explorerHeaderHeight, 0, 0, instanceSectionName),
      self_(std::make_shared<ExplorerComponent*>(this)) {
  acceptsContextMenu = true;
  inert(headerRow);
  inert(pathRow);
  backButton.toolTipText = "前に戻る";
  forwardButton.toolTipText = "次に移動";
  upButton.toolTipText = "親のフォルダに移動";
  bookmarkButton.toolTipText = "ブックマークを表示";
  backButton.clickCallback = [this](Control::ButtonControl&) {
    browseBy(Control::ExplorerBrowser::Browse::kBack);
  };
  forwardButton.clickCallback = [this](Control::ButtonControl&) {
    browseBy(Control::ExplorerBrowser::Browse::kForward);
  };
  upButton.clickCallback = [this](Control::ButtonControl&) {
    browseBy(Control::ExplorerBrowser::Browse::kParent);
  };
  bookmarkButton.clickCallback = [this](Control::ButtonControl&) { showBookmarkList(); };
  // Control characters cannot be part of a path.
  pathBox.inputPattern.emplace(L"[^\\x00-\\x1f]");
  pathBox.keyHook = [this](int32_t key) {
    if (key != Control::EditControl::kEnter) return false;
    explorer.browseToFolder(pathBox.textUtf8());
    return true;
  };
  explorer.navigationCallback = [this](Control::ExplorerControl&) { updatePathText(); };
  if (auto* events = Event::EventService::instance()) {
    std::weak_ptr<ExplorerComponent*> weak = self_;
    events->bookmarksChanged().add([weak] {
      if (const auto self = weak.lock(); self && *self) (*self)->updatePathText();
    });
  }
  if (instanceIndex == 0) loadBookmarkFile(explorerBookmarks(), kBookmarkFile);
}

ExplorerComponent::~ExplorerComponent() {
  *self_ = nullptr;
  if (instanceIndex == 0) saveBookmarkFile(explorerBookmarks(), kBookmarkFile);
}

void ExplorerComponent::browseBy(Control::ExplorerBrowser::Browse how) {
  if (explorer.initialized) explorer.browser->browseTo({}, how);
}

std::string ExplorerComponent::getFolderName() const {
  for (const ExplorerBookmark& bookmark : explorerBookmarks())
    if (bookmark.path == currentFolder()) return bookmark.name;
  return currentFolder();
}

bool ExplorerComponent::isBookmarked() const {
  for (const ExplorerBookmark& bookmark : explorerBookmarks())
    if (bookmark.path == currentFolder()) return true;
  return false;
}

void ExplorerComponent::updatePathText() {
  pathBox.setTextUtf8(getFolderName());
  pathBox.updateTextLayout();
  pathBox.updateScroll();
  if (isHidden() || !drawing.renderTarget || rect.width <= 0 || rect.height <= 0) return;
  pathBox.procPaint();
  if (service) service->present();
}

void ExplorerComponent::addBookmark(const std::string& folderPath) {
  const std::string expanded = System::FileName::expandVariable(folderPath);
  const std::string proposal = proposeBookmarkName(expanded);
  std::error_code error;
  if (expanded.empty() || !std::filesystem::exists(expanded, error)) {
    Dialog::showError("%s", "このフォルダはブックマークに追加できません");
    return;
  }
  Dialog::DialogTemplate dialog("ブックマークの追加");
  Dialog::DialogItemText* name = dialog.addNameInput(proposal, true);
  if (!dialog.create(0)) return;
  auto& list = explorerBookmarks();
  std::erase_if(list, [&](const ExplorerBookmark& b) { return b.name == name->text; });
  list.push_back({name->text, folderPath});
  fireBookmarksChanged();
}

void ExplorerComponent::removeBookmark() {
  std::erase_if(explorerBookmarks(),
                [&](const ExplorerBookmark& b) { return b.path == currentFolder(); });
  fireBookmarksChanged();
}

void ExplorerComponent::showBookmarkList() {
  auto& list = explorerBookmarks();
  if (list.empty()) {
    const int cursorHeight = 32;
    Window::ToolTips::show(QCursor::pos() + QPoint(0, cursorHeight),
                           "ブックマークを追加すると表示されます", kToolTipTime);
    return;
  }
  sortBookmarks(list);
  Window::ListBox::initialize();
  int current = -1;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string path = list[i].path;
    Window::ListBox::addItem(list[i].name, [this, path] { explorer.browseToFolder(path); });
    if (current < 0 && path == currentFolder()) current = static_cast<int>(i);
  }
  if (current >= 0) Window::ListBox::setCurrentSelection(current);
  const Window::Rect& row = pathRow.visibleRect;
  Window::ListBox::show(row.x, row.y, row.width, row.height, this);
}

void ExplorerComponent::procContextMenu(int32_t, int32_t) {
  Window::PopupMenu menu;
  createExplorerMenu(menu);
  menu.show();
}

void ExplorerComponent::createExplorerMenu(Window::BaseMenu& menu) {
  menu.insertItem("ブックマークに追加", [this] { addBookmark(currentFolder()); })
      .setEnable([this] { return !isBookmarked(); });
  menu.insertItem("ブックマークから削除", [this] { removeBookmark(); })
      .setEnable([this] { return isBookmarked(); });
  menu.insertSeparator();
  {
    Window::BaseMenu folders(menu, "アプリケーションデータ");
    for (const DataFolder& folder : kDataFolders) {
      const std::string path = folder.path;
      folders.insertItem(folder.caption, [this, path] {
        explorer.browseToFolder(System::FileName::expandVariable(path));
      });
    }
  }
  menu.insertSeparator();
  createPopupMenu(menu);
}

void ExplorerComponent::procPaint() {
  if (isHidden() || !drawing.renderTarget || rect.width <= 0 || rect.height <= 0) return;
  Media::RenderTarget::DrawScope scope(*drawing.renderTarget, rect.x, rect.y,
                                       rect.x + rect.width, rect.y + rect.height, true);
  for (Window::WindowControl* child : container.children) child->procPaint();
}

void ExplorerComponent::procMove() { container.updateLayout(); }

}  // namespace Component
