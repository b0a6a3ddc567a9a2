// The cost of the effect registry's lookups. Finding a kind by name and making an instance
// happen for every effect a project file or a script names, on the UI thread and on the
// render workers; they must stay hash lookups however many kinds (built-in and scripts) are
// registered. The menu lists walk and sort everything and are measured for scale only.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"
#include "effect/effect_service.h"
#include "system/file.h"
#include "system/log.h"
#include "system/service_holder.h"

namespace {

using namespace Effect;

// A filter kind with a handful of items, under a name kept alive by the caller.
class BenchFilter : public EffectBase {
 public:
  BenchFilter(const char* name, uint8_t media)
      : EffectBase(name, EffectType::Filter, media, media, "ベンチ") {}
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<BenchFilter>(name, mediaType);
  }
  EffectItemNumber x{items, "X", 0, -1000, 1000, 0.1};
  EffectItemNumber y{items, "Y", 0, -1000, 1000, 0.1};
  EffectItemNumber zoom{items, "拡大率", 100, 0, 5000, 0.01};
};

// A registry of `count` kinds in a scratch data folder of its own.
class BenchRegistry {
 public:
  explicit BenchRegistry(int count) {
    System::Log::setOutput(System::Log::discardOutput);
    std::string pattern = (std::filesystem::temp_directory_path() / "velumo-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data())) folder_ = pattern;
    std::filesystem::create_directories(folder_ / "data");
    System::FileName::resetVariableList(folder_.string());
    for (int i = 0; i < count; ++i) names_.push_back("効果" + std::to_string(i));
    EffectService::Catalogue catalogue;
    catalogue.firstEffects = [this](EffectService& registry) {
      for (std::size_t i = 0; i < names_.size(); ++i)
        registry.registerEffect<BenchFilter>(names_[i].c_str(),
                                             i % 2 ? MediaType::Video : MediaType::Audio);
    };
    EffectService::setCatalogue(std::move(catalogue));
    holder_ = std::make_unique<System::ServiceHolder<EffectService>>();
  }
  ~BenchRegistry() {
    holder_.reset();
    EffectService::setCatalogue({});
    System::FileName::resetVariableList();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  EffectService& registry() { return *EffectService::instance(); }
  const std::string& name(std::size_t i) const { return names_[i % names_.size()]; }

 private:
  std::filesystem::path folder_;
  std::vector<std::string> names_;
  std::unique_ptr<System::ServiceHolder<EffectService>> holder_;
};

void BM_FindEffect(benchmark::State& state) {
  BenchRegistry bench(static_cast<int>(state.range(0)));
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(bench.registry().findEffect(bench.name(i++)));
}
BENCHMARK(BM_FindEffect)->Arg(100)->Arg(1000)->Arg(10000);

void BM_CreateEffect(benchmark::State& state) {
  BenchRegistry bench(static_cast<int>(state.range(0)));
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(bench.registry().createEffect(bench.name(i++)));
}
BENCHMARK(BM_CreateEffect)->Arg(100)->Arg(10000);

void BM_FilterMenuList(benchmark::State& state) {
  BenchRegistry bench(static_cast<int>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(bench.registry().getEffectList(EffectService::kFilterKinds, 1, 0));
}
BENCHMARK(BM_FilterMenuList)->Arg(100)->Arg(1000);

}  // namespace
