#include "effect/palette.h"

#include <algorithm>
#include <cmath>

#include "effect/preset_text_file.h"
#include "system/file.h"
#include "system/format.h"
#include "system/ini_file.h"
#include "system/log.h"
#include "system/text.h"

namespace Effect {

namespace {

bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A base-16 integer in the manner of strtol: leading blanks, a sign, an optional "0x" before
// a digit, then the digits; what follows is ignored. No value when no digit is read. Used
// on pairs of two characters, so the value cannot overflow.
std::optional<long> readHexInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
      hexDigit(text[i + 2]) >= 0)
    i += 2;
  if (i >= text.size() || hexDigit(text[i]) < 0) return std::nullopt;
  long value = 0;
  for (; i < text.size() && hexDigit(text[i]) >= 0; ++i) value = value * 16 + hexDigit(text[i]);
  return negative ? -value : value;
}

// The colour of a cell line: exactly six characters once the spaces at both ends are gone,
// three pairs for red, green and blue. A signed pair ("-f") reads as strtol reads it; the
// channel is kept inside 0 to 1 all the same, as every cell colour is.
std::optional<std::array<float, 4>> readColor(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.size() != 6) return std::nullopt;
  std::array<float, 4> color{0.0f, 0.0f, 0.0f, 1.0f};
  for (int channel = 0; channel < 3; ++channel) {
    const auto value = readHexInteger(text.substr(static_cast<std::size_t>(channel) * 2, 2));
    if (!value) return std::nullopt;
    color[static_cast<std::size_t>(channel)] =
        std::clamp(static_cast<float>(*value) / 255.0f, 0.0f, 1.0f);
  }
  return color;
}

// Reads one line into its cell; a line that does not read leaves every cell as it is.
void readCellLine(std::string_view line, std::vector<PaletteEntry>& cells) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  if (line.empty() || line.front() == ';') return;
  // Exactly one "=": a line that splits into any other number of parts is skipped.
  const auto equals = line.find('=');
  if (equals == std::string_view::npos || line.find('=', equals + 1) != std::string_view::npos)
    return;
  const auto index = System::IniFile::parseInt(line.substr(0, equals));
  if (!index || *index < 0 || *index >= Palette::kCellCount) return;
  const std::string_view rest = line.substr(equals + 1);
  const auto bar = rest.find('|');
  const auto color = readColor(rest.substr(0, bar));
  if (!color) return;
  PaletteEntry& cell = cells[static_cast<std::size_t>(*index)];
  cell.color = *color;
  if (bar == std::string_view::npos) {
    cell.name.clear();
  } else {
    // The second piece is the name; pieces after a further "|" are ignored.
    const std::string_view name = rest.substr(bar + 1);
    cell.name = System::sanitizeUtf8(name.substr(0, name.find('|')));
  }
}

// A channel from 0 to 1 as a byte: rounded to the nearest integer with halves away from zero
// and kept inside 0 to 255 (a channel that is not a number writes 0).
int channelByte(float value) {
  const double scaled = std::round(static_cast<double>(value) * 255.0);
  if (!(scaled >= 0.0)) return 0;
  return scaled > 255.0 ? 255 : static_cast<int>(scaled);
}

// A name that the reader could not give back as it is: "=" makes the line unreadable (the
// cell would lose its colour as well), "|" cuts the name, a line feed splits the line, and a
// carriage return at its end is taken for part of the line end.
bool isStorableName(std::string_view name) {
  return name.find_first_of("=|\n") == std::string_view::npos &&
         (name.empty() || name.back() != '\r');
}

}  // namespace

Palette::Palette(std::string name, std::vector<PaletteEntry> cells)
    : name(std::move(name)), cells(std::move(cells)) {}

std::vector<PaletteEntry> PaletteDefine::parsePaletteText(std::string_view text) {
  std::vector<PaletteEntry> cells(Palette::kCellCount);
  while (!text.empty()) {
    const auto end = text.find('\n');
    readCellLine(text.substr(0, end), cells);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return cells;
}

std::optional<std::vector<PaletteEntry>> PaletteDefine::loadPaletteFile(const std::string& path) {
  const auto text =
      readPresetTextFile(path, kMaxFileSize, "Effect::PaletteDefine::loadPaletteFile");
  if (!text) return std::nullopt;
  return parsePaletteText(*text);
}

std::string PaletteDefine::formatPaletteText(const std::vector<PaletteEntry>& cells) {
  std::string text;
  text.reserve(cells.size() * 16);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const PaletteEntry& cell = cells[i];
    text += System::formatString("%zu=%02x%02x%02x", i, channelByte(cell.color[0]),
                                 channelByte(cell.color[1]), channelByte(cell.color[2]));
    if (!cell.name.empty()) {
      if (isStorableName(cell.name)) {
        text += '|';
        text += cell.name;
      } else {
        System::Log::warn("Effect::PaletteDefine::savePaletteFile",
                          "preset color name cannot be stored, left out. [%s] (cell %zu)",
                          cell.name.c_str(), i);
      }
    }
    text += "\r\n";
  }
  return text;
}

void PaletteDefine::savePaletteFile(const std::string& path, const std::vector<PaletteEntry>& cells) {
  System::Log::info("Effect::PaletteDefine::savePaletteFile", "save palette file : %s",
                    path.c_str());
  const std::string expanded = System::FileName::expandVariable(path);
  const std::string text = formatPaletteText(cells);
  System::SafeFileWriter writer(expanded);
  writer.write(text);
  writer.commit();
}

}  // namespace Effect
