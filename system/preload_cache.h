#pragma once
// A keyed cache of values that are expensive to make (decoded pictures, blocks of decoded
// sound, rendered frames of an export), with its own "PreLoadCache" thread that makes them
// ahead of time.
//
// A caller either asks for a value to be made in the background (request) or asks for it and
// waits (get). Every call that may start a load carries the loader: a callable that makes the
// value for that key and hands it back with store(). Values are kept in order of last use;
// when the sum of their weights exceeds the limit, the least recently used are dropped.
// Values are shared and never changed once stored; a dropped value stays valid for whoever
// holds it.
//
// A key is absent, pending (a load or a render of it is under way; at most one per key) or
// cached. Values made elsewhere (a scene frame rendered by the render worker) are announced
// with reserve() and delivered with store(), or given up with abandon(), which wakes their
// waiters empty-handed: a reservation never outlives its maker, and a plain get never
// leaves one behind.
//
// One mutex guards the maps, the list and the totals. It is never held while a loader runs,
// while a load is posted (a full queue makes only the poster wait) or while a caller waits.
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>

#include "system/log.h"
#include "system/worker_thread.h"

namespace System {

template <class Key, class Value, class Hash = std::hash<Key>>
class PreLoadCache {
 public:
  using ValuePtr = std::shared_ptr<Value>;
  using Loader = std::function<void()>;

  PreLoadCache() = default;
  PreLoadCache(const PreLoadCache&) = delete;
  PreLoadCache& operator=(const PreLoadCache&) = delete;
  ~PreLoadCache() { stop(); }

  // Bounds the loader thread's queue (posting then waits for room). Before the first post.
  void setQueueLimit(int32_t count) { worker_.queueBound().setMax(count); }

  // The cached value (moved to the front of the list), or the value of the load under way,
  // or (absent, with a loader) the value of a load started now; empty when the load made
  // nothing, without a loader for an absent key, and after stop.
  ValuePtr get(const Key& key, Loader loader) {
    std::shared_ptr<LoadTask> task;
    bool post = false;
    {
      std::lock_guard lock(mutex_);
      if (auto cached = findLocked(key, true)) return cached;
      if (stopped_) return {};
      auto found = pending_.find(key);
      if (found != pending_.end()) {
        // A value this thread itself is making (a scene that shows itself): waiting for it
        // would never end.
        if (found->second->maker == std::this_thread::get_id()) return {};
        task = found->second;
      } else {
        if (!loader) return {};
        task = std::make_shared<LoadTask>();
        pending_.emplace(key, task);
        post = true;
      }
    }
    if (post) postLoad(key, std::move(loader));
    return task->wait();
  }

  // Starts a background load unless the key is cached or pending. Never waits for the load.
  void request(const Key& key, Loader loader) {
    if (!loader) return;
    {
      std::lock_guard lock(mutex_);
      if (stopped_ || index_.count(key) || pending_.count(key)) return;
      pending_.emplace(key, std::make_shared<LoadTask>());
    }
    postLoad(key, std::move(loader));
  }

  // For values made elsewhere. The cached value (moved to the front); or the value of a
  // make already under way (waiting for it); or, when the key is absent, empty with
  // `reserved` set: the key is now pending, and the caller must end it with store() or
  // abandon().
  ValuePtr reserve(const Key& key, bool& reserved) {
    reserved = false;
    std::shared_ptr<LoadTask> task;
    {
      std::lock_guard lock(mutex_);
      if (auto cached = findLocked(key, true)) return cached;
      if (stopped_) return {};
      auto found = pending_.find(key);
      if (found == pending_.end()) {
        auto made = std::make_shared<LoadTask>();
        made->maker = std::this_thread::get_id();
        pending_.emplace(key, std::move(made));
        reserved = true;
        return {};
      }
      // This thread reserved the key already (a scene that shows itself): it makes the value
      // again, which completes the key; waiting for itself would never end.
      if (found->second->maker == std::this_thread::get_id()) {
        reserved = true;
        return {};
      }
      task = found->second;
    }
    return task->wait();
  }

  // Ends a reservation that produced nothing: its waiters wake with empty.
  void abandon(const Key& key) {
    std::shared_ptr<LoadTask> task;
    {
      std::lock_guard lock(mutex_);
      auto found = pending_.find(key);
      if (found == pending_.end()) return;
      task = std::move(found->second);
      pending_.erase(found);
    }
    task->finish({});
  }

  // Caches a made value (an empty one is ignored) and hands it to the key's waiters.
  void store(const Key& key, ValuePtr value, uint64_t weight) {
    if (!value) return;
    std::shared_ptr<LoadTask> task;
    std::list<Entry> dropped;  // released after the lock
    {
      std::lock_guard lock(mutex_);
      if (auto found = index_.find(key); found != index_.end()) {
        total_ -= found->second->weight;
        dropped.splice(dropped.end(), entries_, found->second);
        index_.erase(found);
      }
      entries_.push_front(Entry{weight, value, key});
      index_[key] = entries_.begin();
      total_ += weight;
      shrinkLocked(dropped);
      if (auto found = pending_.find(key); found != pending_.end()) {
        task = std::move(found->second);
        pending_.erase(found);
      }
    }
    if (task) task->finish(std::move(value));
  }

  // The largest total weight kept; drops least recently used entries until it fits.
  void setLimit(uint64_t limit) {
    std::list<Entry> dropped;
    std::lock_guard lock(mutex_);
    limit_ = limit;
    shrinkLocked(dropped);
  }

  // Drops every cached entry whose key satisfies the predicate. Pending keys stay.
  template <class Predicate>
  void removeIf(Predicate predicate) {
    std::list<Entry> dropped;
    std::lock_guard lock(mutex_);
    for (auto it = index_.begin(); it != index_.end();) {
      if (predicate(it->first)) {
        total_ -= it->second->weight;
        dropped.splice(dropped.end(), entries_, it->second);
        it = index_.erase(it);
      } else {
        ++it;
      }
    }
  }

  // Waits until every load queued so far has run, then drops every entry.
  void clear() {
    worker_.waitAllTasks();
    std::list<Entry> dropped;
    std::lock_guard lock(mutex_);
    index_.clear();
    dropped.swap(entries_);
    total_ = 0;
  }

  // Ends the loader thread (queued loads are dropped, a running one finishes) and wakes every
  // waiter; later gets return at once. Entries stay.
  void stop() {
    worker_.stop();
    std::unordered_map<Key, std::shared_ptr<LoadTask>, Hash> woken;
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
      woken.swap(pending_);
    }
    for (auto& [key, task] : woken) task->finish({});
  }

  uint64_t total() const {
    std::lock_guard lock(mutex_);
    return total_;
  }
  bool contains(const Key& key) const {
    std::lock_guard lock(mutex_);
    return index_.count(key) != 0;
  }
  bool isPending(const Key& key) const {
    std::lock_guard lock(mutex_);
    return pending_.count(key) != 0;
  }
  // The cached keys, most recently used first (tests and diagnostics).
  std::list<Key> keys() const {
    std::lock_guard lock(mutex_);
    std::list<Key> keys;
    for (const auto& entry : entries_) keys.push_back(entry.key);
    return keys;
  }

 private:
  // One key's make, shared by every caller that waits for it. Finished once, whether or not a
  // value was made.
  class LoadTask {
   public:
    ValuePtr wait() {
      std::unique_lock lock(mutex_);
      done_.wait(lock, [&] { return finished_; });
      return result_;
    }
    void finish(ValuePtr result) {
      {
        std::lock_guard lock(mutex_);
        if (finished_) return;
        finished_ = true;
        result_ = std::move(result);
      }
      done_.notify_all();
    }

    // The thread that reserved the key (none for loads on the cache's own thread).
    std::thread::id maker;

   private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    ValuePtr result_;
  };

  struct Entry {
    uint64_t weight;
    ValuePtr value;
    Key key;
  };

  ValuePtr findLocked(const Key& key, bool touch) {
    auto found = index_.find(key);
    if (found == index_.end()) return {};
    if (touch) entries_.splice(entries_.begin(), entries_, found->second);
    return found->second->value;
  }

  void shrinkLocked(std::list<Entry>& dropped) {
    while (total_ > limit_ && !entries_.empty()) {
      total_ -= entries_.back().weight;
      index_.erase(entries_.back().key);
      dropped.splice(dropped.end(), entries_, std::prev(entries_.end()));
    }
  }

  // Runs the loader on the cache's thread; whatever it did not store ends its key empty.
  void postLoad(const Key& key, Loader loader) {
    worker_.addTask(0, [this, key, loader = std::move(loader)] {
      try {
        loader();
      } catch (const std::exception& error) {
        // The key ends without a value; the next request tries again.
        System::Log::error("System::PreLoadCache::load", "%s", error.what());
      }
      abandon(key);
    });
  }

  mutable std::mutex mutex_;
  std::unordered_map<Key, std::shared_ptr<LoadTask>, Hash> pending_;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<Key, typename std::list<Entry>::iterator, Hash> index_;
  uint64_t limit_ = 0;
  uint64_t total_ = 0;
  bool stopped_ = false;
  // Last: it stops (and joins) before the members its tasks use are destroyed.
  Worker::WorkerThread worker_{"PreLoadCache"};
};

}  // namespace System
