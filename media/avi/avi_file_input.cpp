#include "media/avi/avi_file_input.h"

#include <algorithm>
#include <cstring>

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/avi/avi_file_parse.h"
#include "media/avi/avi_frame_copy.h"
#include "media/avi/avi_riff.h"
#include "system/exception.h"
#include "system/log.h"

namespace Plugin {

using namespace AviRiff;

namespace {

constexpr const char* kOpenPlace = "Plugin::AviFileInput::open";

}  // namespace

AviFileInput::AviFileInput() = default;
AviFileInput::~AviFileInput() = default;

void AviFileInput::open(const std::string& path) {
  path_ = path;
  FileParse(*this).open(path);
  setUpVideo();
  setUpAudio();
  if (!description_.hasVideo()) videoFile_.close();
  if (description_.hasAudio()) audioFile_.open(path, System::File::Read);
}

void AviFileInput::setUpVideo() {
  if (!description_.hasVideo()) return;
  if (description_.frameCount == 0) {
    description_.kinds &= ~kKindVideo;
    return;
  }
  videoFile_.open(path_, System::File::Read);
  const bool raw = isUncompressedRgb(videoHandler_) || sameFourCC(videoHandler_, kYuy2) ||
                   sameFourCC(videoHandler_, kRu64) || sameFourCC(videoHandler_, kRf64);
  if (raw) {
    if (!setUpRawVideo()) description_.kinds &= ~kKindVideo;
    return;
  }
  auto decompressor = std::make_unique<Media::VideoDecompressor>();
  const auto probe = readProbeFrame();
  if (!decompressor->open(videoFormat_, videoHandler_, probe)) {
    System::Log::info(kOpenPlace, "no video decoder for the stream.");
    description_.kinds &= ~kKindVideo;
    return;
  }
  videoOutput_ = decompressor->outputFormat();
  if (videoOutput_.compression == kYuy2)
    description_.pixelFormat = PixelFormat::kYuy2;
  else if (videoOutput_.bitCount == 32)
    description_.pixelFormat = PixelFormat::kBgra;
  else if (videoOutput_.bitCount == 24)
    description_.pixelFormat = PixelFormat::kBgrx;
  else
    description_.kinds &= ~kKindVideo;
  videoDecompressor_ = std::move(decompressor);
}

// Frames that need no decoder are copied from the chunk as they are stored.
bool AviFileInput::setUpRawVideo() {
  const auto format = BitmapFormat::parse(videoFormat_.data());
  videoOutput_ = Media::BitmapInfoHeader{};
  videoOutput_.width = format.width;
  videoOutput_.height = videoTopDown_ ? -description_.height : description_.height;
  videoOutput_.planes = 1;
  videoOutput_.bitCount = format.bitCount;
  videoOutput_.compression = videoHandler_;
  videoOutput_.sizeImage = static_cast<uint32_t>(AviFrameCopy::frameBytes(videoOutput_));
  if (isUncompressedRgb(videoHandler_) && format.bitCount == 32)
    description_.pixelFormat = PixelFormat::kBgra;
  else if (isUncompressedRgb(videoHandler_) && format.bitCount == 24)
    description_.pixelFormat = PixelFormat::kBgrx;
  else if (sameFourCC(videoHandler_, kYuy2) && format.bitCount == 16)
    description_.pixelFormat = PixelFormat::kYuy2;
  else if (sameFourCC(videoHandler_, kRu64) && format.bitCount == 64)
    description_.pixelFormat = PixelFormat::kRgba64Unorm;
  else if (sameFourCC(videoHandler_, kRf64) && format.bitCount == 64)
    description_.pixelFormat = PixelFormat::kRgba64Float;
  else
    return false;
  return true;
}

// The stream's first stored frame: decoders that learn their picture format from the data
// decode it once at the open.
std::vector<uint8_t> AviFileInput::readProbeFrame() {
  for (const auto& entry : videoIndex_) {
    if (entry.size == 0) continue;
    std::vector<uint8_t> bytes(entry.size);
    videoFile_.seek(static_cast<uint64_t>(entry.offset));
    videoFile_.readBlock(bytes.data(), bytes.size());
    return bytes;
  }
  return {};
}

void AviFileInput::setUpAudio() {
  if (!description_.hasAudio()) return;
  if (description_.audioSampleCount == 0) {
    description_.kinds &= ~kKindAudio;
    return;
  }
  const auto format = WaveFormat::parse(audioFormat_.data());
  int32_t tag = format.formatTag;
  int32_t bits = format.bitsPerSample;
  if (tag != kAudioTagPcm && tag != kAudioTagFloat) {
    Media::PcmFormat output;
    output.channels = format.channels;
    output.samplingRate = static_cast<int32_t>(format.samplesPerSec);
    auto decompressor = std::make_unique<Media::AudioDecompressor>();
    if (!decompressor->open(audioFormat_, output)) {
      System::Log::info(kOpenPlace, "no audio decoder for the stream.");
      description_.kinds &= ~kKindAudio;
      return;
    }
    audioDecompressor_ = std::move(decompressor);
    tag = kAudioTagPcm;
    bits = 16;
    // The header counts the stream's own units (dwRate / dwScale of them a second); the
    // description counts sample frames of the decoded output.
    const auto units = static_cast<unsigned __int128>(description_.audioSampleCount);
    description_.audioSampleCount = static_cast<int64_t>(
        units * streamScale_ * static_cast<uint32_t>(description_.samplingRate) / streamRate_);
    // Less than one output sample is no audio.
    if (description_.audioSampleCount == 0) {
      audioDecompressor_.reset();
      description_.kinds &= ~kKindAudio;
      return;
    }
  }
  if (!((tag == kAudioTagPcm && bits == 16) || (tag == kAudioTagFloat && bits == 32))) {
    audioDecompressor_.reset();
    description_.kinds &= ~kKindAudio;
    return;
  }
  description_.audioFormatTag = tag;
  description_.bitsPerSample = bits;
}

void AviFileInput::readChunk(System::File& file, int64_t offset, uint32_t size,
                             System::AlignedBuffer& buffer) {
  file.seek(static_cast<uint64_t>(offset));
  file.readBlock(buffer.data(), size);
}

std::shared_ptr<Media::ImageBuffer> AviFileInput::readVideo(int32_t frame) {
  if (!videoFile_.isOpen()) return {};
  const int32_t target = std::clamp(frame, 0, description_.frameCount - 1);
  auto& shared = Media::inputReadBuffers().video;
  std::lock_guard lock(shared.mutex);
  auto image = Media::ImageBuffer::makeShared(description_.pixelFormat,
                                              static_cast<uint32_t>(description_.width),
                                              static_cast<uint32_t>(description_.height));
  if (videoDecompressor_)
    decodeFrames(target, *image);
  else
    readRawFrame(target, *image);
  return image;
}

void AviFileInput::readRawFrame(int32_t target, Media::ImageBuffer& image) {
  // Every stored frame stands alone; a dropped frame (size 0) shows the one before it.
  int32_t stored = target;
  while (stored > 0 && videoIndex_[static_cast<std::size_t>(stored)].size == 0) --stored;
  const auto& entry = videoIndex_[static_cast<std::size_t>(stored)];
  if (entry.size == 0) {
    std::memset(image.data(), 0, image.usedSize());
    return;
  }
  // A chunk shorter than a whole frame leaves the rest of the frame black.
  const uint64_t frameBytes = AviFrameCopy::frameBytes(videoOutput_);
  auto& buffer = Media::inputReadBuffers().video.data;
  buffer.allocMemory(std::max<uint64_t>(entry.size, frameBytes));
  readChunk(videoFile_, entry.offset, entry.size, buffer);
  if (entry.size < frameBytes) std::memset(buffer.data() + entry.size, 0, frameBytes - entry.size);
  lastFrame_ = stored;
  AviFrameCopy::copyFromDib(videoOutput_, buffer.data(), image);
}

void AviFileInput::decodeFrames(int32_t target, Media::ImageBuffer& image) {
  auto& decompressor = *videoDecompressor_;
  if (target != lastFrame_ || !decompressor.hasPicture()) {
    // Reading on frame by frame continues from the decoder's state; any other frame starts
    // again at the nearest key frame at or before it (dropped frames do not count as one).
    int32_t start = target;
    const auto entryAt = [&](int32_t frame) -> const VideoIndexEntry& {
      return videoIndex_[static_cast<std::size_t>(frame)];
    };
    while (start > 0 && (entryAt(start).notKey != 0 || entryAt(start).size == 0) &&
           start != lastFrame_ + 1)
      --start;
    if (start != lastFrame_ + 1) decompressor.reset();
    // Until this read ends well the decoder's state is not that of any frame.
    lastFrame_ = -256;
    auto& buffer = Media::inputReadBuffers().video.data;
    for (int32_t frame = start; frame <= target; ++frame) {
      const auto& entry = entryAt(frame);
      if (entry.size != 0) {
        // The decoder may read a little past the chunk: that padding is zeroed.
        buffer.allocMemory(uint64_t{entry.size} + AV_INPUT_BUFFER_PADDING_SIZE);
        readChunk(videoFile_, entry.offset, entry.size, buffer);
        std::memset(buffer.data() + entry.size, 0, AV_INPUT_BUFFER_PADDING_SIZE);
      }
      const bool decoded = decompressor.decode(buffer.data(), entry.size, entry.notKey != 0);
      // A frame on the way that fails leaves its successors to the decoder's concealment;
      // the frame asked for must decode, or the read fails.
      if (!decoded && frame == target)
        throw System::makeFormattedException("Media::VideoDecompressor::decode",
                                             "failed to decode video frame.", "frame = %d",
                                             target);
    }
    lastFrame_ = target;
  }
  AviFrameCopy::copyFromDib(decompressor.outputFormat(), decompressor.outputData(), image);
}

std::shared_ptr<Media::AudioBlockBuffer> AviFileInput::readAudio(int32_t block) {
  if (!audioFile_.isOpen()) return {};
  block = std::max(block, 0);
  auto& shared = Media::inputReadBuffers().audio;
  std::lock_guard lock(shared.mutex);
  auto& raw = shared.startBlock(description_);
  try {
    fillAudioBlock(block, raw.data.data(), raw.data.size());
  } catch (...) {
    // The decoder's state no longer follows any block: the next read places itself anew.
    lastAudioBlock_ = -256;
    throw;
  }
  return std::make_shared<Media::AudioBlockBuffer>(raw);
}

uint64_t AviFileInput::fillAudioBlock(int32_t block, uint8_t* target, uint64_t size) {
  uint64_t filled = 0;
  uint64_t offsetInEntry = 0;
  if (audioDecompressor_ && block == lastAudioBlock_ + 1) {
    // The next second of a sequential read: the decoded bytes left over come first.
    filled = audioDecompressor_->takeDecoded(target, size);
  } else {
    // Byte position of the block in the stream; a position past the end reads nothing.
    const auto position = static_cast<unsigned __int128>(streamRate_ / streamScale_) *
                          blockAlign_ * static_cast<uint32_t>(block);
    const auto after =
        std::partition_point(audioIndex_.begin(), audioIndex_.end(), [&](const auto& entry) {
          return static_cast<unsigned __int128>(entry.position) < position;
        });
    nextAudioEntry_ = static_cast<std::size_t>(std::max<std::ptrdiff_t>(after - audioIndex_.begin() - 1, 0));
    if (!audioIndex_.empty()) {
      const auto start = static_cast<unsigned __int128>(audioIndex_[nextAudioEntry_].position);
      const auto inside = position > start ? position - start : 0;
      offsetInEntry = inside > UINT64_MAX ? UINT64_MAX : static_cast<uint64_t>(inside);
    }
    if (audioDecompressor_) audioDecompressor_->reset();
  }
  lastAudioBlock_ = block;
  while (filled < size && nextAudioEntry_ < audioIndex_.size()) {
    const auto& entry = audioIndex_[nextAudioEntry_++];
    const uint64_t skip = offsetInEntry;
    offsetInEntry = 0;
    if (skip >= entry.size) continue;
    const uint64_t available = entry.size - skip;
    audioFile_.seek(static_cast<uint64_t>(entry.offset) + skip);
    if (!audioDecompressor_) {
      const uint64_t count = std::min(size - filled, available);
      audioFile_.readBlock(target + filled, count);
      filled += count;
    } else {
      audioFile_.readBlock(audioDecompressor_->reserveSourceData(available), available);
      audioDecompressor_->commitSourceData(available);
      audioDecompressor_->decode();
      filled += audioDecompressor_->takeDecoded(target + filled, size - filled);
    }
  }
  return filled;
}

}  // namespace Plugin
