#pragma once
// Process-wide services: one heap object per service behind a process-wide pointer, with a
// use count. The entry point acquires one holder per service in a fixed order and releases
// them in the reverse order; everything else reaches a service through its pointer.
//
//   class EventService : public System::Service<EventService> { ... };
//   EventService::instance()  // the service, or nullptr before creation and after release
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace System {

template <class T>
class Service {
 public:
  static T* instance() { return instance_; }
  static int32_t useCount() { return useCount_; }

 private:
  template <class>
  friend class ServiceHolder;
  static inline std::unique_ptr<T> object_;
  // Stays set while the destructor runs, so a service can still be reached from inside its
  // own destruction (it saves its settings there).
  static inline T* instance_ = nullptr;
  static inline int32_t useCount_ = 0;
};

// Acquiring creates the service only when its pointer is still empty, then counts one use;
// releasing drops the use and destroys the service when the last use goes. Both run on the
// UI thread.
template <class T>
class ServiceHolder {
 public:
  template <class... Args>
  explicit ServiceHolder(Args&&... args) {
    if (!Service<T>::object_) {
      Service<T>::object_ = std::make_unique<T>(std::forward<Args>(args)...);
      Service<T>::instance_ = Service<T>::object_.get();
    }
    ++Service<T>::useCount_;
  }
  ServiceHolder(const ServiceHolder&) = delete;
  ServiceHolder& operator=(const ServiceHolder&) = delete;
  ~ServiceHolder() { release(); }

  void release() {
    if (released_) return;
    released_ = true;
    if (--Service<T>::useCount_ == 0) {
      Service<T>::object_.reset();
      Service<T>::instance_ = nullptr;
    }
  }

 private:
  bool released_ = false;
};

// The entry point's holders: acquired one by one, released in exact reverse order, also
// when a later acquisition throws.
class ServiceStack {
 public:
  ServiceStack() = default;
  ServiceStack(const ServiceStack&) = delete;
  ServiceStack& operator=(const ServiceStack&) = delete;
  ~ServiceStack() { releaseAll(); }

  template <class T, class... Args>
  void acquire(Args&&... args) {
    auto holder = std::make_shared<ServiceHolder<T>>(std::forward<Args>(args)...);
    releases_.push_back([holder] { holder->release(); });
  }

  // Adds a step that runs at release time in the same reverse order (for objects that are
  // not services, such as a list of windows).
  void onRelease(std::function<void()> release) { releases_.push_back(std::move(release)); }

  void releaseAll() {
    while (!releases_.empty()) {
      auto release = std::move(releases_.back());
      releases_.pop_back();
      release();
    }
  }

  std::size_t size() const { return releases_.size(); }

 private:
  std::vector<std::function<void()>> releases_;
};

}  // namespace System
