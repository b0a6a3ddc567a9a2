#include "system/ini_file.h"

#include <locale.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>

#include "system/exception.h"
#include "system/file.h"
#include "system/format.h"
#include "system/log.h"
#include "system/text.h"

namespace System {
namespace {

constexpr const char* kLoadPlace = "System::IniFile::loadFile";
constexpr const char* kSavePlace = "System::IniFile::Save::Save";
constexpr std::size_t kMaxIndexedSectionName = 63;
constexpr std::size_t kReadChunk = 64 * 1024;

bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }
int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The classic "C" locale, made once: the float rule must not follow a locale that the
// process (or a library it loads) has set, or "0.5" would read as 0 under a comma locale.
locale_t classicLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

// Reads a whole file of at most IniFile::kMaxFileSize bytes. False when it cannot be opened
// (silently: a missing file is normal) or is too large (reported).
bool readWholeFile(const std::string& path, std::string_view callerPath, std::string& content) {
  // Only a regular file is a settings file: a folder is not readable as one, and a pipe or a
  // device could block or never end.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const auto reportTooLarge = [&](uint64_t size) {
    Log::warn(kLoadPlace, "ini file too large. file=%s(size %llu)", std::string(callerPath).c_str(),
              static_cast<unsigned long long>(size));
  };
  const auto size = std::filesystem::file_size(path, error);
  if (!error && size > IniFile::kMaxFileSize) {
    reportTooLarge(size);
    return false;
  }
  // The size is only a hint (the file may grow, or be a device): read in chunks and stop at
  // the limit whatever it said.
  content.reserve(error ? 0 : static_cast<std::size_t>(size));
  char chunk[kReadChunk];
  while (in) {
    in.read(chunk, sizeof chunk);
    const auto got = static_cast<std::size_t>(in.gcount());
    if (content.size() + got > IniFile::kMaxFileSize) {
      reportTooLarge(content.size() + got);
      content.clear();
      return false;
    }
    content.append(chunk, got);
  }
  return !in.bad();
}

[[noreturn]] void throwValueError(const IniFile::VALUE& value, const char* place,
                                  const char* message) {
  const std::string placeText = value.getPlaceText();
  throw makeFormattedException(place, message, "%s", placeText.c_str());
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Number rules

std::optional<int32_t> IniFile::parseInt(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && isCSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  if (pos >= text.size() || !isDigit(text[pos])) return std::nullopt;
  // Past this magnitude the value is out of range whatever follows; keep reading the digits
  // without letting the accumulator overflow.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; pos < text.size() && isDigit(text[pos]); ++pos) {
    magnitude = magnitude * 10 + (text[pos] - '0');
    if (magnitude > kLimit) magnitude = kLimit + 1;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<float> IniFile::parseFloat(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const locale_t locale = classicLocale();
  const float value = locale ? strtof_l(begin, &end, locale) : std::strtof(begin, &end);
  if (end == begin || errno == ERANGE) return std::nullopt;
  return value;
}

// ---------------------------------------------------------------------------------------
// VALUE

const IniFile::VALUE& IniFile::emptyValue() {
  static const VALUE empty;
  return empty;
}

int32_t IniFile::VALUE::toInt() const {
  constexpr const char* place = "System::IniFile::VALUE::toInt";
  if (text.empty())
    throwValueError(*this, place, "ini file parameter invalid format(int) or undefined.");
  const auto value = parseInt(text);
  if (!value) throwValueError(*this, place, "ini file parameter invalid format(int) or undefined.");
  return *value;
}

int32_t IniFile::VALUE::toInt(int32_t defaultValue) const {
  if (text.empty()) return defaultValue;
  const auto value = parseInt(text);
  if (!value)
    throwValueError(*this, "System::IniFile::VALUE::toInt",
                    "ini file parameter invalid format(int).");
  return *value;
}

float IniFile::VALUE::toFloat() const {
  const auto value = text.empty() ? std::nullopt : parseFloat(text);
  if (!value)
    throwValueError(*this, "System::IniFile::VALUE::toFloat",
                    "ini file parameter invalid format(float) or undefined.");
  return *value;
}

std::string IniFile::VALUE::toString() const {
  if (text.empty() || !isValidUtf8(text))
    throwValueError(*this, "System::IniFile::VALUE::toString",
                    "ini file parameter invalid format(UTF8) or undefined.");
  return text;
}

std::string IniFile::VALUE::toString(std::string_view defaultValue) const {
  if (text.empty()) return std::string(defaultValue);
  if (!isValidUtf8(text))
    throwValueError(*this, "System::IniFile::VALUE::toString",
                    "ini file parameter invalid format(UTF8).");
  return text;
}

std::array<float, 4> IniFile::VALUE::toRGBA() const {
  std::string_view digits = text;
  while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
  while (!digits.empty() && digits.back() == ' ') digits.remove_suffix(1);
  const auto fail = [this] {
    throwValueError(*this, "System::IniFile::VALUE::toRGBA",
                    "ini file parameter invalid format(RGB) or undefined.");
  };
  if (digits.size() != 6 && digits.size() != 8) fail();
  std::array<float, 4> color{0.0f, 0.0f, 0.0f, 1.0f};
  for (std::size_t i = 0; i < digits.size() / 2; ++i) {
    // Each pair reads like strtol base 16 on its two characters: it must begin with a hex
    // digit, and reading stops at the first character that is not one.
    const int high = hexDigit(digits[i * 2]);
    if (high < 0) fail();
    const int low = hexDigit(digits[i * 2 + 1]);
    const int value = low < 0 ? high : high * 16 + low;
    color[i] = static_cast<float>(value) / 255.0f;
  }
  return color;
}

std::vector<IniFile::VALUE> IniFile::VALUE::split(std::string_view separators) const {
  // Pieces name the stored value they came from, also when this value is a piece itself.
  const VALUE* root = parent ? parent : this;
  std::vector<VALUE> pieces;
  const auto addPiece = [&](std::size_t begin, std::size_t end) {
    VALUE& piece = pieces.emplace_back();
    piece.text.assign(text, begin, end - begin);
    piece.file = file;
    piece.parent = root;
    piece.line = line;
    piece.sectionName_ = sectionName_;
    piece.keyName_ = keyName_;
    piece.generation_ = generation_;
  };
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (separators.find(text[i]) != std::string_view::npos) {
      addPiece(start, i);
      start = i + 1;
    }
  }
  addPiece(start, text.size());
  return pieces;
}

std::string IniFile::VALUE::getPlaceText(int lineOverride) const {
  if (!file) return {};
  std::string place;
  if (!file->path_.empty()) {
    place = "file=" + file->path_;
    const int shownLine = lineOverride != 0 ? lineOverride : line;
    if (shownLine != 0) place += formatString("(line %d)", shownLine);
  }
  // The names a value was entered under are trusted only while its store has not been
  // emptied since; otherwise the store is searched for the value itself.
  if (sectionName_ && keyName_ && generation_ == file->generation_) {
    place += " section=" + *sectionName_ + " key=" + *keyName_;
    return place;
  }
  const VALUE* target = parent ? parent : this;
  for (const auto& [sectionName, keys] : file->sections_) {
    for (const auto& [key, value] : keys) {
      if (&value == target) {
        place += " section=" + sectionName + " key=" + key;
        return place;
      }
    }
  }
  return place;
}

// ---------------------------------------------------------------------------------------
// SectionRef

bool IniFile::SectionRef::exists() const { return store_ && store_->hasSection(name_); }

bool IniFile::SectionRef::hasKey(std::string_view key) const {
  const KeyTable& table = keys();
  return table.find(key) != table.end();
}

const IniFile::VALUE& IniFile::SectionRef::findValue(std::string_view key) const {
  if (!store_) return emptyValue();
  return store_->findValue(name_, key);
}

const IniFile::VALUE& IniFile::SectionRef::getValue(std::string_view key) const {
  const KeyTable& table = keys();
  const auto found = table.find(key);
  if (found == table.end()) {
    const std::string placeText = getPlaceText(key);
    throw makeFormattedException("System::IniFile::SectionRef::getValue",
                                 "ini file parameter undefined.", "%s", placeText.c_str());
  }
  return found->second;
}

std::string IniFile::SectionRef::getPlaceText(std::string_view key) const {
  std::string place = " section=" + name_ + " key=";
  place += key;
  return place;
}

const IniFile::KeyTable& IniFile::SectionRef::keys() const {
  static const KeyTable empty;
  if (!store_) return empty;
  const auto found = store_->sections_.find(name_);
  return found == store_->sections_.end() ? empty : found->second;
}

// ---------------------------------------------------------------------------------------
// Store

IniFile::~IniFile() { release(); }

void IniFile::release() noexcept {
  if (!writeBack_) return;
  writeBack_ = false;
  try {
    const Save written(*this, path_);
  } catch (...) {
    // The exception factories have logged the failure; a release goes on without the file.
  }
}

bool IniFile::hasSection(std::string_view name) const {
  return sections_.find(name) != sections_.end();
}

IniFile::SectionRef IniFile::getSection(std::string_view name) const {
  const auto found = sections_.find(name);
  if (found == sections_.end()) return {};
  return SectionRef(*this, found->first);
}

IniFile::SectionRef IniFile::getSection(std::string_view name, int index) const {
  std::string fullName = formatString("%.*s.%d", static_cast<int>(name.size()), name.data(), index);
  truncateUtf8(fullName, kMaxIndexedSectionName);
  return getSection(fullName);
}

IniFile::KeyTable& IniFile::getOrCreateSection(std::string_view name) {
  auto found = sections_.find(name);
  if (found == sections_.end()) found = sections_.emplace(std::string(name), KeyTable{}).first;
  return found->second;
}

IniFile::VALUE& IniFile::insertValue(KeyTable& table, const std::string& sectionName,
                                     std::string_view key, bool& inserted) {
  auto found = table.find(key);
  inserted = found == table.end();
  if (inserted) {
    found = table.emplace(std::string(key), VALUE{}).first;
    VALUE& value = found->second;
    value.file = this;
    value.sectionName_ = &sectionName;
    value.keyName_ = &found->first;
    value.generation_ = generation_;
  }
  return found->second;
}

IniFile::VALUE& IniFile::getOrCreateValue(std::string_view section, std::string_view key) {
  auto found = sections_.find(section);
  if (found == sections_.end()) found = sections_.emplace(std::string(section), KeyTable{}).first;
  bool inserted = false;
  return insertValue(found->second, found->first, key, inserted);
}

const IniFile::VALUE& IniFile::findValue(std::string_view section, std::string_view key) const {
  const auto foundSection = sections_.find(section);
  if (foundSection == sections_.end()) return emptyValue();
  const auto foundKey = foundSection->second.find(key);
  return foundKey == foundSection->second.end() ? emptyValue() : foundKey->second;
}

void IniFile::loadFile(std::string_view path, bool merge, bool ansi) {
  const std::string expanded = FileName::expandVariable(path);
  if (!merge) {
    sections_.clear();
    ++generation_;
    path_ = expanded;
  }

  std::string content;
  if (!readWholeFile(expanded, path, content)) return;
  parseText(content, path, merge, ansi);
  Log::verbose(kLoadPlace, "load ini file : %s (section=%d)", expanded.c_str(),
               static_cast<int>(sections_.size()));
}

void IniFile::loadText(std::string_view content, std::string_view path, bool ansi) {
  sections_.clear();
  ++generation_;
  path_ = FileName::expandVariable(path);
  if (content.size() > kMaxFileSize) {
    Log::warn(kLoadPlace, "ini file too large. file=%s(size %llu)", std::string(path).c_str(),
              static_cast<unsigned long long>(content.size()));
    return;
  }
  parseText(content, path, false, ansi);
  Log::verbose(kLoadPlace, "load ini file : %s (section=%d)", path_.c_str(),
               static_cast<int>(sections_.size()));
}

void IniFile::parseText(std::string_view content, std::string_view path, bool merge, bool ansi) {
  KeyTable* current = nullptr;
  const std::string* currentName = nullptr;
  int lineNumber = 0;
  std::size_t start = 0;
  while (start < content.size()) {
    ++lineNumber;
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string_view line(content.data() + start, end - start);
    start = end + 1;

    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    if (line.empty() || line.front() == ';') continue;
    if (line.size() > kMaxLineLength) {
      Log::warn(kLoadPlace, "ini file line too long. file=%s(line %d)", std::string(path).c_str(),
                lineNumber);
      continue;
    }
    if (ansi) {
      // Legacy text comes in as UTF-8 here too; what is not valid UTF-8 is replaced so
      // that the parsed line is, as after a code-page conversion.
      const std::string converted = sanitizeUtf8(line);
      parseLine(converted, lineNumber, path, merge, current, currentName);
    } else {
      parseLine(line, lineNumber, path, merge, current, currentName);
    }
  }
}

void IniFile::parseLine(std::string_view line, int lineNumber, std::string_view callerPath,
                        bool merge, KeyTable*& current, const std::string*& currentName) {
  if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
    const std::string_view name = line.substr(1, line.size() - 2);
    auto found = sections_.find(name);
    if (found == sections_.end()) found = sections_.emplace(std::string(name), KeyTable{}).first;
    current = &found->second;
    currentName = &found->first;
    return;
  }
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || !current || currentName->empty()) {
    Log::warn(kLoadPlace, "ini file line illegal format. file=%s(line %d)",
              std::string(callerPath).c_str(), lineNumber);
    return;
  }
  bool inserted = false;
  VALUE& value = insertValue(*current, *currentName, line.substr(0, equals), inserted);
  if (!inserted) {
    // The first value of a key stands; a merged file only fills keys that are missing.
    if (!merge) {
      const std::string placeText = value.getPlaceText(lineNumber);
      Log::warn(kLoadPlace, "ini file parameter duplicate key? %s", placeText.c_str());
    }
    return;
  }
  value.text.assign(line.substr(equals + 1));
  value.line = lineNumber;
}

// ---------------------------------------------------------------------------------------
// Writing

IniFile::Save::Save(const IniFile& store, std::string_view path) {
  const std::string expanded = FileName::expandVariable(path);
  Log::verbose(kSavePlace, "saveFile : %s", expanded.c_str());
  SafeFileWriter writer(expanded);
  std::string text;
  for (const auto& [name, keys] : store.sections_) {
    text.clear();
    text += '[';
    text += name;
    text += "]\r\n";
    for (const auto& [key, value] : keys) {
      text += key;
      text += '=';
      text += value.text;
      text += "\r\n";
    }
    writer.write(text);
  }
  writer.commit();
}

void IniFile::writeValueLine(File& file, std::string_view key, std::string_view value) {
  std::string line;
  line.reserve(key.size() + value.size() + 3);
  line += key;
  line += '=';
  line += value;
  line += "\r\n";
  file.write(line);
}

}  // namespace System
