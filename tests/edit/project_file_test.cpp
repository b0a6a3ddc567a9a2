// The project file: what is written, that a whole project reads back the same, and that a
// damaged file loses only what is damaged.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../system/comma_locale.h"
#include "../system/exception_text.h"
#include "../system/fake_ui_bridge.h"
#include "edit/group.h"
#include "edit/project.h"
#include "effect/builtin_movements.h"
#include "registry_fixture.h"

namespace {

using ChainFixture::KindEffect;
using TestSupport::whatOf;

class ProjectFile : public ChainFixture::RegistryFixture {
 protected:
  std::string path(const char* name = "p.vlp2") { return install_.path() + "/" + name; }

  void write(const std::string& text, const char* name = "p.vlp2") {
    System::File file;
    file.open(path(name), System::File::WriteExclusive);
    file.write(text);
  }
  std::string read(const char* name = "p.vlp2") {
    System::File file;
    file.open(path(name), System::File::Read);
    std::string text(static_cast<std::size_t>(file.size()), '\0');
    file.readBlock(text.data(), text.size());
    return text;
  }
  std::string saved(const Edit::Project& project) {
    project.saveFile(path("copy.vlp2"));
    return read("copy.vlp2");
  }
  // The project saved and read back into a new one, which must save the same text again.
  std::unique_ptr<Edit::Project> reload(const Edit::Project& project) {
    project.saveFile(path());
    auto loaded = std::make_unique<Edit::Project>();
    loaded->loadFile(path());
    EXPECT_EQ(saved(*loaded), read());
    return loaded;
  }
  // The error boxes the load posted, once the UI thread ran its commands.
  std::vector<std::string> postedErrors() {
    Event::EventService::instance()->processEventCommands();
    std::vector<std::string> texts;
    for (const auto& box : bridge_.boxes) texts.push_back(box.text);
    return texts;
  }
  static std::vector<std::pair<int, int>> objectsOn(const Edit::Scene& scene, int layer) {
    std::vector<std::pair<int, int>> frames;
    for (const auto& object : scene.getLayerObjects(layer).objects)
      if (object->layer == layer) frames.emplace_back(object->start, object->end);
    return frames;
  }

  TestSupport::FakeUiBridge bridge_;
};

const char* const kScene0 =
    "[scene.0]\r\nscene=0\r\nvideo.width=1920\r\nvideo.height=1080\r\nvideo.rate=30\r\n"
    "video.scale=1\r\n";
const char* const kGood = "[0]\r\nlayer=0\r\nframe=0,99\r\n[0.0]\r\neffect.name=画像ファイル\r\n";

TEST_F(ProjectFile, AnEmptyProjectIsTheProjectAndRootSceneSectionsAlone) {
  Edit::Project project;
  project.getOrCreateScene(0);
  project.path = "/home/me/a.vlp2";
  EXPECT_EQ(saved(project),
            "[project]\r\nfile=/home/me/a.vlp2\r\ndisplay.scene=0\r\n"
            "[scene.0]\r\nscene=0\r\nname=Root\r\nvideo.width=1920\r\nvideo.height=1080\r\n"
            "video.rate=30\r\nvideo.scale=1\r\naudio.rate=48000\r\ncursor.frame=0\r\n"
            "display.frame=0\r\ndisplay.layer=0\r\ndisplay.zoom=10000\r\ndisplay.order=0\r\n"
            "display.camera=\r\n");
  // A named, locked or hidden layer adds its section, also one past the last object; the
  // default layers between them add nothing.
  project.findScene(0)->getLayerObjects(0).layer->locked = true;
  project.findScene(0)->ensureLayer(5).layer->hidden = true;
  const std::string text = saved(project);
  EXPECT_TRUE(text.ends_with("display.camera=\r\n[layer.0]\r\nlayer=0\r\nlock=1\r\n"
                             "[layer.1]\r\nlayer=5\r\nhide=1\r\n"))
      << text;
}

TEST_F(ProjectFile, LayerSettingsPastTheLastObjectReadBack) {
  Edit::Project project;
  auto& root = *project.getOrCreateScene(0);
  root.createObject("画像ファイル", 1, 0, 9);
  root.ensureLayer(4).layer->name = "Top";
  root.getLayerObjects(4).layer->locked = true;
  root.ensureLayer(7).layer->hidden = true;
  auto& empty = *project.getOrCreateScene(3);  // no object at all
  empty.ensureLayer(2).layer->name = "空";
  empty.getLayerObjects(2).layer->locked = true;
  empty.getLayerObjects(2).layer->hidden = true;
  root.update();
  empty.update();

  const auto loaded = reload(project);
  struct Expected {
    int scene, layer;
    const char* name;
    bool locked, hidden;
  };
  for (const Expected& e : {Expected{0, 1, "", false, false}, Expected{0, 4, "Top", true, false},
                            Expected{0, 6, "", false, false}, Expected{0, 7, "", false, true},
                            Expected{3, 2, "空", true, true}}) {
    SCOPED_TRACE(std::to_string(e.scene) + "/" + std::to_string(e.layer));
    const auto& layer = loaded->findScene(e.scene)->getLayerObjects(e.layer).layer;
    ASSERT_TRUE(layer);
    EXPECT_EQ(layer->name, e.name);
    EXPECT_EQ(layer->locked, e.locked);
    EXPECT_EQ(layer->hidden, e.hidden);
  }
  EXPECT_EQ(objectsOn(*loaded->findScene(0), 1), (std::vector<std::pair<int, int>>{{0, 9}}));
}

TEST_F(ProjectFile, ObjectKeysAreWrittenOnlyWhereTheyDifferFromTheDefaults) {
  Edit::Project project;
  auto& scene = *project.getOrCreateScene(0);
  auto object = scene.createObject("画像ファイル", 1, 10, 99);
  for (int frame : {40, 70}) object->addSection(frame, nullptr);
  object->camera = 0;
  object->clipping = 1;
  object->effects[0]->disable = true;
  auto plain = scene.createObject("色調補正", 0, 0, 5);
  auto group = std::make_shared<Edit::Group>();
  object->joinGroup(group);
  scene.focusObject = object;
  scene.update();
  const std::string text = saved(project);
  // Layer 0's object first, then layer 1's.
  EXPECT_NE(text.find("[0]\r\nlayer=0\r\nframe=0,5\r\n[0.0]\r\neffect.name=色調補正\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("[1]\r\nlayer=1\r\nfocus=1\r\nframe=10,40,70,99\r\ncamera=0\r\n"
                      "clipping=1\r\ngroup=1\r\n[1.0]\r\neffect.name=画像ファイル\r\n"
                      "effect.disable=1\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("[1.1]\r\neffect.name=標準描画\r\n個数="), std::string::npos);
  EXPECT_EQ(text.find("display.hide"), std::string::npos);
}

TEST_F(ProjectFile, AWholeProjectReadsBackAsTheSameModel) {
  Edit::Project project;
  project.path = "/work/film.vlp2";
  project.currentSceneId = 2;
  auto& root = *project.getOrCreateScene(0);
  auto& other = *project.getOrCreateScene(2);
  other.name = "Intro";
  other.width = 640;
  other.height = 360;
  other.rate = 30000;
  other.scale = 1001;
  other.audioRate = 44100;
  other.cursorFrame = 12;
  other.zoom.zoom = 2000;
  other.camera.eye = {1.0f, 2.0f, -500.0f, 1.0f};
  root.ensureLayer(2).layer->name = "BGM";
  root.getLayerObjects(2).layer->hidden = true;

  auto moving = root.createObject("画像ファイル", 0, 0, 299);
  moving->addSection(100, nullptr);
  moving->addSection(200, nullptr);
  auto& x = dynamic_cast<KindEffect&>(*moving->effects[0]).x;
  for (int i = 0; i < 4; ++i) x.setValue(1.5 * i - 2, i);
  dynamic_cast<KindEffect&>(*moving->effects[1]).text.value = "こんにちは";
  moving->setEffectByName("ぼかし", nullptr);
  moving->effects[2]->hide = true;
  moving->effects[2]->lock = true;
  auto group = std::make_shared<Edit::Group>();
  moving->joinGroup(group);
  auto partner = root.createObject("音声ファイル", 2, 50, 120);
  partner->joinGroup(group);
  auto lone = other.createObject("シーンチェンジ", 1, 5, 6);
  auto control = other.createObject("グループ制御", 0, 0, 30);
  control->setEffectByName("時間制御", nullptr);
  auto second = std::make_shared<Edit::Group>();
  lone->joinGroup(second);
  control->joinGroup(second);
  other.focusObject = lone;
  root.update();
  other.update();

  const auto reloaded = reload(project);
  const Edit::Project& loaded = *reloaded;
  EXPECT_TRUE(postedErrors().empty());

  // A few things the text alone would not show.
  const auto& scene = *loaded.findScene(0);
  const auto& movingBack = scene.getLayerObjects(0).objects.at(0);
  const auto& partnerBack = scene.getLayerObjects(2).objects.at(0);
  EXPECT_EQ(movingBack->boundaries, (std::vector<int32_t>{100, 200}));
  EXPECT_EQ(dynamic_cast<KindEffect&>(*movingBack->effects[0]).x.values, x.values);
  ASSERT_TRUE(movingBack->group);
  EXPECT_EQ(movingBack->group, partnerBack->group);
  const auto& otherBack = *loaded.findScene(2);
  EXPECT_NE(otherBack.getLayerObjects(1).objects.at(0)->group, movingBack->group);
  EXPECT_EQ(otherBack.focusObject, otherBack.getLayerObjects(1).objects.at(0));
  EXPECT_TRUE(otherBack.getLayerObjects(0).objects.at(0)->controlFlag);
  EXPECT_EQ(loaded.currentSceneId, 2);
  EXPECT_EQ(loaded.path, "/work/film.vlp2");
}

// A straight line with two params and an easing curve, so that a track carries fractions
// in every group of its text.
class CurvedMove : public Effect::LinearMove {
 public:
  CurvedMove() {
    name = "曲線移動";
    defaultParams = {1.0, 2.0};
    defaultTimeControl = {0.0, 0.0, 1.0, 1.0};
    timeControl = true;
  }
};

TEST_F(ProjectFile, FractionsReadBackTheSameUnderADecimalCommaLocale) {
  const auto* curved =
      Effect::MovementRegistry::instance().registerMovement(std::make_shared<CurvedMove>());
  ASSERT_TRUE(curved);
  const TestSupport::CommaLocale comma;
  ASSERT_TRUE(comma.active());

  Edit::Project project;
  auto& scene = *project.getOrCreateScene(0);
  auto object = scene.createObject("画像ファイル", 0, 0, 99);
  auto& x = dynamic_cast<KindEffect&>(*object->effects[0]).x;
  x.movement = curved;
  x.values = {-15, 25};  // -1.5 and 2.5 at a step of 0.1
  x.params = {0.25, -1.5};
  x.timeControl = {0.125, 0.5, 0.875, 0.0625};
  scene.update();
  project.saveFile(path());
  EXPECT_NE(read().find("X=-1.5,2.5,曲線移動,0|0.25,-1.5|0.125,0.5,0.875,0.0625\r\n"),
            std::string::npos);

  Edit::Project loaded;
  loaded.loadFile(path());
  EXPECT_TRUE(postedErrors().empty());
  const auto& objects = loaded.findScene(0)->getLayerObjects(0).objects;
  ASSERT_EQ(objects.size(), 1u);
  const auto& back = dynamic_cast<KindEffect&>(*objects.at(0)->effects[0]).x;
  EXPECT_EQ(back.movement, curved);
  EXPECT_EQ(back.values, x.values);
  EXPECT_EQ(back.params, x.params);
  EXPECT_EQ(back.timeControl, x.timeControl);
}

TEST_F(ProjectFile, ABadObjectIsDroppedAloneWithOneSummaryError) {
  const struct {
    const char* what;
    std::string section;
  } cases[] = {
      {"one frame", "[1]\r\nlayer=1\r\nframe=10\r\n[1.0]\r\neffect.name=画像ファイル\r\n"},
      {"end before start", "[1]\r\nlayer=1\r\nframe=50,10\r\n[1.0]\r\neffect.name=図形\r\n"},
      {"midpoint on the start", "[1]\r\nlayer=1\r\nframe=10,10,99\r\n[1.0]\r\neffect.name=図形\r\n"},
      {"midpoint outside", "[1]\r\nlayer=1\r\nframe=10,120,99\r\n[1.0]\r\neffect.name=図形\r\n"},
      {"midpoint twice", "[1]\r\nlayer=1\r\nframe=10,50,50,99\r\n[1.0]\r\neffect.name=図形\r\n"},
      {"no effects", "[1]\r\nlayer=1\r\nframe=10,99\r\n"},
      {"unknown effect", "[1]\r\nlayer=1\r\nframe=10,99\r\n[1.0]\r\neffect.name=無い\r\n"},
      {"empty effect name", "[1]\r\nlayer=1\r\nframe=10,99\r\n[1.0]\r\neffect.name=\r\n"},
      {"misfitting filter",
       "[1]\r\nlayer=1\r\nframe=10,99\r\n[1.0]\r\neffect.name=画像ファイル\r\n"
       "[1.1]\r\neffect.name=音量調整\r\n"},
      {"overlap", "[1]\r\nlayer=0\r\nframe=99,150\r\n[1.0]\r\neffect.name=図形\r\n"},
      {"layer too high", "[1]\r\nlayer=1000\r\nframe=0,9\r\n[1.0]\r\neffect.name=図形\r\n"},
      {"negative layer", "[1]\r\nlayer=-1\r\nframe=0,9\r\n[1.0]\r\neffect.name=図形\r\n"},
      {"no layer", "[1]\r\nframe=0,9\r\n[1.0]\r\neffect.name=図形\r\n"},
      {"negative frame", "[1]\r\nlayer=1\r\nframe=-5,9\r\n[1.0]\r\neffect.name=図形\r\n"},
      {"huge frame", "[1]\r\nlayer=1\r\nframe=0,99999999999\r\n[1.0]\r\neffect.name=図形\r\n"},
      {"last frame", "[1]\r\nlayer=1\r\nframe=0,2147483647\r\n[1.0]\r\neffect.name=図形\r\n"},
      {"negative scene", "[1]\r\nscene=-3\r\nlayer=1\r\nframe=0,9\r\n[1.0]\r\neffect.name=図形\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    bridge_.boxes.clear();
    // The bad object sits between two good ones.
    write(std::string("[project]\r\n") + kScene0 + kGood + c.section +
          "[2]\r\nlayer=3\r\nframe=0,9\r\n[2.0]\r\neffect.name=図形\r\n");
    Edit::Project project;
    project.loadFile(path());
    const auto& scene = *project.findScene(0);
    EXPECT_EQ(objectsOn(scene, 0), (std::vector<std::pair<int, int>>{{0, 99}}));
    EXPECT_TRUE(objectsOn(scene, 1).empty());
    EXPECT_EQ(objectsOn(scene, 3), (std::vector<std::pair<int, int>>{{0, 9}}));
    EXPECT_EQ(postedErrors(), (std::vector<std::string>{"一部のオブジェクトの読み込みに失敗しました"}));
    EXPECT_EQ(project.scenes.size(), 1u);
  }
}

TEST_F(ProjectFile, ManyBadObjectsGiveOneErrorAndAGapEndsTheObjects) {
  write(std::string("[project]\r\n") + kScene0 + kGood +
        "[1]\r\nlayer=1\r\nframe=10\r\n[2]\r\nlayer=2\r\nframe=9,1\r\n"
        "[4]\r\nlayer=4\r\nframe=0,9\r\n[4.0]\r\neffect.name=図形\r\n");
  Edit::Project project;
  project.loadFile(path());
  EXPECT_TRUE(objectsOn(*project.findScene(0), 4).empty());
  EXPECT_EQ(postedErrors().size(), 1u);

  bridge_.boxes.clear();
  write(std::string("[project]\r\n") + kScene0 + kGood +
        "[1]\r\nlayer=1\r\nframe=0,9\r\n[1.0]\r\neffect.name=図形\r\n"
        "[3]\r\nlayer=3\r\nframe=0,9\r\n[3.0]\r\neffect.name=図形\r\n");
  Edit::Project quiet;
  quiet.loadFile(path());
  EXPECT_EQ(objectsOn(*quiet.findScene(0), 1).size(), 1u);
  EXPECT_TRUE(objectsOn(*quiet.findScene(0), 3).empty());
  EXPECT_TRUE(postedErrors().empty());
}

TEST_F(ProjectFile, FocusGroupsAndValuesFollowTheFile) {
  write(std::string("[project]\r\ndisplay.scene=7\r\n") + kScene0 +
        "display.zoom=12345\r\n"
        "[0]\r\nlayer=0\r\nfocus=1\r\ngroup=7\r\nframe=0,9\r\n[0.0]\r\neffect.name=図形\r\n"
        "個数=5\r\n未知=1\r\n"
        "[1]\r\nlayer=1\r\nfocus=1\r\ngroup=9\r\nframe=0,9\r\n[1.0]\r\neffect.name=図形\r\n"
        "個数=abc\r\n"
        "[2]\r\nlayer=2\r\ngroup=7\r\nframe=0,9\r\n[2.0]\r\neffect.name=図形\r\n"
        "[3]\r\nlayer=3\r\ngroup=0\r\nframe=0,9\r\n[3.0]\r\neffect.name=図形\r\n"
        "[4]\r\nscene=4\r\nlayer=0\r\nframe=0,9\r\n[4.0]\r\neffect.name=図形\r\n");
  Edit::Project project;
  project.loadFile(path());
  const auto& scene = *project.findScene(0);
  auto at = [&](int layer) { return scene.getLayerObjects(layer).objects.at(0); };
  EXPECT_EQ(scene.focusObject, at(1));
  ASSERT_TRUE(at(0)->group && at(1)->group);
  EXPECT_EQ(at(0)->group, at(2)->group);
  EXPECT_NE(at(0)->group, at(1)->group);
  EXPECT_FALSE(at(3)->group);
  EXPECT_EQ(dynamic_cast<KindEffect&>(*at(0)->effects[0]).count.value, 5);
  EXPECT_EQ(dynamic_cast<KindEffect&>(*at(1)->effects[0]).count.value, 1);  // refused text
  EXPECT_EQ(scene.zoom.zoom, 10000);
  EXPECT_EQ(scene.name, Edit::getDefaultSceneName(0));
  // Scene 4 was made by its object, with the defaults; display.scene=7 names no scene.
  ASSERT_TRUE(project.findScene(4));
  EXPECT_EQ(objectsOn(*project.findScene(4), 0).size(), 1u);
  EXPECT_EQ(project.currentSceneId, 0);
  EXPECT_TRUE(postedErrors().empty());
}

TEST_F(ProjectFile, AnInputReplacedByALaterSectionGetsAConsistentChain) {
  write(std::string("[project]\r\n") + kScene0 +
        "[0]\r\nlayer=0\r\nframe=0,99\r\n[0.0]\r\neffect.name=画像ファイル\r\n"
        "[0.1]\r\neffect.name=色調補正\r\n[0.2]\r\neffect.name=音声ファイル\r\n");
  Edit::Project project;
  project.loadFile(path());
  const auto& object = *project.findScene(0)->getLayerObjects(0).objects.at(0);
  EXPECT_EQ(chainOf(object), (std::vector<std::string>{"音声ファイル", "音声再生"}));
  // It saves to a file that reads back the same.
  const std::string text = saved(project);
  Edit::Project again;
  again.loadFile(path("copy.vlp2"));
  EXPECT_EQ(saved(again), text);
}

TEST_F(ProjectFile, NamesAreCutAtALineBreakAndANameCutToNothingIsLeftOut) {
  Edit::Project project;
  project.getOrCreateScene(0)->name = "\rRoot";
  project.getOrCreateScene(1)->name = "Intro\nmore";
  const std::string text = saved(project);
  EXPECT_NE(text.find("[scene.0]\r\nscene=0\r\nvideo.width="), std::string::npos);
  EXPECT_NE(text.find("scene=1\r\nname=Intro\r\n"), std::string::npos);
  Edit::Project again;
  again.loadFile(path("copy.vlp2"));
  EXPECT_EQ(again.findScene(1)->name, "Intro");
}

TEST_F(ProjectFile, ANameThatALineBreakCutsIsReadAsTheWriterWouldKeepIt) {
  // A file whose scene name begins with a lone carriage return (found by fuzzing): the name
  // reads as cut to nothing, so the scene takes its default name, and saving it again and
  // reading it back gives the same file.
  write(std::string("[project]\r\n") +
        "[scene.0]\r\nscene=0\r\nname=\rtoRo\nvideo.width=1\r\nvideo.height=1\r\n"
        "video.rate=3\r\nvideo.scale=1\r\n[scene.1]\r\nscene=1\r\nname=Intro\rrest\r\n"
        "video.width=1\r\nvideo.height=1\r\nvideo.rate=3\r\nvideo.scale=1\r\n"
        "[layer.0]\r\nlayer=0\r\nname=\rhidden\r\n");
  Edit::Project project;
  project.loadFile(path());
  EXPECT_EQ(project.findScene(0)->name, "Root");
  EXPECT_EQ(project.findScene(1)->name, "Intro");
  const std::string first = saved(project);
  Edit::Project again;
  again.loadFile(path("copy.vlp2"));
  EXPECT_EQ(saved(again), first);
}

TEST_F(ProjectFile, FailuresOutsideTheObjectsFailTheWholeLoad) {
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {"[scene.0]\r\nscene=0\r\nvideo.height=1\r\nvideo.rate=1\r\nvideo.scale=1\r\n",
       "ini file parameter undefined."},
      {"[scene.0]\r\nscene=0\r\nvideo.width=1\r\nvideo.height=1\r\nvideo.rate=1\r\nvideo.scale=0\r\n",
       "ini file parameter out of range."},
      {"[scene.0]\r\nscene=x\r\nvideo.width=1\r\nvideo.height=1\r\nvideo.rate=1\r\nvideo.scale=1\r\n",
       "ini file parameter invalid format(int) or undefined."},
      {std::string(kScene0) + "cursor.frame=abc\r\n", "ini file parameter invalid format(int)."},
      {std::string(kScene0) + "[layer.0]\r\nlayer=100000\r\nlock=1\r\n", "layer index out of range."},
      {std::string(kScene0) + "[layer.0]\r\nlock=1\r\n", "ini file parameter undefined."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    write("[project]\r\n" + c.text);
    Edit::Project project;
    const std::string what = whatOf([&] { project.loadFile(path()); });
    EXPECT_EQ(what.substr(0, c.error.size()), c.error) << what;
  }
  Edit::Project project;
  EXPECT_EQ(whatOf([&] { project.loadFile(path("none.vlp2")); }).substr(0, 20),
            "failed to open file.");
}

TEST_F(ProjectFile, SceneHelpers) {
  Edit::Project project;
  for (int id : {0, 3, 1}) project.getOrCreateScene(id);
  project.findScene(3)->displayOrder = -1;
  std::vector<int> order;
  for (const auto& scene : project.getSortedScenes()) order.push_back(scene->id);
  EXPECT_EQ(order, (std::vector<int>{3, 0, 1}));
  // Equal orders (as a file may give them) go by id, so a project always saves the same way.
  project.findScene(1)->displayOrder = 0;
  project.getOrCreateScene(7)->displayOrder = 0;
  order.clear();
  for (const auto& scene : project.getSortedScenes()) order.push_back(scene->id);
  EXPECT_EQ(order, (std::vector<int>{3, 0, 1, 7}));
  project.deleteScene(7);
  EXPECT_EQ(project.findFreeSceneId(), 2);
  project.currentSceneId = 3;
  project.deleteScene(0);
  project.deleteScene(3);
  project.deleteScene(9);
  EXPECT_EQ(project.scenes.size(), 3u);
  auto object = project.findScene(1)->createObject("図形", 0, 0, 9);
  project.deleteScene(1);
  EXPECT_FALSE(project.findScene(1));
  EXPECT_EQ(object->layer, -1);
  project.path = "x";
  project.reset();
  EXPECT_TRUE(project.scenes.empty());
  EXPECT_EQ(project.currentSceneId, 0);
  EXPECT_EQ(project.path, "");
}

}  // namespace
