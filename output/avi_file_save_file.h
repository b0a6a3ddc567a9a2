#pragma once
// One AVI export: uncompressed frames and their sound, interleaved frame by frame, written
// as plain AVI while the file is small and continued in further RIFF parts with OpenDML
// indexes when the data passes about 2 GB.
//
// Every header whose value is known only later is written up front at its final size ('JUNK'
// placeholders for the OpenDML indexes and the extended header) and rewritten in place after
// each part, so the writer streams forward and the headers are consistent after every part.
//
// The file is written under a temporary name in the target folder and renamed over the
// target once it is complete: a failed export leaves no partial file and never replaces an
// existing one. An aborted export is complete: it holds the frames written so far.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "output/avi_header_images.h"
#include "output/output_file.h"

namespace Plugin {

class AviFileSave;
class RiffFile;

class AviFileSaveFile final : public OutputFile {
 public:
  // A part is closed and the next begun once its data passes this many bytes.
  static constexpr uint64_t kPartLimit = 0x7DFFFFFF;

  AviFileSaveFile(std::string path, const AviFileSave& plugin);
  AviFileSaveFile(std::string path, const AviFileSave& plugin, const ExportScene& scene,
                  std::shared_ptr<ExportSource> source, ExportCaches& caches);
  ~AviFileSaveFile() override;

  // Writes the file; true when it is complete (also after an abort). A frame or a frame's
  // sound that cannot be made, a write failure or more than 100 parts throw, and no file
  // is left.
  bool save() override;

  // Lowers the part size (tests: OpenDML parts with small frames).
  void setPartLimit(uint64_t bytes) { partLimit_ = bytes; }

 private:
  void resolveFormats();
  void writeHeaders(RiffFile& riff);
  void writePadding(RiffFile& riff);
  void writeVideoFrame(RiffFile& riff, int frame);
  void writeAudioFrame(RiffFile& riff, int frame);
  void changeRiffChunk(RiffFile& riff);
  void finishRiffChunk(RiffFile& riff);
  void writeStandardIndex(RiffFile& riff, int16_t stream);
  void updateHeaders(RiffFile& riff);
  bool isFirstPart() const { return finishedParts_ == 0; }

  const AviFileSave& plugin_;
  uint64_t partLimit_ = kPartLimit;

  // Formats, resolved when the save starts.
  int32_t videoFormat_ = kFrameBgr24;
  AviAudioFormat audioFormat_;

  // Positions of the open lists' type fields.
  uint64_t riffList_ = 0;
  uint64_t moviList_ = 0;

  // Header images, rewritten in place.
  ByteImage mainHeader_;
  ByteImage videoHeader_;
  ByteImage audioHeader_;
  ByteImage videoSuperIndex_;
  ByteImage audioSuperIndex_;
  ByteImage odmlList_;

  std::vector<AviIndexEntry> entries_;  // the media chunks of the current part
  uint32_t videoFrames_ = 0;
  uint32_t audioSamples_ = 0;
  uint32_t largestVideoChunk_ = 0;
  uint32_t largestAudioChunk_ = 0;

  uint64_t partStart_ = 0;
  uint32_t finishedParts_ = 0;
  uint32_t videoFramesBeforePart_ = 0;
  uint32_t audioSamplesBeforePart_ = 0;
  bool openDml_ = false;  // set once a second part begins
};

}  // namespace Plugin
