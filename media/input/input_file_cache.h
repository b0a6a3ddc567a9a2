#pragma once
// The open-file cache of the input service: the most recently requested files, at most
// "FileHandleMax" of them, so that a movie or sound file asked for once per frame or audio
// block is opened once. Still images (one frame, no audio) are not kept.
//
// The cache lock is held only for lookups and insertions, never while a reader opens a file:
// a slow file does not hold up every other open, and a reader that itself opens a file
// through the service does not deadlock.
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Plugin {

class InputFile;

class InputFileCache {
 public:
  using Opener = std::function<std::shared_ptr<InputFile>()>;

  explicit InputFileCache(int64_t limit = 20) : limit_(limit) {}

  // The cached file of the path (moved to the front), or, on a miss, what the opener gives
  // (run without the lock; empty opener: empty). A file with more than one frame or with
  // audio is cached. When another thread cached the same path meanwhile, its file is
  // returned so that every caller shares one.
  std::shared_ptr<InputFile> findCachedFile(const std::string& path, const Opener& opener);
  // Puts the file at the front under the path (replacing an entry of that path) and trims.
  void addCachedFile(const std::string& path, std::shared_ptr<InputFile> file);
  void clear();
  // Sets the limit and drops the least recently used entries down to it.
  void setLimit(int64_t limit);

  int64_t size() const;
  bool contains(const std::string& path) const;

  // Whether a file is worth keeping: a movie (more than one frame) or anything with sound.
  static bool isCacheable(const InputFile& file);

 private:
  struct Entry {
    std::shared_ptr<InputFile> file;
    std::string path;
  };
  // Entries taken out go to `dropped`, which the caller declares before its lock so that
  // their files close after the lock is released.
  void addLocked(const std::string& path, std::shared_ptr<InputFile> file,
                 std::list<Entry>& dropped);
  void trimLocked(std::list<Entry>& dropped);

  mutable std::mutex mutex_;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<std::string, std::list<Entry>::iterator> index_;
  int64_t limit_;
};

}  // namespace Plugin
