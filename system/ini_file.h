#pragma once
// The in-memory store of an ini-like text file: "[section]" lines and "key=value" lines in
// UTF-8 with CR LF line ends, ";" at the start of a line for a comment.
//
// Every value keeps the line it was read from and knows its store, so that a complaint
// about it can name the file, the line, the section and the key. Values are converted on
// request (numbers, texts, colours); a conversion that fails throws with that place text.
//
// The store keeps no order: sections and keys live in hash maps and are written in the order
// the maps iterate. A store has no lock: it is filled and changed on one thread, and other
// threads may only read it through the lookups that never insert (findValue) while nobody
// changes it.
//
// Values are owned by their store and borrowed by reference: a VALUE (or a piece split from
// it) is meaningful only while its store lives and has not been loaded anew by a primary load.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace System {

class File;

class IniFile {
 public:
  // Files larger than this are not read at all; lines longer than this are skipped. Both are
  // reported at WARN. Settings and project files are far smaller; the limits only keep a
  // damaged or hostile file from taking the memory of the process.
  static constexpr uint64_t kMaxFileSize = 64ull * 1024 * 1024;
  static constexpr std::size_t kMaxLineLength = 8u * 1024 * 1024;

  struct VALUE {
    std::string text;               // the bytes after the first "=", exactly as read
    const IniFile* file = nullptr;  // the store it belongs to; none for the shared empty value
    const VALUE* parent = nullptr;  // for a piece made by split: the stored value it was cut from
    int line = 0;                   // the line it was read from (from 1); 0 when made in memory

    // Decimal integer in the manner of strtol base 10 ("12abc" gives 12, "1.5" gives 1). An
    // empty text, no digit at all or a value outside the 32-bit range throws.
    int32_t toInt() const;
    // As toInt, but an empty text gives the default.
    int32_t toInt(int32_t defaultValue) const;
    // A float in the manner of strtof in the classic locale, whatever the process locale is
    // ("1,5" gives 1, "2.5px" gives 2.5). Nothing read or an out-of-range value throws.
    float toFloat() const;
    // The text, checked to be valid UTF-8. An empty text throws.
    std::string toString() const;
    // As toString, but an empty text gives the default.
    std::string toString(std::string_view defaultValue) const;
    // "RRGGBB" or "RRGGBBAA" in hexadecimal, blanks at both ends ignored, no "#": red, green,
    // blue and alpha from 0 to 1 (alpha 1 when only six digits are given).
    std::array<float, 4> toRGBA() const;
    // The text cut at every character that is one of the separators; every piece (also an
    // empty one) keeps this value's file and line and names it as its parent.
    std::vector<VALUE> split(std::string_view separators) const;
    // "file=<path>(line N) section=<name> key=<key>", each part only where known; a line
    // other than 0 is shown in place of the value's own line.
    std::string getPlaceText(int lineOverride = 0) const;

   private:
    friend class IniFile;
    // Where the value was entered: the names are the keys of the store's own map nodes,
    // which stay in place until the store is emptied; `generation` tells whether it has been.
    const std::string* sectionName_ = nullptr;
    const std::string* keyName_ = nullptr;
    uint64_t generation_ = 0;
  };

  // Names are found by their exact bytes with the standard string hash; lookups by
  // string_view need no temporary string.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };
  using KeyTable = std::unordered_map<std::string, VALUE, NameHash, std::equal_to<>>;
  using SectionTable = std::unordered_map<std::string, KeyTable, NameHash, std::equal_to<>>;

  // A lookup handle on one section: its name and its store. Every lookup goes through the
  // store's maps and never inserts, so it may run on any thread while the store is not
  // being changed. A handle without a store (a section that did not exist) finds nothing.
  class SectionRef {
   public:
    SectionRef() = default;
    // Names a section of the store whether or not it exists yet; lookups see it once it does.
    SectionRef(const IniFile& store, std::string name) : name_(std::move(name)), store_(&store) {}

    const std::string& name() const { return name_; }
    const IniFile* store() const { return store_; }
    bool exists() const;
    bool hasKey(std::string_view key) const;
    // The value, or the shared empty value when the key (or the section) is absent.
    const VALUE& findValue(std::string_view key) const;
    // The value; an absent key throws "ini file parameter undefined.".
    const VALUE& getValue(std::string_view key) const;
    // " section=<name> key=<key>".
    std::string getPlaceText(std::string_view key) const;
    // The key table, or an empty one when the section is absent.
    const KeyTable& keys() const;

   private:
    std::string name_;
    const IniFile* store_ = nullptr;
  };

  // Writes the whole store to a file: every section as "[name]" CR LF followed by its
  // "key=value" CR LF lines, no comments, no blank lines. The file is replaced atomically: it
  // is written beside the target and renamed over it only when complete, so a failure leaves
  // the old file as it was. A failure throws.
  struct Save {
    Save(const IniFile& store, std::string_view path);
  };

  IniFile() = default;
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;
  // Writes the store back when the write-back flag is set; a failure is logged, not thrown.
  ~IniFile();

  // Reads a file into the store. merge false: the store is emptied first and the expanded
  // path remembered. merge true: keys that exist already keep their values. ansi: the file is
  // legacy text; every line is made valid UTF-8 before it is parsed. A file that cannot be
  // opened is no error: the store stays as it is.
  void loadFile(std::string_view path, bool merge = false, bool ansi = false);
  // Reads a text already in memory into the emptied store as loadFile would read the file at
  // `path` (remembered, and named in complaints): for readers that decode a file themselves.
  void loadText(std::string_view content, std::string_view path, bool ansi = false);

  bool hasSection(std::string_view name) const;
  // The section, or an empty handle when it does not exist.
  SectionRef getSection(std::string_view name) const;
  // The section "name.index" (the name formatted into at most 63 bytes).
  SectionRef getSection(std::string_view name, int index) const;
  KeyTable& getOrCreateSection(std::string_view name);
  // The value, with section and key created when missing (an empty text, line 0).
  VALUE& getOrCreateValue(std::string_view section, std::string_view key);
  VALUE& getOrCreateValue(const SectionRef& section, std::string_view key) {
    return getOrCreateValue(section.name(), key);
  }
  // The value, or the shared empty value; never inserts.
  const VALUE& findValue(std::string_view section, std::string_view key) const;

  const SectionTable& sections() const { return sections_; }
  std::size_t sectionCount() const { return sections_.size(); }
  // The path of the last primary load, already expanded; empty until then.
  const std::string& path() const { return path_; }

  void setWriteBack(bool writeBack) { writeBack_ = writeBack; }
  bool isWriteBack() const { return writeBack_; }
  // Writes the store to its remembered path when the write-back flag is set and clears the
  // flag. A failure is logged by the exception it raises and dropped.
  void release() noexcept;

  // Writes key, "=", the value and CR LF to an open file: the line writer of the files that
  // other parts of the program write directly in this format.
  static void writeValueLine(File& file, std::string_view key, std::string_view value);

  // The number rules of the values, for other readers of the same texts.
  static std::optional<int32_t> parseInt(std::string_view text);
  static std::optional<float> parseFloat(const std::string& text);

  // The value that lookups which find nothing return: empty text, no file, line 0.
  static const VALUE& emptyValue();

 private:
  VALUE& insertValue(KeyTable& table, const std::string& sectionName, std::string_view key,
                     bool& inserted);
  void parseText(std::string_view content, std::string_view path, bool merge, bool ansi);
  void parseLine(std::string_view line, int lineNumber, std::string_view callerPath, bool merge,
                 KeyTable*& current, const std::string*& currentName);

  SectionTable sections_;
  std::string path_;
  bool writeBack_ = false;
  uint64_t generation_ = 1;
};

}  // namespace System
