#pragma once
// A plain function that calls a stored callable: for interfaces that take a bare function
// pointer and no context (the list view's sort comparison). One process-wide slot per
// signature; the caller fills it just before the call and empties it afterwards. UI thread.
#include <functional>
#include <string_view>
#include <type_traits>
#include <utility>

#include "system/exception.h"

namespace System {

template <class R, class... Args>
class StaticCallback {
 public:
  using Callable = std::function<R(Args...)>;

  static Callable& slot() {
    static Callable callable;
    return callable;
  }

  // With an empty slot: "no callback.".
  static R callbackStatic(Args... args) {
    Callable& callable = slot();
    if (!callable) throw makeException(place(), "no callback.");
    return callable(std::forward<Args>(args)...);
  }

  // Fills the slot for its life and empties it afterwards.
  class Scope {
   public:
    explicit Scope(Callable callable) { slot() = std::move(callable); }
    ~Scope() { slot() = nullptr; }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
  };

 private:
  static std::string_view place() {
    if constexpr (std::is_same_v<StaticCallback, StaticCallback<int, long long, long long, long long>> ||
                  std::is_same_v<StaticCallback, StaticCallback<int, int64_t, int64_t, int64_t>>)
      return "System::StaticCallback<int,__int64,__int64,__int64>::callbackStatic";
    else
      return "System::StaticCallback::callbackStatic";
  }
};

}  // namespace System
