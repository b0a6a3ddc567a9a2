#pragma once
// The ini text that the project file and the alias files both write: section lines, whole
// number keys, and an effect's section. Every line ends in "\r\n". The object keys both
// write (Object::saveFrame, saveCameraClipping, saveEffectSections) are defined beside these,
// so that an object saves the same text into either file.
#include <cstdint>
#include <string_view>

namespace Effect {
class EffectBase;
}
namespace System {
class File;
}

namespace Edit {

// "[name]".
void writeSection(System::File& file, std::string_view name);
// "key=value" for a whole number.
void writeInt(System::File& file, std::string_view key, int64_t value);
// "[name]" followed by the effect's own keys: one effect of a chain, or an effect alias.
void writeEffectSection(System::File& file, std::string_view name,
                        const Effect::EffectBase& effect);

}  // namespace Edit
