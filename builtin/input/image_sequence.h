#pragma once
// A numbered image sequence: the files beside a chosen one whose names differ only in the
// number before the extension (a0003.png ... a0010.png). The chosen file's number is the
// first one shown; a gap shows the nearest lower image.
//
// The scan runs once after each change, on whichever render thread asks first; the lookups
// of the other thread wait for it, so a scan and a lookup never overlap.
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Effect {

class ImageSequence {
 public:
  // Forgets the scan; the next lookup scans again.
  void invalidate();
  // The file that shows number `n` of the sequence of `path` (scanned when needed), or the
  // path itself when there is no sequence. `n` is clamped into the sequence; numbers below
  // the chosen file's are never shown.
  std::string fileFor(const std::string& path, int64_t n);

 private:
  void scanLocked(const std::string& path);

  std::mutex mutex_;
  bool scanned_ = false;
  std::string scannedPath_;
  int32_t first_ = 0;
  int32_t last_ = 0;
  std::string prefix_;
  std::string extension_;
  std::unordered_map<int32_t, std::string> digits_;
};

}  // namespace Effect
