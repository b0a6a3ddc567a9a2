#include "effect/effect_translate.h"

#include <gtest/gtest.h>

#include "system/file.h"
#include "system/service_holder.h"
#include "system/temp_folder.h"
#include "system/translate_service.h"

namespace {

TEST(EffectTranslate, EffectTextsGoThroughTheEffectTableOnlyWhileALanguageIsActive) {
  TestSupport::TempFolder install;
  install.makeFolder("data");
  System::FileName::resetVariableList(install.path());
  install.writeFile("data/Language/English.vll2",
                    "[Effect]\r\n移動無し=No movement\r\n[Menu]\r\n移動無し=menu text\r\n");
  TestSupport::ScopedEnvironment noAll("LC_ALL", nullptr);
  TestSupport::ScopedEnvironment noMessages("LC_MESSAGES", nullptr);
  TestSupport::ScopedEnvironment english("LANG", "en_US.UTF-8");

  EXPECT_EQ(Effect::translateEffectText("移動無し"), "移動無し");
  {
    // With no parameter store "Language" is "*": a non-Japanese desktop takes the first file.
    System::ServiceHolder<Translate::TranslateService> translation;
    ASSERT_TRUE(Translate::isLanguageActive());
    EXPECT_EQ(Effect::translateEffectText("移動無し"), "No movement");
    EXPECT_EQ(Effect::translateEffectText("unknown text"), "unknown text");
  }
  EXPECT_EQ(Effect::translateEffectText("移動無し"), "移動無し");
  System::FileName::resetVariableList();
}

}  // namespace
