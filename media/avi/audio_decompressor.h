#pragma once
// Decodes one compressed audio stream of an AVI file into interleaved 16-bit PCM.
//
// The stream's wave format tag picks a libavcodec decoder through the RIFF tag table. The
// reader appends the stream's bytes to a source buffer of a fixed size and converts; each
// conversion consumes whole blocks of the source (or what the codec's parser frames) and
// appends 16-bit PCM with the source's channels and sampling rate to the decoded bytes, which
// the reader takes out as it fills its one-second blocks.
#include <cstdint>
#include <span>
#include <vector>

#include "media/avi/codec_handles.h"

namespace Media {

// The 16-bit PCM the decompressor delivers.
struct PcmFormat {
  int32_t channels = 0;
  int32_t samplingRate = 0;
  int32_t blockAlign() const { return channels * 2; }
  int64_t averageBytesPerSecond() const { return int64_t{samplingRate} * blockAlign(); }
};

class AudioDecompressor {
 public:
  AudioDecompressor();
  ~AudioDecompressor();
  AudioDecompressor(const AudioDecompressor&) = delete;
  AudioDecompressor& operator=(const AudioDecompressor&) = delete;

  // Opens a decoder for the stored format (a WAVEFORMATEX of at least 16 bytes, with the
  // codec's set-up bytes after its 18 when it is longer). False when no decoder fits the tag
  // or none opens.
  bool open(std::span<const uint8_t> sourceFormat, const PcmFormat& output);
  // Appends stream bytes to the source buffer; more than it can hold throws "not enough
  // source buffer.".
  void insertSourceData(const uint8_t* data, std::size_t count);
  // The same check, for a caller that reads the bytes in place: room for `count` more bytes,
  // to be filled and then confirmed with commitSourceData.
  uint8_t* reserveSourceData(std::size_t count);
  void commitSourceData(std::size_t count) { sourceFill_ += count; }
  // Decodes what the source buffer holds in whole blocks; the rest stays for the next call.
  // A decoder error throws "avcodec_send_packet failed.".
  void decode();
  // Decoded bytes not yet taken.
  std::size_t pendingBytes() const { return decoded_.size() - decodedStart_; }
  // Copies up to `count` decoded bytes to `target`; returns how many.
  std::size_t takeDecoded(uint8_t* target, std::size_t count);
  // Drops the source and decoded bytes and the decoder's state before reading from another
  // place in the stream.
  void reset();
  void close();

  bool isOpen() const { return context_ != nullptr; }

 private:
  void sendPacket(const uint8_t* data, int size);
  void appendSamples(const AVFrame& frame);

  PcmFormat output_;
  uint16_t blockAlign_ = 0;
  std::size_t sourceCapacity_ = 0;
  std::vector<uint8_t> source_;  // capacity + the padding the parser and decoder read past
  std::size_t sourceFill_ = 0;
  std::vector<uint8_t> decoded_;
  std::size_t decodedStart_ = 0;
  std::size_t decodedLimit_ = 0;
  CodecHandles::CodecContext context_;
  CodecHandles::Parser parser_;
  CodecHandles::Packet packet_;
  CodecHandles::Frame frame_;
  CodecHandles::Resample resample_;
  // What the resampler was set up for.
  int resampleFormat_ = -1;
  int resampleRate_ = 0;
  int resampleChannels_ = 0;
};

}  // namespace Media
