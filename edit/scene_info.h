#pragma once
// The text of a scene's information tooltip.
#include <string>

namespace Edit {

class Scene;

// The scene's name, then one line each: "TotalTime: hh:mm:ss" (the time of its last frame),
// "Video: <width> x <height> / <fps>fps" and "Audio: <kHz>khz", each line ending in "\n".
std::string sceneInfoText(const Scene& scene);

}  // namespace Edit
