#pragma once
// The readers the program brings, in the order that gives their default priorities: still
// images, AVI files, every other container.
#include <memory>
#include <vector>

namespace Plugin {

class InputPlugin;

std::vector<std::shared_ptr<InputPlugin>> makeBuiltinReaders();

}  // namespace Plugin
