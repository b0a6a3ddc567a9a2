// The text engine at full HD: a 200-character Japanese text with an edge, laid out and drawn
// into a 1080p image, and the same text drawn character by character into an atlas and cut
// into 200 images.
#include <benchmark/benchmark.h>

#include <string>

#include "gpu/direct3d_service.h"
#include "gpu/draw2d/direct2d_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/text/text_draw.h"
#include "system/service_holder.h"

namespace {

struct TextWorld {
  TextWorld() {
    const std::u16string sentence = u"吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。";
    while (text.size() < 200) text += sentence;
    text.resize(200);
    // Ten lines of twenty characters.
    for (std::size_t i = 20; i < text.size(); i += 21) text.insert(i, 1, u'\n');
  }
  System::ServiceHolder<Media::Direct3DService> direct3D;
  System::ServiceHolder<Media::Direct2DService> direct2D;
  std::u16string text;
};

TextWorld& world() {
  static TextWorld instance;
  return instance;
}

void fill(Media::TextDraw& text, const std::u16string& content) {
  text.text = content.c_str();
  text.baseFamily = u"Noto Sans CJK JP";
  text.baseSize = 48.0f;
  text.edgeRatio = 0.15f;
  text.roundedEdge = true;
  text.baseColor = {1, 1, 1, 1};
  text.baseEdgeColor = {0, 0, 0, 1};
}

void BM_GpuTextDraw200Japanese(benchmark::State& state) {
  TextWorld& texts = world();
  Media::ResourceBuffer image(1920, 1080);
  image.createRenderTargetView();
  const float clear[4] = {0, 0, 0, 0};
  for (auto _ : state) {
    Media::TextDraw text;
    fill(text, texts.text);
    text.measure();
    image.clearRenderTarget(clear);
    text.draw(image);
    benchmark::DoNotOptimize(image.readBack());
  }
}
BENCHMARK(BM_GpuTextDraw200Japanese)->Unit(benchmark::kMillisecond);

void BM_GpuTextDrawEachCharacter200(benchmark::State& state) {
  TextWorld& texts = world();
  for (auto _ : state) {
    Media::TextDraw text;
    fill(text, texts.text);
    text.measure();
    text.individual = true;
    text.cells.reserve(static_cast<std::size_t>(text.characterIndex));
    Media::ResourceBuffer atlas(text.atlasImageWidth(), text.atlasImageHeight());
    atlas.createRenderTargetView();
    const float clear[4] = {0, 0, 0, 0};
    atlas.clearRenderTarget(clear);
    text.draw(atlas);
    int images = 0;
    text.splitCharacters(atlas, [&](std::unique_ptr<Media::ResourceBuffer>&, int32_t, float,
                                    float, float) { ++images; });
    if (images != 200) state.SkipWithError("not every character was cut out");
  }
}
BENCHMARK(BM_GpuTextDrawEachCharacter200)->Unit(benchmark::kMillisecond);

}  // namespace
