#pragma once
// Movement parameter presets: named lists of numbers, most often the easing curves of
// number tracks (four numbers per curve point), that the easing window offers and saves.
//
// A preset file is UTF-8 text with one "key=value" entry per line; the value is a list of
// decimal numbers separated by ",":
//     params=0.25,0.25,0.25,0.25
// The presets that come with the program stand in %AppInstall%/preset.params; the user's own
// stand in %Default%/, one file each (effect/movement_preset_manager.h names them). Empty
// lines and lines beginning with ";" are skipped, and so is a line with no "=" or with more
// than one. Keys and values are taken as they are: nothing is trimmed, and a byte-order mark
// at the start of a file stays part of the first key.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "effect/menu_define_base.h"

namespace Effect {

class MovementParamsDefine : public Menu::MenuDefineBase {
 public:
  using Entry = std::pair<std::string, std::string>;  // key, value text

  // Preset files larger than this are not read (reported at WARN): a curve of a hundred
  // points takes a few kilobytes.
  static constexpr uint64_t kMaxFileSize = 1024 * 1024;

  // A preset listed without a label and shown by default, with the default order `order`;
  // the parameter store's "Params.<name>" section may override label, order and hide. An
  // empty value text gives no values; otherwise it is split at "," (empty pieces kept) and
  // every piece must be a finite decimal number, or the construction throws the standard
  // conversion error ("invalid stod argument", "stod argument out of range") and nothing is
  // stored for the preset.
  MovementParamsDefine(std::string name, int32_t order, std::string_view valueText);

  std::string_view getName() const override { return name; }

  // The entries of a preset file (path already expanded) in file order; none when the file
  // cannot be opened.
  static std::vector<Entry> loadMovementParamsFile(const std::string& path);
  // Writes the one line "params=<values>" CR LF, replacing the file atomically. `path` may
  // begin with a path variable. A file that cannot be created throws "failed to open file."
  // with the path; the old file then stays as it was.
  static void saveMovementParamsFile(const std::string& path, const std::vector<double>& values);

  // The entries of a preset file's text.
  static std::vector<Entry> parseMovementParamsText(std::string_view text);
  // The numbers of a value text, as the constructor reads them.
  static std::vector<double> parseValues(std::string_view valueText);
  // The file text of the values, as saveMovementParamsFile writes it.
  static std::string formatMovementParamsText(const std::vector<double>& values);

  // The preset's numbers in file order.
  std::vector<double> values;
  // The registered name.
  std::string name;

 private:
  MovementParamsDefine(std::string name, int32_t order, std::vector<double> values);
};

}  // namespace Effect
