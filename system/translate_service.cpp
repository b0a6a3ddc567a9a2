#include "system/translate_service.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <utility>

#include "system/dialog.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"
#include "system/setting_service.h"
#include "system/text.h"
#include "system/ui_bridge.h"

namespace Translate {
namespace {

constexpr const char* kLoadPlace = "Translate::TranslateService::loadLanguage";
constexpr const char* kRegisterPlace = "Translate::TranslateService::registerLanguageFile";
constexpr const char* kLanguageFolder = "%Language%";
constexpr const char* kExtension = ".vll2";
constexpr const char* kRegisteredText = "言語ファイルを設定しました";
constexpr std::size_t kCopyChunk = 64 * 1024;

std::atomic<bool> languageActive{false};
// The service whose Message table error boxes go through while a language is active.
std::atomic<const TranslateService*> activeService{nullptr};


// A title names a file in %Language%: a name of its own, not a path.
bool isValidTitle(const std::string& title) {
  return System::isValidUtf8(title) && title.find_first_of(std::string_view("/\\\0", 3)) ==
                                           std::string::npos &&
         title != "." && title != "..";
}

bool isRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The file of a title: %Language%/<title>.vll2, or, when that does not exist, a file of the
// folder whose extension differs only in case ("<title>.VLL2"): the listing shows those
// too, so choosing one from it must load it.
std::string findLanguageFile(const std::string& title) {
  const std::string folder = System::FileName::expandVariable(kLanguageFolder);
  const std::string exact = folder + "/" + title + kExtension;
  if (isRegularFile(exact)) return exact;
  for (const auto& file : System::File::findFiles(folder + "/*" + kExtension)) {
    if (System::FileName::getTitle(file.path) == title) return folder + "/" + file.path;
  }
  return exact;
}

// What the first bytes of a file tell of its encoding. UTF-16 text cannot be read at all;
// a UTF-8 byte-order mark spoils the first line (the reader takes it as part of the text).
enum class Encoding { Plain, Utf8Mark, Utf16 };

Encoding sniffEncoding(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Encoding::Plain;
  unsigned char head[3] = {};
  const ssize_t got = ::read(fd, head, sizeof head);
  ::close(fd);
  if (got >= 2 && ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF)))
    return Encoding::Utf16;
  if (got == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) return Encoding::Utf8Mark;
  return Encoding::Plain;
}

bool isKnownSection(std::string_view name) {
  return name == "Effect" || name == "Message" || name == "Menu" || name == "Dialog" ||
         name == "Name";
}

// ---- the copy of registerLanguageFile ----------------------------------------------------

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { reset(); }
  int get() const { return fd_; }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  // Closes and reports the close's own failure (a delayed write error).
  int close() {
    const int fd = std::exchange(fd_, -1);
    return fd >= 0 && ::close(fd) != 0 && errno != EINTR ? errno : 0;
  }

 private:
  int fd_;
};

// Removes a temporary file at the end of a scope unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  void keep() { path_.clear(); }

 private:
  std::string path_;
};

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Copies a regular file over the target: the bytes go to a temporary file beside the
// target, which is renamed over it only when complete, so a failure never leaves a partial
// language file (nor harms one that was there). Returns 0 or the errno of the failed step.
int copyFileAtomically(const std::string& source, const std::string& target) {
  // Not blocking on open: a FIFO given as the source must not hang the UI thread.
  Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (in.get() < 0) return errno;
  struct stat sourceInfo {};
  if (::fstat(in.get(), &sourceInfo) != 0) return errno;
  if (S_ISDIR(sourceInfo.st_mode)) return EISDIR;
  if (!S_ISREG(sourceInfo.st_mode)) return EINVAL;

  std::string temporaryPath = target + ".XXXXXX";
  Descriptor out(::mkostemp(temporaryPath.data(), O_CLOEXEC));
  if (out.get() < 0) return errno;
  TemporaryFile temporary(temporaryPath);
  if (::fchmod(out.get(), (sourceInfo.st_mode & 0777) | S_IRUSR | S_IWUSR) != 0) return errno;

  std::string buffer(kCopyChunk, '\0');
  for (;;) {
    const ssize_t got = ::read(in.get(), buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) break;
    if (!writeAll(out.get(), buffer.data(), static_cast<std::size_t>(got))) return errno;
  }
  if (::fsync(out.get()) != 0) return errno;
  if (const int error = out.close(); error != 0) return error;
  if (::rename(temporaryPath.c_str(), target.c_str()) != 0) return errno;
  temporary.keep();
  // Make the rename durable; a folder that cannot be synced is no failure.
  const std::string folder = System::FileName::getDirectory(target);
  Descriptor folderFd(::open(folder.empty() ? "." : folder.c_str(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.get() >= 0) ::fsync(folderFd.get());
  return 0;
}

// Whether both paths name one existing file (also through a link or another spelling).
bool isSameFile(const std::string& left, const std::string& right) {
  struct stat a {};
  struct stat b {};
  return ::stat(left.c_str(), &a) == 0 && ::stat(right.c_str(), &b) == 0 &&
         a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

bool isLanguageActive() { return languageActive.load(); }

std::string translateText(TranslateService::TextKind kind, std::string_view text) {
  const TranslateService* service = activeService.load();
  if (!service || !languageActive.load()) return std::string(text);
  return std::string(service->table(kind).translate(text));
}

TranslateService::TranslateService() : binding_(config_, Setting::ParameterIni::instance()) {
  binding_.load();
  loadLanguage();
}

TranslateService::~TranslateService() {
  // Nobody may translate through tables that are going away.
  if (activeService.load() == this) setActive(false);
}

std::string_view TranslateService::translateString(std::string_view text) const {
  return translate(TextKind::Menu, text);
}

std::string_view TranslateService::translate(TextKind kind, std::string_view text) const {
  if (!languageActive.load()) return text;
  return table(kind).translate(text);
}

const TranslateTable& TranslateService::table(TextKind kind) const {
  switch (kind) {
    case TextKind::Effect: return effect;
    case TextKind::Message: return message;
    case TextKind::Menu: return menu;
    case TextKind::Dialog: return dialog;
    case TextKind::Name: return name;
  }
  return menu;
}

void TranslateService::setActive(bool active) {
  if (active) {
    activeService.store(this);
    languageActive.store(true);
  } else {
    languageActive.store(false);
    activeService.store(nullptr);
  }
}

void TranslateService::clearTables() {
  effect.clear();
  message.clear();
  menu.clear();
  dialog.clear();
  name.clear();
}

void TranslateService::loadLanguage() {
  if (language == "*") {
    language.clear();
    if (!isJapaneseUserInterface()) {
      const auto list = getLanguageList();
      if (list.size() >= 2) language = list[1];
    }
  }
  if (language.empty()) {
    setActive(false);
    return;
  }

  try {
    if (!isValidTitle(language)) {
      const std::string shown = System::sanitizeUtf8(language);
      throw System::makeFormattedException(kLoadPlace, "language name invalid.", "Language=%s",
                                           shown.c_str());
    }
    const std::string path = findLanguageFile(language);
    if (!isRegularFile(path)) {
      // Every text stays as it is; the choice is kept for when the file comes back.
      System::Log::warn(kLoadPlace, "language file not found. file=%s", path.c_str());
    } else {
      switch (sniffEncoding(path)) {
        case Encoding::Utf16:
          throw System::makeFormattedException(kLoadPlace, "language file is not UTF-8 text.",
                                               "file=%s", path.c_str());
        case Encoding::Utf8Mark:
          System::Log::warn(kLoadPlace,
                            "language file begins with a byte-order mark; its first line is not "
                            "read. file=%s",
                            path.c_str());
          break;
        case Encoding::Plain: break;
      }
    }

    System::IniFile store;
    store.loadFile(path);
    for (const auto& section : store.sections()) {
      if (isKnownSection(section.first)) continue;
      const std::string shown = System::sanitizeUtf8(section.first);
      System::Log::warn(kLoadPlace, "language file section unknown. file=%s section=%s",
                        path.c_str(), shown.c_str());
    }
    effect.load(store.getSection("Effect"));
    message.load(store.getSection("Message"));
    menu.load(store.getSection("Menu"));
    dialog.load(store.getSection("Dialog"));
    name.load(store.getSection("Name"));
    setActive(true);
    System::Log::info(kLoadPlace, "language loaded. file=%s", path.c_str());
  } catch (const std::exception& exception) {
    language.clear();
    setActive(false);
    clearTables();
    System::Log::warn(kLoadPlace, "language file not loaded; translation is off.\n%s",
                      exception.what());
  }
}

std::vector<std::string> TranslateService::getLanguageList() {
  std::vector<std::string> titles;
  const std::string pattern =
      System::FileName::expandVariable(std::string(kLanguageFolder) + "/*" + kExtension);
  for (const auto& file : System::File::findFiles(pattern)) {
    std::string title = System::FileName::getTitle(file.path);
    // A file named only ".vll2" has no title to choose it by.
    if (!title.empty()) titles.push_back(std::move(title));
  }
  // The folder lists its files in no particular order; the list (and with it the automatic
  // choice) follows the names.
  std::sort(titles.begin(), titles.end(), [](const std::string& a, const std::string& b) {
    const int order = System::compareString(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  titles.erase(std::unique(titles.begin(), titles.end()), titles.end());
  titles.insert(titles.begin(), "Default");
  return titles;
}

void TranslateService::updateLanguage() {
  loadLanguage();
  // Callbacks may add or remove callbacks; they run from a copy of the list as it stood.
  const std::vector<Refresh> refreshes = refreshes_;
  for (const RefreshStep step : {RefreshStep::ClearMenus, RefreshStep::RebuildMenus,
                                 RefreshStep::RedrawWindow, RefreshStep::RefreshViews}) {
    for (const Refresh& refresh : refreshes)
      if (refresh.step == step) refresh.callback();
  }
}

void TranslateService::registerLanguageFile(std::string_view path) {
  const std::string source = System::FileName::expandVariable(path);
  const std::string fileName(source.substr(source.find_last_of('/') + 1));
  const std::string title = System::FileName::getTitle(fileName);
  if (title.empty() || !isValidTitle(title)) {
    throw System::makeFormattedException(kRegisterPlace, "language file name invalid.", "%s",
                                         System::sanitizeUtf8(source).c_str());
  }
  const std::string target =
      System::FileName::expandVariable(std::string(kLanguageFolder) + "/" + fileName);

  if (isSameFile(source, target)) {
    // Copying a file onto itself would empty it: it is in place already.
    System::Log::info(kRegisterPlace, "language file already installed. file=%s",
                      target.c_str());
  } else if (const int error = copyFileAtomically(source, target); error != 0) {
    throw System::makeErrnoException("CopyFile", kRegisterPlace, error);
  }

  language = title;
  updateLanguage();

  const std::string text = std::string(translate(TextKind::Message, kRegisteredText));
  System::Log::info(kRegisterPlace, "%s. file=%s", text.c_str(), target.c_str());
  if (auto* bridge = System::uiBridge()) bridge->showInformationBox(text, Dialog::kApplicationCaption);
}

TranslateService::RefreshId TranslateService::addRefreshCallback(RefreshStep step,
                                                                 RefreshCallback callback) {
  const RefreshId id = nextRefreshId_++;
  refreshes_.push_back({id, step, std::move(callback)});
  return id;
}

void TranslateService::removeRefreshCallback(RefreshId id) {
  std::erase_if(refreshes_, [id](const Refresh& refresh) { return refresh.id == id; });
}

bool TranslateService::isJapaneseUserInterface() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (!value || value[0] == '\0') continue;
    return std::string_view(value).substr(0, 2) == "ja";
  }
  return false;
}

}  // namespace Translate
