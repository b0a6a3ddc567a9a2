#pragma once
// The five functions a writer plug-in calls back while its fnOutput runs: a frame, a run of
// sound, the abort question, the progress, the read-ahead depths. They serve the one export
// that is current; no failure of the program's supply ever reaches the plug-in as an
// exception: a frame that cannot be had comes as zeros, sound that cannot be had as no
// samples.
#include "media/plugin/plugin_abi.h"
#include "output/output_file.h"

namespace Plugin::ExternalOutputCallbacks {

// The most samples one sound request delivers (about 87 seconds at 48 kHz); a plug-in that
// asks for more gets this many and the count it read says so.
inline constexpr int32_t kMaxAudioRequest = 1 << 22;

// Makes `file` the export the callbacks serve until the scope ends. Throws "output plugin is
// busy." while another export is served. Outside such a scope the callbacks give nothing
// (a null frame, no samples) and say "abort".
class CurrentOutput {
 public:
  explicit CurrentOutput(OutputFile& file);
  ~CurrentOutput();
  CurrentOutput(const CurrentOutput&) = delete;
  CurrentOutput& operator=(const CurrentOutput&) = delete;

 private:
  OutputFile& file_;
};

// Sets the job record's five callbacks.
void setCallbacks(VelumoOutputJobInfo& info);

}  // namespace Plugin::ExternalOutputCallbacks
