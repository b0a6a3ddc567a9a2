#pragma once
// A whole image file read into memory for the decoders, which all take their input in one
// piece.
#include <cstdint>
#include <string>
#include <vector>

namespace Media {

// The file's bytes. Only a regular file is read (a pipe or a device could block or never
// end), and one larger than `maxBytes` is refused before anything is allocated. Failures
// throw the error of `call` at `place`: the system's code when the file cannot be opened or
// read, the imaging code for a file too large.
std::vector<uint8_t> readFileBytes(const std::string& path, uint64_t maxBytes, const char* call,
                                   const char* place);

}  // namespace Media
