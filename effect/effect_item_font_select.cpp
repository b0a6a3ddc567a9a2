#include "effect/effect_item_font_select.h"

#include <mutex>

#include "effect/drawing_resources.h"
#include "system/log.h"
#include "system/setting_service.h"

namespace Effect {

namespace {

struct FontState {
  std::mutex mutex;
  std::shared_ptr<EffectItemSelect::SharedList> list;
  int defaultValue = 0;
};

FontState& fontState() {
  static FontState state;
  return state;
}

// Builds the list under the state's lock.
void buildFontList(FontState& state) {
  auto list = EffectItemSelect::createSharedList();
  std::vector<std::string> families;
  if (const DrawingResources* resources = drawingResources()) families = resources->fontFamilies();
  if (families.empty()) families.push_back(EffectItemFontSelect::getDefaultFamily());
  for (std::size_t i = 0; i < families.size(); ++i)
    list->addItem(static_cast<int>(i), families[i]);
  const std::string defaultFamily = EffectItemFontSelect::getDefaultFamily();
  state.defaultValue = list->contains(defaultFamily) ? list->getValue(defaultFamily) : 0;
  state.list = std::move(list);
}

struct FontChoice {
  std::shared_ptr<EffectItemSelect::SharedList> list;
  int value;
};

FontChoice chooseFamily(const char* family) {
  FontState& state = fontState();
  std::unique_lock lock(state.mutex);
  if (!state.list) buildFontList(state);
  FontChoice choice{state.list, state.defaultValue};
  if (!family) return choice;
  const DrawingResources* resources = drawingResources();
  const bool installed = !resources || resources->isFontInstalled(family);
  if (installed && choice.list->contains(family)) {
    choice.value = choice.list->getValue(family);
    return choice;
  }
  lock.unlock();
  System::Log::warn("Effect::EffectItemFontSelect::EffectItemFontSelect",
                    "font family not installed [%s]; using the default family", family);
  return choice;
}

}  // namespace

EffectItemFontSelect::EffectItemFontSelect(EffectItemList& items, std::string_view itemName,
                                           const char* family)
    : EffectItemSelect(items, ItemType::FontSelect, itemName, 0, nullptr) {
  FontChoice choice = chooseFamily(family);
  list = std::move(choice.list);
  value = choice.value;
}

std::unique_ptr<EffectItem> EffectItemFontSelect::clone() const {
  return std::make_unique<EffectItemSelect>(static_cast<const EffectItemSelect&>(*this));
}

ControlKind EffectItemFontSelect::getControlKind() const { return ControlKind::FontSelect; }

std::shared_ptr<EffectItemSelect::SharedList> EffectItemFontSelect::getFontList() {
  FontState& state = fontState();
  std::lock_guard lock(state.mutex);
  if (!state.list) buildFontList(state);
  return state.list;
}

int EffectItemFontSelect::getDefaultFontValue() {
  FontState& state = fontState();
  std::lock_guard lock(state.mutex);
  if (!state.list) buildFontList(state);
  return state.defaultValue;
}

std::string EffectItemFontSelect::getDefaultFamily() {
  constexpr const char* kFallback = "Yu Gothic UI";
  if (!Setting::SettingService::instance()) return kFallback;
  const std::string& family = Setting::Style::defaultFamily;
  return family.empty() ? kFallback : family;
}

void EffectItemFontSelect::dropFontList() {
  FontState& state = fontState();
  std::lock_guard lock(state.mutex);
  state.list.reset();
}

}  // namespace Effect
