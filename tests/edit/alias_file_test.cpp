// Alias files: what is written, that an object or an effect set comes back the same, where a
// new object lands among the objects of its layer, and that a damaged file leaves nothing
// behind.
#include "edit/alias_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../system/exception_text.h"
#include "registry_fixture.h"
#include "system/ini_file.h"

namespace {

using ChainFixture::KindEffect;
using TestSupport::whatOf;

bool startsWith(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

class AliasFile : public ChainFixture::RegistryFixture {
 protected:
  std::string path(const char* name) { return install_.path() + "/" + name; }
  void write(const std::string& name, const std::string& text) {
    System::File file;
    file.open(path(name.c_str()), System::File::WriteExclusive);
    file.write(text);
  }
  std::string read(const char* name) {
    System::File file;
    file.open(path(name), System::File::Read);
    std::string text(static_cast<std::size_t>(file.size()), '\0');
    file.readBlock(text.data(), text.size());
    return text;
  }
  // The store of a file text.
  std::unique_ptr<System::IniFile> ini(const std::string& text) {
    write("in.ini", text);
    auto store = std::make_unique<System::IniFile>();
    store->loadFile(path("in.ini"));
    std::remove(path("in.ini").c_str());
    return store;
  }
  // The live objects of a layer, (start, end) in start order.
  std::vector<std::pair<int, int>> objectsOn(int layer) {
    std::vector<std::pair<int, int>> frames;
    for (const auto& object : scene().getLayerObjects(layer).objects)
      if (object->layer == layer) frames.emplace_back(object->start, object->end);
    std::sort(frames.begin(), frames.end());
    return frames;
  }
  std::shared_ptr<Edit::Object> put(int layer, int start, int end) {
    auto object = scene().createEmptyObject(layer, start, end);
    object->setEffectByName("図形", nullptr);
    scene().update();
    return object;
  }
};

const char* const kImageEffects =
    "[Object.0]\r\neffect.name=図形\r\n[Object.1]\r\neffect.name=標準描画\r\n";

TEST_F(AliasFile, AnObjectSavedWithItsTimingComesBackAtTheNewPlace) {
  auto object = std::make_shared<Edit::Object>(3, 100, 159);
  object->setEffectByName("図形", nullptr);
  object->setEffectByName("ぼかし", nullptr);
  object->addSection(130, nullptr);
  object->camera = 0;
  object->clipping = 1;
  kindAt(*object, 2).count.value = 7;
  kindAt(*object, 2).x.values = {1, 2, 3};
  Edit::saveObjectAliasFile(path("a.object"), *object, true);

  const std::string text = read("a.object");
  EXPECT_TRUE(startsWith(text,
                         "[Object]\r\nframe=100,130,159\r\ncamera=0\r\nclipping=1\r\n"
                         "[Object.0]\r\neffect.name=図形\r\n"))
      << text;
  EXPECT_NE(text.find("\r\n[Object.2]\r\neffect.name=ぼかし\r\n"), std::string::npos);
  EXPECT_EQ(text.find("layer="), std::string::npos);

  auto store = std::make_unique<System::IniFile>();
  store->loadFile(path("a.object"));
  auto loaded = Edit::LayerObjectManager::loadObjectAliasFile(scene(), *store, 1, 10, 500);
  EXPECT_EQ(loaded->layer, 1);
  EXPECT_EQ(std::make_pair(loaded->start, loaded->end), std::make_pair(10, 69));
  EXPECT_EQ(loaded->boundaries, std::vector<int32_t>{30});
  EXPECT_EQ(loaded->camera, 0);
  EXPECT_EQ(loaded->clipping, 1);
  EXPECT_EQ(chainOf(*loaded), (std::vector<std::string>{"図形", "標準描画", "ぼかし"}));
  EXPECT_EQ(kindAt(*loaded, 2).count.value, 7);
  EXPECT_EQ(kindAt(*loaded, 2).x.values, (std::vector<int>{1, 2, 3}));

  // Saved without timing: the object takes the length the caller gives.
  Edit::saveObjectAliasFile(path("b.object"), *object, false);
  EXPECT_EQ(read("b.object").substr(0, 29), "[Object]\r\ncamera=0\r\nclipping=");
  store->loadFile(path("b.object"));
  loaded = Edit::LayerObjectManager::loadObjectAliasFile(scene(), *store, 2, 10, 40);
  EXPECT_EQ(std::make_pair(loaded->start, loaded->end), std::make_pair(10, 40));
  EXPECT_TRUE(loaded->boundaries.empty());
  EXPECT_EQ(loaded->sectionCount(), 1);
  EXPECT_EQ(kindAt(*loaded, 2).x.values.size(), 2u);

  // A one-frame object comes back one frame long.
  auto single = std::make_shared<Edit::Object>(0, 42, 42);
  single->setEffectByName("図形", nullptr);
  Edit::saveObjectAliasFile(path("c.object"), *single, true);
  store->loadFile(path("c.object"));
  loaded = Edit::LayerObjectManager::loadObjectAliasFile(scene(), *store, 3, 10, 500);
  EXPECT_EQ(std::make_pair(loaded->start, loaded->end), std::make_pair(10, 10));
}

TEST_F(AliasFile, ANewObjectLandsBehindObjectsThatCoverItsStartAndStopsBeforeTheNext) {
  struct Case {
    std::vector<std::pair<int, int>> existing;
    const char* frame;  // the file's frame list; none: the default end
    int at, defaultEnd;
    std::pair<int, int> expected;
  };
  const Case cases[] = {
      {{}, "5,5", 0, 100, {0, 0}},                    // one frame stays one frame
      {{{0, 19}}, "7,7", 10, 0, {20, 20}},            // also when moved behind an object
      {{}, nullptr, 10, 90, {10, 90}},                // no timing: the default end
      {{{0, 19}}, "0,9", 10, 0, {20, 29}},            // moved behind, same length
      {{{10, 19}}, "0,9", 10, 0, {20, 29}},           // an object starting at the frame covers it
      {{{0, 19}, {25, 40}}, "0,9", 10, 0, {20, 24}},  // cut before the next object
      {{{0, 9}, {10, 19}}, "0,9", 5, 0, {20, 29}},    // moved past several in a row
      {{{0, 9}, {11, 20}}, "0,9", 5, 0, {10, 10}},    // a one-frame gap
      {{{11, 20}}, "0,9", 10, 0, {10, 10}},           // the next begins right after
      {{{0, 5}}, "100,200", 50, 0, {50, 150}},        // nothing in the way
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.frame ? c.frame : "(none)") << " at " << c.at);
    scene().clear();
    for (const auto& range : c.existing) put(4, range.first, range.second);
    std::string text = "[Object]\r\n";
    if (c.frame) text += std::string("frame=") + c.frame + "\r\n";
    auto object = Edit::LayerObjectManager::loadObjectAliasFile(scene(), *ini(text + kImageEffects),
                                                                4, c.at, c.defaultEnd);
    EXPECT_EQ(std::make_pair(object->start, object->end), c.expected);
    scene().update();
    auto expected = c.existing;
    expected.push_back(c.expected);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(objectsOn(4), expected);
  }
}

TEST_F(AliasFile, ADamagedObjectAliasFailsWithItsTextAndLeavesNoObject) {
  struct Case {
    std::string text;
    int layer, frame, defaultEnd;
    const char* error;
  };
  const std::string head = "[Object]\r\n";
  const Case cases[] = {
      {"[Object.0]\r\neffect.name=図形\r\n", 0, 0, 10,
       "no object section.\n\n[Place]\nEdit::LayerObjectManager::loadObjectAliasFile()"},
      {head + "frame=0,9\r\n", 0, 0, 10,
       "no effect defined.\n\n[Place]\nEdit::Object::loadEffectIniFile()"},
      {head + "frame=0,0,9\r\n" + kImageEffects, 0, 0, 10,
       "invalid frame number list.\n\n[Place]\nEdit::LayerObjectManager::loadObjectAliasFile()"},
      {head + "frame=0,12,9\r\n" + kImageEffects, 0, 0, 10, "invalid frame number list."},
      {head + "frame=9,0\r\n" + kImageEffects, 0, 0, 10, "invalid frame number list."},
      {head + "frame=0,5,9\r\n" + kImageEffects, 0, 20, 10, "invalid frame number list."},  // cut
      {head + "frame=0,x,9\r\n" + kImageEffects, 0, 0, 10, "ini file parameter invalid format"},
      {head + "frame=0,9\r\n" + kImageEffects, 0, 2147483100, 10,
       "invalid frame number list."},                                  // moved past the last frame
      {head + kImageEffects, 0, 10, 9, "invalid frame number list."},  // default end before it
      {head + kImageEffects, -1, 0, 10, "layer index out of range."},
      {head + kImageEffects, 1000, 0, 10, "layer index out of range."},
      {head + kImageEffects, 0, -5, 10, "frame out of range."},
      {head + "[Object.0]\r\neffect.name=無い効果\r\n", 0, 0, 10, "not found effect."},
      {head + "[Object.0]\r\nlayer=1\r\n", 0, 0, 10, "ini file parameter undefined."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    scene().clear();
    put(0, 2147483000, 2147483646);
    put(0, 25, 30);
    const std::string what = whatOf([&] {
      Edit::LayerObjectManager::loadObjectAliasFile(scene(), *ini(c.text), c.layer, c.frame,
                                                    c.defaultEnd);
    });
    EXPECT_EQ(what.substr(0, std::string(c.error).size()), c.error) << what;
    scene().update();
    EXPECT_EQ(objectsOn(0), (std::vector<std::pair<int, int>>{{25, 30}, {2147483000, 2147483646}}));
  }
}

TEST_F(AliasFile, AnEffectAliasBecomesAnObjectOrJoinsAChainInItsOrder) {
  auto blur = define("ぼかし").createEffect();
  dynamic_cast<KindEffect&>(*blur).count.value = 4;
  Edit::saveEffectAliasFile(path("e.effect"), *blur);
  const std::string saved = read("e.effect");
  EXPECT_TRUE(startsWith(saved, "[Effect.0]\r\neffect.name=ぼかし\r\n")) << saved;
  EXPECT_EQ(saved.find("[Effect.1]"), std::string::npos);

  // As a new object: a filter object to the default end.
  put(0, 0, 9);
  auto store = std::make_unique<System::IniFile>();
  store->loadFile(path("e.effect"));
  auto object = Edit::LayerObjectManager::loadObjectAliasFileEffect(scene(), *store, 0, 5, 30);
  EXPECT_EQ(std::make_pair(object->start, object->end), std::make_pair(10, 35));
  EXPECT_EQ(chainOf(*object), std::vector<std::string>{"ぼかし"});
  EXPECT_EQ(kindAt(*object, 0).count.value, 4);

  // Sections must be contiguous: Effect.2 without Effect.1 is not read.
  object = Edit::LayerObjectManager::loadObjectAliasFileEffect(
      scene(), *ini("[Effect.0]\r\neffect.name=色調補正\r\n[Effect.2]\r\neffect.name=ぼかし\r\n"),
      1, 0, 9);
  EXPECT_EQ(chainOf(*object), std::vector<std::string>{"色調補正"});

  // Onto an existing chain behind a chosen filter: the set keeps its order there.
  auto target = chain({"図形", "色調補正", "ぼかし"});
  target->addSection(50, nullptr);
  target->loadEffectAliasFile(
      *ini("[Effect.0]\r\neffect.name=ぼかし\r\n個数=9\r\n[Effect.1]\r\neffect.name=色調補正\r\n"),
      target->effects[2].get());
  EXPECT_EQ(chainOf(*target), (std::vector<std::string>{"図形", "標準描画", "色調補正", "ぼかし",
                                                        "色調補正", "ぼかし"}));
  EXPECT_EQ(kindAt(*target, 3).count.value, 9);
  EXPECT_EQ(kindAt(*target, 3).x.values.size(), 3u);  // one value per point
  // Without a place the filters go to the end.
  target->loadEffectAliasFile(*ini("[Effect.0]\r\neffect.name=ぼかし\r\n個数=2\r\n"), nullptr);
  EXPECT_EQ(kindAt(*target, 6).count.value, 2);
}

TEST_F(AliasFile, ADamagedEffectAliasFailsWithItsText) {
  auto target = chain({"図形"});
  EXPECT_EQ(whatOf([&] {
              target->loadEffectAliasFile(*ini("[Effect.1]\r\neffect.name=ぼかし\r\n"), nullptr);
            }),
            "no effect defined.\n\n[Place]\nEdit::Object::loadEffectAliasFile()");
  EXPECT_EQ(chainOf(*target), (std::vector<std::string>{"図形", "標準描画"}));
  // The effects read before the failure stay; the caller's undo step covers them.
  const std::string what = whatOf([&] {
    target->loadEffectAliasFile(
        *ini("[Effect.0]\r\neffect.name=ぼかし\r\n[Effect.1]\r\neffect.name=\r\n"), nullptr);
  });
  EXPECT_TRUE(startsWith(what, "ini file parameter invalid format(UTF8) or undefined.")) << what;
  EXPECT_EQ(chainOf(*target), (std::vector<std::string>{"図形", "標準描画", "ぼかし"}));
  // An audio filter does not suit a video chain.
  EXPECT_NE(whatOf([&] {
              target->loadEffectAliasFile(*ini("[Effect.0]\r\neffect.name=音量調整\r\n"), nullptr);
            }),
            "(nothing thrown)");
  EXPECT_EQ(chainOf(*target), (std::vector<std::string>{"図形", "標準描画", "ぼかし"}));

  // As a new object, a failure leaves nothing on the layer.
  scene().update();
  EXPECT_EQ(whatOf([&] {
              Edit::LayerObjectManager::loadObjectAliasFileEffect(
                  scene(), *ini("[Effect.0]\r\neffect.name=無い効果\r\n"), 2, 0, 9);
            }).substr(0, 17),
            "not found effect.");
  scene().update();
  EXPECT_TRUE(objectsOn(2).empty());
}

TEST_F(AliasFile, AFileIsReadAsTheKindItsExtensionNames) {
  write("o.object", std::string("[Object]\r\nframe=0,4\r\n") + kImageEffects);
  write("e.EFFECT", "[Effect.0]\r\neffect.name=ぼかし\r\n");
  scene().zoom.zoom = 20000;  // the default length is 800000 / zoom frames
  auto object = Edit::loadObjectFile(scene(), path("o.object"), 0, 100);
  EXPECT_EQ(std::make_pair(object->start, object->end), std::make_pair(100, 104));
  object = Edit::loadObjectFile(scene(), path("e.EFFECT"), 1, 100);
  EXPECT_EQ(std::make_pair(object->start, object->end), std::make_pair(100, 140));
  EXPECT_EQ(chainOf(*object), std::vector<std::string>{"ぼかし"});
  // An effect alias read as an object alias has no object section.
  write("e.object", "[Effect.0]\r\neffect.name=ぼかし\r\n");
  EXPECT_EQ(whatOf([&] { Edit::loadObjectFile(scene(), path("e.object"), 2, 0); }).substr(0, 18),
            "no object section.");
  EXPECT_EQ(whatOf([&] { Edit::loadObjectFile(scene(), path("none.object"), 2, 0); }).substr(0, 20),
            "failed to open file.");
}

TEST_F(AliasFile, AliasPathsStayInsideTheAliasFolder) {
  const std::string made = Edit::makeAliasFilePath("雲 1", "object");
  EXPECT_EQ(made, System::FileName::getVariable("%Alias%") + "/雲 1.object");
  for (const char* name : {"", ".", "..", "a/b", "..\\x", "a\nb"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(whatOf([&] { Edit::makeAliasFilePath(name, "effect"); }).substr(0, 19),
              "invalid alias name.");
  }
}

TEST_F(AliasFile, ASaveThatCannotBeWrittenThrowsAndKeepsTheOldFile) {
  auto object = chain({"図形"});
  write("keep.object", "old");
  EXPECT_NE(whatOf([&] { Edit::saveObjectAliasFile(path("missing/x.object"), *object, true); }),
            "(nothing thrown)");
  Edit::saveObjectAliasFile(path("keep.object"), *object, true);
  EXPECT_EQ(read("keep.object").substr(0, 20), "[Object]\r\nframe=0,99");
}

}  // namespace
