#include "gpu/text/text_tag.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <string>

namespace Media::TextTag {
namespace {

using Group = std::optional<std::u16string_view>;

bool isDigitOrPoint(char16_t c) { return (c >= u'0' && c <= u'9') || c == u'.'; }
bool isBoldOrItalic(char16_t c) { return c == u'B' || c == u'I'; }
bool isFieldCharacter(char16_t c) { return c != u',' && c != u'>'; }

// A forward reader over the text after the '<'.
class Scanner {
 public:
  explicit Scanner(std::u16string_view text) : text_(text) {}
  bool at(char16_t c) const { return at_ < text_.size() && text_[at_] == c; }
  bool take(char16_t c) {
    if (!at(c)) return false;
    ++at_;
    return true;
  }
  // The longest run of characters that pass the test.
  template <class Test>
  std::u16string_view run(Test test) {
    const std::size_t start = at_;
    while (at_ < text_.size() && test(text_[at_])) ++at_;
    return text_.substr(start, at_ - start);
  }
  std::size_t position() const { return at_; }
  void seek(std::size_t position) { at_ = position; }
  std::u16string_view text() const { return text_; }

 private:
  std::u16string_view text_;
  std::size_t at_ = 0;
};

// An optional sign among `signs`, then one or more digits or points.
Group number(Scanner& scanner, std::u16string_view signs) {
  const std::size_t start = scanner.position();
  if (scanner.position() < scanner.text().size() &&
      signs.find(scanner.text()[scanner.position()]) != std::u16string_view::npos)
    scanner.seek(start + 1);
  if (scanner.run(isDigitOrPoint).empty()) {
    scanner.seek(start);
    return std::nullopt;
  }
  return scanner.text().substr(start, scanner.position() - start);
}

// The comma fields up to the '>': at most `limit` of them, each free of ',' and '>'. None
// when the text does not end in a '>' after them.
bool commaFields(Scanner& scanner, std::size_t limit, std::u16string_view (&fields)[3],
                 std::size_t& count) {
  count = 0;
  while (scanner.take(u',')) {
    if (count == limit) return false;
    fields[count++] = scanner.run(isFieldCharacter);
  }
  return scanner.take(u'>');
}

// Assigns the fields, in order, to optional groups tried in the order a backtracking
// matcher tries them (each group present before absent); the first assignment whose every
// field fits its group wins.
template <std::size_t N>
bool assignFields(const std::u16string_view (&fields)[3], std::size_t count,
                  bool (*const (&fits)[N])(std::u16string_view), Group* groups) {
  for (unsigned absent = 0; absent < (1u << N); ++absent) {
    // Bit i of `absent` set: group i (counted from the first) takes no field. Counting
    // upwards from 0 with the first group in the highest bit tries "present" first.
    std::size_t used = 0;
    bool fitsAll = true;
    Group chosen[N];
    for (std::size_t i = 0; i < N && fitsAll; ++i) {
      if (absent & (1u << (N - 1 - i))) continue;
      if (used == count || !fits[i](fields[used])) {
        fitsAll = false;
        break;
      }
      chosen[i] = fields[used++];
    }
    if (fitsAll && used == count) {
      std::copy(chosen, chosen + N, groups);
      return true;
    }
  }
  return false;
}

bool anyField(std::u16string_view) { return true; }
bool stylesField(std::u16string_view field) {
  return std::all_of(field.begin(), field.end(), isBoldOrItalic);
}
bool unsignedNumberField(std::u16string_view field) {
  return !field.empty() && std::all_of(field.begin(), field.end(), isDigitOrPoint);
}
bool signedNumberField(std::u16string_view field) {
  if (!field.empty() && (field.front() == u'+' || field.front() == u'-')) field.remove_prefix(1);
  return unsignedNumberField(field);
}

std::optional<Tag> finish(Kind kind, const Scanner& scanner, std::initializer_list<Group> groups) {
  Tag tag;
  tag.kind = kind;
  tag.length = scanner.position();
  std::copy(groups.begin(), groups.end(), tag.groups);
  return tag;
}

std::optional<Tag> matchColor(Scanner& scanner) {
  const Group colour = scanner.run(isFieldCharacter);
  Group edge;
  if (scanner.take(u',')) edge = scanner.run(isFieldCharacter);
  if (!scanner.take(u'>')) return std::nullopt;
  return finish(Kind::Color, scanner, {colour, edge});
}

std::optional<Tag> matchFont(Scanner& scanner) {
  const Group family = scanner.run([](char16_t c) { return c != u'>'; });
  if (!scanner.take(u'>')) return std::nullopt;
  return finish(Kind::Font, scanner, {family});
}

std::optional<Tag> matchSize(Scanner& scanner) {
  const Group size = number(scanner, u"*+-");
  std::u16string_view fields[3];
  std::size_t count = 0;
  if (!commaFields(scanner, 3, fields, count)) return std::nullopt;
  static constexpr bool (*kFits[3])(std::u16string_view) = {anyField, stylesField,
                                                             unsignedNumberField};
  Group rest[3];
  if (!assignFields(fields, count, kFits, rest)) return std::nullopt;
  return finish(Kind::Size, scanner, {size, rest[0], rest[1], rest[2]});
}

std::optional<Tag> matchPosition(Scanner& scanner) {
  const Group x = number(scanner, u"+-");
  std::u16string_view fields[3];
  std::size_t count = 0;
  if (!commaFields(scanner, 2, fields, count)) return std::nullopt;
  static constexpr bool (*kFits[2])(std::u16string_view) = {signedNumberField, signedNumberField};
  Group rest[2];
  if (!assignFields(fields, count, kFits, rest)) return std::nullopt;
  // A position needs both coordinates; the depth is optional.
  if (!x || !rest[0]) return std::nullopt;
  return finish(Kind::Position, scanner, {x, rest[0], rest[1]});
}

std::optional<Tag> matchSpeed(Scanner& scanner) {
  const Group speed = number(scanner, u"");
  if (!scanner.take(u'>')) return std::nullopt;
  return finish(Kind::Speed, scanner, {speed});
}

std::optional<Tag> matchWait(Scanner& scanner, Kind kind, bool required) {
  const Group wait = number(scanner, u"*");
  if ((required && !wait) || !scanner.take(u'>')) return std::nullopt;
  return finish(kind, scanner, {wait});
}

template <class Number>
Number toNumber(std::u16string_view text) {
  // The longest prefix of a sign, digits and at most one point.
  std::string ascii;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ascii += static_cast<char>(text[i++]);
  bool point = false;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'.' && !point) {
      point = true;
    } else if (c < u'0' || c > u'9') {
      break;
    }
    ascii += static_cast<char>(c);
  }
  const char* first = ascii.data();
  if (!ascii.empty() && ascii.front() == '+') ++first;  // from_chars reads no plus sign
  Number value{};
  const auto [end, error] = std::from_chars(first, ascii.data() + ascii.size(), value);
  if (error == std::errc::result_out_of_range) throw std::out_of_range("number out of range");
  if (error != std::errc() || end == first) throw std::invalid_argument("no number");
  return value;
}

bool isSigned(std::u16string_view text) {
  return !text.empty() && (text.front() == u'+' || text.front() == u'-');
}

}  // namespace

std::optional<Tag> match(std::u16string_view rest) {
  if (rest.empty()) return std::nullopt;
  Scanner scanner(rest.substr(1));
  std::optional<Tag> tag;
  switch (rest.front()) {
    case u'#': tag = matchColor(scanner); break;
    case u'@': tag = matchFont(scanner); break;
    case u's': tag = matchSize(scanner); break;
    case u'p': tag = matchPosition(scanner); break;
    case u'r': tag = matchSpeed(scanner); break;
    case u'w': tag = matchWait(scanner, Kind::Wait, true); break;
    case u'c': tag = matchWait(scanner, Kind::Clear, false); break;
    default: return std::nullopt;
  }
  if (tag) ++tag->length;  // the character that names the tag
  return tag;
}

float toFloat(std::u16string_view text) { return toNumber<float>(text); }
double toDouble(std::u16string_view text) { return toNumber<double>(text); }

float resolveSize(const std::optional<std::u16string_view>& text, float current, float base) {
  float size = base;
  if (text) {
    if (text->front() == u'*')
      size = toFloat(text->substr(1)) * current;
    else if (isSigned(*text))
      size = current + toFloat(*text);
    else
      size = toFloat(*text);
  }
  return std::clamp(size, 1.0f, 1000.0f);
}

float resolvePosition(std::u16string_view text, float current) {
  const float value = toFloat(text);
  return isSigned(text) ? current + value : value;
}

void applyWait(std::u16string_view text, double& time, int& charactersSinceWait) {
  if (!text.empty() && text.front() == u'*') {
    time += charactersSinceWait * toDouble(text.substr(1));
    charactersSinceWait = 0;
  } else {
    time += toDouble(text);
  }
}

}  // namespace Media::TextTag
