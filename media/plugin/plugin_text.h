#pragma once
// Texts a plug-in hands over as pointers to NUL-terminated UTF-16: its name, description,
// file filter and settings text. Their memory belongs to the plug-in, so they are measured
// under the crash guard (a wild pointer becomes an exception) and never read past a limit.
#include <cstddef>
#include <string>
#include <string_view>

#include "system/file.h"

namespace Plugin {

// No plug-in text is longer than this many UTF-16 units, its terminator excluded.
inline constexpr std::size_t kMaxPluginTextUnits = 32768;

// The text as UTF-8; empty for a null pointer. A text without a terminator within the limit
// throws "invalid plugin text." naming `field`.
std::string copyPluginText(const char16_t* text, std::string_view field, std::string_view place);

// A file filter list: label and pattern texts, each ended by a NUL, the list ended by an
// empty text. Pairs become filter entries; a label without a pattern is dropped. A null
// pointer gives no entries; a list without its end within the limit throws as above.
System::Filter copyPluginFilter(const char16_t* list, std::string_view field,
                                std::string_view place);

}  // namespace Plugin
