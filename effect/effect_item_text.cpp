#include "effect/effect_item_text.h"

#include <algorithm>
#include <stdexcept>

#include "system/text.h"

namespace Effect {

namespace {

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

EffectItemText::EffectItemText(EffectItemList& items, std::string_view itemName,
                               std::string_view initial)
    : EffectItem(items, ItemType::Text, itemName), value(initial) {}

void EffectItemText::copyFrom(const EffectItem& other) {
  const auto& source = sameKind<EffectItemText>(other);
  if (source.prefixLength == 0 && source.suffixLength == 0) {
    value = source.value;
    return;
  }
  // A snapshot applied to a text it was not made from must not read past the value.
  const std::size_t prefix = std::min<std::size_t>(source.prefixLength, value.size());
  const std::size_t suffix =
      std::min<std::size_t>(source.suffixLength, value.size() - prefix);
  value = value.substr(0, prefix) + source.value + value.substr(value.size() - suffix);
}

bool EffectItemText::equals(const EffectItem& other) const {
  const auto& source = sameKind<EffectItemText>(other);
  return value == source.value && prefixLength == source.prefixLength &&
         suffixLength == source.suffixLength;
}

std::unique_ptr<EffectItem> EffectItemText::clone() const {
  return std::make_unique<EffectItemText>(*this);
}

std::string EffectItemText::toString() const {
  const std::string_view text(value.c_str());  // up to the first NUL
  std::string result;
  result.reserve(text.size() + 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') {
      result += "\\\\";
    } else if (c == '\r') {
      result += "\\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      result += "\\n";
    } else {
      result += c;
    }
  }
  return result;
}

void EffectItemText::fromString(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      if (text[i + 1] == '\\') {
        result += '\\';
        ++i;
        continue;
      }
      if (text[i + 1] == 'n') {
        result += '\n';
        ++i;
        continue;
      }
    }
    result += text[i];
  }
  value = std::move(result);
}

void EffectItemText::loadKvoParameter(std::string_view text, std::string_view key,
                                      std::string_view effectName, bool currentForm) {
  if (key != "text") {
    EffectItem::loadKvoParameter(text, key, effectName, currentForm);
    return;
  }
  std::u16string units;
  units.reserve(text.size() / 4);
  // Whole groups only: a trailing group of fewer than four digits carries no code unit.
  for (std::size_t i = 0; i + 4 <= text.size(); i += 4) {
    int digits[4];
    for (int k = 0; k < 4; ++k) {
      digits[k] = hexDigit(text[i + k]);
      if (digits[k] < 0) throw std::invalid_argument("invalid hex text argument");
    }
    const int low = digits[0] * 16 + digits[1];
    const int high = digits[2] * 16 + digits[3];
    units.push_back(static_cast<char16_t>(high << 8 | low));
  }
  // A zero unit is kept like any other; the text form stops at it.
  value = System::utf16ToUtf8(units);
}

ControlKind EffectItemText::getControlKind() const { return ControlKind::Text; }

void EffectItemText::makeUndoDiff(EffectItemText& before, EffectItemText& after) {
  const std::string& a = before.value;
  const std::string& b = after.value;
  if (a == b) return;
  const std::size_t shorter = std::min(a.size(), b.size());
  std::size_t prefix = 0;
  while (prefix < shorter && a[prefix] == b[prefix]) ++prefix;
  // Back to the start of the sequence the first difference lies in.
  while (prefix > 0 && ((prefix < a.size() && isContinuationByte(a[prefix])) ||
                        (prefix < b.size() && isContinuationByte(b[prefix]))))
    --prefix;
  std::size_t suffix = 0;
  while (suffix < shorter - prefix && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
    ++suffix;
  // The suffix must begin at the start of a sequence in both texts.
  while (suffix > 0 && (isContinuationByte(a[a.size() - suffix]) ||
                        isContinuationByte(b[b.size() - suffix])))
    --suffix;
  before.prefixLength = after.prefixLength = static_cast<int>(prefix);
  before.suffixLength = after.suffixLength = static_cast<int>(suffix);
  before.value = a.substr(prefix, a.size() - prefix - suffix);
  after.value = b.substr(prefix, b.size() - prefix - suffix);
}

}  // namespace Effect
