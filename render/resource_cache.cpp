#include "render/resource_cache.h"

namespace Render {

ResourceCache::ResourceCache(int32_t capacity)
    : capacity_(static_cast<uint64_t>(static_cast<int64_t>(capacity))) {
  trim();
}

std::shared_ptr<Media::ResourceBuffer> ResourceCache::find(std::string_view name) {
  const auto found = index_.find(name);
  if (found == index_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, found->second);
  return found->second->image;
}

void ResourceCache::add(std::string name, std::shared_ptr<Media::ResourceBuffer> image,
                        int64_t pixels) {
  if (const auto found = index_.find(name); found != index_.end()) remove(found->second);
  entries_.push_front({pixels, std::move(image), std::move(name)});
  // The index keys view the entry's own name, which stays in place in the list.
  index_.emplace(entries_.front().name, entries_.begin());
  used_ += static_cast<uint64_t>(pixels);
  trim();
}

void ResourceCache::remove(std::list<Entry>::iterator entry) {
  used_ -= static_cast<uint64_t>(entry->size);
  index_.erase(entry->name);
  entries_.erase(entry);
}

void ResourceCache::trim() {
  while (capacity_ < used_ && !entries_.empty()) remove(std::prev(entries_.end()));
}

}  // namespace Render
