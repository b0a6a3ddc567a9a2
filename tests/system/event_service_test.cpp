#include "system/event_service.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <stdexcept>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "log_capture.h"
#include "system/descriptor.h"
#include "system/dialog.h"
#include "system/service_holder.h"
#include "system/worker_thread.h"
#include "thread_test_support.h"

using namespace std::chrono_literals;
using Event::EventCommandType;
using Event::EventService;
using TestSupport::Watchdog;

namespace {

bool commandsWaiting(const EventService& service) {
  return System::isReadable(service.commandDescriptor());
}

// Blocks until the service's descriptor says a command is queued.
void waitForCommand(const EventService& service) {
  const int descriptor = service.commandDescriptor();
  ASSERT_EQ(System::waitReadable({&descriptor, 1}, 30s, "test"), 0) << "no command arrived";
}

// --- Listener lists ---------------------------------------------------------------------

// Fires a list with default arguments (0, false, an empty object).
template <typename... Args>
void fireDefault(Event::EventList<Args...>& list) {
  std::tuple<std::decay_t<Args>...> arguments{};
  std::apply([&](auto&... values) { list.fire(values...); }, arguments);
}

template <std::size_t N>
void checkRegistrationOrder(EventService& service) {
  auto& list = service.list<N>();
  std::vector<int> heard;
  for (int listener = 0; listener < 3; ++listener)
    list.add([&heard, listener](auto&&...) { heard.push_back(listener); });
  fireDefault(list);
  fireDefault(list);
  EXPECT_EQ(heard, (std::vector<int>{0, 1, 2, 0, 1, 2})) << "list " << N;
}

template <std::size_t... N>
void checkEveryList(EventService& service, std::index_sequence<N...>) {
  (checkRegistrationOrder<N>(service), ...);
}

TEST(EventService, EveryListCallsItsListenersInRegistrationOrderEachTime) {
  EventService service;
  checkEveryList(service, std::make_index_sequence<EventService::kListCount>());
}

TEST(EventService, NamedListsCarryTheirArguments) {
  EventService service;
  int frame = 0, scene = 0, first = 0, width = 0;
  bool playing = false;
  bool objectSeen = false;
  service.cursorFrameChanged().add([&](int value) { frame = value; });
  service.sceneChanged().add([&](int id) { scene = id; });
  service.visibleFramesChanged().add([&](int a, int b) { first = a, width = b; });
  service.playbackChanged().add([&](bool value) { playing = value; });
  service.focusObjectChanged().add(
      [&](const Event::ObjectReference& object) { objectSeen = object == nullptr; });

  service.cursorFrameChanged().fire(300);
  service.sceneChanged().fire(4);
  service.visibleFramesChanged().fire(120, 640);
  service.playbackChanged().fire(true);
  service.focusObjectChanged().fire(nullptr);
  EXPECT_EQ(frame, 300);
  EXPECT_EQ(scene, 4);
  EXPECT_EQ(first, 120);
  EXPECT_EQ(width, 640);
  EXPECT_TRUE(playing);
  EXPECT_TRUE(objectSeen);
  // Same object as list<N>: the names are views on the numbered lists.
  EXPECT_EQ(&service.sceneChanged(), &service.list<5>());
  EXPECT_EQ(&service.exitEvent(), &service.list<13>());
}

TEST(EventService, AListenerAddedDuringAFiringHearsTheNextEvent) {
  EventService service;
  std::vector<std::string> heard;
  auto& list = service.sceneChanged();
  list.add([&](int scene) {
    heard.push_back("first " + std::to_string(scene));
    // Many additions: the list grows well past its first block while this listener runs.
    if (scene == 1)
      for (int i = 0; i < 100; ++i) list.add([&heard, i](int s) {
          if (i == 0) heard.push_back("late " + std::to_string(s));
        });
  });
  list.add([&](int scene) { heard.push_back("second " + std::to_string(scene)); });

  list.fire(1);
  EXPECT_EQ(heard, (std::vector<std::string>{"first 1", "second 1"}));
  heard.clear();
  list.fire(2);
  EXPECT_EQ(heard, (std::vector<std::string>{"first 2", "second 2", "late 2"}));
}

TEST(EventService, AThrowingListenerEndsTheFiringAndReachesTheCaller) {
  EventService service;
  std::vector<int> heard;
  service.layersChanged().add([&] { heard.push_back(1); });
  service.layersChanged().add([&] { throw std::runtime_error("layer gone"); });
  service.layersChanged().add([&] { heard.push_back(3); });
  service.layersChanged().add(nullptr);  // an empty listener is not kept

  EXPECT_THROW(service.layersChanged().fire(), std::runtime_error);
  EXPECT_EQ(heard, (std::vector<int>{1}));
  EXPECT_EQ(service.layersChanged().size(), 3u);
}

// --- Commands -----------------------------------------------------------------------------

TEST(EventService, FrameNoticeCommandsCallListSixWithKindPlusOne) {
  struct Case {
    EventCommandType kind;
    int payload;
    std::pair<int, int> heard;
  };
  const Case cases[] = {
      {EventCommandType::RenderedFrame, 120, {1, 120}},
      {EventCommandType::FrameNotice2, -5, {2, -5}},
      {EventCommandType::FrameNotice3, 0, {3, 0}},
  };
  EventService service;
  std::vector<std::pair<int, int>> heard;
  service.frameNotice().add([&](int kind, int frame) { heard.emplace_back(kind, frame); });
  service.frameNotice().add([&](int kind, int frame) { heard.emplace_back(-kind, frame); });
  for (const Case& c : cases) {
    heard.clear();
    ASSERT_TRUE(EventService::postCommand(c.kind, c.payload));
    service.processEventCommands();
    EXPECT_EQ(heard, (std::vector<std::pair<int, int>>{
                         c.heard, {-c.heard.first, c.heard.second}}));
  }
}

TEST(EventService, UnknownAndMalformedCommandsAreLoggedAndChangeNothing) {
  TestSupport::LogCapture log;
  EventService service;
  int notices = 0;
  service.frameNotice().add([&](int, int) { ++notices; });

  service.processEventCommandMessage(9, 42);
  service.processEventCommandMessage(0, std::string("not a frame"));
  service.processEventCommandMessage(3, std::exception_ptr());
  service.processEventCommandMessage(6, Event::Callable());
  EXPECT_EQ(notices, 0);

  const auto records = log.records();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].level, "WARN");
  EXPECT_EQ(records[0].place, "Event::EventService::processEventCommandMessage");
  EXPECT_EQ(records[0].text, "unknown EventCommandType.");
  for (std::size_t i = 1; i < records.size(); ++i) EXPECT_EQ(records[i].level, "WARN");
}

TEST(EventService, PostedErrorTextsAreShownUnchanged) {
  TestSupport::LogCapture log;
  EventService service;
  Dialog::postError("%s", "export at 100% of 3");
  Dialog::postError("%d files could not be read", 3);
  EXPECT_TRUE(log.texts("ERROR").empty()) << "nothing is shown before the UI thread runs it";
  service.processEventCommands();

  std::vector<std::string> shown;
  for (const auto& record : log.records())
    if (record.place == "Dialog::showError") shown.push_back(record.text);
  EXPECT_EQ(shown, (std::vector<std::string>{"show error dialog.\nexport at 100% of 3",
                                             "show error dialog.\n3 files could not be read"}));
}

TEST(EventService, PostedExceptionsAreShownInTheExceptionBox) {
  TestSupport::LogCapture log;
  EventService service;
  {
    const std::runtime_error failure("disk full");
    Dialog::postException(failure);
  }  // the posted copy outlives the original
  service.processEventCommands();
  std::vector<std::string> shown;
  for (const auto& record : log.records())
    if (record.place == "Dialog::showException") shown.push_back(record.text);
  EXPECT_EQ(shown, (std::vector<std::string>{"show exception dialog.\ndisk full"}));
}

TEST(EventService, WithoutAServicePostsAreDroppedAndTheirPayloadFreed) {
  TestSupport::LogCapture log;
  auto token = std::make_shared<int>(0);
  EXPECT_FALSE(EventService::postCommand(EventCommandType::OutputFileEnd,
                                         Event::Callable([token] {})));
  EXPECT_EQ(token.use_count(), 1);
  EXPECT_FALSE(EventService::sendCommand(EventCommandType::SetClipboardImage,
                                         Event::Callable([token] {})));
  Dialog::postError("%s", "lost text");
  EXPECT_EQ(log.texts("WARN"), (std::vector<std::string>{"error not shown.\nlost text"}));
}

TEST(EventService, CommandsPostedFromSeveralThreadsAllArriveInEachSendersOrder) {
  Watchdog watchdog("posts from several threads");
  EventService service;
  std::map<int, std::vector<int>> bySender;
  std::size_t received = 0;
  service.frameNotice().add([&](int, int value) {
    bySender[value / 1000].push_back(value % 1000);
    ++received;
  });

  constexpr int kSenders = 4, kPosts = 250;
  std::vector<std::thread> senders;
  for (int sender = 0; sender < kSenders; ++sender)
    senders.emplace_back([sender] {
      for (int i = 0; i < kPosts; ++i)
        EventService::postCommand(EventCommandType::RenderedFrame, sender * 1000 + i);
    });
  // The UI loop's part: wait on the descriptor, then run what is queued.
  while (received < kSenders * kPosts) {
    waitForCommand(service);
    service.processEventCommands();
  }
  for (auto& sender : senders) sender.join();

  EXPECT_FALSE(commandsWaiting(service));
  for (int sender = 0; sender < kSenders; ++sender) {
    ASSERT_EQ(bySender[sender].size(), static_cast<std::size_t>(kPosts));
    for (int i = 0; i < kPosts; ++i) ASSERT_EQ(bySender[sender][i], i);
  }
}

TEST(EventService, ARethrownExceptionLeavesTheRestQueued) {
  EventService service;
  std::vector<int> frames;
  service.frameNotice().add([&](int, int frame) { frames.push_back(frame); });
  EXPECT_FALSE(commandsWaiting(service));

  EventService::postCommand(EventCommandType::RenderedFrame, 1);
  EventService::postCommand(EventCommandType::RethrowException,
                            std::make_exception_ptr(std::logic_error("bad object")));
  EventService::postCommand(EventCommandType::RenderedFrame, 2);
  EXPECT_TRUE(commandsWaiting(service));

  try {
    service.processEventCommands();
    FAIL() << "the exception was not thrown again";
  } catch (const std::logic_error& error) {
    EXPECT_STREQ(error.what(), "bad object");
  }
  EXPECT_EQ(frames, std::vector<int>{1});
  EXPECT_TRUE(commandsWaiting(service)) << "the loop must come back for the rest";
  service.processEventCommands();
  EXPECT_EQ(frames, (std::vector<int>{1, 2}));
  EXPECT_FALSE(commandsWaiting(service));
}

TEST(EventService, AWorkersExceptionIsThrownAgainOnTheUiThreadWithItsText) {
  Watchdog watchdog("worker exception to the UI thread");
  TestSupport::LogCapture log;
  EventService service;
  Worker::WorkerThread worker("RenderVideoWorker");
  worker.addTask(1, [] { throw std::out_of_range("frame 9000 is past the end"); });
  worker.waitAllTasks();

  waitForCommand(service);
  try {
    service.processEventCommands();
    FAIL() << "processEventCommands did not throw";
  } catch (const std::out_of_range& error) {
    EXPECT_STREQ(error.what(), "frame 9000 is past the end");
  }
  EXPECT_EQ(log.texts("ERROR"),
            std::vector<std::string>{"[RenderVideoWorker] exception.\nframe 9000 is past the end"});
}

TEST(EventService, TheFirstServiceTakesTheCommandsAndItsHolderPublishesIt) {
  EXPECT_EQ(EventService::instance(), nullptr);
  {
    System::ServiceHolder<EventService> holder;
    EventService* service = EventService::instance();
    ASSERT_NE(service, nullptr);
    struct Listener : Event::EventInstance {
      EventService* service() const { return eventService; }
    } listener;
    EXPECT_EQ(listener.service(), service);

    EventService second;  // a later service leaves the commands with the first
    int heard = 0;
    service->frameNotice().add([&](int, int) { ++heard; });
    EventService::postCommand(EventCommandType::RenderedFrame, 1);
    EXPECT_FALSE(commandsWaiting(second));
    service->processEventCommands();
    EXPECT_EQ(heard, 1);
  }
  EXPECT_EQ(EventService::instance(), nullptr);
  EXPECT_FALSE(EventService::postCommand(EventCommandType::RenderedFrame, 1));
}

// --- Sent commands ---------------------------------------------------------------------

TEST(EventService, ASentCommandRunsOnTheUiThreadWhileTheSenderWaits) {
  Watchdog watchdog("send");
  EventService service;
  std::thread::id ranOn;
  std::atomic<int> result{-1};
  std::thread sender([&] {
    result = EventService::sendCommand(EventCommandType::SetClipboardImage,
                                       Event::Callable([&] { ranOn = std::this_thread::get_id(); }))
                 ? 1
                 : 0;
  });
  waitForCommand(service);
  EXPECT_EQ(result.load(), -1) << "the sender returned before its command ran";
  service.processEventCommands();
  sender.join();
  EXPECT_EQ(result.load(), 1);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(EventService, ASendOnTheUiThreadRunsAtOnce) {
  EventService service;
  bool ran = false;
  EXPECT_TRUE(EventService::sendCommand(EventCommandType::SetClipboardImage,
                                        Event::Callable([&] { ran = true; })));
  EXPECT_TRUE(ran);
  EXPECT_FALSE(commandsWaiting(service));
  EXPECT_THROW(EventService::sendCommand(EventCommandType::OutputFileEnd,
                                         Event::Callable([] { throw std::runtime_error("x"); })),
               std::runtime_error);
}

TEST(EventService, AThrowingSentCommandReportsFailureToItsSender) {
  Watchdog watchdog("throwing send");
  EventService service;
  std::atomic<int> result{-1};
  std::thread sender([&] {
    result = EventService::sendCommand(
                 EventCommandType::SetClipboardImage,
                 Event::Callable([] { throw std::runtime_error("clipboard busy"); }))
                 ? 1
                 : 0;
  });
  waitForCommand(service);
  EXPECT_THROW(service.processEventCommands(), std::runtime_error);
  sender.join();
  EXPECT_EQ(result.load(), 0);
}

TEST(EventService, ASenderGivesUpWhenTheServiceGoesAndItsCommandNeverRuns) {
  Watchdog watchdog("send during shut-down");
  auto service = std::make_unique<EventService>();
  std::atomic<bool> ran{false};
  std::atomic<int> result{-1};
  std::thread sender([&] {
    result = EventService::sendCommand(EventCommandType::SetClipboardImage,
                                       Event::Callable([&] { ran = true; }))
                 ? 1
                 : 0;
  });
  waitForCommand(*service);
  service.reset();
  sender.join();
  EXPECT_EQ(result.load(), 0);
  EXPECT_FALSE(ran.load());
}

// A worker task that sends a command to the UI thread and waits for it.
struct SendingTask {
  std::atomic<int> result{-1};
  std::atomic<bool> ran{false};
  std::thread::id ranOn;
  void post(Worker::WorkerThread& worker) {
    worker.addTask(1, [this] {
      result = EventService::sendCommand(EventCommandType::SetClipboardImage,
                                         Event::Callable([this] {
                                           ranOn = std::this_thread::get_id();
                                           ran = true;
                                         }))
                   ? 1
                   : 0;
    });
  }
};

TEST(EventService, StoppingAWorkerThatIsBlockedInASendDoesNotDeadlock) {
  // The stop comes from the UI thread itself, and from another thread while the UI thread
  // does not run its loop at all.
  for (const bool stopOnUiThread : {true, false}) {
    SCOPED_TRACE(stopOnUiThread);
    Watchdog watchdog("stop a sending worker");
    EventService service;
    Worker::WorkerThread worker("RenderVideoWorker");
    SendingTask task;
    task.post(worker);
    waitForCommand(service);

    if (stopOnUiThread) {
      worker.stop();
    } else {
      std::thread stopper([&] { worker.stop(); });
      stopper.join();
    }
    EXPECT_NE(task.result.load(), -1) << "the send did not end";
    EXPECT_EQ(task.result.load() == 1, task.ran.load()) << "a send that gave up ran anyway";
    if (!stopOnUiThread) {
      EXPECT_EQ(task.result.load(), 0);
    }
    service.processEventCommands();  // an abandoned command stays unrun
    EXPECT_EQ(task.result.load() == 1, task.ran.load());
  }
}

TEST(EventService, WaitingForAWorkerOnTheUiThreadRunsItsSentCommands) {
  Watchdog watchdog("waitAllTasks with a sending worker");
  EventService service;
  Worker::WorkerThread worker("RenderVideoWorker");
  SendingTask task;
  task.post(worker);
  worker.waitAllTasks();
  EXPECT_EQ(task.result.load(), 1);
  EXPECT_TRUE(task.ran.load());
  EXPECT_EQ(task.ranOn, std::this_thread::get_id());
}

TEST(EventService, PostingToAFullQueueOnTheUiThreadRunsTheWorkersSentCommands) {
  Watchdog watchdog("bounded post with a sending worker");
  EventService service;
  Worker::WorkerThread worker("RenderObjectWorkerVideo");
  worker.queueBound().setMax(1);
  SendingTask task;
  task.post(worker);
  waitForCommand(service);  // the task runs and waits for the UI thread

  std::atomic<int> later{0};
  worker.addTask(1, [&] { ++later; });  // fills the queue
  worker.addTask(1, [&] { ++later; });  // waits for room, running the send meanwhile
  worker.waitAllTasks();
  EXPECT_EQ(task.result.load(), 1);
  EXPECT_EQ(later.load(), 2);
}

}  // namespace
