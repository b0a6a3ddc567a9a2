#pragma once
// The sound of audio and scene objects: decoded audio kept in one-second blocks of the source,
// from which any stretch of output samples is built as a stereo float buffer at the output
// rate, played at a given speed (negative plays backwards) from a given point of the source.
//
// File blocks are decoded on the cache's own thread. Blocks of a scene used as a source are
// rendered by the audio render worker and stored from its thread.
#include <cstdint>
#include <memory>
#include <string>

#include "render/cache_keys.h"
#include "system/config.h"
#include "system/preload_cache.h"

namespace Media {
class AudioBlockBuffer;
class AudioBuffer;
}  // namespace Media
namespace Plugin {
class InputService;
}

namespace Cache {

// Where the first wanted output sample lies, counted at the output rate.
struct AudioPosition {
  int64_t position = 0;
  uint32_t outputRate = 0;
};

// An output position expressed in the source's blocks: the sample (block, index) and how far
// past it, in units of 1/denominator of a source sample; step is one output sample's length in
// those units.
struct AudioBlockPosition {
  int32_t block = 0;
  int32_t blockLength = 0;
  int32_t index = 0;
  int32_t fraction = 0;
  int32_t denominator = 0;
  int32_t step = 0;
};

// Source rate R, offset D (source seconds at position 0), speed S.
AudioBlockPosition getAudioBlockPosition(const AudioPosition& position, int32_t sourceRate,
                                         double offset, double speed);

class AudioCache {
 public:
  using Store = System::PreLoadCache<AudioCacheKey, Media::AudioBlockBuffer, SourceKeyHash>;

  // Loads [Cache] AudioCacheSize (megabytes, default 64).
  explicit AudioCache(Plugin::InputService& inputs);
  ~AudioCache();
  AudioCache(const AudioCache&) = delete;
  AudioCache& operator=(const AudioCache&) = delete;

  // `count` stereo samples at the output rate starting at the position, or empty when the
  // source has no sound. Blocks not cached are decoded now; a scene's blocks are taken only
  // when cached or being rendered. A block that cannot be read ends the sound there: the
  // rest is silence.
  std::unique_ptr<Media::AudioBuffer> getAudio(const std::string& name,
                                               const AudioPosition& position, int32_t count,
                                               double offset, double speed);
  // Starts decoding every block the same getAudio would read.
  void preloadAudio(const std::string& name, const AudioPosition& position, int32_t count,
                    double offset, double speed);

  void forgetScene(int sceneId);
  int32_t audioCacheSize() const { return audioCacheSize_; }
  void setAudioCacheSize(int32_t megabytes);
  void stop() { store_.stop(); }
  Store& store() { return store_; }

 private:
  // The source's sampling rate; 0 for no sound.
  int32_t sourceRate(const std::string& name);
  Store::Loader blockLoader(const AudioCacheKey& key);
  // Has the audio render worker render the scene's blocks that are neither cached nor
  // under way.
  void preloadSceneBlocks(const std::string& name, int32_t first, int32_t last);
  std::shared_ptr<Media::AudioBlockBuffer> fetch(const std::string& name, int32_t block,
                                                 bool scene);

  Plugin::InputService& inputs_;
  int32_t audioCacheSize_ = 64;
  System::Config::Section config_{"Cache"};
  System::Config::Int sizeParameter_{config_, "AudioCacheSize", &audioCacheSize_, 64};
  std::unique_ptr<System::Config::Binding> binding_;
  Store store_;
};

}  // namespace Cache
