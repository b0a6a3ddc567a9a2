// Cost of handing work to another thread: a worker's post-run-flush cycle, a bounded
// queue under a producer that outruns the worker, and event commands posted to the UI
// thread and run there.
#include <benchmark/benchmark.h>

#include <atomic>

#include "system/event_service.h"
#include "system/worker_thread.h"

namespace {

void BM_WorkerPostAndFlush(benchmark::State& state) {
  Worker::WorkerThread worker("BenchWorker");
  std::atomic<int64_t> runs{0};
  const int64_t batch = state.range(0);
  for (auto _ : state) {
    for (int64_t i = 0; i < batch; ++i) worker.addTask(1, [&runs] { ++runs; });
    worker.waitAllTasks();
  }
  state.SetItemsProcessed(runs.load());
}
BENCHMARK(BM_WorkerPostAndFlush)->Arg(1)->Arg(64)->Arg(1024);

void BM_BoundedWorkerPost(benchmark::State& state) {
  Worker::WorkerThread worker("BenchBounded");
  worker.queueBound().setMax(static_cast<int32_t>(state.range(0)));
  std::atomic<int64_t> runs{0};
  for (auto _ : state) worker.addTask(1, [&runs] { ++runs; });
  worker.waitAllTasks();
  state.SetItemsProcessed(runs.load());
}
BENCHMARK(BM_BoundedWorkerPost)->Arg(1)->Arg(8)->Arg(10);

void BM_EventCommandRoundTrip(benchmark::State& state) {
  Event::EventService service;
  int64_t heard = 0;
  service.frameNotice().add([&heard](int, int) { ++heard; });
  const int64_t batch = state.range(0);
  for (auto _ : state) {
    for (int64_t i = 0; i < batch; ++i)
      Event::EventService::postCommand(Event::EventCommandType::RenderedFrame, static_cast<int>(i));
    service.processEventCommands();
  }
  state.SetItemsProcessed(heard);
}
BENCHMARK(BM_EventCommandRoundTrip)->Arg(1)->Arg(256);

}  // namespace
