#pragma once
// A fixture for what reads style.conf while drawing: a program folder of the test's own with
// a style.conf the test writes, and the services started in the program's order (settings,
// 2-D drawing, device, shared drawing resources) and stopped in reverse.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "gpu/direct3d_service.h"
#include "gpu/draw2d/direct2d_service.h"
#include "gpu/resource/resource_service.h"
#include "system/file.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"

namespace TestSupport {

// The layout keys the settings service requires, and a default family that is installed
// on the test machines (so that a format without a family gets a known one).
inline constexpr const char* kStyleLayout =
    "[Layout]\nSettingItemHeight=18\nExplorerHeaderHeight=26\nListItemHeight=19\n";
inline constexpr const char* kStyleDefaultFamily = "DejaVu Serif";

// Every [Font] key the shared resources read, with distinct sizes.
inline constexpr const char* kStyleFonts =
    "Control=12\nEditControl=13\nLayerObject=14\nPreviewTime=15\nTimeGauge=16\nFooter=17\n"
    "TextEdit=18\nLog=19\n";

class StyleServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.makeFolder("data");
    System::FileName::resetVariableList(install_.path());
  }
  void TearDown() override {
    stopServices();
    System::FileName::resetVariableList();
  }

  // Writes style.conf with the given [Font] and [Color] lines (DefaultFamily is added).
  void writeStyle(const std::string& fontLines, const std::string& colorLines = {}) const {
    install_.writeFile("style.conf", std::string(kStyleLayout) + "[Font]\nDefaultFamily=" +
                                         kStyleDefaultFamily + "\n" + fontLines + "[Color]\n" +
                                         colorLines);
  }
  void startSettings() { settings_.emplace(); }
  // Settings, 2-D drawing and the device, without the shared resources.
  void startGraphics() {
    startSettings();
    direct2D_.emplace();
    direct3D_.emplace();
  }
  // Everything, the shared resources last (their constructor may throw).
  void startServices() {
    startGraphics();
    resources_.emplace();
  }
  void stopServices() {
    resources_.reset();
    direct3D_.reset();
    direct2D_.reset();
    settings_.reset();
  }

  Resource::ResourceService& resources() { return Resource::ResourceService::Get(); }

  TempFolder install_;
  std::optional<System::ServiceHolder<Setting::SettingService>> settings_;
  std::optional<System::ServiceHolder<Media::Direct2DService>> direct2D_;
  std::optional<System::ServiceHolder<Media::Direct3DService>> direct3D_;
  std::optional<System::ServiceHolder<Resource::ResourceService>> resources_;
};

}  // namespace TestSupport
