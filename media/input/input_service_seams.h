#pragma once
// The input service as the effect framework sees it: the description of a file opened for
// video or audio (the media inputs), and what a dropped file holds (the registry and the
// edit commands). The program installs both at start.
#include "effect/media_file_probe.h"
#include "effect/media_input_source.h"

namespace Plugin {

class InputService;

class InputServiceSource : public Effect::MediaInputSource {
 public:
  explicit InputServiceSource(InputService& service) : service_(service) {}
  std::optional<Effect::MediaInputFile> getInputFile(const std::string& path,
                                                     int mediaKind) const override;

 private:
  InputService& service_;
};

class InputServiceProbe : public Effect::MediaFileProbe {
 public:
  explicit InputServiceProbe(InputService& service) : service_(service) {}
  bool isMediaExtension(std::string_view extension) const override;
  bool checkSvgFile(const std::string& path) const override;
  std::optional<Effect::MediaFileInfo> probeMediaFile(const std::string& path) const override;

 private:
  InputService& service_;
};

}  // namespace Plugin
