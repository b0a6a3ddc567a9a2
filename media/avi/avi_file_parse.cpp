#include "media/avi/avi_file_parse.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "system/exception.h"
#include "system/log.h"

namespace Plugin {

using namespace AviRiff;

namespace {

constexpr const char* kOpenPlace = "Plugin::AviFileInput::FileParse::open";
constexpr const char* kVideoHeaderPlace = "Plugin::AviFileInput::FileParse::getVideoStreamHeader";
constexpr const char* kAudioHeaderPlace = "Plugin::AviFileInput::FileParse::getAudioStreamHeader";
constexpr uint64_t kMaxFormatSize = 65536;
// Index entries are read this many at a time, so a large index needs no large buffer.
constexpr uint64_t kEntriesPerRead = 4096;
// Sampling rates and channel counts beyond these are not audio the program can play; the
// one-second read block is sized from them.
constexpr uint32_t kMaxSamplingRate = 768000;
constexpr uint16_t kMaxChannels = 8;

uint16_t streamPrefix(uint32_t id) { return static_cast<uint16_t>(id & 0xFFFF); }
uint16_t streamSuffix(uint32_t id) { return static_cast<uint16_t>(normalizeFourCC(id) >> 16); }
constexpr uint16_t suffix(char first, char second) {
  return static_cast<uint16_t>(static_cast<uint8_t>(first) | static_cast<uint8_t>(second) << 8);
}

}  // namespace

std::vector<uint8_t> AviFileInput::FileParse::readBytes(uint64_t offset, uint64_t size) {
  std::vector<uint8_t> bytes(size);
  file_.seek(offset);
  if (size > 0) file_.readBlock(bytes.data(), size);
  return bytes;
}

bool AviFileInput::FileParse::findChunk(Region& region, uint32_t id, Region& found) {
  while (region.cursor >= region.start && region.end() - region.cursor >= 8 &&
         region.cursor < region.end()) {
    const uint64_t header = region.cursor;
    uint8_t bytes[8];
    file_.seek(header);
    file_.readBlock(bytes, sizeof bytes);
    const uint32_t chunkId = readU32(bytes);
    const uint32_t size = readU32(bytes + 4);
    region.cursor = header + 8 + size + (size & 1);
    // A chunk that claims more than its parent holds is cut to what is there.
    const uint64_t held = std::min<uint64_t>(size, region.end() - (header + 8));
    if (chunkId == id) {
      found = {held, header + 8, header + 8, size};
      return true;
    }
    if (chunkId == kList && held >= 4) {
      uint8_t type[4];
      file_.readBlock(type, sizeof type);
      if (readU32(type) == id) {
        found = {held - 4, header + 12, header + 12, size};
        return true;
      }
    }
  }
  return false;
}

void AviFileInput::FileParse::open(const std::string& path) {
  file_.open(path, System::File::Read);
  fileSize_ = file_.size();
  uint8_t head[12] = {};
  if (fileSize_ >= sizeof head) file_.readBlock(head, sizeof head);
  if (fileSize_ < sizeof head || readU32(head) != kRiff)
    throw System::makeException("Media::RiffFile::getRiffChunk", "invalid RIFF file.");
  if (readU32(head + 8) != kAvi) throw System::makeException(kOpenPlace, "AVI chunk not found.");
  const uint32_t riffSize = readU32(head + 4);
  riff_ = {std::min<uint64_t>(riffSize >= 4 ? riffSize - 4 : 0, fileSize_ - 12), 12, 12};

  if (!findChunk(riff_, kHdrl, hdrl_)) throw System::makeException(kOpenPlace, "hdrl chunk not found.");
  Region odml;
  odml_ = findChunk(hdrl_, kOdml, odml);
  hdrl_.rewind();
  Region strl;
  for (uint32_t number = 0; findChunk(hdrl_, kStrl, strl); ++number) readStreamHeader(strl, number);

  if (standardIndexOffsets_.empty()) {
    riff_.rewind();
    if (!findChunk(riff_, kMovi, movi_)) throw System::makeException(kOpenPlace, "movi chunk not found.");
    riff_.rewind();
    Region idx1;
    if (findChunk(riff_, kIdx1, idx1))
      buildIndexFromIdx1(idx1);
    else
      buildIndexFromMovi();
  } else {
    buildIndexFromStandardIndexes();
  }
  if (audioId_ && input_.blockAlign_ > 0)
    input_.audioTotal_ = static_cast<int64_t>(audioBytes_ / input_.blockAlign_);
  repairCounts();
  file_.close();
}

void AviFileInput::FileParse::readStreamHeader(Region& strl, uint32_t number) {
  Region strh;
  strl.rewind();
  if (!findChunk(strl, kStrh, strh) || strh.size < StreamHeader::kSize) return;
  const auto bytes = readBytes(strh.start, StreamHeader::kSize);
  const auto header = StreamHeader::parse(bytes.data());
  // Stream n names its chunks '0', '0' + n (streams from 10 on are outside what is handled).
  const uint16_t id = suffix('0', static_cast<char>('0' + number));
  if (sameFourCC(header.type, kVids)) {
    if (!readVideoStream(strl, header)) return;
    videoId_ = id;
    input_.description_.kinds |= kKindVideo;
    if (odml_) readSuperIndex(strl, true);
  } else if (sameFourCC(header.type, kAuds)) {
    if (!readAudioStream(strl, header)) return;
    audioId_ = id;
    input_.description_.kinds |= kKindAudio;
    if (odml_) readSuperIndex(strl, false);
  }
}

// A stream replaces an earlier one of its kind only when it can be used: its id, format and
// description fields change together.
bool AviFileInput::FileParse::readVideoStream(Region& strl, const StreamHeader& header) {
  Region strf;
  strl.rewind();
  if (!findChunk(strl, kStrf, strf)) return false;
  if (strf.declared >= kMaxFormatSize || strf.size < BitmapFormat::kSize) {
    System::Log::info(kVideoHeaderPlace, "invalid stream format size.");
    return false;
  }
  auto stored = readBytes(strf.start, strf.size);
  const auto format = BitmapFormat::parse(stored.data());
  const int64_t rows = std::llabs(int64_t{format.height});
  if (format.width <= 0 || format.width > kMaxFrameSide || rows == 0 || rows > kMaxFrameSide ||
      format.width * rows > kMaxFramePixels) {
    System::Log::info(kVideoHeaderPlace, "invalid video frame size info.");
    return false;
  }
  if (header.rate == 0 || header.scale == 0 || header.rate > INT32_MAX ||
      header.scale > INT32_MAX) {
    System::Log::info(kVideoHeaderPlace, "invalid video frame rate info.");
    return false;
  }
  auto& description = input_.description_;
  description.width = format.width;
  description.height = static_cast<int32_t>(rows);
  description.rate = static_cast<int32_t>(header.rate);
  description.scale = static_cast<int32_t>(header.scale);
  description.frameCount = static_cast<int32_t>(std::min<uint32_t>(header.length, INT32_MAX));
  input_.videoHandler_ = header.handler != 0 ? header.handler
                         : isUncompressedRgb(format.compression) ? 0
                                                                 : format.compression;
  input_.videoTopDown_ = format.height < 0;
  input_.videoFormat_ = std::move(stored);
  return true;
}

bool AviFileInput::FileParse::readAudioStream(Region& strl, const StreamHeader& header) {
  Region strf;
  strl.rewind();
  if (!findChunk(strl, kStrf, strf)) return false;
  if (strf.declared >= kMaxFormatSize || strf.size < WaveFormat::kMinimumSize) {
    System::Log::info(kAudioHeaderPlace, "invalid stream format size.");
    return false;
  }
  // Blocks of varying size (a sample size of 0) cannot be placed by byte position.
  if (header.sampleSize == 0) return false;
  auto stored = readBytes(strf.start, strf.size);
  const auto format = WaveFormat::parse(stored.data());
  const uint32_t blockAlign = format.blockAlign != 0
                                  ? format.blockAlign
                                  : uint32_t{format.bitsPerSample} * format.channels / 8;
  if (format.channels == 0 || format.channels > kMaxChannels || format.samplesPerSec == 0 ||
      format.samplesPerSec > kMaxSamplingRate || blockAlign == 0 || header.scale == 0 ||
      header.rate / header.scale == 0) {
    System::Log::info(kAudioHeaderPlace, "invalid audio format info.");
    return false;
  }
  auto& description = input_.description_;
  description.bitsPerSample = format.bitsPerSample;
  description.samplingRate = static_cast<int32_t>(format.samplesPerSec);
  description.channels = format.channels;
  description.audioSampleCount = header.length;
  input_.streamRate_ = header.rate;
  input_.streamScale_ = header.scale;
  input_.blockAlign_ = blockAlign;
  input_.audioFormat_ = std::move(stored);
  return true;
}

void AviFileInput::FileParse::readSuperIndex(Region& strl, bool video) {
  Region indx;
  strl.rewind();
  if (!findChunk(strl, kIndx, indx) || indx.size < IndexHeader::kSize) return;
  const auto header = IndexHeader::parse(readBytes(indx.start, IndexHeader::kSize).data());
  const uint64_t count = std::min<uint64_t>(header.entriesInUse,
                                            (indx.size - IndexHeader::kSize) / kSuperIndexEntrySize);
  uint64_t& expected = video ? expectedVideoEntries_ : expectedAudioEntries_;
  for (uint64_t first = 0; first < count; first += kEntriesPerRead) {
    const uint64_t batch = std::min(kEntriesPerRead, count - first);
    const auto entries = readBytes(indx.start + IndexHeader::kSize + first * kSuperIndexEntrySize,
                                   batch * kSuperIndexEntrySize);
    for (uint64_t i = 0; i < batch; ++i) {
      const uint8_t* entry = entries.data() + i * kSuperIndexEntrySize;
      const uint64_t offset = readU64(entry);
      const uint32_t size = readU32(entry + 8);
      // A standard index needs its chunk header and index header inside the file; one
      // listed twice is read once.
      if (offset > fileSize_ || fileSize_ - offset < 8 + IndexHeader::kSize) continue;
      if (!knownIndexOffsets_.insert(offset).second) continue;
      standardIndexOffsets_.push_back(offset);
      if (size / 8 >= 3) expected += size / 8 - 3;
    }
  }
}

bool AviFileInput::FileParse::isVideoChunk(uint32_t id) const {
  return videoId_ && streamPrefix(id) == *videoId_;
}

bool AviFileInput::FileParse::isAudioChunk(uint32_t id) const {
  return audioId_ && streamPrefix(id) == *audioId_;
}

void AviFileInput::FileParse::reserveIndexes(uint64_t videoEntries, uint64_t audioEntries) {
  // The counts come from the file: never more than the file could hold.
  const uint64_t limit = fileSize_ / 8;
  if (videoId_) input_.videoIndex_.reserve(std::min(videoEntries, limit));
  if (audioId_) input_.audioIndex_.reserve(std::min(audioEntries, limit));
}

void AviFileInput::FileParse::addVideoEntry(uint64_t offset, uint64_t size, bool notKey) {
  // Data past the end of the file (a truncated file) is cut to what is there.
  if (offset > fileSize_) offset = fileSize_;
  size = std::min({size, fileSize_ - offset, uint64_t{UINT32_MAX}});
  input_.videoIndex_.push_back({static_cast<int64_t>(offset), static_cast<uint32_t>(size),
                                static_cast<uint8_t>(notKey ? 1 : 0)});
}

void AviFileInput::FileParse::addAudioEntry(uint64_t offset, uint64_t size) {
  if (offset > fileSize_) offset = fileSize_;
  size = std::min({size, fileSize_ - offset, uint64_t{UINT32_MAX}});
  input_.audioIndex_.push_back(
      {static_cast<int64_t>(audioBytes_), static_cast<int64_t>(offset), static_cast<uint32_t>(size)});
  audioBytes_ += size;
}

void AviFileInput::FileParse::buildIndexFromIdx1(const Region& idx1) {
  const uint64_t count = idx1.size / kIdx1EntrySize;
  const uint64_t frames = static_cast<uint64_t>(std::max(input_.description_.frameCount, 0));
  reserveIndexes(std::min(frames, count), count > frames ? count - frames : 0);
  uint64_t base = 0;
  for (uint64_t first = 0; first < count; first += kEntriesPerRead) {
    const uint64_t batch = std::min(kEntriesPerRead, count - first);
    const auto entries = readBytes(idx1.start + first * kIdx1EntrySize, batch * kIdx1EntrySize);
    for (uint64_t i = 0; i < batch; ++i) {
      const uint8_t* entry = entries.data() + i * kIdx1EntrySize;
      const uint32_t id = readU32(entry);
      const uint32_t flags = readU32(entry + 4);
      const uint32_t offset = readU32(entry + 8);
      const uint32_t length = readU32(entry + 12);
      // Offsets count from the "movi" type or from the start of the file; the first entry
      // tells which: a relative offset is smaller than where "movi"'s content begins.
      if (first + i == 0) base = offset < movi_.start ? movi_.start + 4 : 8;
      if (isVideoChunk(id))
        addVideoEntry(base + offset, length, (flags & kIdx1KeyFrame) == 0);
      else if (isAudioChunk(id))
        addAudioEntry(base + offset, length);
    }
  }
}

void AviFileInput::FileParse::buildIndexFromMovi() {
  Region& movi = movi_;
  movi.rewind();
  while (movi.end() - movi.cursor >= 8 && movi.cursor < movi.end()) {
    const uint64_t header = movi.cursor;
    uint8_t bytes[8];
    file_.seek(header);
    file_.readBlock(bytes, sizeof bytes);
    const uint32_t id = readU32(bytes);
    const uint32_t size = readU32(bytes + 4);
    movi.cursor = header + 8 + size + (size & 1);
    const uint64_t held = std::min<uint64_t>(size, movi.end() - (header + 8));
    const uint16_t kind = streamSuffix(id);
    if (isVideoChunk(id) && (kind == suffix('D', 'B') || kind == suffix('D', 'C')))
      addVideoEntry(header + 8, held, kind == suffix('D', 'C'));
    else if (isAudioChunk(id) && kind == suffix('W', 'B'))
      addAudioEntry(header + 8, held);
  }
}

void AviFileInput::FileParse::buildIndexFromStandardIndexes() {
  reserveIndexes(expectedVideoEntries_, expectedAudioEntries_);
  // Standard indexes of a sound file never overlap, so together they hold at most one entry
  // per 8 bytes of the file; index chunks that overlap to claim more are not read further.
  uint64_t budget = fileSize_ / kStandardIndexEntrySize;
  for (const uint64_t offset : standardIndexOffsets_) {
    const auto head = readBytes(offset, 8 + IndexHeader::kSize);
    const uint64_t chunkSize =
        std::min<uint64_t>(readU32(head.data() + 4), fileSize_ - offset - 8);
    if (chunkSize < IndexHeader::kSize) continue;
    const auto header = IndexHeader::parse(head.data() + 8);
    const bool video = isVideoChunk(header.chunkId);
    if (!video && !isAudioChunk(header.chunkId)) continue;
    uint64_t count = std::min<uint64_t>(header.entriesInUse,
                                        (chunkSize - IndexHeader::kSize) / kStandardIndexEntrySize);
    count = std::min(count, budget);
    budget -= count;
    const uint64_t entriesStart = offset + 8 + IndexHeader::kSize;
    for (uint64_t first = 0; first < count; first += kEntriesPerRead) {
      const uint64_t batch = std::min(kEntriesPerRead, count - first);
      const auto entries =
          readBytes(entriesStart + first * kStandardIndexEntrySize, batch * kStandardIndexEntrySize);
      for (uint64_t i = 0; i < batch; ++i) {
        const uint8_t* entry = entries.data() + i * kStandardIndexEntrySize;
        const uint32_t relative = readU32(entry);
        const uint32_t size = readU32(entry + 4);
        // A base offset near the top of the range would wrap: such data is outside the file.
        const uint64_t data = header.baseOffset > fileSize_ ? fileSize_ + 1
                                                            : header.baseOffset + relative;
        if (video)
          addVideoEntry(data, size & ~kStandardIndexNotKey, (size & kStandardIndexNotKey) != 0);
        else
          addAudioEntry(data, size & ~kStandardIndexNotKey);
      }
    }
  }
}

void AviFileInput::FileParse::repairCounts() {
  auto& description = input_.description_;
  if (description.hasVideo() &&
      input_.videoIndex_.size() < static_cast<uint64_t>(description.frameCount)) {
    System::Log::info(kOpenPlace, "invalid video frame num info.");
    description.frameCount = static_cast<int32_t>(input_.videoIndex_.size());
  }
  if (description.hasAudio() && input_.audioTotal_ < description.audioSampleCount) {
    System::Log::info(kOpenPlace, "invalid audio sample num info.");
    description.audioSampleCount = input_.audioTotal_;
  }
}

}  // namespace Plugin
