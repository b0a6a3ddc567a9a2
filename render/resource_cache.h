#pragma once
// The named images of one rendered frame: scripts and mask items keep images under names
// while a frame is drawn, within a budget of pixels, the least recently used going first.
// A cache lives for one render (a nested render has its own); only the object thread of
// that render uses it.
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace Media {
class ResourceBuffer;
}

namespace Render {

class ResourceCache {
 public:
  // `capacity` in pixels; compared as an unsigned number, so a negative one never evicts.
  explicit ResourceCache(int32_t capacity);

  // The image of the name (now the most recently used), or none.
  std::shared_ptr<Media::ResourceBuffer> find(std::string_view name);
  // Keeps the image under the name (replacing an entry of that name), counting `pixels`.
  void add(std::string name, std::shared_ptr<Media::ResourceBuffer> image, int64_t pixels);

  uint64_t used() const { return used_; }
  std::size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    int64_t size = 0;
    std::shared_ptr<Media::ResourceBuffer> image;
    std::string name;
  };
  void remove(std::list<Entry>::iterator entry);
  void trim();

  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<std::string_view, std::list<Entry>::iterator> index_;
  uint64_t capacity_;
  uint64_t used_ = 0;
};

}  // namespace Render
