#include "system/worker_thread.h"

#include <pthread.h>

#include <exception>
#include <system_error>
#include <utility>

#include "system/event_service.h"
#include "system/format.h"
#include "system/log.h"
#include "system/process.h"

namespace Worker {
namespace {

thread_local WorkerThread* currentWorker = nullptr;

}  // namespace

WorkerThread::WorkerThread(std::string name) : name_(std::move(name)) {
  thread_ = std::thread(&WorkerThread::threadMain, this);
  threadId_ = thread_.get_id();
}

WorkerThread::~WorkerThread() { stop(); }

WorkerThread* WorkerThread::current() { return currentWorker; }

void WorkerThread::throwIfOwnThread(const char* place) const {
  if (std::this_thread::get_id() == threadId_)
    throw std::system_error(std::make_error_code(std::errc::resource_deadlock_would_occur), place);
}

void WorkerThread::addTask(int32_t key, TaskFunction work) {
  if (!work || !running_.load()) return;
  bool holdsQueueUnit = false;
  if (bound_.exists()) {
    // Wait for room, but not past a stop: nobody would ever make room again. On the UI
    // thread, commands that this worker's running task sends are run meanwhile.
    const int descriptors[2] = {stopRequested_.descriptor(), bound_.descriptor()};
    for (;;) {
      if (stopRequested_.isSet()) return;
      if (bound_.tryWait()) break;
      Event::waitRunningSentCommands(descriptors, "Sync::Semaphore::acquire");
    }
    holdsQueueUnit = true;
  }
  {
    std::lock_guard lock(mutex_);
    if (running_.load()) {
      queue_.push_back({key, std::move(work), holdsQueueUnit});
      wake_.set();
      return;
    }
  }
  // Stopped while this post waited: the work goes unrun (after the lock is left).
}

WorkerThread::Task WorkerThread::popTask() {
  std::lock_guard lock(mutex_);
  if (queue_.empty()) return {};
  Task task = std::move(queue_.front());
  queue_.pop_front();
  if (task.holdsQueueUnit) bound_.release(1);
  return task;
}

void WorkerThread::cancelTask(int32_t key) {
  std::deque<Task> removed;
  {
    std::lock_guard lock(mutex_);
    int32_t units = 0;
    for (auto it = queue_.begin(); it != queue_.end();) {
      if (it->key == key) {
        if (it->holdsQueueUnit) ++units;
        removed.push_back(std::move(*it));
        it = queue_.erase(it);
      } else {
        ++it;
      }
    }
    if (units > 0) bound_.release(units);
  }
  // `removed` goes here, unrun and outside the lock.
}

std::size_t WorkerThread::waitingTaskCount() {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

void WorkerThread::waitAllTasks() {
  throwIfOwnThread("Worker::WorkerThread::waitAllTasks");
  // The marker task signals when it is destroyed: after it has run, or when it is dropped
  // unrun (a stop, a stopped worker, a cancel of its key). So the wait ends in every case.
  auto done = std::make_shared<Sync::Event>();
  struct Marker {
    std::shared_ptr<Sync::Event> done;
    explicit Marker(std::shared_ptr<Sync::Event> event) : done(std::move(event)) {}
    Marker(Marker&&) noexcept = default;
    Marker& operator=(Marker&&) = delete;
    ~Marker() {
      if (done) done->set();
    }
  };
  addTask(kWaitMarkerKey, [marker = Marker(done)] {});
  const int descriptor = done->descriptor();
  Event::waitRunningSentCommands({&descriptor, 1}, "Sync::Event::wait");
  (void)done->isSet();  // pairs with the marker's set: the tasks' effects are visible here
}

void WorkerThread::stop() {
  throwIfOwnThread("Worker::WorkerThread::stop");
  running_.store(false);
  {
    std::lock_guard lock(mutex_);
    wake_.set();
  }
  stopRequested_.set();
  // A task that sends to the UI thread wakes on the stop request; should the send already be
  // queued, the UI thread may as well run it while it waits here. No lock is held meanwhile:
  // what runs here may itself stop this worker.
  const int descriptor = exited_.descriptor();
  Event::waitRunningSentCommands({&descriptor, 1}, "Worker::WorkerThread::stop");
  {
    // The thread has left its loop, so the join is immediate; one caller does it.
    std::lock_guard stopLock(stopMutex_);
    if (thread_.joinable()) thread_.join();
  }

  std::deque<Task> dropped;
  {
    std::lock_guard lock(mutex_);
    dropped.swap(queue_);
  }
}

void WorkerThread::threadMain() {
  currentWorker = this;
  struct Exit {
    Sync::Event& exited;
    ~Exit() { exited.set(); }
  } exit{exited_};

  std::string threadName = name_;
  System::truncateUtf8(threadName, 15);
  pthread_setname_np(pthread_self(), threadName.c_str());
  System::Process::SetThreadPriority("WorkerThreadPriority");

  try {
    while (running_.load()) {
      {
        std::unique_lock lock(mutex_);
        // The running flag is read again under the lock: a stop between the loop's test and
        // here has set the wake-up already, and resetting it would lose the stop for ever.
        if (queue_.empty() && running_.load()) {
          wake_.reset();
          lock.unlock();
          wake_.wait();
        }
      }
      while (running_.load() && processTask()) {
      }
    }
  } catch (const std::exception& failure) {
    // Only the wake wait can fail here (tasks keep their own exceptions). The worker cannot
    // go on: it refuses further posts, frees its queue (which releases flush waiters) and
    // lets the UI thread know.
    System::Log::error("Worker::WorkerThread::threadMain", "[%s] exception.\n%s", name_.c_str(),
                       failure.what());
    running_.store(false);
    stopRequested_.set();
    std::deque<Task> dropped;
    {
      std::lock_guard lock(mutex_);
      dropped.swap(queue_);
    }
    Event::EventService::postCommand(Event::EventCommandType::RethrowException,
                                     std::current_exception());
  }
}

bool WorkerThread::processTask() {
  Task task = popTask();
  if (!task.work) return false;
  try {
    task.work();
    task.work = nullptr;
  } catch (const std::exception& failure) {
    System::Log::error("Worker::WorkerThread::processTask", "[%s] exception.\n%s", name_.c_str(),
                       failure.what());
    Event::EventService::postCommand(Event::EventCommandType::RethrowException,
                                     std::current_exception());
  }
  return true;
}

}  // namespace Worker
