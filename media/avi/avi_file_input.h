#pragma once
// One opened AVI file (OpenDML files larger than one RIFF part included). The open walks the
// RIFF structure, keeps the last video and the last audio stream, and builds an index of
// their chunks from the file's own index ("idx1", or the OpenDML standard indexes), or from a
// scan of "movi" when it has none. Reads seek straight to the indexed chunks.
//
// Uncompressed RGB, YUY2 and the 64-bit formats pass straight through, as do 16-bit PCM and
// 32-bit float audio; other streams are decoded through libavcodec (video_decompressor.h,
// audio_decompressor.h).
//
// All reads of all files are serialised through the shared read buffers' mutexes
// (media/input/read_buffers.h), which also guard each file's decoder state. Video and audio
// of one file read through separate handles and decoders, so they can run at the same time.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/avi/audio_decompressor.h"
#include "media/avi/video_decompressor.h"
#include "media/input/input_file.h"
#include "media/input/read_buffers.h"
#include "system/file.h"

namespace Plugin {

class AviFileInput : public InputFile {
 public:
  AviFileInput();
  ~AviFileInput() override;

  // Opens and indexes the file. Throws when it is not an AVI file the reader can walk (the
  // exceptions are logged when they are built); a file without usable streams opens with no
  // kind flag set.
  void open(const std::string& path);

  // The frame clamped into 0 .. frame count - 1; empty without video. A chunk the decoder
  // rejects throws "failed to decode video frame.".
  std::shared_ptr<Media::ImageBuffer> readVideo(int32_t frame) override;
  // One second of audio from block x sampling rate; empty without audio.
  std::shared_ptr<Media::AudioBlockBuffer> readAudio(int32_t block) override;

  class FileParse;

 private:
  struct VideoIndexEntry {
    int64_t offset;  // absolute file position of the chunk's data
    uint32_t size;
    uint8_t notKey;  // 1 when the frame is not a key frame
  };
  struct AudioIndexEntry {
    int64_t position;  // bytes of the stream before this chunk
    int64_t offset;
    uint32_t size;
  };

  void setUpVideo();
  void setUpAudio();
  bool setUpRawVideo();
  std::vector<uint8_t> readProbeFrame();
  void readRawFrame(int32_t target, Media::ImageBuffer& image);
  void decodeFrames(int32_t target, Media::ImageBuffer& image);
  uint64_t fillAudioBlock(int32_t block, uint8_t* target, uint64_t size);
  void readChunk(System::File& file, int64_t offset, uint32_t size, System::AlignedBuffer& buffer);

  std::string path_;
  System::File videoFile_;
  System::File audioFile_;
  std::vector<VideoIndexEntry> videoIndex_;
  std::vector<AudioIndexEntry> audioIndex_;

  std::vector<uint8_t> videoFormat_;  // the stored BITMAPINFOHEADER and what follows it
  uint32_t videoHandler_ = 0;
  bool videoTopDown_ = false;  // uncompressed RGB stored with a negative height

  std::vector<uint8_t> audioFormat_;  // the stored WAVEFORMATEX and what follows it
  uint32_t streamRate_ = 0;
  uint32_t streamScale_ = 0;
  uint32_t blockAlign_ = 0;
  int64_t audioTotal_ = 0;  // indexed stream bytes / block align

  Media::BitmapInfoHeader videoOutput_;
  std::unique_ptr<Media::VideoDecompressor> videoDecompressor_;
  std::unique_ptr<Media::AudioDecompressor> audioDecompressor_;

  int32_t lastFrame_ = -256;
  int32_t lastAudioBlock_ = -256;
  std::size_t nextAudioEntry_ = 0;
};

}  // namespace Plugin
