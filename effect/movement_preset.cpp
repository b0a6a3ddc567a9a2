#include "effect/movement_preset.h"

#include "effect/preset_text_file.h"
#include "effect/text_conversion.h"
#include "system/file.h"
#include "system/log.h"
#include "system/text.h"

namespace Effect {

// The values are read before the menu part is made: a preset that fails to read leaves no
// section behind in the parameter store.
MovementParamsDefine::MovementParamsDefine(std::string name, int32_t order,
                                           std::string_view valueText)
    : MovementParamsDefine(std::move(name), order, parseValues(valueText)) {}

MovementParamsDefine::MovementParamsDefine(std::string name, int32_t order,
                                           std::vector<double> values)
    : MenuDefineBase("Params", name, order, {}, true),
      values(std::move(values)),
      name(std::move(name)) {}

std::vector<double> MovementParamsDefine::parseValues(std::string_view valueText) {
  std::vector<double> values;
  if (valueText.empty()) return values;
  // Split at every ",", empty pieces included: an empty piece is no number.
  while (true) {
    const auto comma = valueText.find(',');
    values.push_back(readDouble(valueText.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    valueText.remove_prefix(comma + 1);
  }
  return values;
}

std::vector<MovementParamsDefine::Entry> MovementParamsDefine::parseMovementParamsText(
    std::string_view text) {
  std::vector<Entry> entries;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    if (line.empty() || line.front() == ';') continue;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || line.find('=', equals + 1) != std::string_view::npos)
      continue;
    entries.emplace_back(std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)));
  }
  return entries;
}

std::vector<MovementParamsDefine::Entry> MovementParamsDefine::loadMovementParamsFile(
    const std::string& path) {
  const auto text =
      readPresetTextFile(path, kMaxFileSize, "Effect::MovementParamsDefine::loadMovementParamsFile");
  if (!text) return {};
  return parseMovementParamsText(*text);
}

std::string MovementParamsDefine::formatMovementParamsText(const std::vector<double>& values) {
  std::string text = "params=";
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += ',';
    text += System::formatNumber(values[i]);
  }
  text += "\r\n";
  return text;
}

void MovementParamsDefine::saveMovementParamsFile(const std::string& path,
                                                  const std::vector<double>& values) {
  System::Log::info("Effect::MovementParamsDefine::saveMovementParamsFile",
                    "save movement params file : %s", path.c_str());
  const std::string expanded = System::FileName::expandVariable(path);
  const std::string text = formatMovementParamsText(values);
  System::SafeFileWriter writer(expanded);
  writer.write(text);
  writer.commit();
}

}  // namespace Effect
