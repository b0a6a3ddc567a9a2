#include "ui/controls/explorer_property_key.h"

#include <cctype>
#include <charconv>

namespace Control {
namespace {

// The property ids of the storage set, indexed by the model column that shows them.
constexpr uint32_t kColumnPropertyIds[kExplorerColumnCount] = {10, 12, 4, 14};

bool isGuidText(std::string_view text) {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  for (std::size_t i = 1; i < 37; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i])))
      return false;
  }
  return true;
}

}  // namespace

std::string ExplorerPropertyKey::toString() const {
  char digits[16];
  const auto written = std::to_chars(digits, digits + sizeof digits, propertyId);
  return formatId + " " + std::string(digits, written.ptr);
}

std::optional<ExplorerPropertyKey> ExplorerPropertyKey::fromString(std::string_view text) {
  if (text.size() < 40 || !isGuidText(text.substr(0, 38)) || text[38] != ' ') return {};
  std::string_view rest = text.substr(38);
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  uint32_t id = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), id);
  if (error != std::errc() || end != rest.data() + rest.size() || rest.empty()) return {};
  ExplorerPropertyKey key{std::string(text.substr(0, 38)), id};
  for (char& c : key.formatId) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

int ExplorerPropertyKey::column() const {
  if (formatId != kStoragePropertySet) return -1;
  for (int c = 0; c < kExplorerColumnCount; ++c)
    if (kColumnPropertyIds[c] == propertyId) return c;
  return -1;
}

ExplorerPropertyKey ExplorerPropertyKey::ofColumn(int column) {
  return {kStoragePropertySet, kColumnPropertyIds[column]};
}

std::array<ExplorerPropertyKey, 3> defaultExplorerColumns() {
  return {ExplorerPropertyKey::ofColumn(0), ExplorerPropertyKey::ofColumn(1),
          ExplorerPropertyKey::ofColumn(3)};
}

}  // namespace Control
