#pragma once
// The keys of the picture and sound caches: a source name and a number (a frame or a
// one-second block). A source name is a media file's path, or "*" followed by a scene's id
// for a scene used as a source.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Edit {
class Scene;
}

namespace Cache {

struct SourceKey {
  std::string name;
  int32_t number = 0;
  bool operator==(const SourceKey&) const = default;
};

struct SourceKeyHash {
  std::size_t operator()(const SourceKey& key) const {
    return std::hash<std::string>{}(key.name) ^
           std::hash<int64_t>{}(static_cast<int64_t>(key.number));
  }
};

using ImageCacheKey = SourceKey;
using AudioCacheKey = SourceKey;

// "*" and the scene id.
std::string getSceneFileName(int sceneId);
// Whether the name stands for a scene ("*" first).
bool isSceneFileName(const std::string& name);
// The scene a source name stands for: the number after the "*" (leading spaces and a sign
// allowed, read up to the first non-digit); none for 0, for text without a number, and for
// an id the project does not have. The root scene is never a source.
std::shared_ptr<Edit::Scene> getSceneFromFileName(const std::string& name);

}  // namespace Cache
