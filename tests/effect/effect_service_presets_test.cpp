// The registry reads the movement presets and the palettes at the end of its start.
#include <gtest/gtest.h>

#include "effect/registry_test_support.h"

namespace {

using RegistryPresetsTest = TestSupport::RegistryTest;

TEST_F(RegistryPresetsTest, TheStartReadsThePresetsAndThePalettes) {
  // A preset of a file in %Default% holding several is named after its key and the file.
  writeData("Default/Ease.params", "soft=0.25,0.5\r\nhard=1,2\r\n");
  Effect::EffectService& registry = build();
  EXPECT_NE(registry.movementParams.findMovementParams("soft@Ease"), nullptr);
  // Without a palette file the built-in default palette is there.
  EXPECT_FALSE(registry.palettes.getPaletteList().empty());
}

}  // namespace
