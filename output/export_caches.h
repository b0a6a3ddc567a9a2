#pragma once
// The two read-ahead caches of an export: rendered frames and their sound, one entry per
// frame number, each of weight 1 (a cache's limit is a number of frames). The output
// service owns one pair for the whole program; only one export runs at a time.
#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "system/preload_cache.h"

namespace Plugin {

struct ExportCaches {
  System::PreLoadCache<int, Media::ImageBuffer> image;
  System::PreLoadCache<int, Media::RawAudioBuffer> audio;

  // Waits for the loads under way and drops every entry.
  void clear() {
    image.clear();
    audio.clear();
  }
  void stop() {
    image.stop();
    audio.stop();
  }
};

}  // namespace Plugin
