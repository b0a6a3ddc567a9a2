// Scene and project commands of the edit service, with the start, exit and exception-exit
// handlers: scenes made, switched and deleted; projects saved, opened and reset; what is
// asked before work is lost; the command line; the resume file and the exception backup.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "../system/fake_ui_bridge.h"
#include "../system/log_capture.h"
#include "edit/edit_service.h"
#include "edit/edit_ui.h"
#include "edit/resume_file.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_base.h"
#include "edit/effect_edit_access.h"
#include "effect/drawing_resources.h"
#include "effect/edit_access.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_mask_select.h"
#include "registry_fixture.h"
#include "system/event_service.h"
#include "system/file.h"
#include "system/timer.h"

namespace {

// Answers the commands' questions as the test says, and remembers what was asked.
class ScriptedDialogs : public Edit::EditUi {
 public:
  ScriptedDialogs() { Edit::setEditUi(this); }
  ScriptedDialogs(const ScriptedDialogs&) = delete;
  ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;
  ~ScriptedDialogs() override { Edit::setEditUi(nullptr); }

  bool confirm(const std::string& text, const std::string& caption) override {
    questions.push_back(text);
    lastCaption = caption;
    return confirmAnswer;
  }
  bool inputText(const std::string& title, std::string& text) override {
    titles.push_back(title);
    shownText = text;
    if (!inputAnswer) return false;
    text = *inputAnswer;
    return true;
  }
  bool editScene(const std::string& title, Edit::SceneSettings& settings) override {
    titles.push_back(title);
    shownSettings = settings;
    if (!sceneAnswer) return false;
    settings = *sceneAnswer;
    return true;
  }
  bool chooseSavePath(std::string& path) override {
    shownPath = path;
    if (!pathAnswer) return false;
    path = *pathAnswer;
    return true;
  }
  void setStatusText(const std::string& text) override { statusTexts.push_back(text); }

  bool confirmAnswer = false;
  std::optional<std::string> inputAnswer;
  std::optional<Edit::SceneSettings> sceneAnswer;
  std::optional<std::string> pathAnswer;

  std::vector<std::string> questions;
  std::string lastCaption;
  std::vector<std::string> titles;
  std::string shownText;
  Edit::SceneSettings shownSettings;
  std::string shownPath;
  std::vector<std::string> statusTexts;
};

class SceneProject : public ChainFixture::RegistryFixture {
 protected:
  void SetUp() override {
    RegistryFixture::SetUp();
    Event::EventService::instance()->sceneChanged().add(
        [this](int id) { sceneEvents.push_back(id); });
  }

  Undo::UndoService& undo() { return *Undo::UndoService::instance(); }
  std::string path(const char* name) { return install_.path() + "/" + name; }

  // An object on the current scene, inside a scope as commands do.
  void placeObject(int layer, int start, int end) {
    auto scope = edit().beginUpdate();
    scope.updateLayer = true;
    scope.scene->createObject("画像ファイル", layer, start, end);
    scope.close();
  }
  // A scene of the project made directly, without a dialog.
  void addScene(int id) {
    auto scope = edit().beginUpdate();
    edit().project.getOrCreateScene(id);
    scope.close();
  }
  std::vector<int> sceneIds() {
    std::vector<int> ids;
    for (const auto& scene : edit().project.getSortedScenes()) ids.push_back(scene->id);
    return ids;
  }
  std::vector<std::string> shownErrors() {
    Event::EventService::instance()->processEventCommands();
    std::vector<std::string> texts;
    for (const auto& box : bridge_.boxes) texts.push_back(box.text);
    return texts;
  }
  static std::vector<std::string> backupFiles() {
    std::vector<std::string> names;
    for (const auto& file : System::File::findFilesByPattern(
             System::FileName::getVariable("%Backup%") + "/*.vlp2"))
      names.push_back(file.path.substr(file.path.find_last_of('/') + 1));
    return names;
  }

  TestSupport::FakeUiBridge bridge_;
  std::vector<int> sceneEvents;
};

// --- Scenes ------------------------------------------------------------------------------

TEST_F(SceneProject, CreateSceneTakesTheSmallestFreeIdAndTheDialogsSettings) {
  ScriptedDialogs dialogs;
  addScene(1);
  addScene(3);
  dialogs.sceneAnswer = Edit::SceneSettings{"Intro", 1280, 720, 60000, 1001, 48000};

  ASSERT_TRUE(edit().createSceneLikeCurrent());

  // The dialog opened at the default name of the free id and the current scene's format.
  EXPECT_EQ(dialogs.titles, std::vector<std::string>{"シーンを作成"});
  EXPECT_EQ(dialogs.shownSettings.name, "Scene2");
  EXPECT_EQ(dialogs.shownSettings.width, 1920);
  const Edit::Scene& created = scene();
  EXPECT_EQ(created.id, 2);
  EXPECT_EQ(edit().project.currentSceneId, 2);
  EXPECT_EQ(created.name, "Intro");
  EXPECT_EQ(created.width, 1280);
  EXPECT_EQ(created.height, 720);
  EXPECT_EQ(created.rate, 60000);
  EXPECT_EQ(created.scale, 1001);
  EXPECT_EQ(created.audioRate, 48000);
  EXPECT_EQ(sceneEvents, std::vector<int>{2});
  EXPECT_EQ(undo().history(), &created.undoHistory);
  EXPECT_FALSE(undo().modified);
}

TEST_F(SceneProject, CancelledOrUnansweredSceneDialogsChangeNothing) {
  {
    ScriptedDialogs dialogs;  // every dialog cancelled
    EXPECT_FALSE(edit().createScene("x", 100, 100, 30, 1, 44100));
    edit().renameScene(0);
    edit().settingScene(0);
    EXPECT_EQ(dialogs.titles, (std::vector<std::string>{"シーンを作成", "シーン名を変更",
                                                        "シーンの設定"}));
    EXPECT_EQ(dialogs.shownText, "Root");
  }
  // Without any dialogs (headless) nothing is created either.
  EXPECT_FALSE(edit().createSceneLikeCurrent());
  EXPECT_EQ(sceneIds(), std::vector<int>{0});
  EXPECT_EQ(scene().name, "Root");
  EXPECT_TRUE(sceneEvents.empty());
}

TEST_F(SceneProject, RenameAndSettingChangeTheNamedSceneAndTellTheCurrentOne) {
  ScriptedDialogs dialogs;
  addScene(4);
  dialogs.inputAnswer = "Outro";
  edit().renameScene(4);
  dialogs.sceneAnswer = Edit::SceneSettings{"Small", 320, 240, 24, 1, 22050};
  edit().settingScene(4);
  edit().renameScene(9);  // no such scene: no dialog
  edit().settingScene(9);

  const auto renamed = edit().getScene(4);
  EXPECT_EQ(renamed->name, "Small");
  EXPECT_EQ(renamed->width, 320);
  EXPECT_EQ(renamed->audioRate, 22050);
  EXPECT_EQ(dialogs.titles.size(), 2u);
  EXPECT_EQ(edit().getSceneName(4), "Small");
  EXPECT_EQ(edit().getSceneName(9), "");
  // The listeners hear of the current scene; neither change is an undo step.
  EXPECT_EQ(sceneEvents, (std::vector<int>{0, 0}));
  EXPECT_FALSE(undo().modified);
}

struct DeleteCase {
  const char* name;
  int current;         // the scene current before the delete
  int deleted;         // the id to delete
  int objectsIn;       // the scene that holds an object (-1: none)
  int objectEnd;       // that object's last frame (it starts at frame 0)
  bool agree;          // the answer to the question
  const char* asked;   // the question, or nullptr when none may be asked
  std::vector<int> scenesAfter;
  int currentAfter;
};

class SceneDelete : public SceneProject, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(SceneDelete, DeletesOnlyWhatMayGoAndKeepsACurrentScene) {
  const DeleteCase& c = GetParam();
  ScriptedDialogs dialogs;
  dialogs.confirmAnswer = c.agree;
  addScene(1);
  addScene(2);
  if (c.objectsIn >= 0) {
    edit().updateScene(c.objectsIn);
    placeObject(0, 0, c.objectEnd);
  }
  edit().updateScene(c.current);
  sceneEvents.clear();

  edit().deleteScene(c.deleted);

  EXPECT_EQ(sceneIds(), c.scenesAfter);
  EXPECT_EQ(edit().project.currentSceneId, c.currentAfter);
  EXPECT_EQ(scene().id, c.currentAfter);
  EXPECT_EQ(undo().history(), &scene().undoHistory);
  if (c.asked) {
    EXPECT_EQ(dialogs.questions, std::vector<std::string>{c.asked});
    EXPECT_EQ(dialogs.lastCaption, "Velumo Kivrun2");
  } else {
    EXPECT_TRUE(dialogs.questions.empty());
  }
  const bool deleted = c.scenesAfter.size() == 2;
  EXPECT_EQ(sceneEvents, deleted ? std::vector<int>{c.currentAfter} : std::vector<int>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SceneDelete,
    ::testing::Values(
        DeleteCase{"OtherEmpty", 1, 2, -1, 0, false, nullptr, {0, 1}, 1},
        DeleteCase{"CurrentEmptySwitchesToRoot", 2, 2, -1, 0, false, nullptr, {0, 1}, 0},
        DeleteCase{"RootNever", 1, 0, 0, 49, true, nullptr, {0, 1, 2}, 1},
        DeleteCase{"NoSuchScene", 1, 7, 1, 49, true, nullptr, {0, 1, 2}, 1},
        DeleteCase{"CurrentWithObjectsAgreed", 2, 2, 2, 49, true, "現在のシーンを削除しますか？",
                   {0, 1}, 0},
        DeleteCase{"CurrentWithObjectsRefused", 2, 2, 2, 49, false,
                   "現在のシーンを削除しますか？", {0, 1, 2}, 2},
        DeleteCase{"OtherWithObjectsAgreed", 1, 2, 2, 49, true, "シーンを削除しますか？", {0, 1},
                   1},
        DeleteCase{"OtherWithObjectsRefused", 1, 2, 2, 49, false, "シーンを削除しますか？",
                   {0, 1, 2}, 1},
        // Its only object lies on frame 0: the scene's last frame is 0, yet it is not empty.
        DeleteCase{"OtherWithAnObjectOnFrameZero", 1, 2, 2, 0, false, "シーンを削除しますか？",
                   {0, 1, 2}, 1},
        // The current scene's objects are not the deleted scene's: nothing to ask about.
        DeleteCase{"OtherEmptyWhileCurrentHasObjects", 1, 2, 1, 49, false, nullptr, {0, 1}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SceneProject, DeletingASceneWithObjectsHeadlessKeepsIt) {
  addScene(1);
  edit().updateScene(1);
  placeObject(0, 0, 9);
  edit().deleteScene(1);
  EXPECT_EQ(sceneIds(), (std::vector<int>{0, 1}));
  EXPECT_EQ(scene().id, 1);
}

// A scene input: the scene it shows is an item of its own.
struct SceneInput : Effect::EffectBase {
  SceneInput() : EffectBase("シーン", 1, 3, 3) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<SceneInput>(); }
  Effect::EffectItemScene shown{items, "シーン", 0};
  Effect::EffectItemInteger count{items, "個数", 2, 0, 100};  // a number, no scene
};

TEST_F(SceneProject, ItemsThatShowedADeletedSceneShowNoSceneAndAReusedIdIsNotTheirs) {
  addScene(1);
  addScene(2);
  addScene(3);
  // Objects showing scene 2 on the root and on scene 3, one showing scene 1, and a copy
  // showing scene 2 on the clipboard.
  const auto showing = [&](int sceneId, int layer, int shown) {
    auto object = edit().getScene(sceneId)->createEmptyObject(layer, 0, 9);
    auto input = std::make_shared<SceneInput>();
    input->shown.value = shown;
    object->effects.push_back(input);
    return input;
  };
  std::shared_ptr<SceneInput> rootOfTwo, rootOfOne, thirdOfTwo;
  {
    auto scope = edit().beginUpdate();
    rootOfTwo = showing(0, 0, 2);
    rootOfOne = showing(0, 1, 1);
    thirdOfTwo = showing(3, 0, 2);
    scope.updateLayer = true;
    edit().getScene(3)->update();
    scope.close();
  }
  auto copy = std::make_shared<Edit::Object>(0, 0, 9);
  auto copied = std::make_shared<SceneInput>();
  copied->shown.value = 2;
  copy->effects.push_back(copied);
  edit().clipboard.objects.push_back(copy);
  int editEvents = 0;
  Event::EventService::instance()->editDataChanged().add(
      [&](const Event::ObjectReference&) { ++editEvents; });
  const auto steps = scene().undoHistory.steps.size();

  edit().deleteScene(2);

  EXPECT_EQ(sceneIds(), (std::vector<int>{0, 1, 3}));
  EXPECT_EQ(rootOfTwo->shown.value, 0);
  EXPECT_EQ(thirdOfTwo->shown.value, 0);
  EXPECT_EQ(copied->shown.value, 0);
  EXPECT_EQ(rootOfOne->shown.value, 1) << "a reference to another scene stays";
  EXPECT_EQ(rootOfTwo->count.value, 2) << "a plain number equal to the id is no reference";
  EXPECT_EQ(editEvents, 1) << "the windows and the renderer hear of the changed items";
  EXPECT_EQ(scene().undoHistory.steps.size(), steps) << "not an undo step";

  // A new scene takes the freed id; nothing shows it unasked.
  ScriptedDialogs dialogs;
  dialogs.sceneAnswer = Edit::SceneSettings{"New", 1920, 1080, 30, 1, 48000};
  ASSERT_TRUE(edit().createSceneLikeCurrent());
  EXPECT_EQ(scene().id, 2);
  EXPECT_EQ(rootOfTwo->shown.value, 0);
  EXPECT_EQ(thirdOfTwo->shown.value, 0);

  // Deleting a scene no item shows changes no item and tells nobody of edit data.
  edit().deleteScene(2);
  EXPECT_EQ(rootOfOne->shown.value, 1);
  EXPECT_EQ(editEvents, 1);
}

// A masking filter: its mask chooses a figure, a scene or an image.
struct MaskFilter : Effect::EffectBase {
  MaskFilter() : EffectBase("マスク", 1, 3, 3) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<MaskFilter>(); }
  Effect::EffectItemMaskSelect mask{items, "マスクの種類", 1};
};

struct TwoFigures : Effect::DrawingResources {
  std::vector<std::string> fontFamilies() const override { return {}; }
  bool isFontInstalled(std::string_view) const override { return true; }
  std::shared_ptr<Effect::EffectItemSelect::SharedList> figureList() const override {
    auto figures = Effect::EffectItemSelect::createSharedList();
    figures->setItem(0, "背景");
    figures->setItem(1, "円");
    return figures;
  }
};

TEST_F(SceneProject, MasksFindScenesOfTheProjectAndADeletedOneBecomesAFigure) {
  TwoFigures figures;
  ScriptedDialogs dialogs;
  dialogs.confirmAnswer = true;  // scene 2 has an object
  Edit::EffectEditAccess access;
  Effect::setDrawingResources(&figures);
  Effect::setEditAccess(&access);
  struct Uninstall {
    ~Uninstall() {
      Effect::setEditAccess(nullptr);
      Effect::setDrawingResources(nullptr);
    }
  } uninstall;
  addScene(1);
  addScene(2);
  addScene(3);
  std::shared_ptr<MaskFilter> filter;
  {
    auto scope = edit().beginUpdate();
    edit().getScene(2)->name = "Wipe";
    edit().getScene(3)->name = "Wipe";
    edit().getScene(2)->rate = 60;
    edit().getScene(2)->createEmptyObject(0, 10, 49);
    edit().getScene(2)->update();
    auto object = edit().getScene(0)->createEmptyObject(0, 0, 9);
    filter = std::make_shared<MaskFilter>();
    object->effects.push_back(filter);
    scope.updateLayer = true;
    scope.close();
  }
  const auto span = access.sceneSpan(2);
  ASSERT_TRUE(span);
  EXPECT_EQ(span->lastFrame, 49);
  EXPECT_EQ(span->timing.rate, 60);
  EXPECT_FALSE(access.sceneSpan(5));

  Effect::EffectItemMaskSelect& mask = filter->mask;
  mask.fromString("Wipe");
  EXPECT_EQ(mask.scene, 2) << "the first scene of that name";
  EXPECT_EQ(mask.toString(), "Wipe");

  TestSupport::LogCapture log;
  edit().deleteScene(2);
  EXPECT_EQ(mask.scene, -1);
  EXPECT_EQ(mask.figure, 0);
  EXPECT_EQ(mask.toString(), "背景");
  EXPECT_EQ(log.texts("WARN").size(), 1u);

  // A scene made later under the freed id is not the mask's.
  dialogs.sceneAnswer = Edit::SceneSettings{"Wipe", 1920, 1080, 30, 1, 48000};
  ASSERT_TRUE(edit().createSceneLikeCurrent());
  EXPECT_EQ(scene().id, 2);
  EXPECT_EQ(mask.toString(), "背景");
}

// --- Projects ----------------------------------------------------------------------------

TEST_F(SceneProject, SaveAndLoadRoundTripAdoptsTheOpenedPath) {
  ScriptedDialogs dialogs;
  addScene(3);
  edit().updateScene(3);
  placeObject(2, 10, 59);
  undo().modified = true;
  const std::string file = path("work.vlp2");

  ASSERT_TRUE(edit().saveProject(file, false));
  EXPECT_FALSE(undo().modified);
  EXPECT_EQ(dialogs.statusTexts, (std::vector<std::string>{"Saving...", ""}));
  // A new project has no path yet: the history has nothing to keep.
  EXPECT_TRUE(edit().projectSession().projectHistory.getList().empty());

  edit().resetProject();
  EXPECT_EQ(sceneIds(), std::vector<int>{0});
  sceneEvents.clear();
  dialogs.statusTexts.clear();

  ASSERT_TRUE(edit().loadProject(file, false, true));
  EXPECT_EQ(sceneIds(), (std::vector<int>{0, 3}));
  EXPECT_EQ(scene().id, 3);
  EXPECT_EQ(scene().getLayerObjects(2).objects.size(), 1u);
  EXPECT_EQ(scene().lastFrame(), 59);
  EXPECT_EQ(undo().history(), &scene().undoHistory);
  EXPECT_EQ(edit().project.path, file);
  EXPECT_EQ(edit().projectSession().projectHistory.getList(), std::vector<std::string>{file});
  EXPECT_EQ(dialogs.statusTexts, (std::vector<std::string>{"Loading...", ""}));
  // The reset tells scene 0, the load the scene the file left current.
  EXPECT_EQ(sceneEvents, (std::vector<int>{0, 3}));
  EXPECT_TRUE(shownErrors().empty());
}

TEST_F(SceneProject, LoadingAMissingFileShowsAnErrorAndChangesNothing) {
  addScene(5);
  edit().loadProject(path("absent.vlp2"), false, true);
  EXPECT_FALSE(edit().loadProject(path("absent.vlp2"), false, true));
  EXPECT_EQ(sceneIds(), (std::vector<int>{0, 5}));
  ASSERT_EQ(bridge_.boxes.size(), 2u);
  EXPECT_EQ(bridge_.boxes[0].text, "指定のファイルが存在しません");
}

// A file that fails to load is adopted in no way: the project is empty and has no path, so
// a later Save cannot write the empty project over the user's file, and the recent files
// keep no entry of it.
struct FailedLoadCase {
  const char* name;
  // Makes the input in the folder and gives its path.
  std::string (*make)(const std::string& folder);
};

std::string writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
  return path;
}
// What can be read of the file; nothing of one that cannot be read.
std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text;
  char chunk[4096];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
    text.append(chunk, static_cast<std::size_t>(in.gcount()));
  return text;
}

constexpr const char* kRootScene =
    "[scene.0]\r\nscene=0\r\nvideo.width=1920\r\nvideo.height=1080\r\nvideo.rate=30\r\n"
    "video.scale=1\r\n";

class FailedLoad : public SceneProject, public ::testing::WithParamInterface<FailedLoadCase> {};

TEST_P(FailedLoad, LeavesAnEmptyProjectWithoutPathOrHistoryEntry) {
  ScriptedDialogs dialogs;  // the save dialog is cancelled
  const std::string file = GetParam().make(install_.path());
  const std::string before =
      std::filesystem::is_regular_file(file) ? readText(file) : std::string();
  addScene(2);
  edit().updateScene(2);
  edit().project.path = path("earlier.vlp2");
  sceneEvents.clear();

  EXPECT_FALSE(edit().loadProject(file, false, true));

  EXPECT_EQ(sceneIds(), std::vector<int>{0});
  EXPECT_EQ(scene().id, 0);
  EXPECT_EQ(undo().history(), &scene().undoHistory);
  EXPECT_EQ(edit().project.path, "");
  EXPECT_TRUE(edit().projectSession().projectHistory.getList().empty());
  EXPECT_FALSE(undo().modified);
  EXPECT_EQ(sceneEvents, (std::vector<int>{0, 0}));
  EXPECT_EQ(shownErrors(), std::vector<std::string>{"プロジェクトの読み込みに失敗しました"});
  // A Save asks for a path instead of writing over the file that failed.
  EXPECT_FALSE(edit().saveProjectOverwrite());
  if (!before.empty()) {
    EXPECT_EQ(readText(file), before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedLoad,
    ::testing::Values(
        FailedLoadCase{"SceneRateZero",
                       [](const std::string& folder) {
                         return writeText(folder + "/rate.vlp2",
                                          "[project]\r\nfile=/home/me/rate.vlp2\r\n"
                                          "[scene.0]\r\nscene=0\r\nvideo.width=1920\r\n"
                                          "video.height=1080\r\nvideo.rate=0\r\nvideo.scale=1\r\n");
                       }},
        FailedLoadCase{"SceneIdOutOfRange",
                       [](const std::string& folder) {
                         return writeText(folder + "/id.vlp2", "[project]\r\n[scene.0]\r\nscene=-1\r\n");
                       }},
        FailedLoadCase{"NoProjectSection",
                       [](const std::string& folder) {
                         return writeText(folder + "/bare.vlp2", kRootScene);
                       }},
        FailedLoadCase{"RandomBytes",
                       [](const std::string& folder) {
                         std::string bytes;
                         uint32_t state = 12345;
                         for (int i = 0; i < 4096; ++i) {
                           state = state * 1664525u + 1013904223u;
                           bytes.push_back(static_cast<char>(state >> 24));
                         }
                         return writeText(folder + "/noise.vlp2", bytes);
                       }},
        FailedLoadCase{"Directory",
                       [](const std::string& folder) {
                         std::filesystem::create_directory(folder + "/folder.vlp2");
                         return folder + "/folder.vlp2";
                       }},
        // Opening a pipe without a writer would block the UI thread for ever.
        FailedLoadCase{"Fifo",
                       [](const std::string& folder) {
                         const std::string fifo = folder + "/pipe.vlp2";
                         EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
                         return fifo;
                       }},
        FailedLoadCase{"Unreadable",
                       [](const std::string& folder) -> std::string {
                         // Mode 000 does not keep the superuser out; this file refuses
                         // every read.
                         if (::geteuid() == 0) return "/proc/self/mem";
                         const std::string file = writeText(
                             folder + "/locked.vlp2", std::string("[project]\r\n") + kRootScene);
                         ::chmod(file.c_str(), 0);
                         return file;
                       }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SceneProject, UnsavedWorkIsDiscardedOnlyWhenTheUserAgrees) {
  const std::string file = path("other.vlp2");
  ASSERT_TRUE(edit().saveProject(file, true));
  addScene(7);
  undo().modified = true;

  // Headless: nobody agreed, the work stays.
  EXPECT_FALSE(edit().confirmDiscard());
  EXPECT_FALSE(edit().loadProject(file, true, true));
  {
    ScriptedDialogs dialogs;
    EXPECT_FALSE(edit().loadProject(file, true, true));
    EXPECT_FALSE(edit().createProject());
    EXPECT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(dialogs.questions[0], "現在の編集データは破棄されますがよろしいですか？");
    EXPECT_EQ(sceneIds(), (std::vector<int>{0, 7}));
    EXPECT_TRUE(undo().modified);

    dialogs.confirmAnswer = true;
    EXPECT_TRUE(edit().loadProject(file, true, true));
    EXPECT_EQ(sceneIds(), std::vector<int>{0});
    EXPECT_FALSE(undo().modified);
    // Nothing unsaved now: no question.
    EXPECT_TRUE(edit().confirmDiscard());
    EXPECT_EQ(dialogs.questions.size(), 3u);
  }
}

TEST_F(SceneProject, CreateProjectResetsAndSetsTheRootScenesFormat) {
  ScriptedDialogs dialogs;
  addScene(1);
  edit().updateScene(1);
  edit().project.path = path("old.vlp2");
  dialogs.sceneAnswer = Edit::SceneSettings{"ignored", 3840, 2160, 25, 1, 96000};
  sceneEvents.clear();

  ASSERT_TRUE(edit().createProject());
  EXPECT_EQ(dialogs.titles, std::vector<std::string>{"プロジェクトを作成"});
  EXPECT_EQ(dialogs.shownSettings.width, 1920);
  EXPECT_EQ(dialogs.shownSettings.rate, 30);
  EXPECT_EQ(dialogs.shownSettings.audioRate, 44100);
  EXPECT_EQ(sceneIds(), std::vector<int>{0});
  EXPECT_EQ(scene().name, "Root");
  EXPECT_EQ(scene().width, 3840);
  EXPECT_EQ(scene().rate, 25);
  EXPECT_EQ(scene().audioRate, 96000);
  EXPECT_EQ(edit().project.path, "");
  EXPECT_EQ(sceneEvents, (std::vector<int>{0, 0}));
}

TEST_F(SceneProject, AFailedSaveKeepsTheModifiedFlagAndReportsIt) {
  undo().modified = true;
  EXPECT_FALSE(edit().saveProject(path("no-such-folder/p.vlp2"), false));
  EXPECT_TRUE(undo().modified);
  EXPECT_EQ(shownErrors(), std::vector<std::string>{"プロジェクトの保存に失敗しました"});
}

TEST_F(SceneProject, SaveAsMovesTheProjectPathAndTellsTheTitleOnlyWhenItChanged) {
  ScriptedDialogs dialogs;
  const std::string first = path("first.vlp2");
  dialogs.pathAnswer = first;
  ASSERT_TRUE(edit().saveProjectAs());
  EXPECT_EQ(edit().project.path, first);
  EXPECT_EQ(sceneEvents, std::vector<int>{0});
  EXPECT_TRUE(System::File::exists(first));

  // The same path again: saved, but no scene event.
  sceneEvents.clear();
  ASSERT_TRUE(edit().saveProjectAs());
  EXPECT_EQ(dialogs.shownPath, first);
  EXPECT_TRUE(sceneEvents.empty());

  // Overwrite writes to the project path without asking.
  dialogs.pathAnswer.reset();
  System::File::removeFile(first);
  ASSERT_TRUE(edit().saveProjectOverwrite());
  EXPECT_TRUE(System::File::exists(first));
  EXPECT_EQ(edit().projectSession().projectHistory.getList(), std::vector<std::string>{first});

  // A project without a path asks; a cancelled dialog saves nothing.
  edit().resetProject();
  EXPECT_FALSE(edit().saveProjectOverwrite());
  EXPECT_FALSE(edit().saveProjectAs());
}

TEST_F(SceneProject, AnAutomaticBackupKeepsUnsavedWorkMarkedAsUnsaved) {
  edit().project.path = path("mine.vlp2");
  undo().modified = true;
  edit().projectSession().backupHistory.autoBackupProject();
  EXPECT_EQ(backupFiles().size(), 1u);
  EXPECT_TRUE(undo().modified);
  EXPECT_EQ(edit().project.path, path("mine.vlp2"));
  EXPECT_TRUE(edit().projectSession().projectHistory.getList().empty());
}

TEST_F(SceneProject, IdleTicksWriteNoBackupAndAFailedOneIsRetried) {
  Edit::BackupHistory& history = edit().projectSession().backupHistory;
  edit().settings.autoBackup = 1;
  edit().settings.autoBackupInterval = 5;
  edit().settings.autoBackupFileMax = 10;
  history.updateTimer();
  ASSERT_TRUE(history.timer().isSet());
  const auto tick = [&history] {
    System::Timer::timerProc(history.timer().identifier());
    // Two backups in the same millisecond would share a name.
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  };

  tick();
  EXPECT_EQ(backupFiles().size(), 1u);
  tick();
  tick();
  EXPECT_EQ(backupFiles().size(), 1u);  // nothing changed: the earlier states stay
  placeObject(0, 0, 9);
  tick();
  tick();
  EXPECT_EQ(backupFiles().size(), 2u);
  EXPECT_EQ(history.getList().size(), 2u);

  // A change whose backup failed is written by the next tick, though nothing changed since.
  const std::string folder = System::FileName::getVariable("%Backup%");
  std::filesystem::rename(folder, folder + ".away");
  writeText(folder, "not a folder");
  placeObject(1, 0, 9);
  tick();
  EXPECT_EQ(shownErrors(), std::vector<std::string>{"プロジェクトの保存に失敗しました"});
  std::filesystem::remove(folder);
  std::filesystem::rename(folder + ".away", folder);
  tick();
  EXPECT_EQ(backupFiles().size(), 3u);
  tick();
  EXPECT_EQ(backupFiles().size(), 3u);
  EXPECT_TRUE(history.timer().isSet());
}

// --- Command line, start, exit -----------------------------------------------------------

struct CommandLineCase {
  const char* name;
  std::vector<std::string> arguments;  // after the program name
  const char* expected;
};

class CommandLine : public SceneProject, public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(CommandLine, TakesTheLastProjectFileArgument) {
  std::vector<std::string> arguments{"velumo2"};
  for (const auto& argument : GetParam().arguments) arguments.push_back(argument);
  edit().setCommandLine(arguments);
  EXPECT_EQ(edit().processCommandLine(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLine,
    ::testing::Values(
        CommandLineCase{"None", {}, ""},
        CommandLineCase{"ProgramNameIsNotAnArgument", {}, ""},
        CommandLineCase{"TwoPathsTheSecondWins", {"/a/one.vlp2", "/b/two.vlp2"}, "/b/two.vlp2"},
        CommandLineCase{"OptionsAreNeverTaken", {"/a/p.vlp2", "-x.vlp2", "--open=q.vlp2"},
                        "/a/p.vlp2"},
        CommandLineCase{"CapitalExtensionCounts", {"rel/P.VLP2"}, "rel/P.VLP2"},
        CommandLineCase{"OtherExtensionsIgnored", {"a.vlp", "b.vlp2.bak", "c"}, ""},
        CommandLineCase{"VariableKeptAsWritten", {"%AppData%/x.vlp2"}, "%AppData%/x.vlp2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SceneProject, TheStartEventOpensTheCommandLinesProject) {
  addScene(6);
  const std::string file = path("given.vlp2");
  ASSERT_TRUE(edit().saveProject(file, true));
  edit().resetProject();
  edit().settings.editResume = 1;
  // A resume file exists, but the command line comes first.
  addScene(8);
  Edit::saveResumeFile(edit().project);
  edit().resetProject();

  edit().setCommandLine({"velumo2", "-verbose", file});
  Event::EventService::instance()->startEvent().fire();
  EXPECT_EQ(sceneIds(), (std::vector<int>{0, 6}));
  EXPECT_EQ(edit().project.path, file);
  EXPECT_EQ(edit().projectSession().projectHistory.getList(), std::vector<std::string>{file});
  // The file holds what was opened: nothing is unsaved.
  EXPECT_FALSE(undo().modified);
}

TEST_F(SceneProject, ResumeRoundTripKeepsTheUsersProjectPath) {
  edit().settings.editResume = 1;
  const std::string own = path("own.vlp2");
  addScene(4);
  ASSERT_TRUE(edit().saveProject(own, true));
  edit().project.path = own;
  addScene(5);  // unsaved since

  Event::EventService::instance()->exitEvent().fire();
  ASSERT_TRUE(System::File::exists(Edit::getResumeFilePath()));

  edit().resetProject();
  Event::EventService::instance()->startEvent().fire();
  EXPECT_EQ(sceneIds(), (std::vector<int>{0, 4, 5}));
  // The resume file never becomes the project path: the next save goes to the user's file.
  EXPECT_EQ(edit().project.path, own);
  EXPECT_TRUE(System::File::exists(Edit::getResumeFilePath()));
}

TEST_F(SceneProject, AResumedProjectCountsAsUnsaved) {
  ScriptedDialogs dialogs;  // every question refused
  edit().settings.editResume = 1;
  addScene(4);
  ASSERT_TRUE(edit().saveProject(path("own.vlp2"), true));
  edit().project.path = path("own.vlp2");
  Edit::saveResumeFile(edit().project);
  edit().resetProject();

  Event::EventService::instance()->startEvent().fire();
  ASSERT_EQ(sceneIds(), (std::vector<int>{0, 4}));
  EXPECT_TRUE(undo().modified);
  // The resumed edits exist nowhere but in the resume file: not dropped without asking.
  EXPECT_FALSE(edit().loadProject(path("own.vlp2"), true, true));
  EXPECT_FALSE(edit().createProject());
  EXPECT_EQ(dialogs.questions,
            std::vector<std::string>(2, "現在の編集データは破棄されますがよろしいですか？"));
  EXPECT_EQ(sceneIds(), (std::vector<int>{0, 4}));

  // A resume file that fails to load leaves nothing to keep.
  edit().resetProject();
  writeText(Edit::getResumeFilePath(), "[project]\r\n[scene.0]\r\nscene=-1\r\n");
  Event::EventService::instance()->startEvent().fire();
  EXPECT_EQ(sceneIds(), std::vector<int>{0});
  EXPECT_FALSE(undo().modified);
}

TEST_F(SceneProject, StartWithoutAResumeFileOpensNothing) {
  edit().settings.editResume = 1;
  addScene(2);
  sceneEvents.clear();
  Event::EventService::instance()->startEvent().fire();
  EXPECT_EQ(sceneIds(), (std::vector<int>{0, 2}));
  EXPECT_TRUE(sceneEvents.empty());
  EXPECT_TRUE(shownErrors().empty());

  // With resuming off the scene listeners are told of the current scene instead.
  edit().settings.editResume = 0;
  Event::EventService::instance()->startEvent().fire();
  EXPECT_EQ(sceneEvents, std::vector<int>{0});
}

TEST_F(SceneProject, TheStartAppliesTheHistorySettings) {
  edit().settings.historyFileMax = 99;
  edit().settings.autoBackupFileMax = 3;
  edit().settings.autoBackup = 1;
  edit().settings.autoBackupInterval = 5;
  Event::EventService::instance()->startEvent().fire();
  EXPECT_EQ(edit().projectSession().projectHistory.maximum, 50);
  EXPECT_EQ(edit().projectSession().backupHistory.maximum, 3);
  EXPECT_TRUE(edit().projectSession().backupHistory.timer().isSet());

  Event::EventService::instance()->exitEvent().fire();
  EXPECT_FALSE(edit().projectSession().backupHistory.timer().isSet());
}

TEST_F(SceneProject, AnExitWithResumingOffWritesNoResumeFile) {
  Event::EventService::instance()->exitEvent().fire();
  EXPECT_FALSE(System::File::exists(Edit::getResumeFilePath()));
}

// --- The end on an exception -------------------------------------------------------------

TEST_F(SceneProject, AnExceptionExitBacksUpRemovesTheResumeFileAndWritesNoNewOne) {
  edit().settings.editResume = 1;
  addScene(3);
  Edit::saveResumeFile(edit().project);  // an older state from a previous run
  undo().modified = true;

  edit().applicationException(std::runtime_error("broken state"));

  ASSERT_EQ(bridge_.boxes.size(), 1u);
  EXPECT_EQ(bridge_.boxes[0].text,
            "broken state\n\nプロジェクトをバックアップしてアプリケーションを終了します");
  EXPECT_EQ(bridge_.boxes[0].caption, "Velumo Kivrun2 : Application Exception");
  const auto backups = backupFiles();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].rfind("ExceptionBackup_", 0), 0u);
  EXPECT_FALSE(System::File::exists(Edit::getResumeFilePath()));
  EXPECT_TRUE(edit().projectSession().exceptionExit);

  // The shut-down that follows writes no resume file.
  Event::EventService::instance()->exitEvent().fire();
  EXPECT_FALSE(System::File::exists(Edit::getResumeFilePath()));

  // The backup holds the project.
  edit().resetProject();
  ASSERT_TRUE(edit().loadProject(System::FileName::getVariable("%Backup%") + "/" + backups[0],
                                 false, false));
  EXPECT_EQ(sceneIds(), (std::vector<int>{0, 3}));
}

// A UI whose boxes cannot be shown.
class BrokenBoxes : public TestSupport::FakeUiBridge {
 public:
  void showErrorBox(const std::string&, const std::string&) override {
    throw std::runtime_error("no display.");
  }
};

TEST_F(SceneProject, AFailingExceptionExitStillReturnsForTheShutDown) {
  BrokenBoxes boxes;
  TestSupport::LogCapture log;
  edit().settings.editResume = 1;
  edit().settings.autoBackup = 1;
  edit().projectSession().backupHistory.updateTimer();
  addScene(3);
  Edit::saveResumeFile(edit().project);
  // The backup cannot be written: %Backup% is a file.
  const std::string folder = System::FileName::getVariable("%Backup%");
  std::filesystem::remove_all(folder);
  writeText(folder, "not a folder");

  EXPECT_NO_THROW(edit().applicationException(std::runtime_error("broken state")));

  EXPECT_TRUE(edit().projectSession().exceptionExit);
  EXPECT_FALSE(edit().projectSession().backupHistory.timer().isSet());
  // Without a backup the resume file stays, the last good state there is.
  EXPECT_TRUE(System::File::exists(Edit::getResumeFilePath()));
  std::vector<std::string> failures;
  for (const auto& record : log.records())
    if (record.level == "ERROR" && record.place == "Edit::EditService::applicationException")
      failures.push_back(record.text.substr(0, record.text.find('\n')));
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_EQ(failures[0], "showing the exception failed.");
  EXPECT_EQ(failures[1].rfind("exception backup failed : " + folder + "/ExceptionBackup_", 0), 0u)
      << failures[1];

  // The orderly shut-down goes on: the exit writes no resume file over the kept one.
  System::File::removeFile(Edit::getResumeFilePath());
  EXPECT_NO_THROW(Event::EventService::instance()->exitEvent().fire());
  EXPECT_FALSE(System::File::exists(Edit::getResumeFilePath()));
}

}  // namespace
