#include "ui/controls/explorer_control.h"

#include <QDir>
#include <algorithm>
#include <QStandardPaths>
#include <QWidget>
#include <charconv>
#include <filesystem>
#include <optional>
#include <vector>

#include "system/exception.h"
#include "system/log.h"
#include "system/setting_service.h"
#include "ui/window_service.h"

namespace Control {
namespace {

constexpr int32_t kUnspecifiedFailure = static_cast<int32_t>(0x80004005);

std::vector<std::string> splitAtCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) return parts;
    start = comma + 1;
  }
}

std::optional<int32_t> parseDecimal(const std::string& text) {
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return {};
  return value;
}

// The saved columns with their widths, or nothing when any key or width is unreadable.
bool readSavedColumns(const ExplorerControl::ConfigSection& config,
                      std::vector<ExplorerPropertyKey>& keys, std::vector<int32_t>& widths) {
  for (const std::string& text : splitAtCommas(config.columnList)) {
    const auto key = ExplorerPropertyKey::fromString(text);
    if (!key) return false;
    keys.push_back(*key);
  }
  for (const std::string& text : splitAtCommas(config.columnWidth)) {
    const auto width = parseDecimal(text);
    if (!width) return false;
    widths.push_back(*width);
  }
  return true;
}

// The client area's rectangle, in which a visible control must lie to be seen (a hidden
// window parks its controls far outside it).
bool insideClientArea(const Window::Rect& rect) {
  const auto* windows = Window::WindowService::instance();
  const QWidget* area = windows ? windows->clientArea() : nullptr;
  if (!area) return false;
  return QRect(rect.x, rect.y, rect.width, rect.height).intersects(area->rect());
}

}  // namespace

std::span<const System::Config::Entry<ExplorerControl::ConfigSection>>
ExplorerControl::ConfigSection::entries() {
  using E = System::Config::Entry<ConfigSection>;
  static const E table[] = {
      E("FolderPath", &ConfigSection::folderPath, ""),
      E("FolderViewMode", &ConfigSection::folderViewMode, 4),
      E("FolderIconSize", &ConfigSection::folderIconSize, 48),
      E("SortColumn", &ConfigSection::sortColumn, ""),
      E("SortDirection", &ConfigSection::sortDirection, 1),
      E("ColumnNum", &ConfigSection::columnNum, 0),
      E("ColumnList", &ConfigSection::columnList, ""),
      E("ColumnWidth", &ConfigSection::columnWidth, ""),
  };
  return table;
}

void ExplorerControl::Listener::onNavigationPending(const std::string&) {
  // The view being left keeps its settings for the next folder.
  if (control) control->saveSetting();
}

void ExplorerControl::Listener::onNavigationComplete(const std::string& folder) {
  if (!control) return;
  control->config.folderPath = folder;
  if (control->navigationCallback) control->navigationCallback(*control);
  control->loadSetting();
}

ExplorerControl::ExplorerControl(Window::WindowControlContainer& container, int32_t x,
                                 int32_t y, int32_t w, int32_t h, const std::string& sectionName)
    : WindowControl(container, x, y, w, h),
      section_(sectionName),
      table_(section_, config, ConfigSection::entries()),
      binding_(section_, Setting::ParameterIni::instance()) {
  binding_.load();
  // The browser's widget takes its own input; the dispatcher has nothing to deliver here.
  if (mouseService) mouseService->removeMouse(this);
}

ExplorerControl::~ExplorerControl() {
  // Nothing may leave a destructor: a failure here is logged and the rest still runs.
  try {
    if (listener && browser && !browser->unadvise(adviseCookie))
      throw System::makeHresultException("explorer->Unadvise", kDestroyPlace, kUnspecifiedFailure);
  } catch (const std::exception&) {
  }
  if (listener) listener->control = nullptr;
  if (initialized) saveSetting();
  browser.reset();
  listener.reset();
}

void ExplorerControl::procMove() {
  const bool shown = visible && visibleRect.width > 0 && visibleRect.height > 0 &&
                     insideClientArea(visibleRect);
  if (shown) {
    if (!initialized) initialize();
    browser->setRect(visibleRect.x, visibleRect.y, visibleRect.width, visibleRect.height);
  } else if (initialized) {
    browser->setRect(0, 0, 0, 0);
  }
}

void ExplorerControl::initialize() {
  if (initialized) return;
  browser.reset();
  const auto* windows = Window::WindowService::instance();
  QWidget* parent = windows ? windows->clientArea() : nullptr;
  if (!parent)
    throw System::makeHresultException("explorer->Initialize", kInitializePlace,
                                       kUnspecifiedFailure);
  browser = std::make_unique<ExplorerBrowser>(parent, ExplorerBrowser::kAuto);
  initialized = true;
  listener = std::make_shared<Listener>(this);
  adviseCookie = browser->advise(listener);
  browseToFolder(config.folderPath);
}

std::string ExplorerControl::desktopFolder() {
  const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  std::error_code error;
  if (!desktop.isEmpty() && std::filesystem::is_directory(desktop.toStdString(), error))
    return desktop.toStdString();
  return QDir::homePath().toStdString();
}

bool ExplorerControl::browseToFolder(const std::string& path) {
  if (!browser) return false;
  if (!path.empty()) {
    if (browser->browseTo(path)) return true;
    // A path written with "\" separators is read with either.
    if (path.find('\\') != std::string::npos) {
      std::string slashed = path;
      std::replace(slashed.begin(), slashed.end(), '\\', '/');
      if (browser->browseTo(slashed)) return true;
    }
  }
  return browser->browseTo(desktopFolder());
}

void ExplorerControl::loadSetting() {
  if (!browser) return;
  // A setting the view refuses ends the loading: the view keeps what it took so far.
  if (!browser->setViewModeAndIconSize(config.folderViewMode, config.folderIconSize)) return;
  std::optional<ExplorerBrowser::SortColumn> sort;
  if (!config.sortColumn.empty()) {
    const auto key = ExplorerPropertyKey::fromString(config.sortColumn);
    if (!key) return;
    sort = ExplorerBrowser::SortColumn{*key, config.sortDirection};
  }
  if (!browser->setSortColumn(sort)) return;

  std::vector<ExplorerPropertyKey> keys;
  std::vector<int32_t> widths;
  if (config.columnNum != 0 && !readSavedColumns(config, keys, widths)) config.columnNum = 0;
  const auto count = static_cast<std::size_t>(config.columnNum);
  if (config.columnNum <= 0 || count != keys.size() || count != widths.size()) {
    const auto defaults = defaultExplorerColumns();
    keys.assign(defaults.begin(), defaults.end());
    widths.assign(keys.size(), 0);
    config.columnNum = static_cast<int32_t>(keys.size());
  }
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (widths[i] > 0 && !browser->setColumnWidth(keys[i], widths[i])) return;
  browser->setColumns(keys);
}

void ExplorerControl::saveSetting() {
  if (!browser) return;
  config.folderViewMode = browser->viewMode();
  config.folderIconSize = browser->iconSize();
  if (const auto sort = browser->sortColumn()) {
    config.sortColumn = sort->key.toString();
    config.sortDirection = sort->direction;
  } else {
    config.sortColumn.clear();
  }
  const std::vector<ExplorerPropertyKey> shown = browser->columns();
  config.columnNum = static_cast<int32_t>(shown.size());
  config.columnList.clear();
  config.columnWidth.clear();
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (i != 0) {
      config.columnList += ',';
      config.columnWidth += ',';
    }
    config.columnList += shown[i].toString();
    char digits[16];
    const auto written = std::to_chars(digits, digits + sizeof digits, browser->columnWidth(shown[i]));
    config.columnWidth.append(digits, written.ptr);
  }
}

}  // namespace Control
