// Feeds arbitrary texts to every kind of effect parameter item through each of its readers
// (project file form, script form, legacy object file form under several keys). A reader
// may refuse a text with a standard conversion error; whatever it did, the item must still
// write its value, and that text must read back into a fresh item as the same text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "effect/every_item_kind.h"
#include "effect/text_conversion.h"
#include "system/log.h"

namespace {

using namespace Effect;

// Reads through one reader; a refusal with the standard conversion error is allowed.
void read(EffectItem& item, std::size_t reader, std::string_view text) {
  try {
    TestSupport::readItem(item, reader, text);
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    System::Log::setOutput(System::Log::discardOutput);
    return true;
  }();
  (void)quiet;
  if (size == 0) return 0;
  const std::size_t reader = data[0] % std::size(TestSupport::kItemReaderNames);
  // A path variable would make the file items create the program's data folders.
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  if (!text.empty() && text[0] == '%') text[0] = '_';

  EffectItemList items;
  const auto all = TestSupport::everyItemKind(items);
  EffectItemList spareItems;
  const auto spares = TestSupport::everyItemKind(spareItems);
  for (std::size_t k = 0; k < all.size(); ++k) {
    read(*all[k], reader, text);
    const std::string written = all[k]->toString();
    spares[k]->fromString(written);
    if (spares[k]->toString() != written) __builtin_trap();
  }
  // The number readers keep to their promise: finite values or a standard error.
  try {
    if (!std::isfinite(readDouble(text))) __builtin_trap();
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
  try {
    (void)readInteger(text);
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
  return 0;
}
