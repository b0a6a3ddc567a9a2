// Feeds arbitrary bytes to the movement preset reader, as preset files that users share may
// hold them. Every entry it keeps has a key and a value without "=" or a line break; a value
// either reads into finite numbers or fails with the standard conversion error; numbers that
// read are written as a preset file whose text reads back to the same text. The same bytes
// registered as a user file in %Default% give presets with distinct names, never more than
// the file's entries, and a reload gives the same names again.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "effect/movement_preset.h"
#include "effect/movement_preset_manager.h"
#include "fuzz/fuzz_support.h"
#include "system/file.h"
#include "system/log.h"

namespace {

using Effect::MovementParamsDefine;
using Effect::MovementParamsManager;

using FuzzSupport::fail;

// The user's preset file, in a program folder of this process so that %Default% lies in it.
const std::string& userFile() {
  static const FuzzSupport::ProgramFolder folder("velumo-preset-fuzz");
  static const std::string path = System::FileName::expandVariable("%Default%/fuzz.params");
  return path;
}

// The values of a text, or none when it fails as the reader says it may.
bool readValues(std::string_view text, std::vector<double>& values) {
  try {
    values = MovementParamsDefine::parseValues(text);
    return true;
  } catch (const std::invalid_argument& error) {
    if (std::string_view(error.what()) != "invalid stod argument") fail("unexpected error text");
  } catch (const std::out_of_range& error) {
    if (std::string_view(error.what()) != "stod argument out of range") fail("unexpected error text");
  }
  return false;
}

std::vector<std::string> names(const MovementParamsManager& manager) {
  std::vector<std::string> result;
  for (const auto* preset : manager.getList()) result.emplace_back(preset->getName());
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto entries = MovementParamsDefine::parseMovementParamsText(input);
  for (const auto& entry : entries) {
    if (entry.first.find_first_of("=\n") != std::string::npos ||
        entry.second.find_first_of("=\n") != std::string::npos)
      fail("an entry kept a separator");
    if (!entry.first.empty() && entry.first.front() == ';') fail("a comment became an entry");
    if (!entry.second.empty() && entry.second.back() == '\r') fail("a line end stayed in a value");

    std::vector<double> values;
    if (!readValues(entry.second, values)) continue;
    for (const double value : values)
      if (!std::isfinite(value)) fail("a value is not finite");
    // What is written reads back, and writing that again gives the same text.
    const std::string text = MovementParamsDefine::formatMovementParamsText(values);
    const auto written = MovementParamsDefine::parseMovementParamsText(text);
    if (written.size() != 1 || written[0].first != "params") fail("a written file lost its line");
    std::vector<double> again;
    if (!readValues(written[0].second, again)) fail("written values do not read back");
    if (again.size() != values.size()) fail("written values changed their count");
    if (MovementParamsDefine::formatMovementParamsText(again) != text)
      fail("written values do not keep their text");
  }

  // The same bytes as a user's preset file.
  const std::string& path = userFile();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(input.data(), static_cast<std::streamsize>(input.size()));
  }
  MovementParamsManager manager;
  manager.loadMovementParams();
  const auto first = names(manager);
  if (first.size() > entries.size()) fail("more presets than entries");
  for (std::size_t i = 0; i < first.size(); ++i)
    for (std::size_t j = i + 1; j < first.size(); ++j)
      if (first[i] == first[j]) fail("two presets share a name");
  if (entries.size() >= 2)
    for (const auto& name : first)
      if (name.size() < 5 || name.compare(name.size() - 5, 5, "@fuzz") != 0)
        fail("a user file's key lacks its title");
  manager.loadMovementParams();
  if (names(manager) != first) fail("a reload changed the presets");
  return 0;
}
