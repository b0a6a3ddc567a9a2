#pragma once
// The palettes of the colour window and the preset colours made from their named cells.
//
// The manager belongs to the effect registry: the registry loads the palettes once at the
// end of its start-up; the colour window loads them again after it has created a palette
// file, edits cells of a palette directly and then asks the manager to save the palette and
// to rebuild the preset colours. Everything runs on the UI thread; there is no lock.
//
// A reload replaces the palettes wholesale; a palette a window still holds stays alive but
// is no longer the manager's. Preset colours are rebuilt after every load, every naming of
// a cell and every change of the cells: lists of them taken before a rebuild must not be
// used after it.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "effect/palette.h"
#include "effect/palette_preset_color.h"

namespace Effect {

class PaletteManager {
 public:
  // The palette made when %Default% holds none.
  static constexpr const char* kDefaultPaletteName = "default";
  static constexpr const char* kExtension = "palette";

  // The rows of the built-in colour table the "default" palette is made from.
  struct BuiltinColor {
    const char* name;
    std::array<float, 4> color;
  };
  static const std::array<BuiltinColor, 8> kBuiltinColors;

  PaletteManager() = default;
  PaletteManager(const PaletteManager&) = delete;
  PaletteManager& operator=(const PaletteManager&) = delete;

  // Forgets the palettes, registers every %Default%/*.palette, makes the "default" palette
  // when none was registered (and writes it, unless a file of that name exists that could
  // not be read: that file is the user's and is left alone), then rebuilds the preset
  // colours.
  void loadPalette();
  // Reads one palette file (the path may begin with a path variable) and enters it under its
  // file title. A file that cannot be opened registers nothing and says nothing; a name that
  // is taken, or a failure while reading, is shown in an error box and registers nothing.
  void registerPalette(const std::string& path);
  // Writes the palette to %Default%/<name>.palette. A failure is shown in an error box
  // ("パレットの保存に失敗しました") and changes nothing else.
  void savePalette(const Palette& palette);
  // Rebuilds the preset colours from the named cells of all palettes.
  void reloadPresetColor();
  // Names cell `cellIndex` of the palette (`name` empty or none: clears the cell's name).
  // A new name is first taken from every cell that carries it, in every palette; each other
  // palette that lost it is saved. The palette is saved, then the preset colours are rebuilt
  // inside an edit-update scope. A cell number outside the palette changes nothing.
  void setPresetColorName(const std::shared_ptr<Palette>& palette, int cellIndex,
                          std::optional<std::string_view> name);

  // The palettes sorted by name in the order of UTF-16 code units (a shorter name before a
  // longer one that begins with it).
  std::vector<std::shared_ptr<Palette>> getPaletteList() const;
  // The palette of that name, or empty.
  std::shared_ptr<Palette> findPalette(std::string_view name) const;
  // The preset colours sorted by order (then by name, so that equal orders list alike). The
  // menus and the menu settings dialog may change their label, order and hide values.
  std::vector<PresetColorDefine*> getPresetColorList() const;
  // The preset colour of that name, or null.
  const PresetColorDefine* findPresetColor(std::string_view name) const;
  // The distinct non-empty labels of the preset colours, in the order of the first preset
  // colour (in list order) that carries each: one sub-menu per label.
  std::vector<std::string> getPresetColorLabelList() const;

  // The palette made when there is none: cell 8 k + j holds row k of the built-in table at
  // (8 - j) / 8 of its brightness; cell 8 k carries the row's name.
  static std::shared_ptr<Palette> makeDefaultPalette();

 private:
  // Palette names compared as UTF-16 code units, so that the map walks them in list order.
  struct Utf16Less {
    bool operator()(const std::string& left, const std::string& right) const;
  };

  std::map<std::string, PaletteDefine, Utf16Less> palettes_;
  std::unordered_map<std::string, std::unique_ptr<PresetColorDefine>> presetColors_;
  // The default order of the next preset colour; never reset.
  int32_t registerCount_ = 0;
};

}  // namespace Effect
