#pragma once
// Writers that cannot be loaded into this program (the "*.vlo" plug-ins, built for 32-bit
// processes), each run by its own helper program, pipe32vlo, and reached over its pipes.
// To the output service such a plug-in is a writer like any other.
//
// An export is one output command: the helper then asks for frames, sound, the abort flag
// and reports progress until it says it finished. The control section's mutex is held for
// the whole export.
#include <cstdint>
#include <memory>
#include <string>

#include "media/plugin/pipe_control_section.h"
#include "output/output_file.h"
#include "output/output_plugin.h"

namespace Plugin {

namespace OutputPipe32Process {

class ControlSection : public PipeControlSection {
 public:
  // The most sound one request gets: a plug-in that asks for more gets this many samples
  // (the reply says how many it got).
  static constexpr int32_t kMaxAudioRequest = 1 << 22;

  explicit ControlSection(std::unique_ptr<PipeHelperLink> link);

  // Runs the export of `file` through the helper: the output command, then its requests
  // until it finishes. The helper's own result, and false when any of its requests for a
  // frame or sound could not be served (it is answered with an empty reply, and the abort
  // question with 1 from then on, so the plug-in stops soon). Any other failure (a pipe
  // error, a request code outside 20 to 24) logs "output file failed.", ends the helper and
  // gives false.
  bool processOutputFile(OutputFile& file);

 private:
  // Requests 21 and 22: reads the request and sends the reply; false when the fetch failed
  // (the reply was then the empty one).
  bool getVideo(OutputFile& file);
  bool getAudio(OutputFile& file);
};

}  // namespace OutputPipe32Process

class OutputPipe32 final : public OutputPlugin {
 public:
  // Starts the installed helper and loads the plug-in `fileName` (a bare name in %Plugin%).
  // Throws "load plugin failed." when that fails.
  explicit OutputPipe32(const std::string& fileName);
  // The same through another helper.
  OutputPipe32(const std::string& fileName, std::unique_ptr<PipeHelperLink> helper);
  // Tells the helper to quit, then terminates it.
  ~OutputPipe32() override;

  // The save dialog (with the settings row when the plug-in has a dialog), then the export.
  std::shared_ptr<OutputFile> openFile() override;
  // The plug-in's own dialog, when it has one.
  void showSetting() override;

  const std::string& fileName() const { return fileName_; }
  const std::shared_ptr<OutputPipe32Process::ControlSection>& controlSection() const {
    return control_;
  }

 private:
  using Loaded = LoadedPipePlugin<OutputPipe32Process::ControlSection>;
  OutputPipe32(const std::string& fileName, Loaded loaded);

  std::string fileName_;
  std::shared_ptr<OutputPipe32Process::ControlSection> control_;
};

class OutputPipe32File final : public OutputFile {
 public:
  OutputPipe32File(std::string path,
                   std::shared_ptr<OutputPipe32Process::ControlSection> control);
  // The export of `scene` from `source` (tests, benchmarks).
  OutputPipe32File(std::string path, std::shared_ptr<OutputPipe32Process::ControlSection> control,
                   const ExportScene& scene, std::shared_ptr<ExportSource> source,
                   ExportCaches& caches);
  // Read-ahead of 4 frames, then the export through the helper.
  bool save() override;

 private:
  std::shared_ptr<OutputPipe32Process::ControlSection> control_;
};

// The writer of one "*.vlo" file of the plug-in folder (a bare name), for the output
// service's registration.
std::shared_ptr<OutputPlugin> makeOutputPipe32(const std::string& fileName);

}  // namespace Plugin
