// The status bar's footer texts and the main window's caption.
#include "main_window/status/status_component.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "edit/edit_service.h"
#include "edit/scene.h"
#include "edit/edit_test_support.h"
#include "main_window/status/status_text.h"
#include "system/event_service.h"
#include "system/exception.h"
#include "system/log_capture.h"
#include "tests/ui/control_test_support.h"
#include "ui/window_footer.h"

namespace {

using Component::StatusComponent;
namespace StatusText = Component::StatusText;

TEST(StatusTextTest, VariableTextsFollowTheirFormats) {
  EXPECT_EQ(StatusText::resolutionText(1920, 1080), "1920x1080");
  EXPECT_EQ(StatusText::frameRateText(30, 1), "30fps");
  EXPECT_EQ(StatusText::frameRateText(24000, 1001), "23.976024fps");
  EXPECT_EQ(StatusText::samplingRateText(48000), "48khz");
  EXPECT_EQ(StatusText::samplingRateText(44100), "44.1khz");
  EXPECT_EQ(StatusText::frameNumberText(0), "1");
  EXPECT_EQ(StatusText::frameTimeText(90, 30, 1), "00:00:03.00");
  EXPECT_EQ(StatusText::frameTimeText(3600 * 30 * 25, 30, 1), "25:00:00.00") << "no wrap at 24 h";
  EXPECT_EQ(StatusText::frameTimeText(100, 0, 1), "00:00:00.00") << "a zero rate is no fault";
  // The fixed buffers hold 15 characters.
  EXPECT_EQ(StatusText::resolutionText(2000000000, 2000000000), "2000000000x2000");
  EXPECT_EQ(StatusText::frameTimeText(2000000000, 1, 2000), "1111111111:06:4");
}

TEST(StatusTextTest, ProjectNameAndTitleComeFromTheLastPathComponent) {
  struct Case {
    const char* path;
    const char* projectName;
    const char* title;
  };
  const Case cases[] = {
      {"", "", "Velumo Kivrun2"},
      {"C:\\work\\a.b.vlp2", "a.b", "a.b.vlp2"},
      {"/home/user/p/show.vlp2", "show", "show.vlp2"},
      {"/home/user/p/noextension", "noextension", "noextension"},
      {"plain.vlp2", "plain", "plain.vlp2"},
      {"/home/user/p/", "", "Velumo Kivrun2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StatusText::projectNameOf(c.path), c.projectName) << c.path;
    EXPECT_EQ(StatusText::windowTitleOf(c.path), c.title) << c.path;
  }
}

// The manager window, the settings with the footer templates given, and the edit model with
// its event lists; the status component is made last, as at start-up.
class StatusComponentTest : public WindowTest::WindowFixture {
 protected:
  void start(const std::string& left, const std::string& right) {
    settings_.emplace("[Format]\r\nFooterLeft=" + left + "\r\nFooterRight=" + right + "\r\n");
    edit_.emplace();
    status_.emplace();
  }

  Edit::Scene& scene() { return edit_->scene(); }
  Edit::EditService& editService() { return edit_->edit(); }
  Event::EventService& events() { return edit_->events(); }
  Window::WindowFooter& footer() { return service().footer(); }
  void fireSceneChange() { events().list<5>().fire(scene().id); }

  std::optional<ControlTest::ScopedSettings> settings_;
  std::optional<TestSupport::EditServices> edit_;
  std::optional<StatusComponent> status_;
};

TEST_F(StatusComponentTest, ASceneChangeFillsBothFooterTexts) {
  start("{CurrentFrame}/{TotalFrame} {TotalTime}",
        "{SceneName} {Resolution} {FrameRate} {SamplingRate} {ProjectName}");
  TestSupport::place(0, 0, 299);
  scene().audioRate = 44100;
  editService().project.path = "/home/user/p/show.vlp2";
  fireSceneChange();
  // 299 / 30 s is 9.9667 s; the program's time text rounds it to the hundredth.
  EXPECT_EQ(footer().leftText(), "1/300 00:00:09.97");
  EXPECT_EQ(footer().rightText(), scene().name + " 1920x1080 30fps 44.1khz show");
  EXPECT_EQ(status_->leftText(), footer().leftText());
}

TEST_F(StatusComponentTest, PlaceholdersAreReplacedWhereverTheyStand) {
  start("{TotalFrame}-{TotalFrame}", "{} {no closing brace");
  fireSceneChange();
  EXPECT_EQ(footer().leftText(), "1-1") << "both places";
  EXPECT_EQ(footer().rightText(), "{} {no closing brace") << "no placeholder stays as it is";
}

TEST_F(StatusComponentTest, AnUnknownVariableVanishesAndIsLoggedForEachOccurrence) {
  start("[{scenename}]", "{Nothing}{Nothing}");
  TestSupport::LogCapture capture;
  fireSceneChange();
  EXPECT_EQ(footer().leftText(), "[]");
  EXPECT_EQ(footer().rightText(), "");
  const std::vector<std::string> warnings = capture.texts("WARN");
  ASSERT_EQ(warnings.size(), 3u);
  EXPECT_EQ(warnings[0], "invalid footer text variable. {scenename}");
  EXPECT_EQ(warnings[1], "invalid footer text variable. {Nothing}");
  EXPECT_EQ(capture.records()[0].place, "Component::StatusComponent::expandStatusVariable");
  capture.clear();
  fireSceneChange();
  EXPECT_EQ(capture.texts("WARN").size(), 3u) << "again at each refresh";
}

TEST_F(StatusComponentTest, EmptyTemplatesGiveAnEmptyFooterWhileTheCaptionFollowsTheProject) {
  start("", "");
  fireSceneChange();
  EXPECT_EQ(footer().leftText(), "");
  EXPECT_EQ(footer().rightText(), "");
  EXPECT_EQ(service().title(), "Velumo Kivrun2");
  editService().project.path = "D:\\p\\show.vlp2";
  fireSceneChange();
  EXPECT_EQ(service().title(), "show.vlp2");
  editService().project.path.clear();
  fireSceneChange();
  EXPECT_EQ(service().title(), "Velumo Kivrun2");
}

TEST_F(StatusComponentTest, TheCursorRefreshesTheTimesButNeverTheCaptionOrTheScene) {
  start("{CurrentFrame} {CurrentTime}", "{ProjectName}");
  TestSupport::place(0, 0, 299);
  fireSceneChange();
  editService().project.path = "/p/later.vlp2";
  scene().cursorFrame = 45;
  events().list<0>().fire(45);
  EXPECT_EQ(footer().leftText(), "46 00:00:01.50");
  EXPECT_EQ(footer().rightText(), "") << "the project name waits for a scene change";
  EXPECT_EQ(service().title(), "Velumo Kivrun2");
}

TEST_F(StatusComponentTest, OnlyAMovedCursorOrANewLengthTouchesTheFooter) {
  start("{CurrentFrame} {CurrentTime} {TotalFrame}", "");
  TestSupport::place(0, 0, 299);
  fireSceneChange();
  scene().cursorFrame = 30;
  events().list<0>().fire(30);
  ASSERT_EQ(footer().leftText(), "31 00:00:01.00 300");

  // A new rate without a scene change: a refresh would show it in the time.
  scene().rate = 60;
  events().list<0>().fire(30);
  events().list<7>().fire(nullptr);
  EXPECT_EQ(footer().leftText(), "31 00:00:01.00 300") << "same cursor, same length";

  TestSupport::place(1, 0, 599);
  events().list<7>().fire(nullptr);
  EXPECT_EQ(footer().leftText(), "31 00:00:00.50 600") << "a longer scene";
}

TEST_F(StatusComponentTest, ATemplateThatIsNotUtf8FailsTheConstruction) {
  settings_.emplace("[Format]\r\nFooterLeft=\xff\xfe{SceneName}\r\n");
  edit_.emplace();
  try {
    StatusComponent status;
    FAIL() << "no exception";
  } catch (const System::Exception& error) {
    EXPECT_NE(std::string(error.what()).find("ini file parameter invalid format(UTF8)."),
              std::string::npos)
        << error.what();
  }
}

}  // namespace
