#pragma once
// Writes small AVI files for the reader's tests, its fuzz seeds and its benchmark: one video
// stream and one audio stream at most, their chunks interleaved in "movi", indexed by a
// relative or absolute "idx1", by nothing (the reader scans "movi"), or by OpenDML super and
// standard indexes with the later chunks in an "AVIX" part. No test framework is needed.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace AviTest {

inline uint32_t tag(const char (&code)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

struct VideoStream {
  uint32_t handler = 0;      // fccHandler of the stream header
  uint32_t compression = 0;  // biCompression
  int32_t width = 4;
  int32_t height = 2;
  uint16_t bitCount = 24;
  uint32_t rate = 30;
  uint32_t scale = 1;
  std::optional<uint32_t> length;  // dwLength; the number of frames when not given
  std::vector<std::string> frames;
  std::vector<bool> keyFrames;  // all key frames when empty
  std::string formatExtra;      // bytes after the 40-byte BITMAPINFOHEADER
  std::string chunkSuffix = "db";
};

struct AudioStream {
  uint16_t formatTag = 1;
  uint16_t channels = 2;
  uint32_t samplesPerSec = 48000;
  uint16_t bitsPerSample = 16;
  std::optional<uint16_t> blockAlign;   // channels x bits / 8 when not given
  std::optional<uint32_t> sampleSize;   // dwSampleSize; the block align when not given
  std::optional<uint32_t> rate;         // dwRate; samples per second x block align
  std::optional<uint32_t> scale;        // dwScale; the block align
  std::optional<uint32_t> length;       // dwLength; the bytes of all chunks / block align
  std::vector<std::string> chunks;
  std::string formatExtra;  // bytes after the 18-byte WAVEFORMATEX (cbSize counts them)

  uint16_t align() const {
    return blockAlign ? *blockAlign : static_cast<uint16_t>(channels * bitsPerSample / 8);
  }
};

enum class Index { Idx1Relative, Idx1Absolute, None, OpenDml };

struct File {
  std::optional<VideoStream> video;
  std::optional<AudioStream> audio;
  Index index = Index::Idx1Relative;
  // With OpenDML: the chunks from this position on (counted per stream) go to an "AVIX" part.
  std::size_t secondPartFrom = 1;
};

class ByteWriter {
 public:
  std::string bytes;

  std::size_t size() const { return bytes.size(); }
  void u8(uint8_t value) { bytes.push_back(static_cast<char>(value)); }
  void u16(uint16_t value) {
    u8(static_cast<uint8_t>(value));
    u8(static_cast<uint8_t>(value >> 8));
  }
  void u32(uint32_t value) {
    u16(static_cast<uint16_t>(value));
    u16(static_cast<uint16_t>(value >> 16));
  }
  void u64(uint64_t value) {
    u32(static_cast<uint32_t>(value));
    u32(static_cast<uint32_t>(value >> 32));
  }
  void id(const char (&code)[5]) { u32(tag(code)); }
  void raw(const std::string& data) { bytes += data; }
  void zeros(std::size_t count) { bytes.append(count, '\0'); }
  void patch32(std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
  }
  void patch64(std::size_t at, uint64_t value) {
    patch32(at, static_cast<uint32_t>(value));
    patch32(at + 4, static_cast<uint32_t>(value >> 32));
  }
  // Starts a chunk (or, with a list type, a list); returns where its size goes.
  std::size_t begin(uint32_t chunkId, uint32_t listType = 0) {
    u32(chunkId);
    const std::size_t at = size();
    u32(0);
    if (listType != 0) u32(listType);
    return at;
  }
  void end(std::size_t sizeAt) {
    patch32(sizeAt, static_cast<uint32_t>(size() - sizeAt - 4));
    if (size() % 2 != 0) u8(0);
  }
  void chunk(uint32_t chunkId, const std::string& data) {
    const std::size_t at = begin(chunkId);
    raw(data);
    end(at);
  }
};

namespace Detail {

struct Placed {
  uint32_t id;
  std::size_t header;  // position of the chunk header
  uint32_t size;
  bool key;
};

inline std::string streamId(int number, const char* suffix) {
  std::string id = "0";
  id += static_cast<char>('0' + number);
  return id + suffix;
}

inline uint32_t idValue(const std::string& id) {
  return tag(*reinterpret_cast<const char(*)[5]>(id.c_str()));
}

}  // namespace Detail

// The bytes of the AVI file described by `file`.
inline std::string writeAvi(const File& file) {
  using Detail::Placed;
  ByteWriter w;
  const int videoNumber = file.video ? 0 : -1;
  const int audioNumber = file.audio ? (file.video ? 1 : 0) : -1;
  const bool odml = file.index == Index::OpenDml;
  const std::string videoId =
      file.video ? Detail::streamId(videoNumber, file.video->chunkSuffix.c_str()) : "";
  const std::string audioId = file.audio ? Detail::streamId(audioNumber, "wb") : "";

  const std::size_t riff = w.begin(tag("RIFF"), tag("AVI "));
  const std::size_t hdrl = w.begin(tag("LIST"), tag("hdrl"));
  const std::size_t avih = w.begin(tag("avih"));
  w.zeros(56);
  w.end(avih);
  // Where each stream's super index entries go, patched once the standard indexes exist.
  std::size_t videoSuper = 0;
  std::size_t audioSuper = 0;
  constexpr uint32_t kParts = 2;
  const auto superIndex = [&](const std::string& id) {
    const std::size_t indx = w.begin(tag("indx"));
    w.u16(4);
    w.u8(0);
    w.u8(0);  // an index of indexes
    w.u32(kParts);
    w.u32(Detail::idValue(id));
    w.zeros(12);
    const std::size_t entries = w.size();
    w.zeros(16 * kParts);
    w.end(indx);
    return entries;
  };
  if (file.video) {
    const auto& v = *file.video;
    const std::size_t strl = w.begin(tag("LIST"), tag("strl"));
    const std::size_t strh = w.begin(tag("strh"));
    w.id("vids");
    w.u32(v.handler);
    w.zeros(12);  // flags, priority, language, initial frames
    w.u32(v.scale);
    w.u32(v.rate);
    w.u32(0);  // start
    w.u32(v.length ? *v.length : static_cast<uint32_t>(v.frames.size()));
    w.zeros(20);  // buffer size, quality, sample size, frame rectangle
    w.end(strh);
    const std::size_t strf = w.begin(tag("strf"));
    w.u32(40 + static_cast<uint32_t>(v.formatExtra.size()));
    w.u32(static_cast<uint32_t>(v.width));
    w.u32(static_cast<uint32_t>(v.height));
    w.u16(1);
    w.u16(v.bitCount);
    w.u32(v.compression);
    w.zeros(20);
    w.raw(v.formatExtra);
    w.end(strf);
    if (odml) videoSuper = superIndex(videoId);
    w.end(strl);
  }
  if (file.audio) {
    const auto& a = *file.audio;
    std::size_t bytes = 0;
    for (const auto& chunk : a.chunks) bytes += chunk.size();
    const uint16_t align = a.align();
    const std::size_t strl = w.begin(tag("LIST"), tag("strl"));
    const std::size_t strh = w.begin(tag("strh"));
    w.id("auds");
    w.u32(0);
    w.zeros(12);
    w.u32(a.scale ? *a.scale : align);
    w.u32(a.rate ? *a.rate : a.samplesPerSec * align);
    w.u32(0);
    w.u32(a.length ? *a.length : static_cast<uint32_t>(align ? bytes / align : 0));
    w.zeros(8);
    w.u32(a.sampleSize ? *a.sampleSize : align);
    w.zeros(8);
    w.end(strh);
    const std::size_t strf = w.begin(tag("strf"));
    w.u16(a.formatTag);
    w.u16(a.channels);
    w.u32(a.samplesPerSec);
    w.u32(a.samplesPerSec * align);
    w.u16(align);
    w.u16(a.bitsPerSample);
    w.u16(static_cast<uint16_t>(a.formatExtra.size()));
    w.raw(a.formatExtra);
    w.end(strf);
    if (odml) audioSuper = superIndex(audioId);
    w.end(strl);
  }
  if (odml) {
    const std::size_t list = w.begin(tag("LIST"), tag("odml"));
    const std::size_t dmlh = w.begin(tag("dmlh"));
    w.u32(file.video ? static_cast<uint32_t>(file.video->frames.size()) : 0);
    w.zeros(244);
    w.end(dmlh);
    w.end(list);
  }
  w.end(hdrl);

  // The chunks of one "movi": stream chunks from `first` up to `last` interleaved; with
  // OpenDML each part's standard indexes follow its chunks.
  std::vector<Placed> placed;
  std::vector<std::pair<std::size_t, uint32_t>> standardIndexes[2];  // per stream: header, size
  std::size_t moviContent = 0;
  const auto movi = [&](std::size_t first, std::size_t last) {
    const std::size_t list = w.begin(tag("LIST"), tag("movi"));
    const std::size_t base = w.size() - 4;  // the "movi" type
    if (moviContent == 0) moviContent = base;
    std::vector<Placed> part;
    for (std::size_t i = first; i < last; ++i) {
      if (file.video && i < file.video->frames.size()) {
        const auto& frame = file.video->frames[i];
        const bool key = file.video->keyFrames.empty() || file.video->keyFrames[i];
        part.push_back({Detail::idValue(videoId), w.size(), static_cast<uint32_t>(frame.size()), key});
        w.chunk(Detail::idValue(videoId), frame);
      }
      if (file.audio && i < file.audio->chunks.size()) {
        const auto& chunk = file.audio->chunks[i];
        part.push_back({Detail::idValue(audioId), w.size(), static_cast<uint32_t>(chunk.size()), true});
        w.chunk(Detail::idValue(audioId), chunk);
      }
    }
    if (odml) {
      for (int stream = 0; stream < 2; ++stream) {
        const std::string& id = stream == 0 ? videoId : audioId;
        if (id.empty()) continue;
        std::vector<const Placed*> mine;
        for (const auto& p : part)
          if (p.id == Detail::idValue(id)) mine.push_back(&p);
        const std::size_t header = w.size();
        const std::size_t ix = w.begin(tag(stream == 0 ? "ix00" : "ix01"));
        w.u16(2);
        w.u8(0);
        w.u8(1);  // an index of chunks
        w.u32(static_cast<uint32_t>(mine.size()));
        w.u32(Detail::idValue(id));
        w.u64(base);
        w.u32(0);
        for (const Placed* p : mine) {
          w.u32(static_cast<uint32_t>(p->header + 8 - base));
          w.u32(p->size | (p->key ? 0u : 0x80000000u));
        }
        w.end(ix);
        standardIndexes[stream].push_back({header, static_cast<uint32_t>(w.size() - header)});
      }
    }
    w.end(list);
    placed.insert(placed.end(), part.begin(), part.end());
  };
  std::size_t count = 0;
  if (file.video) count = file.video->frames.size();
  if (file.audio) count = std::max(count, file.audio->chunks.size());
  const std::size_t split = odml ? std::min(file.secondPartFrom, count) : count;
  movi(0, split);

  if (file.index == Index::Idx1Relative || file.index == Index::Idx1Absolute) {
    const std::size_t idx1 = w.begin(tag("idx1"));
    for (const auto& p : placed) {
      w.u32(p.id);
      w.u32(p.key ? 0x10 : 0);
      w.u32(static_cast<uint32_t>(file.index == Index::Idx1Relative ? p.header - moviContent : p.header));
      w.u32(p.size);
    }
    w.end(idx1);
  }
  w.end(riff);

  if (odml) {
    const std::size_t avix = w.begin(tag("RIFF"), tag("AVIX"));
    movi(split, count);
    w.end(avix);
    // Each stream's super index lists its standard index in both parts.
    const auto fill = [&](std::size_t at, const std::vector<std::pair<std::size_t, uint32_t>>& list) {
      for (std::size_t i = 0; i < list.size() && i < kParts; ++i) {
        w.patch64(at + 16 * i, list[i].first);
        w.patch32(at + 16 * i + 8, list[i].second);
      }
    };
    if (file.video) fill(videoSuper, standardIndexes[0]);
    if (file.audio) fill(audioSuper, standardIndexes[1]);
  }
  return w.bytes;
}

}  // namespace AviTest
