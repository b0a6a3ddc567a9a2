// "テキスト": script blocks run through the scripting host and replaced by what they print;
// the picture of the text with its alignment's centre and its decoration; the timeline
// name; characters drawn one by one as pieces of the object, in place or along the
// object's movement path, and appearing at the display speed; and the object's length
// fitted to the time the text takes to appear.
#include "builtin/input/text_input.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "edit/edit_service.h"
#include "edit/object.h"
#include "edit/update_section.h"
#include "effect/builtin_movements.h"
#include "effect/effect_event_param.h"
#include "effect/media_input_host.h"
#include "effect/script_host.h"
#include "pieces_test_support.h"
#include "system/log_capture.h"

namespace {

using Effect::EffectEventParam;
using Effect::TextInput;
using TestSupport::CpuImage;

// A scripting host whose blocks are answered from a table, counting the runs; a script
// that is not in the table fails.
class TableScriptHost : public Effect::ScriptHost {
 public:
  std::string runTextBlock(Effect::ScriptEffect&, Effect::EffectContext* context,
                           const std::string& script) override {
    scripts.push_back(script);
    contexts.push_back(context);
    const auto found = answers.find(script);
    if (found == answers.end()) throw std::runtime_error("attempt to call a nil value");
    return found->second(static_cast<int>(scripts.size()));
  }
  std::map<std::string, std::function<std::string(int run)>> answers;
  std::vector<std::string> scripts;
  std::vector<const Effect::EffectContext*> contexts;
};

class TextScriptTest : public ::testing::Test {
 protected:
  void SetUp() override { Effect::setScriptHost(&host); }
  void TearDown() override { Effect::setScriptHost(nullptr); }

  std::string expand(const std::string& content) {
    effect.text.value = content;
    return effect.expandScripts(nullptr);
  }

  TableScriptHost host;
  TextInput effect;
};

TEST_F(TextScriptTest, AnEqualsBlockPrintsItsExpression) {
  host.answers["mes(1+1)"] = [](int) { return "2"; };
  EXPECT_EQ(expand("a<?=1+1?>b"), "a2b");
  EXPECT_EQ(host.scripts, (std::vector<std::string>{"mes(1+1)"}));
}

TEST_F(TextScriptTest, BlocksRunInOrderAndCopiesShowTheFirstRun) {
  host.answers["mes(n)"] = [](int run) { return std::to_string(run); };
  host.answers["x=1"] = [](int) { return ""; };
  // Both copies of a block run, but the first run's text already stands in both places.
  EXPECT_EQ(expand("<?=n?>-<?x=1?>-<?=n?>"), "1--1");
  EXPECT_EQ(host.scripts, (std::vector<std::string>{"mes(n)", "x=1", "mes(n)"}));
}

TEST_F(TextScriptTest, TextsWithoutWholeBlocksStayAsTheyAre) {
  for (const char* content : {"plain", "<? never closed", "?> <?", "a <?> b", ""}) {
    EXPECT_EQ(expand(content), content) << content;
  }
  EXPECT_TRUE(host.scripts.empty());
  // The shortest block is empty, and runs.
  host.answers[""] = [](int) { return "e"; };
  EXPECT_EQ(expand("[<?" "?>]"), "[e]");
}

TEST_F(TextScriptTest, AFailingBlockLeavesAnEmptyPlaceAndOneWarning) {
  TestSupport::LogCapture log;
  host.answers["mes(1)"] = [](int) { return "1"; };
  EXPECT_EQ(expand("a<?boom()?>b<?=1?>"), "ab1");
  const auto records = log.records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].level, "WARN");
  EXPECT_EQ(records[0].place, "Effect::TextInput::expandScript");
  EXPECT_EQ(records[0].text, "script exception: attempt to call a nil value");
}

// Until a scripting host is installed, blocks leave nothing in the text.
TEST(TextScriptHeadlessTest, BlocksPrintNothing) {
  TextInput effect;
  effect.text.value = "a<?=1+1?>b";
  EXPECT_EQ(effect.expandScripts(nullptr), "ab");
}

TEST(TextDisplayNameTest, TheTimelineShowsTheTextOnOneLine) {
  const std::string hundred(100, 'x');
  const struct {
    std::string text;
    std::string shown;
  } cases[] = {
      {"", "テキスト"},
      {"Hello", "Hello"},
      {hundred, hundred},
      {std::string(150, 'y'), std::string(100, 'y') + "..."},
      {"a\nb\tc\r\nd", "a\u23CEb c \u23CEd"},
      {std::string(99, 'z') + "あい", std::string(99, 'z') + "あ..."},
      // A character outside the basic plane is not cut in half.
      {std::string(99, 'z') + "\U0001F600", std::string(99, 'z') + "..."},
  };
  for (const auto& c : cases) {
    TextInput effect;
    effect.text.value = c.text;
    EXPECT_EQ(effect.getDisplayName(), c.shown) << c.text;
  }
}

TEST(TextDisplayNameTest, ANewTextIsShownAfterTheChange) {
  TextInput effect;
  effect.text.value = "first";
  EXPECT_EQ(effect.getDisplayName(), "first");
  effect.text.value = "second";
  EffectEventParam event;
  event.kind = EffectEventParam::ItemChanged;
  event.datum = static_cast<Effect::EffectItem*>(&effect.text);
  EXPECT_FALSE(effect.editEvent(event));
  EXPECT_EQ(effect.getDisplayName(), "second");
}

TEST(TextItemStateTest, ThePathChoiceOnlyShowsForSeparateCharacters) {
  TextInput effect;
  effect.updateItemState();
  EXPECT_FALSE(effect.alongPath.shown);
  effect.perCharacter.value = true;
  effect.updateItemState();
  EXPECT_TRUE(effect.alongPath.shown);
}

// A filter that hands its piece on and keeps where and how each piece was to be drawn.
class CharacterRecorder : public Effect::EffectBase {
 public:
  struct Piece {
    int index, count;
    Effect::OutputView view;
    bool positionApplied;
    int width, height;
  };
  CharacterRecorder() : EffectBase("テスト文字記録", Effect::EffectType::Filter, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<CharacterRecorder>();
  }
  Effect::OwnedImage filterVideo(Effect::EffectContext& context,
                                 Effect::OwnedImage image) override {
    pieces.push_back({context.partIndex, context.partCount, context.outputView,
                      context.positionApplied, static_cast<int>(image->width()),
                      static_cast<int>(image->height())});
    return image;
  }
  std::vector<Piece> pieces;
};

const Effect::LinearMove& linearMove() {
  static const Effect::LinearMove movement;
  return movement;
}

// Makes a track move straight from `from` to `to` over its object.
void moveStraight(Effect::EffectItemNumber& track, double from, double to) {
  track.movement = &linearMove();
  track.values.assign(2, 0);
  track.setValue(from, 0);
  track.setValue(to, 1);
}

class TextRenderTest : public TestSupport::PiecesRenderTest {
 protected:
  // An object of frames 0 to 60 showing `content` through a recording output, with a
  // recorder after it.
  void placeText(const std::string& content) {
    text_ = std::make_shared<TextInput>();
    text_->text.value = content;
    text_->font.fromString("DejaVu Sans");
    object_ = world_->placeEffect(layer_++, 0, 60, text_);
    output_ = std::make_shared<TestSupport::AnchorRecordingOutput>();
    object_->effects.push_back(output_);
    recorder_ = std::make_shared<CharacterRecorder>();
    object_->effects.push_back(recorder_);
  }
  // The text input run at a frame, as the object task runs it.
  Effect::OwnedImage input(int frame = 0) {
    if (!target_) target_ = std::make_unique<Media::RenderBuffer>(64, 48);
    context_ = chainContext(object_, *target_);
    context_.frame = frame;
    context_.time = frame;
    context_.setObject(object_, object_->frames());
    return text_->inputVideo(context_);
  }
  // The characters' pieces of a run at a frame.
  std::vector<CharacterRecorder::Piece> pieces(int frame = 0) {
    recorder_->pieces.clear();
    output_->requests.clear();
    EXPECT_FALSE(input(frame)) << "separate characters make no picture";
    return recorder_->pieces;
  }

  static int countPixels(const CpuImage& image, const std::function<bool(const TestSupport::Rgba&)>& test) {
    int count = 0;
    for (const TestSupport::Rgba& p : image.pixels) count += test(p);
    return count;
  }

  std::unique_ptr<Media::RenderBuffer> target_;  // made once the world is there
  std::shared_ptr<TextInput> text_;
  std::shared_ptr<Edit::Object> object_;
  std::shared_ptr<TestSupport::AnchorRecordingOutput> output_;
  std::shared_ptr<CharacterRecorder> recorder_;
  Effect::EffectContext context_;
  int layer_ = 0;  // each text on a layer of its own
};

TEST_F(TextRenderTest, AnEmptyTextHasNoPicture) {
  for (const char* content : {"", "\n\n", "<?=1?>"}) {
    placeText(content);
    EXPECT_FALSE(input()) << content;
  }
}

// A frame's blocks run with the frame's context, and the picture shows what they printed.
TEST_F(TextRenderTest, BlocksPrintIntoThePicture) {
  TableScriptHost host;
  host.answers["mes(1+1)"] = [](int) { return "2"; };
  Effect::setScriptHost(&host);
  placeText("<?=1+1?>");
  const Effect::OwnedImage printed = input(12);
  Effect::setScriptHost(nullptr);
  ASSERT_EQ(host.contexts.size(), 1u);
  EXPECT_EQ(host.contexts[0], &context_);
  placeText("2");
  const Effect::OwnedImage plain = input();
  ASSERT_TRUE(printed);
  ASSERT_TRUE(plain);
  EXPECT_TRUE(TestSupport::imagesNear(TestSupport::download(*printed), TestSupport::download(*plain)));
}

TEST_F(TextRenderTest, AFontThatIsNotInTheListIsAnError) {
  placeText("A");
  text_->font.value = 1 << 20;
  try {
    input();
    ADD_FAILURE() << "no exception";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "invalid map<K, T> key");
  }
}

// The picture holds the text; its alignment says which point of it is the object's position.
TEST_F(TextRenderTest, TheAlignmentPlacesTheTextAroundThePosition) {
  const struct {
    int alignment;
    float fx, fy;
  } cases[] = {{0, -0.5f, -0.5f}, {4, 0, 0}, {8, 0.5f, 0.5f}, {9, 0.5f, -0.5f}, {16, -0.5f, 0}};
  for (const auto& c : cases) {
    placeText("HHH");
    text_->alignment.value = c.alignment;
    const Effect::OwnedImage image = input();
    ASSERT_TRUE(image) << c.alignment;
    const auto w = static_cast<float>(image->width());
    const auto h = static_cast<float>(image->height());
    EXPECT_FLOAT_EQ(context_.outputView.centerX, w * c.fx) << c.alignment;
    EXPECT_FLOAT_EQ(context_.outputView.centerY, h * c.fy) << c.alignment;
    // Vertical writing stacks the letters: the picture is taller than wide.
    EXPECT_EQ(c.alignment >= 9, h > w) << c.alignment;
  }
}

TEST_F(TextRenderTest, TheDecorationDrawsInTheSecondColour) {
  const auto white = [](const TestSupport::Rgba& p) {
    return p[3] > 0.9f && p[0] > 0.9f && p[1] > 0.9f && p[2] > 0.9f;
  };
  const auto red = [](const TestSupport::Rgba& p) {
    return p[3] > 0.9f && p[0] > 0.9f && p[1] < 0.1f && p[2] < 0.1f;
  };
  const struct {
    int decoration;
    bool redShows;
  } cases[] = {{0, false}, {1, true}, {3, true}, {6, true}};
  for (const auto& c : cases) {
    placeText("H");
    text_->shadowColor.setRgb(0xFF0000);
    text_->decoration.value = c.decoration;
    const Effect::OwnedImage image = input();
    ASSERT_TRUE(image);
    const CpuImage picture = TestSupport::download(*image);
    EXPECT_GT(countPixels(picture, white), 20) << c.decoration;
    EXPECT_EQ(countPixels(picture, red) > 10, c.redShows) << c.decoration;
  }
}

// Every character runs through the rest of the chain on its own, with its index, at its
// place in the text; the object's handles then stand for the whole text.
TEST_F(TextRenderTest, SeparateCharactersEachRunThroughTheChain) {
  placeText("AB\nC");
  text_->perCharacter.value = true;
  const auto topLeft = pieces();
  ASSERT_EQ(output_->requests.size(), 1u);
  const int w = output_->requests[0].width;
  const int h = output_->requests[0].height;
  EXPECT_FALSE(output_->requests[0].individualParts);
  EXPECT_TRUE(context_.transformApplied);
  EXPECT_FLOAT_EQ(context_.outputView.centerX, -0.5f * static_cast<float>(w));
  EXPECT_FLOAT_EQ(context_.outputView.centerY, -0.5f * static_cast<float>(h));

  ASSERT_EQ(topLeft.size(), 3u);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(topLeft[k].index, k);
    EXPECT_EQ(topLeft[k].count, 3);
    EXPECT_FALSE(topLeft[k].positionApplied);
    EXPECT_GT(topLeft[k].width, 0);
  }
  // A and B on the first line, C below A.
  EXPECT_LT(topLeft[0].view.x, topLeft[1].view.x);
  EXPECT_FLOAT_EQ(topLeft[0].view.y, topLeft[1].view.y);
  EXPECT_GT(topLeft[2].view.y, topLeft[0].view.y);
  EXPECT_GT(topLeft[2].view.x, 0.0f);
  EXPECT_LT(topLeft[1].view.x, static_cast<float>(w));

  // Left-aligned around the position's height, every piece moves up by half the text.
  text_->alignment.value = 3;
  const auto middle = pieces();
  ASSERT_EQ(middle.size(), 3u);
  for (int k = 0; k < 3; ++k) {
    EXPECT_FLOAT_EQ(middle[k].view.x, topLeft[k].view.x);
    EXPECT_FLOAT_EQ(middle[k].view.y, topLeft[k].view.y - 0.5f * static_cast<float>(h));
  }
  EXPECT_FLOAT_EQ(context_.outputView.centerX, -0.5f * static_cast<float>(w));
  EXPECT_FLOAT_EQ(context_.outputView.centerY, 0.0f);

  // Centred, the first line's pieces move left by half the width, and the short second
  // line is centred on the position.
  text_->alignment.value = 4;
  const auto centred = pieces();
  ASSERT_EQ(centred.size(), 3u);
  for (int k = 0; k < 2; ++k)
    EXPECT_FLOAT_EQ(centred[k].view.x, topLeft[k].view.x - 0.5f * static_cast<float>(w));
  EXPECT_NEAR(centred[2].view.x, 0.0f, 2.0f);
  EXPECT_FLOAT_EQ(context_.outputView.centerX, 0.0f);
}

// Drawn one by one, the characters cover the frame where the whole text would.
TEST_F(TextRenderTest, TheCharactersReachTheFrameWhereTheTextWouldBe) {
  const auto measure = [this](bool separate) {
    placeText("AB");
    text_->size.setValue(20.0, 0);
    text_->alignment.value = 4;
    text_->perCharacter.value = separate;
    const std::shared_ptr<Media::ImageBuffer> frame = renderFrame(0);
    object_->effects.clear();  // off the frame for the next text
    if (!frame) return std::pair<float, float>{0.0f, 0.0f};
    const CpuImage picture = TestSupport::pictureOf(*frame);
    float covered = 0, moment = 0;
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) {
        covered += picture.get(x, y)[3];
        moment += picture.get(x, y)[3] * static_cast<float>(x);
      }
    return std::pair<float, float>{covered, covered > 0 ? moment / covered : 0.0f};
  };
  const auto [whole, wholeCentre] = measure(false);
  const auto [pieces, piecesCentre] = measure(true);
  EXPECT_GT(whole, 50.0f);
  EXPECT_NEAR(pieces / whole, 1.0f, 0.05f);
  EXPECT_NEAR(piecesCentre, wholeCentre, 0.5f);
}

// At 2 characters a second the third one (index 2) shows from 1.0 s on, at 30 frames a
// second from frame 30.
TEST_F(TextRenderTest, CharactersAppearAtTheDisplaySpeed) {
  placeText("ABCD");
  text_->perCharacter.value = true;
  text_->displaySpeed.setValue(2.0, 0);
  EXPECT_EQ(pieces(0).size(), 1u);
  EXPECT_EQ(pieces(29).size(), 2u);
  const auto shown = pieces(30);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[2].index, 2);
  EXPECT_EQ(shown[2].count, 4);
  EXPECT_EQ(pieces(60).size(), 4u);
}

// Along the path, a character sits where the object's movement is at the share of the text
// its centre has reached, turned to the movement's direction; its offset across the line
// turns with it.
TEST_F(TextRenderTest, CharactersFollowTheMovementPath) {
  placeText("AB");
  text_->perCharacter.value = true;
  const auto inPlace = pieces();
  ASSERT_EQ(inPlace.size(), 2u);
  const float w = static_cast<float>(output_->requests.at(0).width);
  const float h = static_cast<float>(output_->requests.at(0).height);

  struct Case {
    const char* what;
    int alignment;
    bool moveX, moveY;
    // The expected place and turn of a character whose place in the text is (x, y).
    std::function<void(float x, float y, float& ex, float& ey, float& turn)> expected;
  };
  const Case cases[] = {
      {"to the right", 0, true, false,
       [&](float x, float y, float& ex, float& ey, float& turn) {
         ex = 300.0f * x / w;
         ey = y;
         turn = 0.0f;
       }},
      {"downwards", 0, false, true,
       [&](float x, float y, float& ex, float& ey, float& turn) {
         ex = -y;
         ey = 300.0f * x / w;
         turn = 90.0f;
       }},
      {"centred line, downwards", 4, false, true,
       [&](float x, float y, float& ex, float& ey, float& turn) {
         ex = -(y - 0.5f * h);
         ey = 300.0f * x / w;
         turn = 90.0f;
       }},
      {"standing still", 0, false, false,
       [&](float, float y, float& ex, float& ey, float& turn) {
         ex = 0.0f;
         ey = y;
         turn = 0.0f;
       }},
  };
  for (const Case& c : cases) {
    placeText("AB");
    text_->perCharacter.value = true;
    text_->alongPath.value = true;
    text_->alignment.value = c.alignment;
    if (c.moveX) moveStraight(output_->x, 0, 300);
    if (c.moveY) moveStraight(output_->y, 0, 300);
    const auto placed = pieces();
    ASSERT_EQ(placed.size(), 2u) << c.what;
    for (std::size_t k = 0; k < 2; ++k) {
      float ex = 0, ey = 0, turn = 0;
      c.expected(inPlace[k].view.x, inPlace[k].view.y, ex, ey, turn);
      EXPECT_NEAR(placed[k].view.x, ex, 0.01f) << c.what << " " << k;
      EXPECT_NEAR(placed[k].view.y, ey, 0.01f) << c.what << " " << k;
      EXPECT_NEAR(placed[k].view.rotationZ, turn, 0.01f) << c.what << " " << k;
      EXPECT_TRUE(placed[k].positionApplied) << c.what;
    }
    // The handle is a point without the text's size.
    ASSERT_EQ(output_->requests.size(), 1u);
    EXPECT_EQ(output_->requests[0].width, 0);
    EXPECT_TRUE(output_->requests[0].individualParts);
    EXPECT_TRUE(context_.transformApplied);
  }
}

// Vertical writing runs its columns down the path: a path downwards leaves them upright.
TEST_F(TextRenderTest, VerticalTextRunsDownThePath) {
  placeText("AB");
  text_->perCharacter.value = true;
  text_->alignment.value = 15;  // 縦書 上寄[左]
  const auto inPlace = pieces();
  ASSERT_EQ(inPlace.size(), 2u);
  const float h = static_cast<float>(output_->requests.at(0).height);
  EXPECT_LT(inPlace[0].view.y, inPlace[1].view.y);

  text_->alongPath.value = true;
  moveStraight(output_->y, 0, 300);
  const auto placed = pieces();
  ASSERT_EQ(placed.size(), 2u);
  for (std::size_t k = 0; k < 2; ++k) {
    EXPECT_NEAR(placed[k].view.x, inPlace[k].view.x, 0.01f) << k;
    EXPECT_NEAR(placed[k].view.y, 300.0f * inPlace[k].view.y / h, 0.01f) << k;
    EXPECT_NEAR(placed[k].view.rotationZ, 0.0f, 0.01f) << k;
  }

  // A path to the right lays the column on its side, above the path.
  moveStraight(output_->y, 0, 0);
  moveStraight(output_->x, 0, 300);
  const auto lying = pieces();
  ASSERT_EQ(lying.size(), 2u);
  for (std::size_t k = 0; k < 2; ++k) {
    EXPECT_NEAR(lying[k].view.x, 300.0f * inPlace[k].view.y / h, 0.01f) << k;
    EXPECT_NEAR(lying[k].view.y, -inPlace[k].view.x, 0.01f) << k;
    EXPECT_NEAR(lying[k].view.rotationZ, -90.0f, 0.01f) << k;
  }
}

// The edit model as the text input sees it: an object's frames at 30 frames a second, and
// what the effect asks of it.
class RecordingEditHost : public Effect::MediaInputHost {
 public:
  Effect::MediaTime::Timing sceneTiming(const Edit::Scene*) const override { return {30, 1}; }
  Effect::ObjectFrames objectFrames(const Edit::Object& object) const override {
    return object.frames();
  }
  Effect::MediaTime::Timing objectTiming(const Edit::Object&) const override { return {30, 1}; }
  std::optional<Effect::SceneLength> sceneLength(int) const override { return std::nullopt; }
  bool fixedMovieTimeRange() const override { return false; }
  void recordObjectUpdate(const EffectEventParam&) override { ++objectRecords; }
  void recordEffectUpdate(const EffectEventParam&) override {}
  void markChanged(const EffectEventParam&, bool layers) override { layerMarks += layers; }
  void resizeObject(const EffectEventParam&, int32_t frames, bool moveStart) override {
    resizes.push_back({frames, moveStart});
  }
  void showToolTip(const std::string&) override {}
  void showSceneInfo(int) override {}

  int objectRecords = 0, layerMarks = 0;
  std::vector<std::pair<int, bool>> resizes;
};

class TextLengthTest : public TextRenderTest {
 protected:
  void SetUp() override {
    TextRenderTest::SetUp();
    Effect::setMediaInputHost(&host_);
    prepare();
  }
  // Five characters at 10 a second, fitted automatically; nothing recorded yet.
  void prepare() {
    placeText("ABCDE");
    text_->autoLength.value = true;
    text_->displaySpeed.setValue(10.0, 0);
    host_.resizes.clear();
    host_.objectRecords = host_.layerMarks = 0;
  }
  void TearDown() override {
    Effect::setMediaInputHost(nullptr);
    TextRenderTest::TearDown();
  }
  bool send(int kind, Effect::EffectItem* item = nullptr) {
    EffectEventParam event;
    event.kind = kind;
    event.object = object_.get();
    if (item) event.datum = item;
    if (kind == EffectEventParam::StartCut || kind == EffectEventParam::EndCut) event.datum = 0;
    return text_->editEvent(event);
  }

  RecordingEditHost host_;
};

// Five characters at 10 a second take 0.5 s: 15 frames. A cut at the start keeps the end
// and is not recorded again (the cut records itself).
TEST_F(TextLengthTest, TheObjectLastsAsLongAsTheTextTakesToAppear) {
  EXPECT_TRUE(send(EffectEventParam::ItemChanged, &text_->text));
  EXPECT_TRUE(send(EffectEventParam::StartCut));
  EXPECT_TRUE(send(EffectEventParam::EndCut));
  EXPECT_EQ(host_.resizes, (std::vector<std::pair<int, bool>>{{15, false}, {15, true}, {15, false}}));
  EXPECT_EQ(host_.objectRecords, 1);
  EXPECT_EQ(host_.layerMarks, 3);

  // Half a frame rounds away from zero: 7 characters at 20 a second are 10.5 frames.
  text_->text.value = "ABCDEFG";
  text_->displaySpeed.setValue(20.0, 0);
  EXPECT_TRUE(send(EffectEventParam::ItemChanged, &text_->displaySpeed));
  EXPECT_EQ(host_.resizes.back().first, 11);
}

TEST_F(TextLengthTest, NothingIsFittedWithoutASteadySpeedOrWithMidpoints) {
  const struct {
    const char* what;
    std::function<void()> change;
  } cases[] = {
      {"switched off", [&] { text_->autoLength.value = false; }},
      {"shown at once", [&] { text_->displaySpeed.setValue(0.0, 0); }},
      {"a moving speed", [&] { moveStraight(text_->displaySpeed, 10, 20); }},
      {"a midpoint", [&] { object_->boundaries.push_back(5); }},
  };
  for (const auto& c : cases) {
    prepare();
    c.change();
    EXPECT_FALSE(send(EffectEventParam::ItemChanged, &text_->text)) << c.what;
    EXPECT_FALSE(send(EffectEventParam::EndCut)) << c.what;
    EXPECT_TRUE(host_.resizes.empty()) << c.what;
    EXPECT_EQ(host_.objectRecords, 0) << c.what;
  }
}

TEST_F(TextLengthTest, TheSeparateCharacterSwitchRebuildsTheSettingWindow) {
  auto scope = Edit::EditService::instance()->beginUpdate();
  EffectEventParam event;
  event.kind = EffectEventParam::ItemChanged;
  event.scope = &scope;
  event.object = object_.get();
  event.datum = static_cast<Effect::EffectItem*>(&text_->perCharacter);
  EXPECT_TRUE(text_->editEvent(event));
  EXPECT_TRUE(scope.rebuildEffectSetting);
  EXPECT_TRUE(host_.resizes.empty());
  event.kind = EffectEventParam::FileSet;
  EXPECT_FALSE(text_->editEvent(event));
}

}  // namespace
