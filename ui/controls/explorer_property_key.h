#pragma once
// The column keys of the explorer's list view: a property set (a GUID in braces) and a
// property id, written as "{GUID} id". The view shows the four properties the file model
// knows: the item name, its size, its type text and its modification date.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Control {

struct ExplorerPropertyKey {
  std::string formatId;  // "{B725F130-47EF-101A-A5F1-02608C9EACEB}", upper-case hex
  uint32_t propertyId = 0;

  bool operator==(const ExplorerPropertyKey&) const = default;

  // "{GUID} id", the form the settings keep.
  std::string toString() const;
  // Reads the "{GUID} id" form: a braced GUID of 8-4-4-4-12 hex digits (either case), one
  // or more spaces, a decimal id. Anything else gives nothing.
  static std::optional<ExplorerPropertyKey> fromString(std::string_view text);

  // The model column that shows the property, or -1 for one the view cannot show.
  int column() const;
  // The key of a model column (0 to 3).
  static ExplorerPropertyKey ofColumn(int column);
};

// The storage property set that holds the name, size, type and date of a file.
inline constexpr const char* kStoragePropertySet = "{B725F130-47EF-101A-A5F1-02608C9EACEB}";
inline constexpr int kExplorerColumnCount = 4;

// The columns a view shows when no consistent saved set exists: name, size, date modified.
std::array<ExplorerPropertyKey, 3> defaultExplorerColumns();

}  // namespace Control
