#pragma once
// What went wrong in a render request: the first failure of any of its tasks. The request
// thread makes one per request; the object tasks of that request record into it.
#include <exception>
#include <mutex>

namespace Render {

class RequestFailure {
 public:
  void record(std::exception_ptr failure) {
    std::lock_guard lock(mutex_);
    if (!first_) first_ = std::move(failure);
  }
  std::exception_ptr get() {
    std::lock_guard lock(mutex_);
    return first_;
  }

 private:
  std::mutex mutex_;
  std::exception_ptr first_;
};

}  // namespace Render
