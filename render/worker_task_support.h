#pragma once
// What both render workers need around their tasks: running an object task so that a failure
// is logged and recorded for its request, waiting for the object thread when a pass's scope
// ends, and a result that reaches its receiver exactly once.
#include <exception>
#include <functional>
#include <memory>

#include "render/request_failure.h"
#include "system/log.h"
#include "system/worker_thread.h"

namespace Render {

// Runs an object task; an exception is logged as "[<thread>] exception." at `place` and
// recorded in the request's failure (when there is one). It never leaves the task.
inline void runRecordingFailure(const std::function<void()>& task, RequestFailure* failure,
                                const char* place, const char* thread) {
  try {
    task();
  } catch (const std::exception& exception) {
    System::Log::error(place, "[%s] exception.\n%s", thread, exception.what());
    if (failure) failure->record(std::current_exception());
  }
}

// Waits for the object thread when the scope ends: the tasks hold copies of scene data, so
// they end before the edit lock is left, on an exception too.
struct WaitForTasks {
  Worker::WorkerThread& thread;
  ~WaitForTasks() { thread.waitAllTasks(); }
};

// Hands a result to its callback exactly once: with the value, or with nothing when the
// holder goes without delivering (a failed pass, a stopped thread dropping the task), so a
// waiter on the result never waits for ever.
template <class Value>
class OnceDelivery {
 public:
  using Callback = std::function<void(std::shared_ptr<Value>)>;
  explicit OnceDelivery(Callback callback) : callback_(std::move(callback)) {}
  OnceDelivery(const OnceDelivery&) = delete;
  OnceDelivery& operator=(const OnceDelivery&) = delete;
  ~OnceDelivery() {
    if (callback_) callback_(nullptr);
  }
  void deliver(std::shared_ptr<Value> value) {
    Callback once = std::move(callback_);
    callback_ = nullptr;
    if (once) once(std::move(value));
  }

 private:
  Callback callback_;
};

}  // namespace Render
