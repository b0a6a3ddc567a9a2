#include "effect/alias_define.h"

#include <exception>

#include "effect/edit_access.h"
#include "effect/effect_define.h"
#include "effect/effect_service.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/ini_file.h"

namespace Effect {

namespace {

std::string sectionPart(std::string_view kind, std::string_view name) {
  std::string part(kind);
  part += '.';
  part += name;
  return part;
}

}  // namespace

AliasDefine::AliasDefine(std::string_view name, std::string_view kind, uint8_t type, int32_t order,
                         std::string_view extension)
    : EffectMenuDefine("Effect", sectionPart(kind, name), order, "", true),
      name_(name),
      kind_(kind),
      extension_(extension.empty() ? kind : extension),
      type_(type) {}

std::string AliasDefine::getFilePath() const {
  return System::FileName::expandVariable("%Alias%/" + name_ + "." + extension_);
}

uint8_t AliasDefine::getMediaType() const {
  if (mediaType_ == 0) readTypes();
  return mediaType_;
}

uint8_t AliasDefine::getTargetType() const {
  if (mediaType_ == 0) readTypes();
  return targetType_;
}

void AliasDefine::readTypes() const {
  // Menus ask while they are built: nothing here may fail, and nothing is logged for a
  // file that does not tell (an object alias never does).
  try {
    const EffectService* registry = EffectService::instance();
    if (!registry) return;
    System::IniFile file;
    file.loadFile(getFilePath());
    const std::string& effectName = file.findValue("Effect.0", "effect.name").text;
    if (effectName.empty()) return;
    const EffectDefine* define = registry->findEffectDefine(effectName);
    if (!define) return;
    mediaType_ = define->getMediaType();
    targetType_ = define->getTargetType();
  } catch (const std::exception&) {
  }
}

void AliasDefine::createObject(int layer, int frame) const {
  EditAccess* access = editAccess();
  if (!access) throw System::makeNotImplementedException("Effect::AliasDefine::createObject");
  access->loadObject(getFilePath(), layer, frame);
}

void AliasDefine::addEffect(const std::shared_ptr<Edit::Object>& object, EffectBase* afterEffect,
                            bool replace) const {
  EditAccess* access = editAccess();
  if (!access) throw System::makeNotImplementedException("Effect::AliasDefine::addEffect");
  access->loadEffect(object, getFilePath(), afterEffect, replace);
}

}  // namespace Effect
