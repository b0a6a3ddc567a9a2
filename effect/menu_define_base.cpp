#include "effect/menu_define_base.h"

#include "system/setting_service.h"

namespace Menu {

namespace {

std::string makeSectionName(std::string_view kind, std::string_view name) {
  std::string section;
  section.reserve(kind.size() + 1 + name.size());
  section += kind;
  section += '.';
  section += name;
  return section;
}

}  // namespace

MenuDefineBase::MenuDefineBase(std::string_view kind, std::string_view name, int32_t defaultOrder,
                               std::string_view defaultLabel, bool visible)
    : config_(makeSectionName(kind, name)),
      labelParameter_(config_, "label", &label, std::string(defaultLabel)),
      orderParameter_(config_, "order", &order, defaultOrder),
      hideParameter_(config_, "hide", &hide, visible ? 0 : 1),
      binding_(config_, Setting::ParameterIni::instance()) {
  binding_.load();
}

MenuDefineBase::~MenuDefineBase() = default;

std::string MenuDefineBase::getDisplayName() const { return std::string(getName()); }

}  // namespace Menu
