#include "effect/legacy_text.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

#include "system/exception.h"

namespace Effect {

namespace {

constexpr const char* kPlace = "Effect::convertLegacyText";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

struct IconvCloser {
  void operator()(void* handle) const { ::iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openConverter() {
  const iconv_t handle = ::iconv_open("UTF-8", "CP932");
  if (handle == reinterpret_cast<iconv_t>(-1))
    throw System::makeErrnoException("iconv_open", kPlace, errno);
  return IconvHandle(handle);
}

}  // namespace

std::string convertLegacyText(std::string_view text) {
  const IconvHandle converter = openConverter();
  // Sized for the worst case up front, so the conversion never runs out of room.
  std::string result(maxConvertedSize(text.size()), '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* out = result.data();
  std::size_t outLeft = result.size();
  const auto put = [&](std::string_view bytes) {
    for (const char c : bytes) *out++ = c;
    outLeft -= bytes.size();
  };
  while (inLeft > 0) {
    if (::iconv(static_cast<iconv_t>(converter.get()), &in, &inLeft, &out, &outLeft) !=
        static_cast<std::size_t>(-1))
      break;
    if (errno == EILSEQ) {
      // A byte the code page does not define (or a lead byte with a bad trail byte).
      put(kReplacement);
      ++in;
      --inLeft;
    } else if (errno == EINVAL) {
      // A lead byte cut off by the end of the text.
      put(kReplacement);
      break;
    } else {
      throw System::makeErrnoException("iconv", kPlace, errno);
    }
  }
  result.resize(result.size() - outLeft);
  return result;
}

}  // namespace Effect
