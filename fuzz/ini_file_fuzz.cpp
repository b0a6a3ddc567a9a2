// Feeds arbitrary bytes to the ini reader as a file (a primary load, then a merge of its
// second half, also as legacy text), runs every conversion on every value, loads a parameter
// section from it, then writes the store and reads it back: the copy must hold the same
// sections, keys and values.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "system/config.h"
#include "system/ini_contents.h"
#include "system/ini_file.h"
#include "system/log.h"
#include "system/temp_folder.h"

namespace {

using System::IniFile;
using TestSupport::contentsOf;

// A folder of this process for its files, removed at exit.
const TestSupport::TempFolder& scratch() {
  static const TestSupport::TempFolder folder("velumo-ini-fuzz");
  // Nothing reads the log here; formatting its records is still exercised.
  static const bool quiet = (System::Log::setOutput(System::Log::discardOutput), true);
  (void)quiet;
  return folder;
}

void writeFile(const std::string& path, const uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

template <class Action>
void tryConversion(Action action) {
  try {
    action();
  } catch (const std::exception&) {
    // Failed conversions throw by design; only crashes and leaks matter here.
  }
}

void convertEverything(const IniFile::VALUE& value) {
  tryConversion([&] { (void)value.toInt(); });
  tryConversion([&] { (void)value.toInt(7); });
  tryConversion([&] { (void)value.toFloat(); });
  tryConversion([&] { (void)value.toString(); });
  tryConversion([&] { (void)value.toString("default"); });
  tryConversion([&] { (void)value.toRGBA(); });
  (void)value.getPlaceText();
  for (const IniFile::VALUE& piece : value.split(",")) {
    tryConversion([&] { (void)piece.toInt(); });
    tryConversion([&] { (void)piece.toFloat(); });
    (void)piece.getPlaceText(3);
  }
}

// Binds an Int, a Float and a String parameter to each of the first keys of one section.
void loadAndSaveParameters(IniFile& store, const std::string& sectionName) {
  namespace Config = System::Config;
  constexpr std::size_t kMaxKeys = 8;
  std::vector<std::string> keys;
  for (const auto& [key, value] : store.getSection(sectionName).keys()) {
    if (keys.size() == kMaxKeys) break;
    keys.push_back(key);
  }
  Config::Section section(sectionName);
  std::vector<int32_t> ints(keys.size() + 1);
  std::vector<float> floats(keys.size() + 1);
  std::vector<std::string> strings(keys.size() + 1);
  std::vector<std::unique_ptr<Config::Int>> intParameters;
  std::vector<std::unique_ptr<Config::Float>> floatParameters;
  std::vector<std::unique_ptr<Config::String>> stringParameters;
  // Each key as every type, and one key that is missing.
  keys.push_back("missing key of the fuzzer");
  for (std::size_t i = 0; i < keys.size(); ++i) {
    intParameters.push_back(std::make_unique<Config::Int>(section, keys[i], &ints[i], 200));
    floatParameters.push_back(std::make_unique<Config::Float>(section, keys[i], &floats[i], 0.5f));
    stringParameters.push_back(
        std::make_unique<Config::String>(section, keys[i], &strings[i], "default"));
  }
  Config::Binding binding(section, &store);
  binding.load();
  // The binding saves the section when it goes; the parameters outlive it.
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string primary = scratch() / "primary.ini";
  const std::string second = scratch() / "second.ini";
  const std::string saved = scratch() / "saved.ini";
  writeFile(primary, data, size);
  writeFile(second, data + size / 2, size - size / 2);

  IniFile store;
  store.loadFile(primary);
  store.loadFile(second, true);
  store.loadFile(second, true, true);

  std::string firstSection;
  bool haveSection = false;
  for (const auto& [name, keys] : store.sections()) {
    if (!haveSection) firstSection = name, haveSection = true;
    const IniFile::SectionRef ref = store.getSection(name);
    tryConversion([&] { (void)ref.getValue("missing key of the fuzzer"); });
    for (const auto& [key, value] : keys) {
      convertEverything(value);
      convertEverything(ref.findValue(key));
    }
  }
  (void)store.getSection("layer", 3);
  if (haveSection) loadAndSaveParameters(store, firstSection);

  try {
    IniFile::Save(store, saved);
  } catch (const std::exception&) {
    std::abort();  // the scratch folder is writable: a failure here is a fault
  }
  IniFile reread;
  reread.loadFile(saved);
  if (contentsOf(reread) != contentsOf(store)) {
    std::fprintf(stderr, "a saved store reads back differently\n");
    std::abort();
  }
  return 0;
}
