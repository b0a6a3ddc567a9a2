#pragma once
// The inline tags of drawn text: "<#ff0000>", "<s*2>", "<p+10,0>", "<w1>" and the rest.
//
// A tag starts with '<', is told apart by the character after it and ends with '>';
// anything that does not follow a tag's grammar exactly is drawn as ordinary text. This
// part reads a tag and its numbers; what a tag does to the layout is the text engine's.
// Matching is done by hand, in one forward scan, so that no text (a megabyte without a '>'
// included) can make it recurse or allocate without bound.
#include <cstddef>
#include <optional>
#include <string_view>

namespace Media::TextTag {

enum class Kind { Color, Font, Size, Position, Speed, Wait, Clear };

// A tag found at the text's cursor: its kind, the code units it takes after the '<' (the
// '>' included) and its groups, each absent when it took no part in the match.
struct Tag {
  Kind kind = Kind::Color;
  std::size_t length = 0;
  std::optional<std::u16string_view> groups[4];
};

// The tag that `rest` (the text after a '<') begins with, or none.
std::optional<Tag> match(std::u16string_view rest);

// The number at the start of a group: the longest prefix that reads as a decimal number
// ("1.5.2" reads 1.5). Throws std::invalid_argument when there is none ("." or "..") and
// std::out_of_range when it does not fit, which makes the tag plain text.
float toFloat(std::u16string_view text);
double toDouble(std::u16string_view text);

// A size tag's size: absent gives `base`; "*v" is v times `current`, "+v" and "-v" add to
// `current`, a plain v is v. Clamped to 1 ... 1000.
float resolveSize(const std::optional<std::u16string_view>& text, float current, float base);
// A position tag's coordinate: a signed value moves from `current`, a plain one is absolute.
float resolvePosition(std::u16string_view text, float current);
// A wait tag's value: the new time and count of characters since the last counted wait.
// "*v" adds count x v and restarts the count; a plain v adds v.
void applyWait(std::u16string_view text, double& time, int& charactersSinceWait);

}  // namespace Media::TextTag
