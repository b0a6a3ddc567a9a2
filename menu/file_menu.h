#pragma once
// The File menu: new, open and save of the project, the recently used and the backed-up
// projects, the export writers, and the two ways out of the program.
#include "edit/file_history.h"
#include "menu/menu_base.h"

namespace Menu {

class FileMenu : public MenuBase {
 public:
  // Room in each history sub-menu: a history never keeps more entries.
  static constexpr int kHistoryItemCount = Edit::FileHistory::kMaximumLimit;

  void initialize() override;
};

}  // namespace Menu
