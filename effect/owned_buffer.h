#pragma once
// Uniquely owned buffers of the graphics and audio layers, handed between effects by moving.
//
// The effect framework passes images and audio blocks through its slots without knowing
// their classes, so the owner cannot simply `delete` them: the part that makes a buffer
// also gives the function that destroys it. adoptBuffer builds that function where the
// class is complete; everywhere else the handle moves and dies like any unique_ptr.
#include <memory>

#include "effect/outer_types.h"

namespace Effect {

template <class T>
struct BufferDeleter {
  void (*destroy)(T*) = nullptr;
  void operator()(T* buffer) const noexcept {
    if (buffer && destroy) destroy(buffer);
  }
};

template <class T>
using OwnedBuffer = std::unique_ptr<T, BufferDeleter<T>>;

// An image on the graphics processor (slots inputVideo, filterVideo).
using OwnedImage = OwnedBuffer<Media::ResourceBuffer>;
// A block of audio (slots inputAudio, filterAudio).
using OwnedAudio = OwnedBuffer<Media::AudioBuffer>;

// Takes over a buffer made with `new`; call it where T is a complete type.
template <class T>
OwnedBuffer<T> adoptBuffer(std::unique_ptr<T> buffer) {
  return OwnedBuffer<T>(buffer.release(), BufferDeleter<T>{[](T* object) { delete object; }});
}

}  // namespace Effect
