// The recent project files, the backup files and the automatic backup.
#include "edit/file_history.h"

#include <algorithm>
#include <exception>
#include <iterator>

#include "edit/edit_service.h"
#include "edit/project.h"
#include "edit/update_section.h"
#include "system/dialog.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"

namespace Edit {

// ---- the list ----------------------------------------------------------------------------------

void FileHistory::add(const std::string& path) {
  const auto separator = path.find_last_of("/\\");
  if (path.empty() || (separator != std::string::npos && separator + 1 == path.size())) return;
  entries.remove(path);
  entries.push_front(path);
  trimToMax();
}

void FileHistory::trimToMax() {
  while (static_cast<int64_t>(entries.size()) > std::max(maximum, 0)) {
    onRemove(entries.back());
    entries.pop_back();
  }
}

std::vector<std::string> FileHistory::getList() const {
  return std::vector<std::string>(entries.begin(), entries.end());
}

std::string FileHistory::getPath(int n) const {
  if (n < 0 || static_cast<std::size_t>(n) >= entries.size()) return {};
  return *std::next(entries.begin(), n);
}

void FileHistory::setMaximum(int value) {
  maximum = std::clamp(value, 0, kMaximumLimit);
  trimToMax();
}

// ---- recent project files ---------------------------------------------------------------------

std::string ProjectHistory::getFilePath() {
  return System::FileName::expandVariable("%AppData%/history.ini");
}

void ProjectHistory::load() {
  entries.clear();
  try {
    System::IniFile file;
    file.loadFile(getFilePath());
    const System::IniFile::SectionRef section = file.getSection("project");
    if (!section.exists()) return;
    for (int i = 1; i <= kMaximumLimit; ++i) {
      const std::string key = std::to_string(i);
      if (!section.hasKey(key)) continue;
      std::string path = section.findValue(key).toString();
      // An empty key names no file; the menu would only show a blank line for it.
      if (!path.empty()) entries.push_back(std::move(path));
    }
  } catch (const std::exception&) {
    // What was read stays; the history is a convenience, never a reason for a message.
  }
}

void ProjectHistory::save() {
  const std::string path = getFilePath();
  System::Log::verbose("System::IniFile::Save::Save", "saveFile : %s", path.c_str());
  try {
    System::SafeFileWriter writer(path);
    writer.write("[project]\r\n");
    int counter = 1;
    for (const std::string& entry : entries) {
      // A path with a line break cannot stand on one line of the file; it would come back
      // as a different path and stray lines.
      if (entry.find_first_of("\r\n") != std::string::npos) continue;
      System::IniFile::writeValueLine(writer.file(), std::to_string(counter++), entry);
    }
    writer.commit();
  } catch (const std::exception&) {
    // The failure was logged where it was raised; the next start has the older history.
  }
}

// ---- backups ---------------------------------------------------------------------------------

std::string makeBackupFilePath(std::string_view prefix) {
  return System::FileName::makeTimeStampName("%Backup%/", prefix, "vlp2");
}

BackupHistory::~BackupHistory() { timer_.clear(); }

void BackupHistory::load() {
  entries.clear();
  try {
    const std::string pattern = System::FileName::expandVariable("%Backup%/*.vlp2");
    std::vector<System::File::FileInfo> files = System::File::findFilesByPattern(pattern);
    // The directory lists its files in no particular order here. The time stamps in the
    // names ("AutoBackup_2026-01-04_..." and "ExceptionBackup_...", the text from the first
    // "_" of the name on) put them in the order they were made, so the newest stands first
    // and trimming deletes the oldest.
    const auto stamp = [](const std::string& path) {
      const std::string_view name = std::string_view(path).substr(path.find_last_of('/') + 1);
      const auto underscore = name.find('_');
      return underscore == std::string_view::npos ? name : name.substr(underscore);
    };
    std::sort(files.begin(), files.end(), [&](const auto& a, const auto& b) {
      const auto left = stamp(a.path);
      const auto right = stamp(b.path);
      return left != right ? left < right : a.path < b.path;
    });
    for (auto& file : files) entries.push_front(std::move(file.path));
  } catch (const std::exception&) {
    entries.clear();
  }
}

void BackupHistory::onRemove(const std::string& path) { System::File::removeFile(path); }

void BackupHistory::updateTimer(int autoBackup, int intervalMinutes, int fileMax) {
  if (autoBackup == 0 || intervalMinutes <= 0 || fileMax <= 0) {
    timer_.clear();
    return;
  }
  // Minutes to milliseconds without overflow: no interval waits longer than the timer can.
  const int64_t period = std::min<int64_t>(int64_t{intervalMinutes} * 60000, UINT32_MAX);
  timer_.set(static_cast<uint32_t>(period), [this] { autoBackupProject(); });
}

void BackupHistory::updateTimer() {
  const EditService* edit = EditService::instance();
  if (!edit) {
    timer_.clear();
    return;
  }
  const EditSettings& settings = edit->settings;
  updateTimer(settings.autoBackup, settings.autoBackupInterval, settings.autoBackupFileMax);
}

void BackupHistory::autoBackupProject() {
  std::optional<uint64_t> count;
  if (changeCount_) {
    count = changeCount_();
    if (count == backedUpCount_) {
      System::Log::verbose("Edit::BackupHistory::autoBackupProject",
                           "auto backup skipped : no change since the last one");
      return;
    }
  }
  const std::string path = makeBackupFilePath("AutoBackup");
  add(path);
  System::Log::info("Edit::BackupHistory::autoBackupProject", "auto backup : %s", path.c_str());
  try {
    if (saveProject_) {
      saveProject_(path);
    } else {
      EditService* edit = EditService::instance();
      if (!edit)
        throw System::makeException("Edit::BackupHistory::autoBackupProject",
                                    "edit service not found.");
      UpdateSection scope = edit->beginUpdate();
      edit->project.saveFile(path);
      scope.close();
    }
    // A failed backup is not one: the next tick tries again, changed or not.
    backedUpCount_ = count;
  } catch (const std::exception&) {
    Dialog::postError("%s", "プロジェクトの保存に失敗しました");
  }
}

void applyHistorySettings(ProjectHistory& projects, BackupHistory& backups) {
  const EditService* edit = EditService::instance();
  if (!edit) return;
  projects.setMaximum(edit->settings.historyFileMax);
  backups.setMaximum(edit->settings.autoBackupFileMax);
  backups.updateTimer();
}

}  // namespace Edit
