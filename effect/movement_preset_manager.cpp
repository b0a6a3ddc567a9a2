#include "effect/movement_preset_manager.h"

#include <algorithm>
#include <exception>

#include "system/dialog.h"
#include "system/file.h"
#include "system/log.h"
#include "system/text.h"

namespace Effect {

void MovementParamsManager::loadMovementParams() {
  // Each preset writes its menu settings into the parameter store as it goes, and its
  // successor of the same name reads them back.
  presets_.clear();
  registerMovementParams(kSystemFile, true);
  const std::string pattern = System::FileName::expandVariable(kUserFilePattern);
  for (const auto& file : System::File::findFiles(pattern, System::FileName::getDirectory(pattern)))
    registerMovementParams(file.path, false);
}

void MovementParamsManager::registerMovementParams(const std::string& path, bool systemFile) {
  constexpr const char* place = "Effect::MovementParamsManager::registerMovementParams";
  constexpr const char* failedText = "Failed to register movement params. [%s]\n\n%s";
  std::string expanded = path;
  try {
    expanded = System::FileName::expandVariable(path);
    const std::string title = System::sanitizeUtf8(System::FileName::getTitle(expanded));
    const auto entries = MovementParamsDefine::loadMovementParamsFile(expanded);
    for (const auto& entry : entries) {
      std::string name;
      if (entries.size() == 1) {
        name = title;
      } else {
        name = System::sanitizeUtf8(entry.first);
        if (!systemFile) name += "@" + title;
      }
      const int32_t order = nextOrder_++;
      if (presets_.contains(name)) {
        Dialog::showError(failedText, name.c_str(), "Duplicate params with the same key exist.");
        continue;
      }
      auto preset = std::make_unique<MovementParamsDefine>(name, order, entry.second);
      presets_.emplace(name, std::move(preset));
      System::Log::info(place, "register movement params [%s]", name.c_str());
    }
  } catch (const std::exception& exception) {
    Dialog::showError(failedText, expanded.c_str(), exception.what());
  }
}

std::vector<MovementParamsDefine*> MovementParamsManager::getList() const {
  std::vector<MovementParamsDefine*> list;
  list.reserve(presets_.size());
  for (const auto& entry : presets_) list.push_back(entry.second.get());
  std::sort(list.begin(), list.end(),
            [](const MovementParamsDefine* left, const MovementParamsDefine* right) {
              if (left->order != right->order) return left->order < right->order;
              return left->name < right->name;
            });
  return list;
}

std::vector<std::string> MovementParamsManager::getNameList() const {
  std::vector<std::string> labels;
  for (const MovementParamsDefine* preset : getList()) {
    if (preset->label.empty()) continue;
    if (std::find(labels.begin(), labels.end(), preset->label) == labels.end())
      labels.push_back(preset->label);
  }
  return labels;
}

const MovementParamsDefine* MovementParamsManager::findMovementParams(std::string_view name) const {
  const auto found = presets_.find(std::string(name));
  return found == presets_.end() ? nullptr : found->second.get();
}

}  // namespace Effect
