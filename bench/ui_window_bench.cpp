// Cost of the window framework's work per input event: the hit test over many targets on a
// pointer move, and one step of a separator drag, which lays out and redraws the whole
// window inside one draw bracket.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <vector>

#include "system/service_holder.h"
#include "ui/window_client.h"
#include "ui/window_mouse.h"
#include "ui/window_service.h"

namespace {

// The toolkit needs its application object once per process, without a display.
QApplication& application() {
  static int argc = 1;
  static char name[] = "velumo_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

class Target : public Window::WindowMouse {
 public:
  Target(Window::Rect area, int32_t priority) : WindowMouse(&area_, priority), area_(area) {}
  void procMouseMove(int32_t x, int32_t y) override { benchmark::DoNotOptimize(x + y); }

 private:
  Window::Rect area_;
};

class Pane : public Window::WindowClientRenderTarget {
 public:
  Pane(int index, float left, float right)
      : WindowClientRenderTarget("pane", "Window.bench." + std::to_string(index),
                                 {left, 0.0f, right, 1.0f, kCentre, true}) {}
  void procPaint() override {
    Media::RenderTarget::DrawScope scope(*drawing.renderTarget, rect.x, rect.y,
                                         rect.x + rect.width, rect.y + rect.height, true);
    drawing.renderTarget->fillRectangle(0, 0, rect.width, rect.height,
                                        *drawing.styleBrushes->Background.get());
  }
};

// A pointer moving across a grid of overlapping controls: each move hit-tests all of them.
void BM_PointerMoveHitTest(benchmark::State& state) {
  application();
  System::ServiceHolder<Window::WindowService> service;
  Window::WindowMouseService& mice = *Window::WindowMouseService::instance();
  std::vector<std::unique_ptr<Target>> targets;
  const int count = static_cast<int>(state.range(0));
  for (int i = 0; i < count; ++i)
    targets.push_back(std::make_unique<Target>(
        Window::Rect{(i % 20) * 30, (i / 20) * 20, 60, 40}, 100 + (i % 3)));
  int step = 0;
  for (auto _ : state) {
    ++step;
    mice.mouseMove(step % 600, (step * 7) % 400);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PointerMoveHitTest)->Arg(20)->Arg(200)->Arg(1000);

// One separator drag step among ten docked windows in a 1280 by 720 window.
void BM_SeparatorDragStep(benchmark::State& state) {
  application();
  System::ServiceHolder<Window::WindowService> service;
  Window::WindowService& windows = *Window::WindowService::instance();
  windows.resize(1280, 720);
  std::vector<std::unique_ptr<Pane>> panes;
  for (int i = 0; i < 10; ++i)
    panes.push_back(std::make_unique<Pane>(i, i / 10.0f, (i + 1) / 10.0f));
  windows.resize(1280, 720);
  Window::WindowMouseService& mice = *Window::WindowMouseService::instance();
  const int separatorX = panes[4]->rect.x + panes[4]->rect.width + 2;
  mice.mouseMove(separatorX, 300);
  mice.lButtonDown(separatorX, 300);
  int step = 0;
  for (auto _ : state) {
    ++step;
    mice.mouseMove(separatorX + 10 + (step % 40), 300);
  }
  mice.lButtonUp(separatorX, 300);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SeparatorDragStep);

}  // namespace
