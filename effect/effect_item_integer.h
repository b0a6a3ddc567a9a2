#pragma once
// Whole-number items: the plain integer, the scene index and the number of layers a group
// or camera control governs. Code 200 is an integer without a row.
#include "effect/effect_item.h"

namespace Effect {

class EffectItemInteger : public EffectItem {
 public:
  // `zeroText` (borrowed, may be null) is shown instead of the number 0.
  EffectItemInteger(EffectItemList& items, std::string_view name, int value, int minimum,
                    int maximum, uint8_t typeCode = ItemType::Integer,
                    const char* zeroText = nullptr);
  EffectItemInteger(const EffectItemInteger&) = default;

  // Copies the value, the default and the range; compares the value only.
  void copyFrom(const EffectItem& other) override;
  bool equals(const EffectItem& other) const override;
  std::unique_ptr<EffectItem> clone() const override;
  std::string toString() const override;
  // A decimal integer, kept inside [minimum, maximum]: a value from a shared file must not
  // reach the effect outside the range its control allows. A text that is no number
  // throws "invalid stoi argument" (or "stoi argument out of range") and keeps the value.
  void fromString(std::string_view text) override;
  // By code: 200 none, 12 the layer range control, any other the integer control.
  ControlKind getControlKind() const override;

  int value;
  int defaultValue;
  int minimum;
  int maximum;
  const char* zeroText;
};

// The index of a scene (code 11).
class EffectItemScene : public EffectItemInteger {
 public:
  EffectItemScene(EffectItemList& items, std::string_view name, int value, int minimum = 0,
                  int maximum = 1000000);
  EffectItemScene(const EffectItemScene&) = default;

  // A plain integer (still code 11).
  std::unique_ptr<EffectItem> clone() const override;
  ControlKind getControlKind() const override;
  // A scene input of a deleted scene refers to no scene (0, the root, which no scene item
  // may choose) afterwards.
  bool forgetScene(int32_t sceneId) override;
};

// How many following layers a group or camera control governs (code 12; 0 = all).
class EffectItemLayerRange : public EffectItemInteger {
 public:
  EffectItemLayerRange(EffectItemList& items, std::string_view name, int value, int minimum = 0,
                       int maximum = 1000, const char* zeroText = nullptr);
  EffectItemLayerRange(const EffectItemLayerRange&) = default;

  // A plain integer (still code 12).
  std::unique_ptr<EffectItem> clone() const override;
};

}  // namespace Effect
