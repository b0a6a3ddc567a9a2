// Feeds arbitrary bytes to the translation service as a language file in %Language%: loads
// it, checks every table against the file's own sections, translates a few texts, and
// registers the file in place, which must leave it exactly as it was.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"
#include "system/temp_folder.h"
#include "system/text.h"
#include "system/translate_service.h"

namespace {

using Translate::TranslateService;
using TextKind = TranslateService::TextKind;

using FuzzSupport::fail;
using TestSupport::readWholeFile;

// The language file, in a program folder of this process so that %Language% lies in it.
const std::string& languageFile() {
  static const FuzzSupport::ProgramFolder folder("velumo-language-fuzz");
  static const std::string path = [] {
    // The automatic choice must not depend on the machine's locale.
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    return System::FileName::expandVariable("%Language%/fuzz.vll2");
  }();
  return path;
}

TranslateService& service() {
  (void)languageFile();
  static TranslateService instance;
  return instance;
}

std::string withLineBreaks(std::string text) {
  System::replaceAll(text, "\\n", "\n");
  return text;
}

// Every key of the file's section must translate to its value, or to itself when the value
// is empty, through its own table.
void checkSection(const TranslateService& translate, const System::IniFile& store,
                  const char* section, TextKind kind) {
  const auto& keys = store.getSection(section).keys();
  if (translate.table(kind).size() != keys.size()) fail("a table lost or gained entries");
  for (const auto& entry : keys) {
    const std::string source = withLineBreaks(entry.first);
    const std::string expected =
        entry.second.text.empty() ? source : withLineBreaks(entry.second.text);
    if (translate.translate(kind, source) != expected) fail("a text translates wrongly");
    // The NUL-terminated lookup gives the table's own characters; it cannot name a text with
    // a NUL inside.
    if (source.find('\0') == std::string::npos &&
        translate.table(kind).translate(source.c_str()) != translate.translate(kind, source).data())
      fail("the two lookups disagree");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TranslateService& translate = service();
  const std::string& path = languageFile();
  const std::string contents(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  }

  translate.language = "fuzz";
  translate.loadLanguage();
  System::IniFile store;
  store.loadFile(path);
  if (Translate::isLanguageActive()) {
    if (translate.language != "fuzz") fail("an active language lost its name");
    checkSection(translate, store, "Effect", TextKind::Effect);
    checkSection(translate, store, "Message", TextKind::Message);
    checkSection(translate, store, "Menu", TextKind::Menu);
    checkSection(translate, store, "Dialog", TextKind::Dialog);
    checkSection(translate, store, "Name", TextKind::Name);
  } else {
    if (!translate.language.empty()) fail("translation is off but a language is named");
    for (const TextKind kind :
         {TextKind::Effect, TextKind::Message, TextKind::Menu, TextKind::Dialog, TextKind::Name})
      if (!translate.table(kind).empty()) fail("translation is off but a table is filled");
  }

  // Texts the program itself asks for, and a few pieces of the input.
  for (const char* text : {"Layer", "Root", "Scene", "", "言語ファイルを設定しました"})
    (void)translate.translate(TextKind::Name, text);
  const std::string_view whole(contents);
  (void)translate.translateString(whole.substr(0, whole.find('=')));
  (void)translate.translate(TextKind::Message, whole.substr(0, 16));
  (void)TranslateService::getLanguageList();

  // Selecting the file where it lies must not copy it onto itself.
  try {
    translate.registerLanguageFile(path);
  } catch (const std::exception&) {
    fail("registering an installed file threw");
  }
  if (readWholeFile(path) != contents) fail("registering an installed file changed it");
  return 0;
}
