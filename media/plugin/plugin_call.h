#pragma once
// Calls into plug-in code with a safety net: a plug-in that crashes (a wild pointer, a
// division by zero, an illegal instruction) raises an exception in the caller instead of
// ending the program.
//
// The net is a per-thread jump buffer and one process-wide handler for SIGSEGV, SIGBUS,
// SIGFPE and SIGILL. A fault raised by the processor while a guarded call runs on this
// thread jumps back to the call, which throws the exception of
// System::makeStructuredException with the table field and the place. Any other such signal
// (outside a guarded call, or sent by another process) goes on to the handler that was there
// before, so the sanitizers and the default action keep working.
//
// What the jump cannot undo: the plug-in's frames are abandoned where they stood, so locks
// it held stay locked, memory it was building stays allocated, and its own state may be
// half-updated. Its later calls may fail or hang; the program itself is intact, since no
// frame of the program lies between the guard and the fault (see PluginCallbackScope).
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>

#include "system/exception.h"

namespace Plugin {

namespace PluginCallDetail {
// Runs body(context) under this thread's guard. False when a fault ended it; `report` then
// holds the faulting instruction's address, the signal number and the module.
bool runGuarded(void (*body)(void*), void* context, System::StructuredExceptionReport& report);
}  // namespace PluginCallDetail

// Runs `function` (a call into plug-in code, or a read of the plug-in's memory) and returns
// its result. A fault inside it throws the structured exception naming `field` (as
// "table.fnReadVideo") and `place`. The function must own nothing that needs destroying: a
// fault abandons its frames without unwinding them.
template <class Function>
auto callPluginFunction(std::string_view field, std::string_view place, Function&& function)
    -> std::invoke_result_t<Function&> {
  using Result = std::invoke_result_t<Function&>;
  using Target = std::remove_reference_t<Function>;
  System::StructuredExceptionReport report;
  if constexpr (std::is_void_v<Result>) {
    struct Call {
      Target* function;
    } call{&function};
    auto body = [](void* context) { (*static_cast<Call*>(context)->function)(); };
    if (!PluginCallDetail::runGuarded(body, &call, report))
      throw System::makeStructuredException(field, place, report);
  } else {
    static_assert(std::is_trivially_destructible_v<Result>, "a plug-in call returns plain data");
    struct Call {
      Target* function;
      std::optional<Result> result;
    } call{&function, std::nullopt};
    auto body = [](void* context) {
      auto& self = *static_cast<Call*>(context);
      self.result.emplace((*self.function)());
    };
    if (!PluginCallDetail::runGuarded(body, &call, report))
      throw System::makeStructuredException(field, place, report);
    return *call.result;
  }
}

// Marks program code that a plug-in calls back into (the export's frame and sound
// callbacks): the guard of the call that is under way is set aside until the scope ends. A
// fault in the program's own code is then the program's crash, never a jump across the
// program's frames (which would skip their destructors and leave their locks held).
class PluginCallbackScope {
 public:
  PluginCallbackScope();
  ~PluginCallbackScope();
  PluginCallbackScope(const PluginCallbackScope&) = delete;
  PluginCallbackScope& operator=(const PluginCallbackScope&) = delete;

 private:
  void* saved_;
};

}  // namespace Plugin
