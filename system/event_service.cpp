#include "system/event_service.h"

#include <vector>

#include "system/dialog.h"
#include "system/descriptor.h"
#include "system/log.h"
#include "system/worker_thread.h"

namespace Event {
namespace {

constexpr const char* kPlace = "Event::EventService::processEventCommandMessage";

// The service that takes the commands of other threads. They look it up and queue under
// this lock, and the destructor withdraws it under the lock before anything else, so a post
// never reaches a service that is being destroyed.
std::mutex instanceMutex;
EventService* instancePointer = nullptr;

EventService* commandTarget() {
  std::lock_guard lock(instanceMutex);
  return instancePointer;
}

// An error posted while the program shuts down (after the window and its loop are gone)
// reaches no box; its text is logged so that it is not lost without a trace.
void logUnshownError(uint32_t kind, const EventPayload& payload) {
  constexpr const char* place = "Event::EventService::~EventService";
  if (kind == static_cast<uint32_t>(EventCommandType::ShowError)) {
    if (const std::string* text = std::get_if<std::string>(&payload))
      System::Log::warn(place, "error not shown.\n%s", text->c_str());
  } else if (kind == static_cast<uint32_t>(EventCommandType::ShowException)) {
    const auto* exception = std::get_if<std::exception_ptr>(&payload);
    if (!exception || !*exception) return;
    try {
      std::rethrow_exception(*exception);
    } catch (const std::exception& lost) {
      System::Log::warn(place, "exception not shown.\n%s", lost.what());
    } catch (...) {
    }
  }
}

}  // namespace

// The meeting point of a sender and the UI thread. The UI thread runs a sent command only
// after moving it from Pending to Running; a sender that gives up moves it from Pending to
// Abandoned, after which it never runs. So either the sender learns the end of the run, or
// the command never touches what the sender lent it.
struct EventService::SendState {
  enum class State { Pending, Running, Done, Abandoned };
  std::mutex mutex;
  State state = State::Pending;
  bool succeeded = false;
  Sync::Event done;
};

EventService::EventService()
    : uiThread_(std::this_thread::get_id()), shutdown_(std::make_shared<Sync::Event>()) {
  std::lock_guard lock(instanceMutex);
  if (!instancePointer) instancePointer = this;
}

EventService::~EventService() {
  {
    std::lock_guard lock(instanceMutex);
    if (instancePointer == this) instancePointer = nullptr;
  }
  shutdown_->set();
  std::deque<Command> left;
  {
    std::lock_guard lock(queueMutex_);
    left.swap(queue_);
    sentQueued_ = 0;
  }
  for (Command& command : left) {
    logUnshownError(command.kind, command.payload);
    if (!command.sent) continue;
    std::lock_guard lock(command.sent->mutex);
    command.sent->state = SendState::State::Abandoned;
  }
}

bool EventService::postCommand(EventCommandType kind, EventPayload payload) {
  std::lock_guard lock(instanceMutex);
  if (!instancePointer) return false;
  instancePointer->enqueue({static_cast<uint32_t>(kind), std::move(payload), nullptr});
  return true;
}

bool EventService::sendCommand(EventCommandType kind, EventPayload payload) {
  constexpr const char* place = "Event::EventService::sendCommand";
  auto state = std::make_shared<SendState>();
  std::shared_ptr<Sync::Event> shutdown;
  {
    std::unique_lock lock(instanceMutex);
    EventService* service = instancePointer;
    if (!service) return false;
    if (service->isUiThread()) {
      // Only the UI thread destroys the service, so it stays valid without the lock.
      lock.unlock();
      service->processEventCommandMessage(static_cast<uint32_t>(kind), std::move(payload));
      return true;
    }
    shutdown = service->shutdown_;
    service->enqueue({static_cast<uint32_t>(kind), std::move(payload), state});
  }

  std::vector<int> descriptors{state->done.descriptor(), shutdown->descriptor()};
  if (const Worker::WorkerThread* worker = Worker::WorkerThread::current())
    descriptors.push_back(worker->stopDescriptor());
  if (System::waitReadable(descriptors, std::nullopt, place) != 0) {
    std::unique_lock lock(state->mutex);
    if (state->state == SendState::State::Pending ||
        state->state == SendState::State::Abandoned) {
      state->state = SendState::State::Abandoned;
      lock.unlock();
      System::Log::warn(place, "event command %u abandoned.", static_cast<uint32_t>(kind));
      return false;
    }
    if (state->state == SendState::State::Running) {
      // The UI thread is running it right now: the end of that run is near and certain.
      lock.unlock();
      state->done.wait();
    }
  }
  std::lock_guard lock(state->mutex);
  return state->succeeded;
}

void EventService::enqueue(Command command) {
  std::lock_guard lock(queueMutex_);
  const bool sent = static_cast<bool>(command.sent);
  queue_.push_back(std::move(command));
  if (sent) {
    ++sentQueued_;
    sentPending_.set();
  }
  commandPending_.set();
}

EventService::Command EventService::takeFront(bool& taken) {
  std::lock_guard lock(queueMutex_);
  taken = !queue_.empty();
  if (!taken) return {};
  Command command = std::move(queue_.front());
  queue_.pop_front();
  if (command.sent && --sentQueued_ == 0) sentPending_.reset();
  if (queue_.empty()) commandPending_.reset();
  return command;
}

void EventService::processEventCommands() {
  std::size_t budget;
  {
    std::lock_guard lock(queueMutex_);
    budget = queue_.size();
  }
  // Only what was queued at the call: a steady stream of posts cannot keep the UI thread
  // here; what came later keeps the descriptor readable for the next turn of the loop.
  for (; budget > 0; --budget) {
    bool taken;
    Command command = takeFront(taken);
    if (!taken) break;
    execute(command);
  }
}

void EventService::runSentCommands() {
  std::vector<Command> sent;
  {
    std::lock_guard lock(queueMutex_);
    for (auto it = queue_.begin(); it != queue_.end();) {
      if (it->sent) {
        sent.push_back(std::move(*it));
        it = queue_.erase(it);
      } else {
        ++it;
      }
    }
    sentQueued_ = 0;
    sentPending_.reset();
    if (queue_.empty()) commandPending_.reset();
  }
  for (Command& command : sent) {
    try {
      execute(command);
    } catch (const std::exception&) {
      postCommand(EventCommandType::RethrowException, std::current_exception());
    }
  }
}

void EventService::execute(Command& command) {
  if (!command.sent) {
    processEventCommandMessage(command.kind, std::move(command.payload));
    return;
  }
  SendState& state = *command.sent;
  {
    std::lock_guard lock(state.mutex);
    if (state.state != SendState::State::Pending) return;  // the sender gave up
    state.state = SendState::State::Running;
  }
  // The sender learns the end also when the command throws.
  struct Finish {
    SendState& state;
    bool succeeded = false;
    ~Finish() {
      std::lock_guard lock(state.mutex);
      state.state = SendState::State::Done;
      state.succeeded = succeeded;
      state.done.set();
    }
  } finish{state};
  processEventCommandMessage(command.kind, std::move(command.payload));
  finish.succeeded = true;
}

void EventService::processEventCommandMessage(uint32_t kind, EventPayload payload) {
  const auto invalidPayload = [kind] {
    System::Log::warn(kPlace, "invalid payload of EventCommandType %u.", kind);
  };
  switch (static_cast<EventCommandType>(kind)) {
    case EventCommandType::RenderedFrame:
    case EventCommandType::FrameNotice2:
    case EventCommandType::FrameNotice3:
      if (const int* value = std::get_if<int>(&payload))
        frameNotice().fire(static_cast<int>(kind) + 1, *value);
      else
        invalidPayload();
      return;
    case EventCommandType::RethrowException:
      if (auto* exception = std::get_if<std::exception_ptr>(&payload); exception && *exception)
        std::rethrow_exception(*exception);
      invalidPayload();
      return;
    case EventCommandType::ShowException:
      if (auto* exception = std::get_if<std::exception_ptr>(&payload); exception && *exception) {
        try {
          std::rethrow_exception(*exception);
        } catch (const std::exception& shown) {
          Dialog::showException(shown);
        }
      } else {
        invalidPayload();
      }
      return;
    case EventCommandType::ShowError:
      // The text is already formatted: passed as an argument, never as a format.
      if (const std::string* text = std::get_if<std::string>(&payload))
        Dialog::showError("%s", text->c_str());
      else
        invalidPayload();
      return;
    case EventCommandType::SetClipboardImage:
    case EventCommandType::OutputFileEnd:
      if (Callable* callable = std::get_if<Callable>(&payload); callable && *callable)
        (*callable)();
      else
        invalidPayload();
      return;
  }
  System::Log::warn(kPlace, "unknown EventCommandType.");
}

int waitRunningSentCommands(std::span<const int> descriptors, const char* place) {
  // Only the UI thread destroys the service, so on that thread it stays valid here.
  EventService* service = commandTarget();
  if (!service || !service->isUiThread())
    return System::waitReadable(descriptors, std::nullopt, place);
  std::vector<int> watched(descriptors.begin(), descriptors.end());
  watched.push_back(service->sentCommandDescriptor());
  for (;;) {
    const int index = System::waitReadable(watched, std::nullopt, place);
    if (index < static_cast<int>(descriptors.size())) return index;
    service->runSentCommands();
  }
}

}  // namespace Event
