#pragma once
// A fixture for the shared drawing resources: the device and the 2-D service, a program
// folder of the test's own (so %Figure% and %Transition% lie in it), the built-in paths and
// a choice list.
#include <memory>
#include <optional>

#include "effect/effect_item_select.h"
#include "gpu/draw2d/direct2d_service.h"
#include "gpu/gpu_test_support.h"
#include "gpu/resource/path_data.h"
#include "system/file.h"
#include "system/temp_folder.h"

namespace TestSupport {

class DrawingResourceTest : public GpuTest {
 protected:
  void SetUp() override {
    GpuTest::SetUp();
    direct2D_.emplace();
    install_.makeFolder("data");
    System::FileName::resetVariableList(install_.path());
    Resource::buildBuiltinPaths(paths_);
  }
  void TearDown() override {
    System::FileName::resetVariableList();
    direct2D_.reset();
    GpuTest::TearDown();
  }

  TempFolder install_;
  Resource::BuiltinPaths paths_;
  std::shared_ptr<Effect::EffectItemSelect::SharedList> choices_ =
      Effect::EffectItemSelect::createSharedList();
  std::optional<System::ServiceHolder<Media::Direct2DService>> direct2D_;
};

}  // namespace TestSupport
