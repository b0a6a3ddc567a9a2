#pragma once
// The text of the exception an action throws, for comparing whole error texts in tests.
#include <exception>
#include <functional>
#include <string>

namespace TestSupport {

inline std::string whatOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

}  // namespace TestSupport
