// The script blocks of a text object run through the scripting host: in the default engine
// when the text names none, with or without a frame, and a failing block leaves nothing in
// the text but a warning.
#include <gtest/gtest.h>

#include <string>

#include "../system/log_capture.h"
#include "builtin/input/text_input.h"
#include "effect/effect_context.h"
#include "effect/script_host.h"
#include "script/script_effect_host.h"
#include "script/script_service.h"
#include "system/service_holder.h"

namespace {

class TextBlocksTest : public ::testing::Test {
 protected:
  TextBlocksTest() {
    Plugin::registerScriptPlugins(*Plugin::ScriptService::instance());
    Effect::setScriptHost(&host);
    text.createResource();
  }
  ~TextBlocksTest() override { Effect::setScriptHost(nullptr); }

  System::ServiceHolder<Plugin::ScriptService> service;
  Plugin::ScriptEffectHost host;
  Effect::TextInput text;
};

TEST_F(TextBlocksTest, ABlockGivesWhatItPrinted) {
  struct Case {
    const char* block;
    const char* printed;
  };
  const Case cases[] = {
      {"mes('a' .. 1 + 1)", "a2"},
      {"mes('x') mes('y')", "xy"},
      {"local n = 3", ""},
      {"=2 * 21", "42"},
      {"=\"日本\"", "日本"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text.expandScript(nullptr, c.block), c.printed) << c.block;
  }
}

TEST_F(TextBlocksTest, ABlockSeesTheFrameItIsDrawnFor) {
  Effect::EffectContext context;
  context.frame = 7;
  context.time = 7.0;
  EXPECT_EQ(text.expandScript(&context, "=obj.frame"), "7");
  // While the text is only measured there is no frame.
  EXPECT_EQ(text.expandScript(nullptr, "=obj.frame"), "0");
}

TEST_F(TextBlocksTest, BlocksAreReplacedInTheText) {
  text.text.value = "x<?mes('y')?>z<?=1+2?>!";
  EXPECT_EQ(text.expandScripts(nullptr), "xyz3!");
}

TEST_F(TextBlocksTest, AFailingBlockLeavesNothingAndWarns) {
  TestSupport::LogCapture log;
  text.text.value = "a<?error('boom')?>b";
  EXPECT_EQ(text.expandScripts(nullptr), "ab");
  bool warned = false;
  for (const auto& record : log.records())
    if (record.level == "WARN" && record.text.find("script exception") != std::string::npos &&
        record.text.find("boom") != std::string::npos)
      warned = true;
  EXPECT_TRUE(warned);
  // The engine's state stays usable for the next block.
  EXPECT_EQ(text.expandScript(nullptr, "=1"), "1");
}

}  // namespace
