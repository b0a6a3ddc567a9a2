#pragma once
// The small fixed programs of the texel-for-texel copies (copy_pass.h): a full-target
// vertex stage and one pixel stage per copy kind and target kind.
#include <array>
#include <memory>
#include <mutex>

#include "gpu/copy_pass.h"
#include "gpu/gl/gl_program.h"

namespace Media {

// The programs, made on first use and shared by every thread; owned by the device service.
class CopyPrograms {
 public:
  CopyPrograms() = default;
  CopyPrograms(const CopyPrograms&) = delete;
  CopyPrograms& operator=(const CopyPrograms&) = delete;

  const GlProgram& vertex();
  const GlProgram& pixel(CopyKind kind, bool alphaOnlyTarget);

 private:
  std::mutex mutex_;
  std::unique_ptr<GlProgram> vertex_;
  std::array<std::unique_ptr<GlProgram>, 8> pixel_;
};

}  // namespace Media
