#pragma once
// A callable holder for callables that own something (a unique pointer, a buffer) and so
// cannot be copied, which std::function requires. Worker tasks and event commands are
// handed over once and run once, so moving is all they need.
#include <cstddef>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace System {

template <typename Signature>
class UniqueFunction;

template <typename R, typename... Args>
class UniqueFunction<R(Args...)> {
 public:
  UniqueFunction() noexcept = default;
  UniqueFunction(std::nullptr_t) noexcept {}

  template <typename F, typename Decayed = std::decay_t<F>,
            typename = std::enable_if_t<!std::is_same_v<Decayed, UniqueFunction> &&
                                        std::is_invocable_r_v<R, Decayed&, Args...>>>
  UniqueFunction(F&& callable) {
    // A null function pointer or an empty std::function stays an empty holder, so that
    // "has work" tests see the truth.
    if constexpr (std::is_pointer_v<Decayed> || std::is_member_pointer_v<Decayed> ||
                  std::is_constructible_v<bool, const Decayed&>) {
      if (!static_cast<bool>(callable)) return;
    }
    holder_ = std::make_unique<Holder<Decayed>>(std::forward<F>(callable));
  }

  UniqueFunction(UniqueFunction&&) noexcept = default;
  UniqueFunction& operator=(UniqueFunction&&) noexcept = default;
  UniqueFunction& operator=(std::nullptr_t) noexcept {
    holder_.reset();
    return *this;
  }

  explicit operator bool() const noexcept { return static_cast<bool>(holder_); }

  // Calling an empty holder throws std::bad_function_call, as std::function does.
  R operator()(Args... args) {
    if (!holder_) throw std::bad_function_call();
    return holder_->call(std::forward<Args>(args)...);
  }

 private:
  struct Base {
    virtual ~Base() = default;
    virtual R call(Args&&... args) = 0;
  };
  template <typename F>
  struct Holder final : Base {
    template <typename G>
    explicit Holder(G&& callable) : callable(std::forward<G>(callable)) {}
    R call(Args&&... args) override {
      return std::invoke(callable, std::forward<Args>(args)...);
    }
    F callable;
  };

  std::unique_ptr<Base> holder_;
};

}  // namespace System
