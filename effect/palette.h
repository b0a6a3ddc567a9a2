#pragma once
// Palettes: named grids of 64 colours that the colour window offers, each kept as a text
// file %Default%/<name>.palette. Any cell may carry a name; a named cell is a preset colour
// that the menus list and that can be picked by name (effect/palette_manager.h).
//
// The file holds one cell per line, CR LF line ends:
//     3=ff8000|orange
// the cell number (0 to 63), "=", the colour as six lower-case hexadecimal digits (red,
// green, blue; no alpha) and, for a named cell, "|" and the name. The writer writes all 64
// lines in cell order; the reader takes the lines in any order, skips blank lines, comment
// lines (";") and lines it cannot read, and leaves a cell without a line opaque black.
// Palette files are passed around by users, so the reader trusts nothing in them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Effect {

// One cell: red, green, blue and alpha from 0 to 1 (alpha is always 1: the file holds no
// alpha) and the preset-colour name, empty when the cell is no preset colour.
struct PaletteEntry {
  std::array<float, 4> color{0.0f, 0.0f, 0.0f, 1.0f};
  std::string name;

  bool operator==(const PaletteEntry&) const = default;
};

class Palette {
 public:
  static constexpr int kCellCount = 64;
  // The colour window shows the cells as a grid of this many columns and rows.
  static constexpr int kGridSize = 8;

  // A palette with a copy of the given cells (the colour window makes a new palette from an
  // existing one this way before it saves it).
  Palette(std::string name, std::vector<PaletteEntry> cells);

  // The file title; also the key of the palette among the manager's palettes.
  std::string name;
  // 64 after a load.
  std::vector<PaletteEntry> cells;
};

// The manager's entry for one palette. The palette itself is shared with the windows that
// show it, and stays alive while one of them holds it.
class PaletteDefine {
 public:
  // Palette files larger than this are not read (reported at WARN): 64 lines with long
  // names stay far below it.
  static constexpr uint64_t kMaxFileSize = 1024 * 1024;

  explicit PaletteDefine(std::shared_ptr<Palette> palette) : palette(std::move(palette)) {}

  // Reads a palette file (path already expanded). No value when the file cannot be opened or
  // is too large to be a palette file; otherwise always 64 cells.
  static std::optional<std::vector<PaletteEntry>> loadPaletteFile(const std::string& path);
  // Writes the cells in the file form, one line per cell in cell order, replacing the file
  // atomically. `path` may begin with a path variable. A file that cannot be created throws
  // "failed to open file."; the old file then stays as it was.
  static void savePaletteFile(const std::string& path, const std::vector<PaletteEntry>& cells);

  // The 64 cells a palette file's text gives.
  static std::vector<PaletteEntry> parsePaletteText(std::string_view text);
  // The file text of the cells, as savePaletteFile writes it.
  static std::string formatPaletteText(const std::vector<PaletteEntry>& cells);

  std::shared_ptr<Palette> palette;
};

}  // namespace Effect
