#include "plugin_host/helper_pipe.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "media/plugin/pipe_commands.h"

namespace PluginHost {

void HelperPipe::lost(const char* why) {
  std::fprintf(stderr, "plug-in helper: %s\n", why);
  std::_Exit(3);
}

std::size_t HelperPipe::readSome(void* buffer, std::size_t size) {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t count = ::read(input_, bytes + done, size - done);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    done += static_cast<std::size_t>(count);
  }
  return done;
}

bool HelperPipe::readCommand(int32_t& command) {
  const std::size_t count = readSome(&command, sizeof command);
  if (count == 0) return false;
  if (count != sizeof command) lost("the program's pipe ended inside a command");
  return true;
}

void HelperPipe::read(void* buffer, std::size_t size) {
  if (readSome(buffer, size) != size) lost("the program's pipe ended inside a message");
}

int32_t HelperPipe::readInt() {
  int32_t value = 0;
  read(&value, sizeof value);
  return value;
}

std::u16string HelperPipe::readString() {
  const auto count = static_cast<uint32_t>(readInt());
  if (count > Plugin::kPipeMaxStringUnits) lost("a string longer than 4096 units");
  std::u16string text(count, u'\0');
  read(text.data(), std::size_t{count} * sizeof(char16_t));
  return text;
}

void HelperPipe::write(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t count = ::write(output_, bytes, size);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) lost("the program's pipe is closed");
    bytes += count;
    size -= static_cast<std::size_t>(count);
  }
}

void HelperPipe::writeInt(int32_t value) { write(&value, sizeof value); }

void HelperPipe::writeString(std::u16string_view text) {
  text = text.substr(0, Plugin::kPipeMaxStringUnits);
  writeInt(static_cast<int32_t>(text.size()));
  write(text.data(), text.size() * sizeof(char16_t));
}

void HelperPipe::writeBlock(const void* data, uint32_t size) {
  writeInt(static_cast<int32_t>(size));
  write(data, size);
}

int parseDescriptor(const char* text) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(text, &end, 16);
  if (errno != 0 || end == text || *end != '\0' || value > 1024 * 1024) return -1;
  return static_cast<int>(value);
}

std::u16string_view boundedText(const char16_t* text) {
  if (!text) return {};
  std::size_t length = 0;
  while (length < Plugin::kPipeMaxStringUnits && text[length] != u'\0') ++length;
  return {text, length};
}

std::u16string filterText(const char16_t* list) {
  std::u16string text;
  if (!list) return text;
  // Each text with its NUL; the empty text (the second NUL) ends the list.
  while (*list != u'\0' && text.size() < Plugin::kPipeMaxStringUnits) {
    const std::u16string_view entry = boundedText(list);
    text.append(entry);
    text.push_back(u'\0');
    list += entry.size() + 1;
  }
  text.resize(std::min<std::size_t>(text.size(), Plugin::kPipeMaxStringUnits));
  return text;
}

std::string toUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    uint32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (code >> 18)));
      out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

}  // namespace PluginHost
