#pragma once
// The registry's entry for one alias file of %Alias%: a saved object (<name>.object) or a
// saved set of effects (<name>.effect). Menus list aliases beside the effects; running one
// reads its file into the timeline. Aliases are never found by name: an alias may carry the
// name of an effect, and an object alias and an effect alias may share a name.
#include <cstdint>
#include <string>
#include <string_view>

#include "effect/effect_menu_define.h"

namespace Effect {

class AliasDefine : public EffectMenuDefine {
 public:
  // `name` is the file's title, `kind` its kind word ("object" or "effect"), `type` 100
  // or 101. The menu settings live in the section "Effect.<kind>.<name>". `extension` is
  // the file's extension as it stands on disk when its letter case differs from the kind
  // word (the listing matches either case, names on disk are case-sensitive); empty: the
  // kind word.
  AliasDefine(std::string_view name, std::string_view kind, uint8_t type, int32_t order,
              std::string_view extension = {});

  std::string_view getName() const override { return name_; }
  uint8_t getEffectType() const override { return type_; }
  // The media and target type of the alias's first effect, read from the file the first
  // time they are asked for. A file that does not tell (missing, no effect section, an
  // unknown effect, an object alias) gives 0, and is read again at the next question.
  uint8_t getMediaType() const override;
  uint8_t getTargetType() const override;
  void createObject(int layer, int frame) const override;
  void addEffect(const std::shared_ptr<Edit::Object>& object, EffectBase* afterEffect,
                 bool replace) const override;

  const std::string& getKind() const { return kind_; }
  // %Alias%/<name>.<extension>, expanded.
  std::string getFilePath() const;

 private:
  void readTypes() const;

  std::string name_;
  std::string kind_;
  std::string extension_;
  uint8_t type_;
  mutable uint8_t mediaType_ = 0;
  mutable uint8_t targetType_ = 0;
};

}  // namespace Effect
