#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <unordered_map>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_string.h"
#include "effect/effect_translate.h"
#include "effect_test_support.h"
#include "system/exception.h"
#include "system/active_language.h"

namespace {

using Effect::EffectContext;
using Effect::OwnedAudio;
using Effect::OwnedImage;
using TestSupport::BareEffect;

std::string notImplementedText(const std::string& place) {
  return "not implement.\n\n[Place]\n" + place + "()";
}

// An effect whose class declares three items, as the built-in effects do.
class ThreeItemEffect : public Effect::EffectBase {
 public:
  ThreeItemEffect() : EffectBase("三項目", 2, 1, 1, "装飾") {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<ThreeItemEffect>(); }

  Effect::EffectItemCheck first{items, "一", false};
  Effect::EffectItemInteger second{items, "二", 5, 0, 10};
  Effect::EffectItemString third{items, "三", "x"};
};

TEST(EffectBase, FreshEffectHasItsTypesNoFlagsAndItemsInDeclarationOrder) {
  ThreeItemEffect effect;
  EXPECT_STREQ(effect.name, "三項目");
  EXPECT_EQ(effect.effectType, 2);
  EXPECT_EQ(effect.mediaType, 1);
  EXPECT_EQ(effect.targetType, 1);
  EXPECT_STREQ(effect.label, "装飾");
  EXPECT_FALSE(effect.disable);
  EXPECT_FALSE(effect.hide);
  EXPECT_FALSE(effect.lock);
  ASSERT_EQ(effect.items.size(), 3u);
  EXPECT_EQ(effect.items[0], &effect.first);
  EXPECT_EQ(effect.items[1], &effect.second);
  EXPECT_EQ(effect.items[2], &effect.third);

  BareEffect bare;
  EXPECT_STREQ(bare.label, "");
  EXPECT_TRUE(bare.items.empty());
}

TEST(EffectBase, InstancesMadeByThePrototypeHaveTheirOwnItems) {
  ThreeItemEffect prototype;
  prototype.second.value = 9;
  const auto instance = prototype.create();
  instance->shareResource(prototype);
  ASSERT_EQ(instance->items.size(), 3u);
  EXPECT_NE(instance->items[1], prototype.items[1]);
  EXPECT_EQ(static_cast<Effect::EffectItemInteger*>(instance->items[1])->value, 5);
  EXPECT_STREQ(instance->name, prototype.name);
}

// A stand-in for an argument of another part's type that the base never looks at.
template <class T>
T& stand() {
  static int tag = 0;
  return reinterpret_cast<T&>(tag);
}

// Each slot the base refuses, with the place its text names.
struct RefusedSlot {
  const char* place;
  std::function<void(Effect::EffectBase&, EffectContext&)> call;
};

TEST(EffectBase, SlotsAClassDoesNotSupplyReportNotImplementedWithTheirPlace) {
  const RefusedSlot slots[] = {
      {"Effect::EffectBase::inputVideo", [](auto& e, auto& c) { (void)e.inputVideo(c); }},
      {"Effect::EffectBase::outputVideo",
       [](auto& e, auto& c) {
         OwnedImage none;
         e.outputVideo(c, stand<Media::RenderBuffer>(), none);
       }},
      {"Effect::EffectBase::getOutputView", [](auto& e, auto& c) { (void)e.getOutputView(c); }},
      {"Effect::EffectBase::filterVideo", [](auto& e, auto& c) { (void)e.filterVideo(c, {}); }},
      {"Effect::EffectBase::inputAudio", [](auto& e, auto& c) { (void)e.inputAudio(c); }},
      {"Effect::EffectBase::outputAudio",
       [](auto& e, auto& c) {
         OwnedAudio none;
         e.outputAudio(c, stand<Media::AudioBuffer>(), none);
       }},
      {"Effect::EffectBase::filterAudio", [](auto& e, auto& c) { (void)e.filterAudio(c, {}); }},
      {"Effect::EffectBase::getLayerRange", [](auto& e, auto&) { (void)e.getLayerRange(); }},
      {"Effect::EffectBase::anchorEvent",
       [](auto& e, auto&) { (void)e.anchorEvent(stand<Anchor::AnchorEvent>()); }},
  };
  BareEffect effect;
  EffectContext context;
  for (const RefusedSlot& slot : slots) {
    SCOPED_TRACE(slot.place);
    try {
      slot.call(effect, context);
      ADD_FAILURE() << "no exception";
    } catch (const System::Exception& e) {
      EXPECT_EQ(e.what(), notImplementedText(slot.place));
    }
  }
}

// Counts the images and audio blocks destroyed through their owners.
int destroyedImages = 0;
int destroyedAudio = 0;

TEST(EffectBase, FilterSlotsReleaseTheirInputBeforeTheyRefuse) {
  BareEffect effect;
  EffectContext context;
  int imageTag = 0;
  int audioTag = 0;
  destroyedImages = 0;
  destroyedAudio = 0;
  OwnedImage image(reinterpret_cast<Media::ResourceBuffer*>(&imageTag),
                   {[](Media::ResourceBuffer*) { ++destroyedImages; }});
  OwnedAudio audio(reinterpret_cast<Media::AudioBuffer*>(&audioTag),
                   {[](Media::AudioBuffer*) { ++destroyedAudio; }});

  try {
    (void)effect.filterVideo(context, std::move(image));
    ADD_FAILURE() << "no exception";
  } catch (const System::Exception& e) {
    EXPECT_EQ(destroyedImages, 1);
    EXPECT_EQ(e.what(), notImplementedText("Effect::EffectBase::filterVideo"));
  }
  try {
    (void)effect.filterAudio(context, std::move(audio));
    ADD_FAILURE() << "no exception";
  } catch (const System::Exception& e) {
    EXPECT_EQ(destroyedAudio, 1);
    EXPECT_EQ(e.what(), notImplementedText("Effect::EffectBase::filterAudio"));
  }
  EXPECT_EQ(destroyedImages, 1);
  EXPECT_EQ(destroyedAudio, 1);
}

TEST(EffectBase, OptionalSlotsOfTheBaseAreNeutral) {
  BareEffect effect;
  EffectContext context;
  EXPECT_NO_THROW(effect.preInputVideo(context));
  EXPECT_NO_THROW(effect.updateAnchor(context, 100, 100));
  EXPECT_NO_THROW(effect.controlVideo(context));
  EXPECT_NO_THROW(effect.preInputAudio(context));
  EXPECT_NO_THROW(effect.controlAudio(context));
  EXPECT_NO_THROW(effect.updateItemState());
  EXPECT_NO_THROW(effect.createResource());
  EXPECT_EQ(effect.getDefaultInputEffect(), nullptr);
  EXPECT_FALSE(effect.canSeparateAudio(0));
  EXPECT_FALSE(effect.isSupportedFile("/a/b.mp4"));
  Effect::EffectEventParam param;
  param.kind = Effect::EffectEventParam::ItemChanged;
  EXPECT_FALSE(effect.editEvent(param));
}

TEST(EffectBase, DisplayNameIsTranslatedOnlyWhileALanguageIsActive) {
  BareEffect effect;
  ThreeItemEffect untranslated;
  EXPECT_EQ(effect.getDisplayName(), "テスト効果");

  {
    TestSupport::ActiveLanguage language("[Effect]\r\nテスト効果=Test effect\r\n");
    EXPECT_EQ(effect.getDisplayName(), "Test effect");
    EXPECT_EQ(untranslated.getDisplayName(), "三項目");  // not in the table
  }

  EXPECT_EQ(effect.getDisplayName(), "テスト効果");
}

}  // namespace
