#include "effect/palette_manager.h"

#include <algorithm>
#include <exception>

#include "effect/edit_access.h"
#include "system/dialog.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/log.h"
#include "system/text.h"

namespace Effect {

namespace {

constexpr const char* kSaveFailedText = "パレットの保存に失敗しました";

std::string palettePath(std::string_view name) {
  std::string path = "%Default%/";
  path += name;
  path += '.';
  path += PaletteManager::kExtension;
  return path;
}

// A name the file system can hold as one file in %Default%: a name with a separator, or
// "." or "..", would put the file somewhere else.
bool isFileTitle(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

}  // namespace

const std::array<PaletteManager::BuiltinColor, 8> PaletteManager::kBuiltinColors{{
    {"white", {1.0f, 1.0f, 1.0f, 1.0f}},
    {"red", {1.0f, 0.0f, 0.0f, 1.0f}},
    {"yellow", {1.0f, 1.0f, 0.0f, 1.0f}},
    {"green", {0.0f, 1.0f, 0.0f, 1.0f}},
    {"aqua", {0.0f, 1.0f, 1.0f, 1.0f}},
    {"blue", {0.0f, 0.0f, 1.0f, 1.0f}},
    {"magenta", {1.0f, 0.0f, 1.0f, 1.0f}},
    {"black", {0.0f, 0.0f, 0.0f, 1.0f}},
}};

bool PaletteManager::Utf16Less::operator()(const std::string& left, const std::string& right) const {
  return System::utf8ToUtf16(left) < System::utf8ToUtf16(right);
}

std::shared_ptr<Palette> PaletteManager::makeDefaultPalette() {
  std::vector<PaletteEntry> cells(Palette::kCellCount);
  for (int k = 0; k < Palette::kGridSize; ++k) {
    const BuiltinColor& row = kBuiltinColors[static_cast<std::size_t>(k)];
    for (int j = 0; j < Palette::kGridSize; ++j) {
      const float brightness = static_cast<float>(Palette::kGridSize - j) / Palette::kGridSize;
      PaletteEntry& cell = cells[static_cast<std::size_t>(k * Palette::kGridSize + j)];
      cell.color = {row.color[0] * brightness, row.color[1] * brightness,
                    row.color[2] * brightness, 1.0f};
      if (j == 0) cell.name = row.name;
    }
  }
  return std::make_shared<Palette>(kDefaultPaletteName, std::move(cells));
}

void PaletteManager::loadPalette() {
  palettes_.clear();
  const std::string pattern =
      System::FileName::expandVariable(std::string("%Default%/*.") + kExtension);
  for (const auto& file : System::File::findFiles(pattern, System::FileName::getDirectory(pattern)))
    registerPalette(file.path);

  if (palettes_.empty()) {
    auto palette = makeDefaultPalette();
    palettes_.emplace(palette->name, PaletteDefine(palette));
    // A default.palette that is there but could not be read (too large, unreadable) is the
    // user's file: it is not replaced by the built-in palette.
    const std::string path = System::FileName::expandVariable(palettePath(kDefaultPaletteName));
    if (!System::File::exists(path)) savePalette(*palette);
  }
  reloadPresetColor();
}

void PaletteManager::registerPalette(const std::string& path) {
  constexpr const char* place = "Effect::PaletteManager::registerPalette";
  std::string expanded = path;
  try {
    expanded = System::FileName::expandVariable(path);
    std::string name = System::FileName::getTitle(expanded);
    auto cells = PaletteDefine::loadPaletteFile(expanded);
    if (!cells) return;
    if (palettes_.contains(name)) {
      Dialog::showError("Failed to register palette. [%s]\n\n%s", name.c_str(),
                        "Duplicate palettes with the same name exist.");
      return;
    }
    auto palette = std::make_shared<Palette>(name, std::move(*cells));
    palettes_.emplace(name, PaletteDefine(std::move(palette)));
    System::Log::info(place, "register palette [%s]", name.c_str());
  } catch (const std::exception& exception) {
    Dialog::showError("Failed to register palette. [%s]\n\n%s", expanded.c_str(), exception.what());
  }
}

void PaletteManager::savePalette(const Palette& palette) {
  try {
    if (!isFileTitle(palette.name))
      throw System::makeFormattedException("Effect::PaletteManager::savePalette",
                                           "invalid palette name.", "%s", palette.name.c_str());
    PaletteDefine::savePaletteFile(palettePath(palette.name), palette.cells);
  } catch (const std::exception&) {
    Dialog::showError("%s", kSaveFailedText);
  }
}

void PaletteManager::reloadPresetColor() {
  constexpr const char* place = "Effect::PaletteManager::reloadPresetColor";
  // Each definition writes its menu settings into the parameter store as it goes, and its
  // successor of the same name reads them back.
  presetColors_.clear();
  for (const auto& entry : palettes_) {
    for (const PaletteEntry& cell : entry.second.palette->cells) {
      if (cell.name.empty()) continue;
      const int32_t order = registerCount_++;
      if (!presetColors_.contains(cell.name))
        presetColors_.emplace(cell.name,
                              std::make_unique<PresetColorDefine>(cell.name, cell.color, order));
      System::Log::info(place, "register preset color [%s]", cell.name.c_str());
    }
  }
}

void PaletteManager::setPresetColorName(const std::shared_ptr<Palette>& palette, int cellIndex,
                                        std::optional<std::string_view> name) {
  if (!palette || cellIndex < 0 || static_cast<std::size_t>(cellIndex) >= palette->cells.size())
    return;
  const auto takeName = [&](Palette& target) {
    bool changed = false;
    for (PaletteEntry& cell : target.cells) {
      if (cell.name == *name) {
        cell.name.clear();
        changed = true;
      }
    }
    return changed;
  };
  if (name && !name->empty()) {
    bool givenVisited = false;
    for (auto& entry : palettes_) {
      Palette& other = *entry.second.palette;
      if (&other == palette.get()) {
        givenVisited = true;
        takeName(other);
      } else if (takeName(other)) {
        savePalette(other);
      }
    }
    if (!givenVisited) takeName(*palette);
    palette->cells[static_cast<std::size_t>(cellIndex)].name = std::string(*name);
  } else {
    palette->cells[static_cast<std::size_t>(cellIndex)].name.clear();
  }
  savePalette(*palette);

  const auto rebuild = [this] { reloadPresetColor(); };
  // Colour items show preset colours by name: the change runs as an edit when there is an
  // edit model to refresh its windows.
  if (EditAccess* access = editAccess()) access->runPresetColorUpdate(rebuild);
  else rebuild();
}

std::vector<std::shared_ptr<Palette>> PaletteManager::getPaletteList() const {
  std::vector<std::shared_ptr<Palette>> list;
  list.reserve(palettes_.size());
  for (const auto& entry : palettes_) list.push_back(entry.second.palette);
  return list;
}

std::shared_ptr<Palette> PaletteManager::findPalette(std::string_view name) const {
  const auto found = palettes_.find(std::string(name));
  return found == palettes_.end() ? nullptr : found->second.palette;
}

std::vector<PresetColorDefine*> PaletteManager::getPresetColorList() const {
  std::vector<PresetColorDefine*> list;
  list.reserve(presetColors_.size());
  for (const auto& entry : presetColors_) list.push_back(entry.second.get());
  std::sort(list.begin(), list.end(), [](const PresetColorDefine* left, const PresetColorDefine* right) {
    if (left->order != right->order) return left->order < right->order;
    return left->name < right->name;
  });
  return list;
}

const PresetColorDefine* PaletteManager::findPresetColor(std::string_view name) const {
  const auto found = presetColors_.find(std::string(name));
  return found == presetColors_.end() ? nullptr : found->second.get();
}

std::vector<std::string> PaletteManager::getPresetColorLabelList() const {
  std::vector<std::string> labels;
  for (const PresetColorDefine* color : getPresetColorList()) {
    if (color->label.empty()) continue;
    if (std::find(labels.begin(), labels.end(), color->label) == labels.end())
      labels.push_back(color->label);
  }
  return labels;
}

}  // namespace Effect
