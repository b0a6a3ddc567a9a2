#pragma once
// Decodes one compressed video stream of an AVI file into device-independent bitmap frames.
//
// The stream's FourCC (its handler code, else the format's compression code) picks a
// libavcodec decoder through the RIFF tag table. The decoded pictures are converted into one
// output format fixed at open: YUY2 when the decoder delivers YUV pictures, else 32-bit RGB.
// RGB rows are stored bottom-up and YUY2 rows top-down, as bitmaps lay them out, so that the
// reader copies decoded and uncompressed frames the same way.
//
// The last decoded picture stays in the output buffer: a dropped frame (a chunk of size 0)
// shows the picture before it.
#include <cstdint>
#include <span>
#include <vector>

#include "media/avi/codec_handles.h"
#include "media/input/read_buffers.h"

namespace Media {

class VideoDecompressor {
 public:
  VideoDecompressor();
  ~VideoDecompressor();
  VideoDecompressor(const VideoDecompressor&) = delete;
  VideoDecompressor& operator=(const VideoDecompressor&) = delete;

  // Opens a decoder for the stored format (a BITMAPINFOHEADER of at least 40 bytes and the
  // codec's set-up bytes after it). `probe` is the stream's first frame: decoders that learn
  // their picture format only from the data decode it once to fix the output. False when no
  // decoder fits or none can be opened.
  bool open(std::span<const uint8_t> sourceFormat, uint32_t handler, std::span<const uint8_t> probe);
  // Fixes the output header for a compression code (the FourCC "YUY2" or 0 for RGB) and a bit
  // count (0: the source's). False when the decoder cannot deliver that output.
  bool setOutput(uint32_t compression, uint16_t bits);
  // Decodes one chunk. `data` must have AV_INPUT_BUFFER_PADDING_SIZE readable bytes after
  // `size`. A chunk of size 0 keeps the last picture. False when the decoder rejects the
  // chunk or yields no picture for it.
  bool decode(const uint8_t* data, uint32_t size, bool notKey);
  // Forgets the decoder's reference pictures before decoding starts again at a key frame.
  void reset();
  void close();

  bool isOpen() const { return context_ != nullptr; }
  // True once a picture has been decoded into the output buffer.
  bool hasPicture() const { return hasPicture_; }
  const BitmapInfoHeader& outputFormat() const { return output_; }
  const uint8_t* outputData() const { return outputBuffer_.data(); }
  uint64_t outputSize() const { return outputBuffer_.size(); }

 private:
  bool openDecoder(uint32_t code);
  bool probeFormat(std::span<const uint8_t> probe);
  bool sendAndReceive(const uint8_t* data, uint32_t size, bool notKey);
  bool convertPicture(const AVFrame& picture);

  std::vector<uint8_t> sourceFormat_;
  int32_t width_ = 0;
  int32_t height_ = 0;  // rows of the output (the stored height may be negative)
  BitmapInfoHeader output_;
  std::vector<uint8_t> outputBuffer_;
  CodecHandles::CodecContext context_;
  CodecHandles::Packet packet_;
  CodecHandles::Frame picture_;
  CodecHandles::Scale scale_;
  bool yuvSource_ = false;
  bool hasPicture_ = false;
};

}  // namespace Media
