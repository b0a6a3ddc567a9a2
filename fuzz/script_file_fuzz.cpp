// Feeds arbitrary bytes to the script file reader, as script files that users download and
// share may hold them. The bytes are read four ways: as a bundle, as a current "@" file, as
// a legacy file in the legacy code page, and as a legacy "@" file. Every read gives names
// that are valid UTF-8 on one line without blanks at their ends, and texts that the input
// holds (or, for legacy files, valid UTF-8); it never throws.
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "effect/script_file_parser.h"
#include "fuzz/fuzz_support.h"
#include "system/text.h"

namespace {

using FuzzSupport::fail;

struct Files {
  FuzzSupport::ProgramFolder folder{"velumo-script-fuzz"};
  std::string bundle = folder.path() + "/script.anm2";
  std::string atFile = folder.path() + "/@set.obj2";
  std::string legacy = folder.path() + "/plain.anm";
  std::string legacyAtFile = folder.path() + "/@old.tra";
};

Files& files() {
  static Files instance;
  return instance;
}

void write(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// `suffix` is what every name ends with (the "@" file's own name).
void checkEntries(const Effect::ScriptEntryList& entries, std::string_view input,
                  std::string_view suffix, bool converted) {
  std::size_t total = 0;
  for (const auto& entry : entries) {
    if (!System::isValidUtf8(entry.name)) fail("a name is not UTF-8");
    if (entry.name.find_first_of("\r\n") != std::string::npos) fail("a name spans lines");
    if (entry.name.size() <= suffix.size()) fail("an empty name");
    if (entry.name.compare(entry.name.size() - suffix.size(), suffix.size(), suffix) != 0)
      fail("a name lacks the file's name");
    const std::string_view own(entry.name.data(), entry.name.size() - suffix.size());
    if (own.front() == ' ' || own.back() == ' ') fail("a name is not trimmed");
    if (converted) {
      if (!System::isValidUtf8(entry.text)) fail("a converted text is not UTF-8");
    } else if (input.find(entry.text) == std::string_view::npos) {
      fail("a text the file does not hold");
    }
    total += entry.text.size();
  }
  if (!converted && total > input.size()) fail("the scripts hold more than the file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Files& f = files();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  using Effect::ScriptFileParser;

  write(f.bundle, data, size);
  checkEntries(ScriptFileParser::loadScriptFile(f.bundle, false, true), input, "", false);

  write(f.atFile, data, size);
  checkEntries(ScriptFileParser::loadScriptFile(f.atFile, false, false), input, "@set", false);

  write(f.legacy, data, size);
  const auto plain = ScriptFileParser::loadScriptFile(f.legacy, true, false);
  if (plain.size() != 1 || plain.front().name != "plain") fail("a plain file is not one script");
  if (!System::isValidUtf8(plain.front().text)) fail("a converted text is not UTF-8");

  write(f.legacyAtFile, data, size);
  checkEntries(ScriptFileParser::loadScriptFile(f.legacyAtFile, true, false), input, "@old",
               true);
  return 0;
}
