#pragma once
// The Etc menu: what is installed (the loaded plug-ins, the registered scripts) and which
// version runs.
#include <string>
#include <vector>

#include "menu/menu_base.h"

namespace Menu {

// What the menu hands to a list-view dialog: a title, columns with their widths, rows of
// one text per column, and the dialog width that the columns add up to.
struct ListViewContent {
  struct Column {
    std::string title;
    int width = 0;
  };
  std::string title;
  std::vector<Column> columns;
  std::vector<std::vector<std::string>> rows;
  int width = 0;

  void addColumn(std::string columnTitle, int columnWidth);
  // Keeps the row only when it has exactly one text per column.
  void addRow(std::vector<std::string> texts);
};

// The loaded input plug-ins, then the output plug-ins, that describe themselves.
ListViewContent pluginListContent();
// The scripts registered from the script folder, with their kinds.
ListViewContent scriptListContent();

inline constexpr const char* kProductName = "Velumo Kivrun2";
inline constexpr const char* kVersionText = "Velumo Kivrun2  version 2.0.0";

class EtcMenu : public MenuBase {
 public:
  void initialize() override;
};

}  // namespace Menu
