#include "media/input/input_file_cache.h"

#include "media/input/input_file.h"

namespace Plugin {

bool InputFileCache::isCacheable(const InputFile& file) {
  const auto& description = file.description();
  return description.frameCount > 1 || description.hasAudio();
}

std::shared_ptr<InputFile> InputFileCache::findCachedFile(const std::string& path,
                                                          const Opener& opener) {
  {
    std::lock_guard lock(mutex_);
    if (auto found = index_.find(path); found != index_.end()) {
      entries_.splice(entries_.begin(), entries_, found->second);
      return found->second->file;
    }
  }
  if (!opener) return {};
  std::shared_ptr<InputFile> opened = opener();
  if (!opened || !isCacheable(*opened)) return opened;
  std::list<Entry> dropped;  // closed after the lock is released
  std::lock_guard lock(mutex_);
  if (auto found = index_.find(path); found != index_.end()) {
    // Another thread opened the same path meanwhile; share its file.
    entries_.splice(entries_.begin(), entries_, found->second);
    return found->second->file;
  }
  addLocked(path, opened, dropped);
  return opened;
}

void InputFileCache::addCachedFile(const std::string& path, std::shared_ptr<InputFile> file) {
  std::list<Entry> dropped;
  std::lock_guard lock(mutex_);
  addLocked(path, std::move(file), dropped);
}

void InputFileCache::addLocked(const std::string& path, std::shared_ptr<InputFile> file,
                               std::list<Entry>& dropped) {
  if (auto found = index_.find(path); found != index_.end()) {
    dropped.splice(dropped.end(), entries_, found->second);
    index_.erase(found);
  }
  entries_.push_front(Entry{std::move(file), path});
  index_[path] = entries_.begin();
  trimLocked(dropped);
}

void InputFileCache::trimLocked(std::list<Entry>& dropped) {
  while (static_cast<int64_t>(entries_.size()) > limit_ && !entries_.empty()) {
    index_.erase(entries_.back().path);
    dropped.splice(dropped.end(), entries_, std::prev(entries_.end()));
  }
}

void InputFileCache::clear() {
  std::list<Entry> dropped;
  std::lock_guard lock(mutex_);
  index_.clear();
  dropped.swap(entries_);
}

void InputFileCache::setLimit(int64_t limit) {
  std::list<Entry> dropped;
  std::lock_guard lock(mutex_);
  limit_ = limit;
  trimLocked(dropped);
}

int64_t InputFileCache::size() const {
  std::lock_guard lock(mutex_);
  return static_cast<int64_t>(entries_.size());
}

bool InputFileCache::contains(const std::string& path) const {
  std::lock_guard lock(mutex_);
  return index_.count(path) != 0;
}

}  // namespace Plugin
