#include "output/avi_file_save_file.h"

#include <algorithm>
#include <mutex>

#include "media/image/dib_convert.h"
#include "media/input/read_buffers.h"
#include "output/avi_file_save.h"
#include "output/riff_file.h"
#include "system/exception.h"
#include "system/file.h"

namespace Plugin {
namespace {

using AviRiff::fourCC;

constexpr uint32_t kJunk = fourCC("JUNK");
// Index entries reserved up front (two chunks per frame), at most this many.
constexpr uint64_t kMaxReservedEntries = uint64_t{1} << 20;

uint64_t writeImage(RiffFile& riff, const ByteImage& image, uint32_t id) {
  return riff.writeChunk(image.data(), image.size(), id);
}

void rewriteImage(RiffFile& riff, const ByteImage& image) {
  riff.rewrite(image.position, image.data(), image.size());
}

}  // namespace

AviFileSaveFile::AviFileSaveFile(std::string path, const AviFileSave& plugin)
    : OutputFile(std::move(path), true), plugin_(plugin) {}

AviFileSaveFile::AviFileSaveFile(std::string path, const AviFileSave& plugin,
                                 const ExportScene& scene, std::shared_ptr<ExportSource> source,
                                 ExportCaches& caches)
    : OutputFile(std::move(path), true, scene, std::move(source), caches), plugin_(plugin) {}

AviFileSaveFile::~AviFileSaveFile() = default;

bool AviFileSaveFile::save() {
  // The rates are checked when the export is made; a scene without a picture size (none
  // open) cannot be described as a video stream.
  const ExportScene& scene = this->scene();
  if (scene.width <= 0 || scene.height <= 0)
    throw System::makeFormattedException("Plugin::AviFileSaveFile::save", "invalid image size.",
                                         "%d x %d", scene.width, scene.height);
  resolveFormats();
  // Two frames rendered ahead (as for the plug-in writers): the next frames are drawn while
  // this one is written, instead of the render waiting for every write.
  setVideoBufferSize(4);
  setAudioBufferSize(4);

  System::SafeFileWriter target(path());
  RiffFile riff(target.file());
  writeHeaders(riff);
  const int32_t count = frameCount();
  for (int32_t i = 0; i < count; ++i) {
    if (isAborted()) break;
    // A full part is closed before the next frame rather than after the last one, so that
    // no part is ever empty.
    if (!entries_.empty() && riff.position() - partStart_ > partLimit_) changeRiffChunk(riff);
    progress().total = static_cast<uint32_t>(count);
    progress().position = static_cast<uint32_t>(i);
    writeVideoFrame(riff, startFrame() + i);
    writeAudioFrame(riff, startFrame() + i);
  }
  finishRiffChunk(riff);
  target.commit();
  return true;
}

void AviFileSaveFile::resolveFormats() {
  videoFormat_ = aviVideoFormat(plugin_.videoType());
  audioFormat_ = aviAudioFormat(plugin_.audioType());
}

void AviFileSaveFile::writeHeaders(RiffFile& riff) {
  const ExportScene& scene = this->scene();
  Media::BitmapInfoHeader bitmap;
  Media::getBitmapInfoHeader(bitmap, videoFormat_, scene.width, scene.height);

  mainHeader_ = AviImage::mainHeader(scene);
  videoHeader_ = AviImage::videoStreamHeader(scene, bitmap.compression);
  audioHeader_ = AviImage::audioStreamHeader(scene, audioFormat_);
  videoSuperIndex_ = AviImage::superIndex(AviImage::kVideoChunk);
  audioSuperIndex_ = AviImage::superIndex(AviImage::kAudioChunk);
  odmlList_ = AviImage::odmlList();
  entries_.clear();
  entries_.reserve(static_cast<std::size_t>(
      std::min<uint64_t>(static_cast<uint64_t>(std::max(frameCount(), 0)) * 2 + 2,
                         kMaxReservedEntries)));
  videoFrames_ = audioSamples_ = largestVideoChunk_ = largestAudioChunk_ = 0;
  partStart_ = 0;
  finishedParts_ = videoFramesBeforePart_ = audioSamplesBeforePart_ = 0;
  openDml_ = false;

  riffList_ = riff.beginList(AviRiff::kRiff, AviRiff::kAvi);
  const uint64_t hdrl = riff.beginList(AviRiff::kList, AviRiff::kHdrl);
  mainHeader_.position = writeImage(riff, mainHeader_, fourCC("avih"));

  uint64_t strl = riff.beginList(AviRiff::kList, AviRiff::kStrl);
  videoHeader_.position = writeImage(riff, videoHeader_, AviRiff::kStrh);
  writeImage(riff, AviImage::bitmapFormat(bitmap), AviRiff::kStrf);
  videoSuperIndex_.position = riff.writeZeroChunk(AviImage::kSuperIndexSize, kJunk);
  riff.endChunk(strl);

  strl = riff.beginList(AviRiff::kList, AviRiff::kStrl);
  audioHeader_.position = writeImage(riff, audioHeader_, AviRiff::kStrh);
  writeImage(riff, AviImage::waveFormat(scene, audioFormat_), AviRiff::kStrf);
  audioSuperIndex_.position = riff.writeZeroChunk(AviImage::kSuperIndexSize, kJunk);
  riff.endChunk(strl);

  odmlList_.position = riff.writeZeroChunk(AviImage::kOdmlListSize, kJunk);
  riff.endChunk(hdrl);
  writePadding(riff);
  moviList_ = riff.beginList(AviRiff::kList, AviRiff::kMovi);
}

// A 'JUNK' chunk that makes the 'movi' list after it begin its first media chunk at a
// multiple of 2048 bytes (20 = this chunk's header and the list's).
void AviFileSaveFile::writePadding(RiffFile& riff) {
  const uint32_t alignment = AviImage::kPaddingAlignment;
  const auto size = static_cast<uint32_t>(alignment - (riff.position() + 20) % alignment);
  riff.writeZeroChunk(size, kJunk);
}

void AviFileSaveFile::writeVideoFrame(RiffFile& riff, int frame) {
  const ExportScene& scene = this->scene();
  const auto image = requireVideoFrame(frame, videoFormat_, true);
  // The stream's format says every frame has the scene's size and the chosen format.
  if (image->format != videoFormat_ || image->width != static_cast<uint32_t>(scene.width) ||
      image->height != static_cast<uint32_t>(scene.height))
    throw System::makeFormattedException("Plugin::AviFileSaveFile::writeVideoFrame",
                                         "invalid image size.", "frame = %d, %u x %u", frame,
                                         image->width, image->height);

  Media::VideoReadBuffer& buffer = Media::exportReadBuffers().video;
  std::lock_guard lock(buffer.mutex);
  const uint32_t size = buffer.storeImage(*image);
  entries_.push_back({static_cast<int64_t>(riff.position()), size, 0});
  largestVideoChunk_ = std::max(largestVideoChunk_, size);
  ++videoFrames_;
  riff.writeChunk(buffer.data.data(), size, AviImage::kVideoChunk);
}

void AviFileSaveFile::writeAudioFrame(RiffFile& riff, int frame) {
  constexpr const char* place = "Plugin::AviFileSaveFile::writeAudioFrame";
  const auto block = requireAudioFrame(frame, audioFormat_.formatTag);
  const uint64_t size =
      static_cast<uint64_t>(std::max(block->sampleCount, 0)) * audioFormat_.blockAlign;
  if (block->sampleCount < 0 || block->formatTag != audioFormat_.formatTag ||
      block->blockAlign() != audioFormat_.blockAlign || size > block->data.size())
    throw System::makeFormattedException(place, "invalid audio data.", "frame = %d", frame);
  // The stream's length counts samples in 32 bits.
  if (static_cast<uint64_t>(audioSamples_) + static_cast<uint64_t>(block->sampleCount) >
      UINT32_MAX)
    throw System::makeFormattedException(place, "too many audio samples.", "frame = %d", frame);

  entries_.push_back({static_cast<int64_t>(riff.position()), static_cast<uint32_t>(size), 1});
  largestAudioChunk_ = std::max(largestAudioChunk_, static_cast<uint32_t>(size));
  audioSamples_ += static_cast<uint32_t>(block->sampleCount);
  riff.writeChunk(block->data.data(), static_cast<uint32_t>(size), AviImage::kAudioChunk);
}

void AviFileSaveFile::changeRiffChunk(RiffFile& riff) {
  openDml_ = true;
  finishRiffChunk(riff);
  ++finishedParts_;
  partStart_ = riff.position();
  videoFramesBeforePart_ = videoFrames_;
  audioSamplesBeforePart_ = audioSamples_;
  entries_.clear();
  if (finishedParts_ >= AviImage::kSuperIndexEntries)
    throw System::makeException("Plugin::AviFileSaveFile::changeRiffChunk",
                                "exceeded super index entry max.");
  riffList_ = riff.beginList(AviRiff::kRiff, fourCC("AVIX"));
  writePadding(riff);
  moviList_ = riff.beginList(AviRiff::kList, AviRiff::kMovi);
}

void AviFileSaveFile::finishRiffChunk(RiffFile& riff) {
  if (openDml_) {
    if (isFirstPart()) {
      riff.renameChunk(videoSuperIndex_.position, AviRiff::kIndx);
      riff.renameChunk(audioSuperIndex_.position, AviRiff::kIndx);
    }
    writeStandardIndex(riff, 0);
    writeStandardIndex(riff, 1);
  }
  riff.endChunk(moviList_);
  if (isFirstPart()) writeImage(riff, AviImage::legacyIndex(entries_, moviList_), AviRiff::kIdx1);
  riff.endChunk(riffList_);
  updateHeaders(riff);
}

// The part's standard index of one stream, entered first in the stream's super index.
void AviFileSaveFile::writeStandardIndex(RiffFile& riff, int16_t stream) {
  const bool video = stream == 0;
  const ByteImage index = AviImage::standardIndex(
      video ? AviImage::kVideoChunk : AviImage::kAudioChunk, moviList_ + 4, entries_, stream);
  const uint32_t duration = video ? videoFrames_ - videoFramesBeforePart_
                                  : audioSamples_ - audioSamplesBeforePart_;
  ByteImage& superIndex = video ? videoSuperIndex_ : audioSuperIndex_;
  AviImage::setSuperIndexEntry(superIndex, finishedParts_, riff.position(), index.size(),
                               duration);
  rewriteImage(riff, superIndex);
  writeImage(riff, index, video ? fourCC("ix00") : fourCC("ix01"));
}

void AviFileSaveFile::updateHeaders(RiffFile& riff) {
  if (isFirstPart()) {
    mainHeader_.set32(AviImage::kMainTotalFrames, videoFrames_);
    rewriteImage(riff, mainHeader_);
  }
  if (openDml_) {
    if (isFirstPart()) riff.renameChunk(odmlList_.position, AviRiff::kList);
    AviImage::setOdmlTotalFrames(odmlList_, videoFrames_);
    rewriteImage(riff, odmlList_);
  }
  AviImage::setStreamLength(videoHeader_, videoFrames_, largestVideoChunk_);
  rewriteImage(riff, videoHeader_);
  AviImage::setStreamLength(audioHeader_, audioSamples_, largestAudioChunk_);
  rewriteImage(riff, audioHeader_);
}

}  // namespace Plugin
