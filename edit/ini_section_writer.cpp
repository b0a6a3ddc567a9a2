#include "edit/ini_section_writer.h"

#include <string>

#include "edit/object.h"
#include "effect/effect_base.h"
#include "system/file.h"
#include "system/ini_file.h"

namespace Edit {

void writeSection(System::File& file, std::string_view name) {
  std::string line;
  line.reserve(name.size() + 4);
  line += '[';
  line += name;
  line += "]\r\n";
  file.write(line);
}

void writeInt(System::File& file, std::string_view key, int64_t value) {
  System::IniFile::writeValueLine(file, key, std::to_string(value));
}

void writeEffectSection(System::File& file, std::string_view name,
                        const Effect::EffectBase& effect) {
  writeSection(file, name);
  effect.saveIniSectionParameter(file);
}

// ---- object keys -----------------------------------------------------------------------------

void Object::saveFrame(System::File& file) const {
  std::string text = std::to_string(start);
  for (const int32_t boundary : boundaries) {
    text += ',';
    text += std::to_string(int64_t{start} + boundary);
  }
  text += ',';
  text += std::to_string(end);
  System::IniFile::writeValueLine(file, "frame", text);
}

void Object::saveCameraClipping(System::File& file) const {
  if (camera != 1) writeInt(file, "camera", camera);
  if (clipping != 0) writeInt(file, "clipping", clipping);
}

void Object::saveEffectSections(System::File& file, const std::string& sectionName) const {
  for (std::size_t e = 0; e < effects.size(); ++e)
    if (effects[e]) writeEffectSection(file, sectionName + "." + std::to_string(e), *effects[e]);
}

}  // namespace Edit
