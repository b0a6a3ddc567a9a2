#pragma once
// A resource made on first use by a stored generator, and owned from then on.
//
// Drawing resources (states, brushes, text formats, bitmaps) are declared up front with the
// recipe that makes them and created only when something first draws with them. The
// generator receives the address of the owning slot and stores the new resource there; when
// it throws, the slot stays empty and the next use tries again.
//
// Each resource type names how it reads in error places, and how it is released, through a
// specialisation of ComResourceTraits:
//     template <> struct ComResourceTraits<Brush> {
//       static constexpr const char* name = "struct ID2D1SolidColorBrush";
//       using Deleter = std::default_delete<Brush>;  // or a functor calling the C release
//     };
//
// Creation is not locked: a resource is first used by the thread that draws with it.
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "system/exception.h"

namespace Media {

template <class T>
struct ComResourceTraits;  // specialised per resource type: name, Deleter

template <class T>
using ComResourcePtr = std::unique_ptr<T, typename ComResourceTraits<T>::Deleter>;

template <class T>
class ComResource {
 public:
  using Generator = std::function<void(ComResourcePtr<T>*)>;

  ComResource() = default;
  explicit ComResource(Generator generator) : generator_(std::move(generator)) {}
  ComResource(const ComResource&) = delete;
  ComResource& operator=(const ComResource&) = delete;
  // Releases the resource, then destroys the generator.
  ~ComResource() {
    release();
    generator_ = nullptr;
  }

  // The resource, created first when there is none. Without a generator it throws
  // "resource generator not set." and the slot stays empty.
  T* createResource() {
    if (resource_) return resource_.get();
    Generator generator = generator_;
    if (!generator)
      throw System::makeException(
          std::string("Media::ComResource<") + ComResourceTraits<T>::name + ">::createResource",
          "resource generator not set.");
    generator(&resource_);
    return resource_.get();
  }
  T* get() { return createResource(); }
  // The resource if it was made, without making it.
  T* peek() const { return resource_.get(); }

  void setGenerator(Generator generator) { generator_ = std::move(generator); }
  void clearGenerator() { generator_ = nullptr; }
  bool hasGenerator() const { return static_cast<bool>(generator_); }

  void release() { resource_.reset(); }
  // Holds a resource made elsewhere (a bitmap filled from an image has no generator).
  void adopt(ComResourcePtr<T> resource) { resource_ = std::move(resource); }

 private:
  ComResourcePtr<T> resource_;
  Generator generator_;
};

}  // namespace Media
