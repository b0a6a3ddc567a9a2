#pragma once
// Puts the process under a locale that writes and reads decimals with a comma, as the UI
// does on a desktop set to German, and restores the locale it found when it goes.
// tools/install-deps generates the locale; where it is missing, active() fails the test
// instead of letting it pass without having run.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

namespace TestSupport {

class CommaLocale {
 public:
  static constexpr const char* kName = "de_DE.UTF-8";

  CommaLocale() {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    saved_ = previous ? previous : "C";
    set_ = std::setlocale(LC_ALL, kName) != nullptr;
  }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }

  // Whether the process now uses a comma for the decimal point.
  ::testing::AssertionResult active() const {
    if (!set_)
      return ::testing::AssertionFailure()
             << "no " << kName << " locale on this machine: tools/install-deps generates it";
    if (std::strcmp(std::localeconv()->decimal_point, ",") != 0)
      return ::testing::AssertionFailure() << kName << " does not use a decimal comma";
    return ::testing::AssertionSuccess();
  }

 private:
  std::string saved_;
  bool set_ = false;
};

}  // namespace TestSupport
