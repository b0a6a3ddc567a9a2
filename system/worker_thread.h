#pragma once
// A named thread that runs tasks from its own first-in-first-out queue, one at a time.
//
// A task is a callable tagged with an integer key, so that a whole group of queued tasks
// (the preview requests that a newer request makes obsolete) can be withdrawn at once. The
// queue can be bounded: posting then blocks while the queue holds its bound of tasks. An
// exception that leaves a task is logged and carried to the UI thread through the event
// service; the worker goes on with its next task. A worker never touches a window.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "system/sync_event.h"
#include "system/sync_semaphore.h"
#include "system/unique_function.h"

namespace Worker {

using TaskFunction = System::UniqueFunction<void()>;

class WorkerThread {
 public:
  // The key of the marker task of waitAllTasks; owners choose the other keys.
  static constexpr int32_t kWaitMarkerKey = -1;

  // Starts the thread. The operating system's thread name is `name` cut to 15 bytes.
  // Failures: "eventfd" in "Sync::Event::Event"; a thread that cannot start raises the
  // standard library's system error.
  explicit WorkerThread(std::string name);
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;
  // Stops the worker (see stop), then frees what is left.
  ~WorkerThread();

  // Bounds the queue: the owner calls queueBound().setMax(n) right after construction,
  // before the first post. A bounded worker holds at most n waiting tasks while one more
  // runs; it must never post to itself.
  Sync::Semaphore& queueBound() { return bound_; }

  // Queues `work` at the back. A stopped worker accepts nothing: the work is destroyed
  // unrun. On a bounded worker this waits for room; a stop meanwhile drops the work. Empty
  // work is dropped.
  void addTask(int32_t key, TaskFunction work);
  // Withdraws every queued task with `key`; the others keep their order. The withdrawn work
  // is destroyed unrun. A task with this key that already runs is not affected.
  void cancelTask(int32_t key);
  // Returns when every task posted before the call has run or been dropped (a stop drops
  // queued tasks). Calling it on the worker's own thread would wait for ever: it raises the
  // standard library's system error for a deadlock instead.
  void waitAllTasks();
  // The number of tasks queued and not yet started, read under the queue's lock: a
  // requester that keeps a fixed number of requests ahead counts what still waits.
  std::size_t waitingTaskCount();
  // Ends the thread: the task that runs finishes, no further task runs, queued tasks are
  // destroyed unrun. A thread waiting to post or blocked in a send to the UI thread is
  // woken. Calling it on the worker's own thread raises the system error for a deadlock and
  // changes nothing.
  void stop();

  bool isRunning() const { return running_.load(); }
  const std::string& name() const { return name_; }
  // Readable once the worker has been asked to stop; long tasks may watch it.
  int stopDescriptor() const { return stopRequested_.descriptor(); }

  // The worker whose thread calls this; null on any other thread.
  static WorkerThread* current();

 private:
  struct Task {
    int32_t key = 0;
    TaskFunction work;
    bool holdsQueueUnit = false;  // took a unit of the bound, to give back when it leaves
  };

  void threadMain();
  Task popTask();
  bool processTask();
  void throwIfOwnThread(const char* place) const;

  std::mutex mutex_;             // guards the queue
  Sync::Event wake_;             // set after each post, reset only with the queue empty
  Sync::Event stopRequested_;    // set once, by stop
  Sync::Event exited_;           // set when the thread leaves its loop
  std::deque<Task> queue_;
  Sync::Semaphore bound_;
  std::atomic<bool> running_{true};
  std::string name_;
  std::mutex stopMutex_;         // one caller of stop joins
  std::thread thread_;           // started last, when everything it uses exists
  std::thread::id threadId_;
};

}  // namespace Worker
