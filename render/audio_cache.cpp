#include "render/audio_cache.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "edit/scene.h"
#include "media/audio/audio_buffer.h"
#include "media/input/input_file.h"
#include "media/input/input_service.h"
#include "render/render_service.h"
#include "system/setting_service.h"

namespace Cache {
namespace {

constexpr uint64_t kMegabyte = uint64_t{1} << 20;
constexpr int32_t kQueueLimit = 8;

uint64_t weightOf(const Media::AudioBuffer& block) {
  return static_cast<uint64_t>(block.channels()) * static_cast<uint64_t>(block.sampleCount()) *
         sizeof(float);
}

// Rounds to the nearest integer, halves away from zero.
int64_t roundAway(double value) { return static_cast<int64_t>(std::llround(value)); }

}  // namespace

AudioBlockPosition getAudioBlockPosition(const AudioPosition& position, int32_t sourceRate,
                                         double offset, double speed) {
  const int64_t rate = sourceRate;
  const int64_t outputRate = position.outputRate;
  AudioBlockPosition result;
  result.blockLength = sourceRate;
  result.denominator = static_cast<int32_t>(outputRate);
  const int64_t step = speed == 1.0 ? rate : std::llabs(roundAway(static_cast<double>(rate) * speed));
  result.step = static_cast<int32_t>(step);
  if (rate <= 0 || outputRate <= 0) return result;
  int64_t x = step * position.position;
  if (offset != 0.0) {
    const uint64_t unitsPerSecond = static_cast<uint64_t>(outputRate) * static_cast<uint64_t>(rate);
    x += roundAway(static_cast<double>(unitsPerSecond) * offset);
  }
  // A position before the source's start plays from its first sample.
  if (x <= 0) x = 0;
  result.block = static_cast<int32_t>(
      std::min<int64_t>((x / outputRate) / rate, std::numeric_limits<int32_t>::max()));
  result.index = static_cast<int32_t>((x / outputRate) % rate);
  result.fraction = static_cast<int32_t>(x % outputRate);
  return result;
}

AudioCache::AudioCache(Plugin::InputService& inputs) : inputs_(inputs) {
  binding_ = std::make_unique<System::Config::Binding>(config_, Setting::ParameterIni::instance());
  binding_->load();
  store_.setLimit(static_cast<uint64_t>(std::max(audioCacheSize_, 0)) * kMegabyte);
  store_.setQueueLimit(kQueueLimit);
}

AudioCache::~AudioCache() {
  store_.stop();
  binding_.reset();  // saves [Cache]
}

void AudioCache::setAudioCacheSize(int32_t megabytes) {
  audioCacheSize_ = megabytes;
  store_.setLimit(static_cast<uint64_t>(std::max(megabytes, 0)) * kMegabyte);
}

void AudioCache::forgetScene(int sceneId) {
  const std::string name = getSceneFileName(sceneId);
  store_.removeIf([&](const AudioCacheKey& key) { return key.name == name; });
}

int32_t AudioCache::sourceRate(const std::string& name) {
  if (isSceneFileName(name)) {
    auto scene = getSceneFromFileName(name);
    return scene ? std::max(scene->audioRate, 0) : 0;
  }
  auto file = inputs_.getInputFile(name, 2);
  return file ? std::max(file->description().samplingRate, 0) : 0;
}

AudioCache::Store::Loader AudioCache::blockLoader(const AudioCacheKey& key) {
  return [this, key] {
    auto file = inputs_.getInputFile(key.name, 2);
    if (!file) return;
    auto block = file->readAudio(key.number);
    if (!block) return;
    const uint64_t weight = weightOf(*block);
    store_.store(key, std::move(block), weight);
  };
}

std::shared_ptr<Media::AudioBlockBuffer> AudioCache::fetch(const std::string& name, int32_t block,
                                                           bool scene) {
  if (block < 0) return {};
  AudioCacheKey key{name, block};
  return store_.get(key, scene ? Store::Loader{} : blockLoader(key));
}

std::unique_ptr<Media::AudioBuffer> AudioCache::getAudio(const std::string& name,
                                                         const AudioPosition& position,
                                                         int32_t count, double offset,
                                                         double speed) {
  const int32_t rate = sourceRate(name);
  if (rate <= 0 || position.outputRate == 0) return {};
  count = std::max(count, 0);
  auto result = std::make_unique<Media::AudioBuffer>(count, 2);
  result->clear();
  const bool scene = isSceneFileName(name);
  AudioBlockPosition at = getAudioBlockPosition(position, rate, offset, speed);
  const int64_t units = at.denominator;  // B
  const int64_t step = at.step;          // G
  int64_t unconsumed = units - at.fraction;
  int32_t block = at.block;
  int32_t index = at.index;
  auto source = fetch(name, block, scene);
  float* out0 = result->getChannelData(0);
  float* out1 = result->getChannelData(1);
  int32_t done = 0;
  // A block shorter than the source rate (a reader's short last block) counts as silence
  // past its end instead of being read out of bounds.
  auto sampleOf = [&](int channel) -> float {
    if (!source || index >= source->sampleCount()) return 0.0f;
    return source->getChannelData(channel)[index];
  };
  if (source && step != 0) {
    for (; done < count; ++done) {
      float a0 = 0.0f;
      float a1 = 0.0f;
      int64_t left = step;
      bool missing = false;
      while (left != 0) {
        const int64_t m = std::min(left, unconsumed);
        const float w = m == step ? 1.0f : static_cast<float>(m) / static_cast<float>(step);
        a0 += w * sampleOf(0);
        a1 += w * sampleOf(1);
        unconsumed -= m;
        left -= m;
        if (unconsumed == 0) {
          unconsumed = units;
          if (++index >= rate) {
            index = 0;
            source = fetch(name, ++block, scene);
            if (!source) {
              missing = true;
              break;
            }
          }
        }
      }
      // A sample whose whole extent was read counts even when the block after it is
      // missing; one cut short by the missing block does not.
      if (missing && left != 0) break;
      out0[done] = a0;
      out1[done] = a1;
      if (missing) {
        ++done;
        break;
      }
    }
  }
  if (speed < 0.0) {
    std::reverse(out0, out0 + done);
    std::reverse(out1, out1 + done);
  }
  result->clearFrom(done);
  return result;
}

void AudioCache::preloadSceneBlocks(const std::string& name, int32_t first, int32_t last) {
  auto scene = getSceneFromFileName(name);
  Render::RenderService* render = Render::RenderService::instance();
  if (!scene) return;
  for (int32_t block = first; block <= last; ++block) {
    AudioCacheKey key{name, block};
    bool reserved = false;
    if (store_.reserve(key, reserved) || !reserved) continue;
    if (!render) {
      store_.abandon(key);
      continue;
    }
    // The block arrives from the audio render worker's object thread, or nothing does and
    // the reservation is given up; either way its waiters wake.
    try {
      render->audio().createSceneAudioBlock(
          *scene, block, [this, key](std::shared_ptr<Media::AudioBlockBuffer> made) {
            if (!made) {
              store_.abandon(key);
              return;
            }
            const uint64_t weight = weightOf(*made);
            store_.store(key, std::move(made), weight);
          });
    } catch (...) {
      store_.abandon(key);
      throw;
    }
  }
}

void AudioCache::preloadAudio(const std::string& name, const AudioPosition& position,
                              int32_t count, double offset, double speed) {
  const int32_t rate = sourceRate(name);
  if (rate <= 0 || position.outputRate == 0) return;
  const int32_t first = getAudioBlockPosition(position, rate, offset, speed).block;
  AudioPosition end = position;
  end.position += count;
  const int32_t last = getAudioBlockPosition(end, rate, offset, speed).block;
  if (isSceneFileName(name)) {
    preloadSceneBlocks(name, std::max(first, 0), last);
    return;
  }
  for (int32_t block = std::max(first, 0); block <= last; ++block) {
    AudioCacheKey key{name, block};
    store_.request(key, blockLoader(key));
  }
}

}  // namespace Cache

