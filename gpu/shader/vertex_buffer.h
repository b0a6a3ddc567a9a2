#pragma once
// The vertex buffer under the vertex lists and the full-target quads: a device buffer with
// its vertex count, stride and topology, and, for buffers refilled for every draw, a copy of
// the vertices in main memory.
#include <cstdint>
#include <memory>

namespace Media {

namespace Gl {
class Object;
}

class VertexBufferCommon {
 public:
  // Topologies in the device's numbering.
  static constexpr int32_t kPointList = 1;
  static constexpr int32_t kLineList = 2;
  static constexpr int32_t kLineStrip = 3;
  static constexpr int32_t kTriangleList = 4;
  static constexpr int32_t kTriangleStrip = 5;

  VertexBufferCommon();
  VertexBufferCommon(const VertexBufferCommon&) = delete;
  VertexBufferCommon& operator=(const VertexBufferCommon&) = delete;
  // Frees the CPU copy, then releases the buffer.
  ~VertexBufferCommon();

  // Stores count and stride and makes a buffer of count x stride bytes holding `data` (zeros
  // when null). The topology is kept. A buffer of no bytes, or a failing device, throws
  // "Direct3DService::Get().device->CreateBuffer" at "Media::VertexBufferCommon::create".
  static void create(VertexBufferCommon& buffer, const void* data, uint32_t count, uint32_t stride);

  // Gives the buffer a CPU copy of count x stride bytes (zeros) and no device buffer yet:
  // the device buffer comes with the first upload.
  void allocateCpuCopy(uint32_t count, uint32_t stride);
  uint8_t* cpuCopy() { return cpuCopy_.get(); }
  const uint8_t* cpuCopy() const { return cpuCopy_.get(); }
  // Puts the CPU copy on the device: made from it the first time, rewritten in place after.
  void uploadCpuCopy();

  // Binds the buffer as vertex buffer 0 (stride, offset 0) and draws every vertex with the
  // topology. Uses whatever shaders and states are bound; nothing is drawn without a buffer.
  void draw() const;

  bool hasBuffer() const { return buffer_ != nullptr; }
  uint32_t count() const { return count_; }
  uint32_t stride() const { return stride_; }
  int32_t topology() const { return topology_; }
  void setTopology(int32_t topology) { topology_ = topology; }

 private:
  std::unique_ptr<Gl::Object> buffer_;
  uint32_t count_ = 0;
  uint32_t stride_ = 0;
  int32_t topology_ = kTriangleStrip;
  std::unique_ptr<uint8_t[]> cpuCopy_;
};

}  // namespace Media
