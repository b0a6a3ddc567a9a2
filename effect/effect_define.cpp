#include "effect/effect_define.h"

#include <exception>
#include <utility>

#include "effect/edit_access.h"
#include "effect/effect_base.h"
#include "effect/effect_translate.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"

namespace Effect {

namespace {

const char* nameOf(const EffectBase& effect) { return effect.name ? effect.name : ""; }

}  // namespace

EffectDefine::EffectDefine(std::shared_ptr<EffectBase> prototype, int32_t order)
    : EffectMenuDefine("Effect", nameOf(*prototype), order,
                       prototype->label ? prototype->label : "", true),
      prototype_(std::move(prototype)) {}

std::string_view EffectDefine::getName() const { return nameOf(*prototype_); }

std::string EffectDefine::getDisplayName() const { return translateEffectText(getName()); }

uint8_t EffectDefine::getEffectType() const { return prototype_->effectType; }

uint8_t EffectDefine::getMediaType() const { return prototype_->mediaType; }

uint8_t EffectDefine::getTargetType() const { return prototype_->targetType; }

void EffectDefine::createObject(int layer, int frame) const {
  EditAccess* access = editAccess();
  if (!access) throw System::makeNotImplementedException("Effect::EffectDefine::createObject");
  access->createObject(getName(), layer, frame);
}

void EffectDefine::addEffect(const std::shared_ptr<Edit::Object>& object, EffectBase* afterEffect,
                             bool replace) const {
  EditAccess* access = editAccess();
  if (!access) throw System::makeNotImplementedException("Effect::EffectDefine::addEffect");
  access->setEffect(object, getName(), afterEffect, replace);
}

bool EffectDefine::isDefineOf(const EffectBase& effect) const {
  return effect.name == prototype_->name;
}

std::shared_ptr<EffectBase> EffectDefine::createEffect() const {
  std::shared_ptr<EffectBase> effect = prototype_->create();
  if (!effect)
    throw System::makeFormattedException("Effect::EffectDefine::createEffect",
                                         "failed to create effect.", "%s", nameOf(*prototype_));
  effect->shareResource(*prototype_);
  return effect;
}

std::string EffectDefine::getDefaultFilePath() const {
  std::string fileName(getName());
  for (char& c : fileName)
    if (c == '/' || c == '\\') c = '_';
  return System::FileName::expandVariable("%Default%/" + fileName + ".effect");
}

EffectBase& EffectDefine::loadDefaultFile() {
  if (defaultLoaded_) return *prototype_;
  defaultLoaded_ = true;
  const std::string path = getDefaultFilePath();
  if (!System::File::exists(path)) return *prototype_;
  try {
    System::IniFile file;
    file.loadFile(path);
    prototype_->loadIniSectionParameter(file.getSection("Effect.0"));
  } catch (const std::exception& exception) {
    // A damaged defaults file must not keep the kind from being used: new objects get the
    // class defaults.
    System::Log::warn("Effect::EffectDefine::loadDefaultFile",
                      "effect default file invalid. [%s]\n%s", path.c_str(), exception.what());
    resetPrototype();
    prototype_->disable = false;
    prototype_->hide = false;
    prototype_->lock = false;
  }
  return *prototype_;
}

void EffectDefine::saveDefaultFile(const EffectBase& effect) {
  if (!isDefineOf(effect)) return;
  defaultLoaded_ = false;
  const std::string path = getDefaultFilePath();
  System::Log::verbose("System::IniFile::Save::Save", "saveFile : %s", path.c_str());
  // Written beside the old file and renamed over it: a failure half-way never leaves a
  // truncated defaults file behind.
  System::SafeFileWriter writer(path);
  writer.write("[Effect.0]\r\n");
  effect.saveIniSectionParameter(writer.file());
  writer.commit();
}

void EffectDefine::deleteDefaultFile(const EffectBase& effect) {
  if (!isDefineOf(effect)) return;
  System::File::removeFile(getDefaultFilePath());
  resetPrototype();
}

void EffectDefine::resetPrototype() {
  const std::shared_ptr<EffectBase> fresh = prototype_->create();
  if (fresh) prototype_->setItemData(*fresh);
}

}  // namespace Effect
