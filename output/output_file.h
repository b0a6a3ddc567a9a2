#pragma once
// One export run: the output path, the frames and samples to write, the abort flag, the
// progress, and the supply of rendered frames and sound that a writer draws from.
//
// A writer derives from it and implements save(), which runs on the "OutputFileWorker"
// thread. Frames and sound are made on demand by an ExportSource (normally the render
// engine's workers) and kept, with a small read-ahead, in the export caches: while the
// writer encodes frame n, frame n + 1 is already being rendered.
#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "output/export_caches.h"
#include "output/export_source.h"

namespace Plugin {

// Frame formats a writer may ask for (the program's pixel-format numbers).
inline constexpr int32_t kFrameBgra32 = 87;
inline constexpr int32_t kFrameBgr24 = 88;
inline constexpr int32_t kFrameYuy2 = 107;
inline constexpr int32_t kFrameRgba64 = 11;
inline constexpr int32_t kFrameRgba64Float = 10;
inline constexpr int32_t kFrameYcc48 = 13;
// Audio format tags.
inline constexpr int32_t kAudioPcm16 = 1;
inline constexpr int32_t kAudioFloat32 = 3;

// Milliseconds of the monotonic clock: the progress record's start tick and its reading.
uint64_t monotonicMilliseconds();

class OutputFile {
 public:
  // Written by the writer (the worker), read by the UI thread's progress display.
  struct Progress {
    std::atomic<uint32_t> position{0};
    std::atomic<uint32_t> total{0};
    uint64_t startTick = 0;  // milliseconds of the monotonic clock
  };

  // The export of the edit service's current scene, through the render engine and the
  // output service's caches.
  OutputFile(std::string path, bool notify);
  // The export of `scene` with frames and sound from `source`, kept in `caches` (tests,
  // benchmarks). The caches are emptied first and must outlive the file.
  OutputFile(std::string path, bool notify, const ExportScene& scene,
             std::shared_ptr<ExportSource> source, ExportCaches& caches);
  virtual ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Writes the whole export; runs once, on the export worker. True when the file was
  // written (also after an abort).
  virtual bool save() = 0;

  // The frame (an absolute scene frame, clamped to the scene) in `format`, with straight
  // alpha or premultiplied; empty when it could not be made (failure() then tells why).
  // Requests the next frames of the read-ahead depth first.
  std::shared_ptr<Media::ImageBuffer> getVideoFrame(int frame, int format, bool straightAlpha);
  // The sound of exactly that frame, interleaved stereo in the format tag (1 or 3); empty
  // when it could not be made.
  std::shared_ptr<Media::RawAudioBuffer> getAudioFrame(int frame, int formatTag);
  // `count` samples from the absolute sample `start` (fewer when the scene ends first, or
  // when a frame's sound could not be made: the run stops there).
  void getAudioSamples(Media::RawAudioBuffer& out, int64_t start, uint32_t count,
                       int32_t formatTag);
  // As getVideoFrame / getAudioFrame, but a frame that could not be made throws the error
  // that stopped it: a writer that must not leave a gap uses these.
  std::shared_ptr<Media::ImageBuffer> requireVideoFrame(int frame, int format, bool straightAlpha);
  std::shared_ptr<Media::RawAudioBuffer> requireAudioFrame(int frame, int formatTag);

  // Read-ahead depths: 0 and 1 (and anything below) become 1; at most kMaxReadAhead.
  void setVideoBufferSize(int depth);
  void setAudioBufferSize(int depth);
  static constexpr int kMaxReadAhead = 64;

  // The footer's status text for the progress now: "%3.2f%% (%d/%d)", with the remaining
  // time and the frame rate after 15 seconds and 15 frames.
  std::string progressText(uint64_t nowTick) const;
  float progressFraction() const;

  const std::string& path() const { return path_; }
  const ExportScene& scene() const { return scene_; }
  int32_t startFrame() const { return startFrame_; }
  int32_t frameCount() const { return frameCount_; }
  int64_t startSample() const { return startSample_; }
  int64_t sampleCount() const { return sampleCount_; }
  int32_t lastFrame() const { return scene_.lastFrame; }
  bool notify() const { return notify_; }
  bool isAborted() const { return abort_.load(); }
  void setAbort() { abort_ = true; }
  // Set by the export run when save() threw or returned false.
  bool hasFailed() const { return failed_.load(); }
  void setFailed() { failed_ = true; }
  // Waits until every render the source posted has finished (the end of the export).
  void flushSource() { source_->flush(); }
  Progress& progress() { return progress_; }
  const Progress& progress() const { return progress_; }
  // The first error that kept a frame or a frame's sound from being made, or null.
  std::exception_ptr failure() const;

 private:
  void computeRange();
  template <class Cache, class MakeLoader>
  auto readAhead(Cache& cache, int frame, int depth, const MakeLoader& makeLoader);
  void resetCaches();
  std::shared_ptr<Media::ImageBuffer> loadVideo(int frame, int format, bool straightAlpha);
  void recordFailure(std::exception_ptr failure);
  [[noreturn]] void throwFailure(const char* what, int frame) const;

  std::string path_;
  ExportScene scene_;
  std::shared_ptr<ExportSource> source_;
  ExportCaches& caches_;
  int32_t startFrame_ = 0;
  int32_t frameCount_ = 0;
  int64_t startSample_ = 0;
  int64_t sampleCount_ = 0;
  std::atomic<bool> abort_{false};
  std::atomic<bool> failed_{false};
  bool notify_ = false;
  Progress progress_;
  int videoDepth_ = 1;
  int audioDepth_ = 1;
  mutable std::mutex failureMutex_;
  std::exception_ptr failure_;
};

}  // namespace Plugin
