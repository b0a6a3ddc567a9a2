// Media paths re-rooted after a project file moved: which items are offered, the one
// question, and what a refusal leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../system/log_capture.h"
#include "edit/project.h"
#include "edit/scene.h"
#include "effect/effect_item_file.h"
#include "registry_fixture.h"
#include "scripted_edit_ui.h"

namespace {

using ChainFixture::Kind;
using ChainFixture::KindEffect;

// An image input that names its file.
class FileInput : public KindEffect {
 public:
  explicit FileInput(const Kind& kind) : KindEffect(kind), kind_(&kind) {}
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<FileInput>(*kind_);
  }
  Effect::EffectItemFile file{items, "ファイル", ""};

 private:
  const Kind* kind_;
};

constexpr const char* kQuestion =
    "プロジェクトファイルのパスが変更されています。\n\n"
    "以前のプロジェクトパスの配下の指定ファイルが存在しない場合は\n"
    "現在のプロジェクトパスの配下に変更しますか？";

class ProjectPaths : public ChainFixture::RegistryFixture {
 protected:
  void SetUp() override {
    startServices(ChainFixture::kindCatalogueWith<FileInput>("画像ファイル"));
    ui_.onConfirm = [this](const std::string& text, const std::string& caption) {
      questions.push_back(text);
      captions.push_back(caption);
      return answer;
    };
    project.path = folder("old") + "/p.vlp2";
  }

  std::string folder(const std::string& name) { return install_.path() + "/" + name; }
  // One image object per path, spread over two scenes and several layers.
  void addItems(const std::vector<std::string>& paths) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
      Edit::Scene& on = *project.getOrCreateScene(static_cast<int32_t>(i % 2));
      auto object = on.createEmptyObject(static_cast<int>(i), 0, 9);
      object->setEffectByName("画像ファイル", nullptr);
      dynamic_cast<FileInput&>(*object->effects.front()).file.path = paths[i];
      on.update();
      objects.push_back(object);
    }
  }
  std::vector<std::string> itemPaths() const {
    std::vector<std::string> paths;
    for (const auto& object : objects)
      paths.push_back(dynamic_cast<FileInput&>(*object->effects.front()).file.path);
    return paths;
  }

  TestSupport::ScriptedEditUi ui_;
  bool answer = true;
  std::vector<std::string> questions;
  std::vector<std::string> captions;
  Edit::Project project;
  std::vector<std::shared_ptr<Edit::Object>> objects;
};

TEST_F(ProjectPaths, MissingFilesUnderTheOldFolderMoveUnderTheNewOneAfterOneQuestion) {
  install_.writeFile("old/kept.png", "");
  const std::string root = install_.path();
  addItems({
      root + "/old/gone.png",          // missing under the old folder: moves
      root + "/old/sub/old/deep.png",  // only the leading folder is exchanged
      root + "/OLD/case.png",          // the folder matches without regard to case
      root + "/old/kept.png",          // still there: stays
      root + "/elsewhere/a.png",       // outside the old folder: stays
      root + "/oldish/a.png",          // a folder that only begins like it: stays
      "",                              // no file chosen: stays
  });
  TestSupport::LogCapture log;

  project.updateEffectItemFilePath(folder("new") + "/p.vlp2");

  EXPECT_EQ(questions, std::vector<std::string>{kQuestion});
  EXPECT_EQ(captions, std::vector<std::string>{"Velumo Kivrun2"});
  EXPECT_EQ(itemPaths(), (std::vector<std::string>{
                             root + "/new/gone.png",
                             root + "/new/sub/old/deep.png",
                             root + "/new/case.png",
                             root + "/old/kept.png",
                             root + "/elsewhere/a.png",
                             root + "/oldish/a.png",
                             "",
                         }));
  const auto infos = log.texts("INFO");
  EXPECT_NE(std::find(infos.begin(), infos.end(),
                      "update file path [" + root + "/old/gone.png] -> [" + root +
                          "/new/gone.png]"),
            infos.end());
  // The project keeps its path: the caller decides which one it takes.
  EXPECT_EQ(project.path, folder("old") + "/p.vlp2");
}

TEST_F(ProjectPaths, ARefusalChangesNothing) {
  const std::string root = install_.path();
  addItems({root + "/old/a.png", root + "/old/b.png"});
  answer = false;

  project.updateEffectItemFilePath(folder("new") + "/p.vlp2");

  EXPECT_EQ(questions.size(), 1u);
  EXPECT_EQ(itemPaths(), (std::vector<std::string>{root + "/old/a.png", root + "/old/b.png"}));
}

TEST_F(ProjectPaths, NothingIsAskedWhereNothingCouldMove) {
  const std::string root = install_.path();
  install_.writeFile("old/kept.png", "");
  const std::vector<std::string> paths{root + "/old/kept.png", root + "/elsewhere/a.png"};
  addItems(paths);
  struct Case {
    const char* what;
    std::string oldPath;
    std::string newPath;
  };
  const Case cases[] = {
      {"no path under the old folder is missing", folder("old") + "/p.vlp2",
       folder("new") + "/p.vlp2"},
      {"the same folder", folder("elsewhere") + "/p.vlp2", folder("elsewhere") + "/q.vlp2"},
      {"a new project without a path", "", folder("new") + "/p.vlp2"},
      {"an old path without a folder", "p.vlp2", folder("new") + "/p.vlp2"},
      {"a new path without a folder", folder("elsewhere") + "/p.vlp2", "p.vlp2"},
  };
  for (const Case& c : cases) {
    project.path = c.oldPath;
    project.updateEffectItemFilePath(c.newPath);
    EXPECT_TRUE(questions.empty()) << c.what;
    EXPECT_EQ(itemPaths(), paths) << c.what;
  }
}

// The file as it lies after its folder was moved: saved elsewhere, naming its old place.
TEST_F(ProjectPaths, OpeningAMovedProjectOffersTheChangeButResumingItDoesNot) {
  const std::string root = install_.path();
  install_.makeFolder("new");
  const auto object = put(0, 0, 9, {"画像ファイル"});
  dynamic_cast<FileInput&>(*object->effects.front()).file.path = root + "/old/m.png";
  edit().project.path = folder("old") + "/p.vlp2";
  ASSERT_TRUE(edit().saveProject(folder("new") + "/p.vlp2", true));
  const auto loadedPath = [this] {
    const auto& loaded = scene().getLayerObjects(0).objects.at(0);
    return dynamic_cast<FileInput&>(*loaded->effects.front()).file.path;
  };

  // The resume file keeps the project's own place: nothing moved.
  ASSERT_TRUE(edit().loadProject(folder("new") + "/p.vlp2", false, false));
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(loadedPath(), root + "/old/m.png");

  ASSERT_TRUE(edit().loadProject(folder("new") + "/p.vlp2", false, true));
  EXPECT_EQ(questions, std::vector<std::string>{kQuestion});
  EXPECT_EQ(loadedPath(), root + "/new/m.png");
  EXPECT_EQ(edit().project.path, folder("new") + "/p.vlp2");
}

}  // namespace
