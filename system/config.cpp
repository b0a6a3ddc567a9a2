#include "system/config.h"

#include <exception>

#include "system/ini_file.h"
#include "system/text.h"

namespace System::Config {

Parameter::Parameter(Section& section, std::string key) : key_(std::move(key)) {
  section.addParameter(this);
}

// ---------------------------------------------------------------------------------------

Int::Int(Section& section, std::string key, int32_t* variable, int32_t defaultValue)
    : Parameter(section, std::move(key)), Value(variable, defaultValue) {}

void Int::fromString(const std::string& text) {
  const auto value = IniFile::parseInt(text);
  *variable_ = value ? *value : default_;
}

void Int::toString(std::string& text) const { text = std::to_string(*variable_); }

void Int::setDefault() { *variable_ = default_; }

// ---------------------------------------------------------------------------------------

Float::Float(Section& section, std::string key, float* variable, float defaultValue)
    : Parameter(section, std::move(key)), Value(variable, defaultValue) {}

void Float::fromString(const std::string& text) {
  const auto value = IniFile::parseFloat(text);
  *variable_ = value ? *value : default_;
}

void Float::toString(std::string& text) const {
  // Always with "." for the point: a comma here would read back as a different number.
  text = formatFixed(*variable_);
}

void Float::setDefault() { *variable_ = default_; }

// ---------------------------------------------------------------------------------------

String::String(Section& section, std::string key, std::string* variable, std::string defaultValue)
    : Parameter(section, std::move(key)), Value(variable, std::move(defaultValue)) {}

void String::fromString(const std::string& text) {
  // Texts are UTF-8 throughout the program; a damaged sequence becomes U+FFFD as it would in
  // any conversion, so the variable always holds valid text.
  *variable_ = sanitizeUtf8(text);
}

void String::toString(std::string& text) const { text = *variable_; }

void String::setDefault() { *variable_ = default_; }

// ---------------------------------------------------------------------------------------

void Section::load(const IniFile& store) {
  if (name_.empty() || !store.hasSection(name_)) {
    setDefault();
    return;
  }
  const IniFile::SectionRef section = store.getSection(name_);
  for (Parameter* parameter : parameters_) {
    try {
      if (section.hasKey(parameter->key()))
        parameter->fromString(section.findValue(parameter->key()).text);
      else
        parameter->setDefault();
    } catch (const std::exception&) {
      parameter->setDefault();
    }
  }
}

void Section::save(IniFile& store) const {
  // An empty list (freed after a failed construction) leaves no empty section behind.
  if (name_.empty() || parameters_.empty()) return;
  store.getOrCreateSection(name_);
  for (const Parameter* parameter : parameters_)
    parameter->toString(store.getOrCreateValue(name_, parameter->key()).text);
}

void Section::setDefault() {
  for (Parameter* parameter : parameters_) parameter->setDefault();
}

// ---------------------------------------------------------------------------------------

Binding::~Binding() {
  if (!store_) return;
  try {
    section_->save(*store_);
  } catch (...) {
    // Saving only changes the store in memory; out of memory here loses this section's
    // changes, never the shut-down.
  }
}

void Binding::load() {
  if (store_)
    section_->load(*store_);
  else
    section_->setDefault();
}

}  // namespace System::Config
