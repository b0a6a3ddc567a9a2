#include "gpu/direct3d_service.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <latch>
#include <optional>
#include <thread>

#include "gpu/gpu_test_support.h"
#include "gpu/render_buffer.h"
#include "gpu/shader/blend_state_list.h"
#include "system/file.h"
#include "system/ini_file.h"
#include "system/log_capture.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"
#include "system/ui_bridge.h"

namespace {

using Media::Direct3DService;
using testing::ElementsAre;
using testing::HasSubstr;
using TestSupport::GpuTest;
using TestSupport::LogCapture;
using TestSupport::TempFolder;

constexpr const char* kPlace = "Media::Direct3DService::Direct3DService";

std::vector<std::string> infoLines(const LogCapture& log) {
  std::vector<std::string> lines;
  for (const auto& record : log.records())
    if (record.level == std::string("INFO") && record.place == kPlace) lines.push_back(record.text);
  return lines;
}

TEST(Direct3DServiceTest, TheStartLogsTheFeatureLevelTheOrderedViewsAndSevenFormats) {
  LogCapture log;
  System::ServiceHolder<Direct3DService> service;
  const bool rovs = Direct3DService::Get().rovsSupported();

  std::vector<std::string> lines = infoLines(log);
  // Besides the renderer's name, which depends on the machine.
  std::erase_if(lines, [](const std::string& line) { return line.starts_with("GL renderer : "); });
  EXPECT_THAT(lines, ElementsAre("D3D feature level : 0x0000b100",
                                 rovs ? "D3D ROVsSupported : 1" : "D3D ROVsSupported : 0",
                                 "D3D DXGI_FORMAT_R8G8B8A8_UNORM Texture2D Supported : 1",
                                 "D3D DXGI_FORMAT_B8G8R8A8_UNORM Texture2D Supported : 1",
                                 "D3D DXGI_FORMAT_A8_UNORM Texture2D Supported : 1",
                                 "D3D DXGI_FORMAT_R16G16B16A16_FLOAT Texture2D Supported : 1",
                                 "D3D DXGI_FORMAT_G8R8_G8B8_UNORM Texture2D Supported : 1",
                                 "D3D DXGI_FORMAT_R16G16B16A16_UNORM Texture2D Supported : 1",
                                 "D3D DXGI_FORMAT_R16G16B16A16_SNORM Texture2D Supported : 1"));
  // Without ordered views the start goes on with a warning; headless it is a log line.
  const auto warnings = log.texts("WARN");
  EXPECT_EQ(std::count(warnings.begin(), warnings.end(), Direct3DService::kRovWarning),
            rovs ? 0 : 1);
}

class RecordingBridge : public System::UiBridge {
 public:
  System::DesktopMetrics desktopMetrics() override { return {}; }
  void showErrorBox(const std::string& text, const std::string& caption) override {
    errorBoxes.emplace_back(text, caption);
  }
  void showWarningBox(const std::string& text, const std::string& caption) override {
    warningBoxes.emplace_back(text, caption);
  }
  void stopPlayer() override { ++playerStops; }
  std::vector<std::pair<std::string, std::string>> errorBoxes;
  std::vector<std::pair<std::string, std::string>> warningBoxes;
  int playerStops = 0;
};

TEST(Direct3DServiceTest, WithAUserInterfaceMissingOrderedViewsShowAWarningBox) {
  RecordingBridge bridge;
  System::setUiBridge(&bridge);
  std::optional<System::ServiceHolder<Direct3DService>> service;
  service.emplace();
  const bool rovs = Direct3DService::Get().rovsSupported();
  service.reset();
  System::setUiBridge(nullptr);
  if (rovs) GTEST_SKIP() << "this device has ordered views";
  // A warning the start goes on after, not an error box; the player stops before it.
  EXPECT_TRUE(bridge.errorBoxes.empty());
  ASSERT_EQ(bridge.warningBoxes.size(), 1u);
  EXPECT_EQ(bridge.warningBoxes[0].first, Direct3DService::kRovWarning);
  EXPECT_EQ(bridge.warningBoxes[0].second, "Velumo Kivrun2");
  EXPECT_EQ(bridge.playerStops, 1);
}

TEST(Direct3DServiceTest, WithoutSettingsEveryValueIsItsDefault) {
  System::ServiceHolder<Direct3DService> holder;
  const Direct3DService& service = Direct3DService::Get();
  EXPECT_EQ(service.pixelFormat, 10);
  EXPECT_EQ(service.maskFormat, 65);
  EXPECT_EQ(service.defaultSampleDescription.count, 1u);
  EXPECT_EQ(service.defaultSampleDescription.quality, 0u);
  EXPECT_EQ(service.multiSampleCount, 8);
  EXPECT_EQ(service.maxAnisotropy, 16);
  EXPECT_EQ(service.highDpiMode, 1);
  EXPECT_EQ(service.inputYUVColorSpace, 0);
  EXPECT_EQ(service.outputYUVColorSpace, 0);
}

// The settings files of a program installed in a temporary folder.
class Direct3DSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.makeFolder("data");
    System::FileName::resetVariableList(install_.path());
    install_.writeFile("style.conf",
                       "[Layout]\nSettingItemHeight=18\nExplorerHeaderHeight=26\nListItemHeight=19\n");
  }
  void TearDown() override { System::FileName::resetVariableList(); }

  std::string parameterIni() const { return install_ / "data/velumo2.ini"; }

  TempFolder install_;
};

TEST_F(Direct3DSettingsTest, MissingValuesTakeTheirDefaultsAndAreWrittenBack) {
  install_.writeFile("data/velumo2.ini", "");
  install_.writeFile("system.conf", "[Config]\nMainThreadPriority=0\n");
  {
    System::ServiceHolder<Setting::SettingService> settings;
    {
      System::ServiceHolder<Direct3DService> holder;
      const Direct3DService& service = Direct3DService::Get();
      EXPECT_EQ(service.pixelFormat, 10);
      EXPECT_EQ(service.maskFormat, 65);
      EXPECT_EQ(service.multiSampleCount, 8);
      EXPECT_EQ(service.highDpiMode, 1);
      // Both keys now exist, empty.
      const auto config = Setting::SettingService::instance()->system.config;
      EXPECT_TRUE(config.hasKey("PixelFormat"));
      EXPECT_TRUE(config.hasKey("MaskFormat"));
      EXPECT_EQ(config.findValue("PixelFormat").text, "");
    }
  }
  System::IniFile written;
  written.loadFile(parameterIni());
  const auto section = written.getSection("Direct3D");
  EXPECT_EQ(section.findValue("MultiSampleCount").text, "8");
  EXPECT_EQ(section.findValue("MaxAnisotropy").text, "16");
  EXPECT_EQ(section.findValue("HighDpiMode").text, "1");
  EXPECT_EQ(section.findValue("InputYUVColorSpace").text, "0");
  EXPECT_EQ(section.findValue("OutputYUVColorSpace").text, "0");
}

TEST_F(Direct3DSettingsTest, StoredValuesAreRead) {
  install_.writeFile("data/velumo2.ini",
                     "[Direct3D]\nMultiSampleCount=4\nMaxAnisotropy=2\nHighDpiMode=0\n"
                     "InputYUVColorSpace=2\nOutputYUVColorSpace=1\n");
  install_.writeFile("system.conf", "[Config]\nPixelFormat=11\nMaskFormat=41\n");
  System::ServiceHolder<Setting::SettingService> settings;
  System::ServiceHolder<Direct3DService> holder;
  const Direct3DService& service = Direct3DService::Get();
  EXPECT_EQ(service.pixelFormat, 11);
  EXPECT_EQ(service.maskFormat, 41);
  EXPECT_EQ(service.multiSampleCount, 4);
  EXPECT_EQ(service.maxAnisotropy, 2);
  EXPECT_EQ(service.highDpiMode, 0);
  EXPECT_EQ(service.inputYUVColorSpace, 2);
  EXPECT_EQ(service.outputYUVColorSpace, 1);
}

TEST_F(Direct3DSettingsTest, APixelFormatThatIsNotANumberEndsTheStartWithoutWritingTheBlock) {
  install_.writeFile("data/velumo2.ini", "");
  install_.writeFile("system.conf", "[Config]\nPixelFormat=half\n");
  {
    System::ServiceHolder<Setting::SettingService> settings;
    try {
      System::ServiceHolder<Direct3DService> holder;
      ADD_FAILURE() << "the service was created";
    } catch (const std::exception& failure) {
      EXPECT_THAT(failure.what(), HasSubstr("ini file parameter invalid format(int)."));
    }
    EXPECT_EQ(Direct3DService::instance(), nullptr);
  }
  System::IniFile written;
  written.loadFile(parameterIni());
  EXPECT_FALSE(written.getSection("Direct3D").hasKey("MultiSampleCount"));
}

TEST_F(GpuTest, BindingABufferTwiceMakesItsRenderTargetViewOnce) {
  Media::RenderBuffer target(12, 7);
  service().setRenderTarget(target);
  const auto first = target.createRenderTargetView();
  service().setRenderTarget(target);
  EXPECT_EQ(target.createRenderTargetView(), first);

  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_THAT(viewport, ElementsAre(0, 0, 12, 7));
  const GLuint framebuffer = service().context().drawFramebuffer();
  GLint attached = 0;
  glGetNamedFramebufferAttachmentParameteriv(framebuffer, GL_COLOR_ATTACHMENT0,
                                             GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
  EXPECT_EQ(static_cast<GLuint>(attached), target.texture()->name());

  service().unbindRenderTargets();
  glGetNamedFramebufferAttachmentParameteriv(framebuffer, GL_COLOR_ATTACHMENT0,
                                             GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
  EXPECT_EQ(attached, 0);
}

// The cache skips what is bound already: GL state changed behind its back stays changed
// until another object (or a blend factor) is bound.
TEST_F(GpuTest, TheStateCacheSkipsRebindingTheSameObject) {
  Shader::BlendStateList blends;
  Media::GlContext& context = service().context();

  context.bindBlendState(blends.get(0), nullptr);
  ASSERT_TRUE(glIsEnabled(GL_BLEND));
  glDisable(GL_BLEND);
  context.bindBlendState(blends.get(0), nullptr);
  EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "the same state was bound again";
  const float factor[4] = {0.5f, 0.5f, 0.5f, 0.5f};
  context.bindBlendState(blends.get(0), factor);
  EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "a blend factor binds anew";

  const Media::GlProgram first(GL_FRAGMENT_SHADER, TestSupport::kTwoColorPixelSource, "test");
  const Media::GlProgram second(GL_FRAGMENT_SHADER, TestSupport::kTwoColorPixelSource, "test");
  auto boundPixelProgram = [&] {
    GLint program = 0;
    glGetProgramPipelineiv(context.programPipeline(), GL_FRAGMENT_SHADER, &program);
    return static_cast<GLuint>(program);
  };
  context.usePixelProgram(&first, first.name());
  glUseProgramStages(context.programPipeline(), GL_FRAGMENT_SHADER_BIT, second.name());
  context.usePixelProgram(&first, first.name());
  EXPECT_EQ(boundPixelProgram(), second.name());
  context.usePixelProgram(&second, second.name());
  context.usePixelProgram(&first, first.name());
  EXPECT_EQ(boundPixelProgram(), first.name());
}

// An object that goes while some context still has it cached must not be taken for a new
// object that happens to get its address: it leaves every context's cache.
TEST_F(GpuTest, ADestroyedStateLeavesTheCacheOfEveryContext) {
  auto state = std::make_unique<Media::BlendState>(Media::BlendDescription{});
  const Media::BlendState* address = state.get();
  Media::GlContext& mine = service().context();
  mine.bindBlendState(address, nullptr);

  std::latch bound(1);
  std::latch checked(1);
  Media::StateCache* theirs = nullptr;
  std::thread worker([&] {
    Media::GlContext& context = Direct3DService::Get().context();
    context.bindBlendState(address, nullptr);
    theirs = &context.stateCache();
    bound.count_down();
    checked.wait();
  });
  bound.wait();
  EXPECT_EQ(theirs->blendState.load(), address);
  state.reset();
  EXPECT_EQ(mine.stateCache().blendState.load(), nullptr);
  EXPECT_EQ(theirs->blendState.load(), nullptr);
  checked.count_down();
  worker.join();
}

}  // namespace
