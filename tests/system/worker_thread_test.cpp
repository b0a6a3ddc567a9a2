#include "system/worker_thread.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "log_capture.h"
#include "system/event_service.h"
#include "thread_test_support.h"

using namespace std::chrono_literals;
using TestSupport::Gate;
using TestSupport::Watchdog;

namespace {

// What the tasks of a test did, in the order they did it.
struct Journal {
  std::mutex mutex;
  std::vector<int> entries;
  void add(int value) {
    std::lock_guard lock(mutex);
    entries.push_back(value);
  }
  std::vector<int> get() {
    std::lock_guard lock(mutex);
    return entries;
  }
};

// Occupies the worker until the gate opens; `started` opens once it runs.
void blockWorker(Worker::WorkerThread& worker, Gate& started, Gate& release) {
  worker.addTask(0, [&] {
    started.open();
    release.wait();
  });
  ASSERT_TRUE(started.wait()) << "the blocking task never started";
}

std::string threadName() {
  char name[16] = {};
  pthread_getname_np(pthread_self(), name, sizeof name);
  return name;
}

TEST(WorkerThread, RunsTasksInPostingOrderOnItsOwnNamedThread) {
  Watchdog watchdog("ordered tasks");
  Worker::WorkerThread worker("RenderObjectWorkerVideo");
  Journal journal;
  std::mutex mutex;
  std::vector<std::string> names;
  std::vector<std::thread::id> threads;
  for (int i = 0; i < 50; ++i)
    worker.addTask(i % 3, [&, i] {
      journal.add(i);
      std::lock_guard lock(mutex);
      names.push_back(threadName());
      threads.push_back(std::this_thread::get_id());
      EXPECT_EQ(Worker::WorkerThread::current(), &worker);
    });
  worker.waitAllTasks();

  std::vector<int> expected(50);
  for (int i = 0; i < 50; ++i) expected[i] = i;
  EXPECT_EQ(journal.get(), expected);
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(names[i], "RenderObjectWor") << "the name is cut to 15 bytes";
    EXPECT_EQ(threads[i], threads[0]);
  }
  EXPECT_NE(threads[0], std::this_thread::get_id());
  EXPECT_EQ(Worker::WorkerThread::current(), nullptr);
}

TEST(WorkerThread, TakesMoveOnlyWork) {
  Worker::WorkerThread worker("MoveOnly");
  auto value = std::make_unique<int>(7);
  std::atomic<int> seen{0};
  worker.addTask(1, [owned = std::move(value), &seen] { seen = *owned; });
  worker.waitAllTasks();
  EXPECT_EQ(seen.load(), 7);
}

TEST(WorkerThread, CancelWithdrawsEveryQueuedTaskOfTheKeyOnly) {
  // Unbounded, and bounded with room for exactly the four queued tasks.
  for (const int32_t bound : {0, 4}) {
    SCOPED_TRACE(bound);
    Watchdog watchdog("cancel by key");
    Worker::WorkerThread worker("CancelWorker");
    if (bound > 0) worker.queueBound().setMax(bound);
    Gate started, release;
    blockWorker(worker, started, release);

    Journal journal;
    auto token = std::make_shared<int>(0);  // held by every queued task
    for (const int key : {2, 5, 2, 7})
      worker.addTask(key, [&journal, key, token] { journal.add(key); });
    ASSERT_EQ(token.use_count(), 5);
    EXPECT_EQ(worker.waitingTaskCount(), 4u) << "the running task is not waiting";
    if (bound > 0) {
      EXPECT_FALSE(worker.queueBound().tryWait()) << "the queue should be full";
    }

    worker.cancelTask(2);
    EXPECT_EQ(token.use_count(), 3) << "the withdrawn work is destroyed at once";
    EXPECT_EQ(worker.waitingTaskCount(), 2u);
    if (bound > 0) {
      // Two units came back, no more.
      EXPECT_TRUE(worker.queueBound().tryWait());
      EXPECT_TRUE(worker.queueBound().tryWait());
      EXPECT_FALSE(worker.queueBound().tryWait());
      worker.queueBound().release(2);
    }
    worker.cancelTask(99);  // no such key: nothing changes

    release.open();
    worker.waitAllTasks();
    EXPECT_EQ(journal.get(), (std::vector<int>{5, 7}));
    EXPECT_EQ(token.use_count(), 1);
    EXPECT_EQ(worker.waitingTaskCount(), 0u);
  }
}

TEST(WorkerThread, CancelDoesNotTouchTheRunningTask) {
  Watchdog watchdog("cancel running");
  Worker::WorkerThread worker("CancelRunning");
  Gate started, release;
  std::atomic<bool> finished{false};
  worker.addTask(2, [&] {
    started.open();
    release.wait();
    finished = true;
  });
  ASSERT_TRUE(started.wait());
  worker.cancelTask(2);
  release.open();
  worker.waitAllTasks();
  EXPECT_TRUE(finished.load());
}

TEST(WorkerThread, WaitAllTasksReturnsOnceEarlierTasksHaveRun) {
  Watchdog watchdog("waitAllTasks");
  Worker::WorkerThread worker("FlushWorker");
  worker.waitAllTasks();  // idle: only the marker runs

  std::atomic<int> done{0};
  for (int i = 0; i < 20; ++i)
    worker.addTask(1, [&] {
      std::this_thread::yield();
      ++done;
    });
  worker.waitAllTasks();
  EXPECT_EQ(done.load(), 20);
}

TEST(WorkerThread, WaitAllTasksNeverHangsOnAStoppedWorkerOrItsOwnThread) {
  Watchdog watchdog("waitAllTasks on stopped worker");
  Worker::WorkerThread worker("FlushStopped");
  std::atomic<int> code{0};
  worker.addTask(1, [&] {
    try {
      worker.waitAllTasks();
    } catch (const std::system_error& error) {
      code = error.code().value();
    }
  });
  worker.waitAllTasks();
  EXPECT_EQ(code.load(), static_cast<int>(std::errc::resource_deadlock_would_occur));

  worker.stop();
  worker.waitAllTasks();  // the marker is dropped unrun, and that ends the wait
  SUCCEED();
}

TEST(WorkerThread, AnExceptionInATaskIsLoggedAndTheNextTaskRuns) {
  Watchdog watchdog("task exception without a UI");
  TestSupport::LogCapture log;
  Worker::WorkerThread worker("RenderVideoWorker");
  std::atomic<bool> nextRan{false};
  worker.addTask(1, [] { throw std::runtime_error("frame 12 could not be read"); });
  worker.addTask(1, [&] { nextRan = true; });
  worker.waitAllTasks();

  EXPECT_TRUE(nextRan.load());
  bool found = false;
  for (const auto& record : log.records())
    if (record.level == "ERROR" && record.place == "Worker::WorkerThread::processTask") {
      EXPECT_EQ(record.text, "[RenderVideoWorker] exception.\nframe 12 could not be read");
      found = true;
    }
  EXPECT_TRUE(found);
}

TEST(WorkerThread, StopLetsTheRunningTaskEndAndDropsTheRest) {
  Watchdog watchdog("stop");
  Worker::WorkerThread worker("StopWorker");
  Gate started, release;
  std::atomic<bool> runningTaskEnded{false};
  worker.addTask(0, [&] {
    started.open();
    release.wait();
    runningTaskEnded = true;
  });
  ASSERT_TRUE(started.wait());

  Journal journal;
  auto token = std::make_shared<int>(0);
  worker.addTask(1, [&journal, token] { journal.add(1); });
  worker.addTask(2, [&journal, token] { journal.add(2); });

  std::thread stopper([&] { worker.stop(); });
  ASSERT_TRUE(TestSupport::waitUntil([&] { return !worker.isRunning(); }));
  release.open();
  stopper.join();

  EXPECT_TRUE(runningTaskEnded.load());
  EXPECT_TRUE(journal.get().empty());
  EXPECT_EQ(token.use_count(), 1) << "queued work is destroyed unrun";

  worker.addTask(3, [&journal, token] { journal.add(3); });
  EXPECT_EQ(token.use_count(), 1) << "a stopped worker drops new work at once";
  worker.stop();  // a second stop does nothing
  EXPECT_TRUE(journal.get().empty());
}

TEST(WorkerThread, StopOnItsOwnThreadRaisesADeadlockAndChangesNothing) {
  Watchdog watchdog("stop on own thread");
  Worker::WorkerThread worker("SelfStop");
  std::atomic<int> code{0};
  worker.addTask(1, [&] {
    try {
      worker.stop();
    } catch (const std::system_error& error) {
      code = error.code().value();
    }
  });
  std::atomic<bool> later{false};
  worker.addTask(1, [&] { later = true; });
  worker.waitAllTasks();
  EXPECT_EQ(code.load(), static_cast<int>(std::errc::resource_deadlock_would_occur));
  EXPECT_TRUE(later.load());
  EXPECT_TRUE(worker.isRunning());
}

TEST(WorkerThread, ABoundedQueueBlocksThePosterUntilTheWorkerTakesATask) {
  Watchdog watchdog("bounded queue");
  Worker::WorkerThread worker("PreLoadCache");
  worker.queueBound().setMax(8);
  Gate started, release;
  blockWorker(worker, started, release);

  Journal journal;
  for (int i = 1; i <= 8; ++i) worker.addTask(1, [&journal, i] { journal.add(i); });

  std::atomic<bool> ninthPosted{false};
  std::thread poster([&] {
    worker.addTask(1, [&journal] { journal.add(9); });
    ninthPosted = true;
  });
  // A window in which a wrong, unbounded post would show; the right one stays blocked.
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(ninthPosted.load()) << "the ninth post did not wait for room";

  release.open();
  poster.join();
  EXPECT_TRUE(ninthPosted.load());
  worker.waitAllTasks();
  EXPECT_EQ(journal.get(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(WorkerThread, StopReleasesAPosterWaitingForRoom) {
  Watchdog watchdog("stop with a blocked poster");
  Worker::WorkerThread worker("BoundedStop");
  worker.queueBound().setMax(1);
  Gate started, release;
  blockWorker(worker, started, release);

  auto token = std::make_shared<int>(0);
  std::atomic<bool> ran{false};
  worker.addTask(1, [token, &ran] { ran = true; });  // fills the queue
  std::thread poster([&] { worker.addTask(1, [token, &ran] { ran = true; }); });

  std::thread stopper([&] { worker.stop(); });
  ASSERT_TRUE(TestSupport::waitUntil([&] { return !worker.isRunning(); }));
  poster.join();  // woken by the stop while the worker is still busy
  release.open();
  stopper.join();
  EXPECT_FALSE(ran.load());
  EXPECT_EQ(token.use_count(), 1);
}

}  // namespace
