// Feeds arbitrary bytes to the palette reader, as palette files that users share may hold
// them. The reader always gives 64 cells, each an opaque colour inside 0 to 1 with a name
// that is valid text; what it gives is written and read back to exactly the same cells. The
// same bytes as a file in %Default% load as the palette of that name, with one preset colour
// per distinct name, and saving it leaves a file that reads back to the same cells.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "effect/palette.h"
#include "effect/palette_manager.h"
#include "fuzz/fuzz_support.h"
#include "system/file.h"
#include "system/log.h"
#include "system/text.h"

namespace {

using Effect::Palette;
using Effect::PaletteDefine;
using Effect::PaletteEntry;
using Effect::PaletteManager;

using FuzzSupport::fail;

// The palette file, in a program folder of this process so that %Default% lies in it.
const std::string& paletteFile() {
  static const FuzzSupport::ProgramFolder folder("velumo-palette-fuzz");
  static const std::string path = System::FileName::expandVariable("%Default%/fuzz.palette");
  return path;
}

void checkCells(const std::vector<PaletteEntry>& cells) {
  if (cells.size() != static_cast<std::size_t>(Palette::kCellCount)) fail("not 64 cells");
  for (const PaletteEntry& cell : cells) {
    for (int channel = 0; channel < 3; ++channel) {
      const float value = cell.color[static_cast<std::size_t>(channel)];
      if (!(value >= 0.0f && value <= 1.0f)) fail("a channel outside 0 to 1");
    }
    if (cell.color[3] != 1.0f) fail("a cell is not opaque");
    if (!System::isValidUtf8(cell.name)) fail("a name is no valid text");
    if (cell.name.find_first_of("=|\n") != std::string::npos) fail("a name kept a separator");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto cells = PaletteDefine::parsePaletteText(input);
  checkCells(cells);
  // A name ending in a carriage return is the one thing the writer leaves out.
  auto storable = cells;
  for (PaletteEntry& cell : storable)
    if (!cell.name.empty() && cell.name.back() == '\r') cell.name.clear();
  const std::string text = PaletteDefine::formatPaletteText(cells);
  if (PaletteDefine::parsePaletteText(text) != storable) fail("written cells do not read back");

  // The same bytes as a palette file.
  const std::string& path = paletteFile();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(input.data(), static_cast<std::streamsize>(input.size()));
  }
  PaletteManager manager;
  manager.loadPalette();
  const auto palette = manager.findPalette("fuzz");
  if (!palette || manager.getPaletteList().size() != 1) fail("the file did not load alone");
  if (palette->cells != cells) fail("the manager read other cells");
  std::set<std::string> distinct;
  for (const PaletteEntry& cell : cells)
    if (!cell.name.empty()) distinct.insert(cell.name);
  if (manager.getPresetColorList().size() != distinct.size()) fail("preset colours miscounted");
  for (const std::string& name : distinct)
    if (!manager.findPresetColor(name)) fail("a named cell is no preset colour");

  manager.savePalette(*palette);
  const auto saved = PaletteDefine::loadPaletteFile(path);
  if (!saved || *saved != storable) fail("a saved palette does not read back");
  return 0;
}
