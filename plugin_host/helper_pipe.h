#pragma once
// The helper's side of the pipes to the program: it reads commands from its standard input
// and writes replies to its standard output, in the items of the pipe protocol
// (media/plugin/pipe_commands.h). When the program has gone, or sends what cannot be part of
// the exchange, nothing sensible is left to do: the helper ends at once.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace PluginHost {

class HelperPipe {
 public:
  HelperPipe(int input, int output) : input_(input), output_(output) {}

  // The next command, or false at the end of the input (the program closed its end).
  bool readCommand(int32_t& command);
  void read(void* buffer, std::size_t size);
  int32_t readInt();
  // A counted UTF-16 string of at most 4096 units.
  std::u16string readString();

  void write(const void* data, std::size_t size);
  void writeInt(int32_t value);
  // At most 4096 units are sent (the program refuses longer strings).
  void writeString(std::u16string_view text);
  void writeBlock(const void* data, uint32_t size);

  // Ends the helper: the exchange cannot go on.
  [[noreturn]] static void lost(const char* why);

 private:
  // Reads what there is up to `size`; the count read (0 at the end of the input).
  std::size_t readSome(void* buffer, std::size_t size);

  int input_;
  int output_;
};

// The number a descriptor argument carries ("0000000000000000"), or -1.
int parseDescriptor(const char* text);

// The text of a NUL-terminated UTF-16 string (empty for null), at most 4096 units.
std::u16string_view boundedText(const char16_t* text);
// A file filter list (label NUL pattern NUL ... NUL NUL) as one string with each text ended
// by a NUL, at most 4096 units.
std::u16string filterText(const char16_t* list);

// UTF-16 to UTF-8 for the file system; unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);

}  // namespace PluginHost
