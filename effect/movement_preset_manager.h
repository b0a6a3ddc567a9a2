#pragma once
// The movement parameter presets by name, for the preset menu of the easing window and the
// menu settings dialog. The manager belongs to the effect registry, which loads the presets
// at the end of its start-up; the easing window loads them again after it has saved one.
//
// Names: a file with exactly one entry gives it the file's title (a user file Ease.params
// holding "params=..." gives the preset "Ease"). A file with more entries gives each entry
// its key; in the user's files "@" and the file's title follow ("fast" in set.params gives
// "fast@set"), in %AppInstall%/preset.params the key stays alone.
//
// Everything runs on the UI thread. A reload destroys the presets: lists taken before it
// must not be used after it.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "effect/movement_preset.h"

namespace Effect {

class MovementParamsManager {
 public:
  // The presets that come with the program.
  static constexpr const char* kSystemFile = "%AppInstall%/preset.params";
  // The user's presets: every file that matches, in the order the folder lists them.
  static constexpr const char* kUserFilePattern = "%Default%/*.params";

  MovementParamsManager() = default;
  MovementParamsManager(const MovementParamsManager&) = delete;
  MovementParamsManager& operator=(const MovementParamsManager&) = delete;

  // Forgets the presets, then registers the system file and every user file. The order
  // numbers go on growing from the last load, so the presets keep the order they were read
  // in.
  void loadMovementParams();
  // Registers the entries of one file (the path may begin with a path variable) in file
  // order. Each entry takes the next order number. A name that is taken keeps its first
  // preset and is reported in an error box; the next entry follows. An entry whose values do
  // not read ends the file: its later entries are not registered, the earlier ones stay, and
  // an error box names the file and the error. A missing or unreadable file registers
  // nothing and says nothing.
  void registerMovementParams(const std::string& path, bool systemFile);

  // The presets sorted by menu order (then by name, so that equal orders list alike). The
  // menus and the menu settings dialog may change their label, order and hide values.
  std::vector<MovementParamsDefine*> getList() const;
  // The labels of the presets in menu order, each distinct label once, empty labels left
  // out: the group names the save dialog offers.
  std::vector<std::string> getNameList() const;
  // The preset of that name, or null.
  const MovementParamsDefine* findMovementParams(std::string_view name) const;

 private:
  std::unordered_map<std::string, std::unique_ptr<MovementParamsDefine>> presets_;
  // The default order of the next preset; never reset.
  int32_t nextOrder_ = 0;
};

}  // namespace Effect
