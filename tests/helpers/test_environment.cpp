// Sets the test folder's environment ("NAME=value|NAME=value", from the build) before main(),
// without overriding what the caller set: the GL driver and the sound library read it when
// the tests first use them.
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

const bool kEnvironmentSet = [] {
  std::string_view settings = VELUMO_TEST_ENVIRONMENT;
  while (!settings.empty()) {
    const auto end = settings.find('|');
    const std::string_view setting = settings.substr(0, end);
    const auto equals = setting.find('=');
    if (equals != std::string_view::npos)
      ::setenv(std::string(setting.substr(0, equals)).c_str(),
               std::string(setting.substr(equals + 1)).c_str(), 0);
    if (end == std::string_view::npos) break;
    settings.remove_prefix(end + 1);
  }
  return true;
}();

}  // namespace
