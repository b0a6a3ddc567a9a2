#pragma once
// The two file histories of the edit service: the recently used project files (kept across
// runs in %AppData%/history.ini) and the backup files of %Backup%, which the automatic
// backup fills on a timer. Both are lists of paths, the most recent first, cut to a maximum;
// the backup history deletes the file of every entry it drops.
//
// Everything here runs on the UI thread.
#include <cstdint>
#include <functional>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "system/timer.h"

namespace Edit {

class FileHistory {
 public:
  // The most a history may keep, whatever the settings ask.
  static constexpr int kMaximumLimit = 50;

  FileHistory() = default;
  FileHistory(const FileHistory&) = delete;
  FileHistory& operator=(const FileHistory&) = delete;
  virtual ~FileHistory() = default;

  // Fill the list from where the history is kept, and keep it there. The base keeps nothing.
  virtual void load() {}
  virtual void save() {}
  // Called with the path of an entry that trimToMax drops, before it goes.
  virtual void onRemove(const std::string& path) { (void)path; }

  // Puts the path at the front, after removing every equal entry (exact comparison: a path
  // that differs in letter case is another file here). Ignored for an empty path or one
  // without a file name after its last separator. Then trims to the maximum.
  void add(const std::string& path);
  // Drops entries from the back while there are more than the maximum.
  void trimToMax();
  // The paths, the most recent first.
  std::vector<std::string> getList() const;
  // Entry n counted from 0; empty for n outside the list.
  std::string getPath(int n) const;
  // Sets the maximum, kept to 0 .. kMaximumLimit, and trims.
  void setMaximum(int value);

  int maximum = kMaximumLimit;
  std::list<std::string> entries;
};

// The recently used project files.
class ProjectHistory : public FileHistory {
 public:
  // %AppData%/history.ini, expanded.
  static std::string getFilePath();
  // Reads keys 1 to 50 of section [project] in order (missing keys are skipped). A missing
  // or unreadable file gives what was read, without a message.
  void load() override;
  // Writes [project] with the entries as keys 1, 2 ... The file is replaced only once it is
  // complete; a failure is logged and dropped.
  void save() override;
};

// The backup files of %Backup% and the timer of the automatic backup.
class BackupHistory : public FileHistory {
 public:
  // Saves the project to a path without touching the project path or the recent files;
  // throws when it fails.
  using SaveProject = std::function<void(const std::string& path)>;
  // A number that changes whenever the project may have changed.
  using ChangeCount = std::function<uint64_t()>;

  BackupHistory() = default;
  // Stops the timer.
  ~BackupHistory() override;

  // Lists %Backup%/*.vlp2, the newest first. Nothing is deleted here; a missing folder
  // gives an empty list.
  void load() override;
  // Deletes the backup file; a failure is ignored.
  void onRemove(const std::string& path) override;

  // Runs the timer every `intervalMinutes` minutes while `autoBackup` is on and both the
  // interval and `fileMax` are above 0; stops it otherwise.
  void updateTimer(int autoBackup, int intervalMinutes, int fileMax);
  // The same with the edit service's [Edit] settings; stops the timer without the service.
  void updateTimer();
  void stopTimer() { timer_.clear(); }
  const System::Timer& timer() const { return timer_; }

  // One automatic backup: %Backup%/AutoBackup_<time stamp>.vlp2 goes to the front of the
  // list (dropping and deleting the oldest files beyond the maximum), then the project is
  // saved there. A failed save posts "プロジェクトの保存に失敗しました"; the entry stays and
  // the timer runs on. With a change count, a tick whose count equals that of the last
  // backup that succeeded writes nothing: idle time must not push the earlier, different
  // states out of the list with copies of one.
  void autoBackupProject();

  // How the backup saves the project. Without one, the edit service's project is written
  // inside an edit-update scope.
  void setSaveProject(SaveProject save) { saveProject_ = std::move(save); }
  // Without one every tick writes a backup.
  void setChangeCount(ChangeCount count) { changeCount_ = std::move(count); }

 private:
  System::Timer timer_;
  SaveProject saveProject_;
  ChangeCount changeCount_;
  // The change count of the last backup that was written.
  std::optional<uint64_t> backedUpCount_;
};

// Takes the edit service's [Edit] settings into both histories, at start and after the
// backup settings changed: the maxima become "HistoryFileMax" and "AutoBackupFileMax" (kept
// to 0 .. 50), both lists are trimmed (deleting surplus backup files), then the timer is
// started or stopped. Without the edit service nothing changes.
void applyHistorySettings(ProjectHistory& projects, BackupHistory& backups);

// %Backup%/<prefix>_YYYY-MM-DD_hh-mm-ss-mmm.vlp2 for the local time now, expanded.
std::string makeBackupFilePath(std::string_view prefix);

}  // namespace Edit
