#pragma once
// The UI thread's notice board, and the one way other threads reach the UI thread.
//
// Fourteen listener lists: the code that changes a piece of shared state (the cursor frame,
// the scene, the selection, ...) fires the matching list, and the windows that show that
// state add their listener once, when they are built. Listeners are never removed and run
// in the order they were added. Lists are used on the UI thread only.
//
// Event commands: a worker never calls a listener or touches a window. It posts a command
// (kind and payload) to the service's queue, or sends one and waits until the UI thread has
// run it. The UI loop watches commandDescriptor() and calls processEventCommands(), which
// runs each queued command through processEventCommandMessage().
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <variant>

#include "system/service_holder.h"
#include "system/sync_event.h"
#include "system/unique_function.h"

namespace Edit {
class Object;
}

namespace Event {

// One list of listeners of one signature.
template <typename... Args>
class EventList {
 public:
  using Listener = std::function<void(Args...)>;

  // Appends a listener; an empty one is ignored.
  void add(Listener listener) {
    if (listener) listeners_.push_back(std::move(listener));
  }

  // Calls every listener in the order they were added. A listener that adds to this very
  // list is safe: the newcomer hears the next event, not this one (a deque keeps the running
  // listener in place while it grows). An exception leaves at once; the listeners after the
  // thrower do not hear this event.
  void fire(Args... args) const {
    const std::size_t count = listeners_.size();
    for (std::size_t i = 0; i < count; ++i) listeners_[i](args...);
  }

  std::size_t size() const { return listeners_.size(); }

 private:
  std::deque<Listener> listeners_;
};

using ObjectReference = std::shared_ptr<Edit::Object>;

// The kinds of event command. The kind travels as a plain number so that an unknown one
// can be reported.
enum class EventCommandType : uint32_t {
  RenderedFrame = 0,     // int frame: list 6 with (1, frame)
  FrameNotice2 = 1,      // int: list 6 with (2, value)
  FrameNotice3 = 2,      // int: list 6 with (3, value)
  RethrowException = 3,  // exception of a worker's task: thrown again on the UI thread
  ShowException = 4,     // exception: shown in the exception box
  ShowError = 5,         // formatted text: shown unchanged in the error box
  SetClipboardImage = 6, // callable, sent and waited for: puts the sender's image on the clipboard
  OutputFileEnd = 7,     // callable: ends the export on the UI thread
};

// What a command carries; it belongs to the receiver from the moment it is posted.
using Callable = System::UniqueFunction<void()>;
using EventPayload = std::variant<std::monostate, int, std::exception_ptr, std::string, Callable>;

// A process-wide service: the entry point creates it through a System::ServiceHolder, and
// EventService::instance() is the service on the UI thread. Other threads reach it only
// through the static command functions, which find it under their own lock.
class EventService : public System::Service<EventService> {
 public:
  static constexpr std::size_t kListCount = 14;
  using Lists = std::tuple<EventList<int>,                     // 0 cursor frame
                           EventList<int, int>,                // 1 visible frames: first, width
                           EventList<int, int>,                // 2 frame range: start, end
                           EventList<const ObjectReference&>,  // 3 focus object
                           EventList<int>,                     // 4 setting window frame
                           EventList<int>,                     // 5 scene: scene id
                           EventList<int, int>,                // 6 frame notice: kind, frame
                           EventList<const ObjectReference&>,  // 7 edit data
                           EventList<>,                        // 8 layers
                           EventList<>,                        // 9 selection
                           EventList<>,                        // 10 explorer bookmarks
                           EventList<bool>,                    // 11 playback: playing
                           EventList<>,                        // 12 start
                           EventList<>>;                       // 13 exit
  static_assert(std::tuple_size_v<Lists> == kListCount);

  // Starts with empty lists and an empty queue, on the thread that will run the UI loop.
  // Takes the commands of other threads unless another service already does.
  EventService();
  EventService(const EventService&) = delete;
  EventService& operator=(const EventService&) = delete;
  // Stops taking commands (later posts are dropped), wakes every thread that waits in
  // sendCommand (its command will not run) and frees the queued payloads.
  ~EventService();

  // A list by its number.
  template <std::size_t N>
  auto& list() {
    return std::get<N>(lists_);
  }

  // The current scene's cursor frame changed: frame.
  auto& cursorFrameChanged() { return list<0>(); }
  // The timeline's visible frame window changed: first visible frame, width in frames.
  auto& visibleFramesChanged() { return list<1>(); }
  // The selected frame range changed: start, end.
  auto& frameRangeChanged() { return list<2>(); }
  // The focus object changed: the current scene's focus object, possibly empty.
  auto& focusObjectChanged() { return list<3>(); }
  // The object setting window moved to a frame: frame.
  auto& settingFrameChanged() { return list<4>(); }
  // The current scene or a scene's settings changed: scene id.
  auto& sceneChanged() { return list<5>(); }
  // Frame notice: notice kind, frame.
  auto& frameNotice() { return list<6>(); }
  // The edit data changed: the object that the closing edit scope names, possibly empty.
  auto& editDataChanged() { return list<7>(); }
  auto& layersChanged() { return list<8>(); }
  auto& selectionChanged() { return list<9>(); }
  auto& bookmarksChanged() { return list<10>(); }
  // Playback started (true) or stopped (false).
  auto& playbackChanged() { return list<11>(); }
  auto& startEvent() { return list<12>(); }
  auto& exitEvent() { return list<13>(); }

  // --- Event commands, from any thread -------------------------------------------------

  // Queues a command for the UI thread and returns at once. False (and the payload freed)
  // when no service takes commands.
  static bool postCommand(EventCommandType kind, EventPayload payload = {});
  // Queues a command and waits until the UI thread has run it; true when it ran to its end.
  // On the UI thread itself the command runs at once and its exception reaches the caller.
  // The wait gives up (false; the command will never run, so what it borrows may go) when
  // the service is destroyed, or when the calling thread is a worker that is asked to stop.
  // While the UI thread waits for a worker (flush, stop, a full queue) it runs sent commands,
  // so a sender and a waiting UI thread cannot block each other.
  static bool sendCommand(EventCommandType kind, EventPayload payload);

  // --- The UI thread ---------------------------------------------------------------------

  // Readable while commands are queued; the UI loop watches it.
  int commandDescriptor() const { return commandPending_.descriptor(); }
  // Runs the commands queued at the call, oldest first. An exception of a command (the
  // rethrown exception of a worker, kind 3) leaves at once; the commands behind it stay
  // queued and the descriptor stays readable.
  void processEventCommands();
  // Executes one command: lists, exception, error box, callable; an unknown kind is logged.
  void processEventCommandMessage(uint32_t kind, EventPayload payload);

  // Readable while sent (waited-for) commands are queued.
  int sentCommandDescriptor() const { return sentPending_.descriptor(); }
  // Runs only the queued sent commands. An exception of one is posted back as kind 3, so it
  // still leaves the UI loop where the loop can handle it.
  void runSentCommands();

  bool isUiThread() const { return std::this_thread::get_id() == uiThread_; }

 private:
  struct SendState;
  struct Command {
    uint32_t kind = 0;
    EventPayload payload;
    std::shared_ptr<SendState> sent;  // set for a command whose sender waits
  };

  void enqueue(Command command);
  Command takeFront(bool& taken);
  void execute(Command& command);

  Lists lists_;
  const std::thread::id uiThread_;
  std::mutex queueMutex_;
  std::deque<Command> queue_;
  std::size_t sentQueued_ = 0;
  Sync::Event commandPending_;
  Sync::Event sentPending_;
  // Shared with waiting senders, which may still look at it after the service is gone.
  std::shared_ptr<Sync::Event> shutdown_;
};

// Waits until one of `descriptors` is readable and returns its index. On the UI thread of
// the event service, sent commands run while it waits: whoever waits there for another
// thread uses it, so that thread may send to the UI thread without a deadlock. Elsewhere it
// is a plain wait. Failure: "poll" in `place`.
int waitRunningSentCommands(std::span<const int> descriptors, const char* place);

// The mix-in that gives a component, control, menu or service the event service: the
// pointer is copied from the process-wide one when the object is built.
class EventInstance {
 protected:
  EventInstance() : eventService(EventService::instance()) {}
  EventService* eventService;
};

}  // namespace Event
