#pragma once
// Readers that cannot be loaded into this program (the "*.vli" plug-ins, built for 32-bit
// processes), each run by its own helper program, pipe32vli, and reached over its pipes.
// To the input service such a plug-in is a reader like any other.
//
// The helper starts when the reader is made (registration) and ends when it is destroyed.
// A helper that died, or whose replies could not be trusted, is not started again: from then
// on opens fail and reads give nothing, each with its log line.
#include <cstdint>
#include <memory>
#include <string>

#include "media/input/input_file.h"
#include "media/input/input_plugin.h"
#include "media/plugin/pipe_control_section.h"

namespace Media {
class ImageBuffer;
class AudioBlockBuffer;
}  // namespace Media

namespace Plugin {

namespace InputPipe32Process {

// The reader helper's exchanges. Failures are logged ("file load failed.", "file close
// failed.", "read video failed.", "read audio failed.", each at the place "Exception") and
// answered with 0 or an empty result.
class ControlSection : public PipeControlSection {
 public:
  explicit ControlSection(std::unique_ptr<PipeHelperLink> link);

  // The helper's handle of the opened file, with `description` filled; 0 when the helper
  // could not open it (no log line) or described it unusably (the helper's handle is closed
  // again).
  int32_t openFile(const std::string& path, MediaDescription& description);
  void closeFile(int32_t handle);
  // The frame as an image of the description's format and size. A frame shorter than the
  // DIB size is completed with zeros; a longer one ends the helper.
  std::shared_ptr<Media::ImageBuffer> readVideo(int32_t handle, int32_t frame,
                                                const MediaDescription& description);
  // One second from block x sampling rate; what the helper does not send is silence. A block
  // that starts beyond what an int32 sample position can name is silence, unasked.
  std::shared_ptr<Media::AudioBlockBuffer> readAudio(int32_t handle, int32_t block,
                                                     const MediaDescription& description);
};

}  // namespace InputPipe32Process

class InputPipe32 final : public InputPlugin {
 public:
  class InputPipe32File;

  // Starts the installed helper and loads the plug-in `fileName` (a bare name in %Plugin%).
  // Throws "load plugin failed." when that fails.
  explicit InputPipe32(const std::string& fileName);
  // The same through another helper.
  InputPipe32(const std::string& fileName, std::unique_ptr<PipeHelperLink> helper);
  // Tells the helper to quit, then terminates it.
  ~InputPipe32() override;

  std::shared_ptr<InputFile> openFile(const std::string& path) override;
  // The plug-in's own dialog, when it has one.
  void showSetting(void* ownerWindow) override;

  const std::string& fileName() const { return fileName_; }

 private:
  using Loaded = LoadedPipePlugin<InputPipe32Process::ControlSection>;
  InputPipe32(const std::string& fileName, Loaded loaded);

  std::string fileName_;
  std::shared_ptr<InputPipe32Process::ControlSection> control_;
};

// One file opened by the helper. It keeps the control section alive, so it may outlive its
// reader (its reads then fail at once).
class InputPipe32::InputPipe32File final : public InputFile {
 public:
  InputPipe32File(std::shared_ptr<InputPipe32Process::ControlSection> control, int32_t handle,
                  const MediaDescription& description);
  // Closes the helper's handle.
  ~InputPipe32File() override;

  // Frame numbers outside the file are taken as its first or last frame.
  std::shared_ptr<Media::ImageBuffer> readVideo(int32_t frame) override;
  // Blocks before the first are taken as the first.
  std::shared_ptr<Media::AudioBlockBuffer> readAudio(int32_t block) override;

  int32_t handle() const { return handle_; }

 private:
  std::shared_ptr<InputPipe32Process::ControlSection> control_;
  int32_t handle_ = 0;
};

}  // namespace Plugin
