// A helper program for the pipe process tests. It finds its pipes the way every helper does
// (from its command line) and answers one-byte commands:
//   'a'  reply: the argument count and every argument, each as a 4-byte length and bytes
//   'e'  read a 4-byte length (at most 1 MiB) and that many bytes; reply with the same
//   'l'  take the shared lock (descriptor 3), reply 'L'
//   'u'  give the lock back, reply 'U'
//   'd'  end 200 ms later without giving anything back
//   'c'  crash
//   's'  stubborn: from now on ignore the end of the input; reply 'S'
//   'f'  reply: its open descriptors as text, "0,1,2,3"
// The end of its input ends it, unless it was made stubborn.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

int input = -1;
int output = -1;

bool readAll(void* data, size_t size) {
  auto* bytes = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t count = ::read(input, bytes, size);
    if (count <= 0) return false;
    bytes += count;
    size -= static_cast<size_t>(count);
  }
  return true;
}

void writeAll(const void* data, size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t count = ::write(output, bytes, size);
    if (count <= 0) std::_Exit(3);
    bytes += count;
    size -= static_cast<size_t>(count);
  }
}

void writeText(const std::string& text) {
  const uint32_t size = static_cast<uint32_t>(text.size());
  writeAll(&size, sizeof size);
  writeAll(text.data(), text.size());
}

bool setLock(short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  return ::fcntl(3, F_SETLKW, &lock) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  input = static_cast<int>(std::strtol(argv[1], nullptr, 16));
  output = static_cast<int>(std::strtol(argv[2], nullptr, 16));
  bool stubborn = false;
  for (;;) {
    char command = 0;
    if (!readAll(&command, 1)) {
      if (!stubborn) return 0;
      for (;;) ::pause();
    }
    switch (command) {
      case 'a': {
        const uint32_t count = static_cast<uint32_t>(argc);
        writeAll(&count, sizeof count);
        for (int i = 0; i < argc; ++i) writeText(argv[i]);
        break;
      }
      case 'e': {
        uint32_t size = 0;
        if (!readAll(&size, sizeof size) || size > (1u << 20)) return 4;
        std::string data(size, '\0');
        if (!readAll(data.data(), size)) return 4;
        writeText(data);
        break;
      }
      case 'l':
        writeAll(setLock(F_WRLCK) ? "L" : "E", 1);
        break;
      case 'u':
        writeAll(setLock(F_UNLCK) ? "U" : "E", 1);
        break;
      case 'd':
        ::usleep(200000);
        std::_Exit(0);
      case 'c':
        std::abort();
      case 's':
        stubborn = true;
        writeAll("S", 1);
        break;
      case 'f': {
        std::vector<int> open;
        DIR* folder = ::opendir("/proc/self/fd");
        if (!folder) return 6;
        while (const dirent* entry = ::readdir(folder)) {
          if (entry->d_name[0] == '.') continue;
          const int descriptor = std::atoi(entry->d_name);
          if (descriptor != ::dirfd(folder)) open.push_back(descriptor);
        }
        ::closedir(folder);
        std::sort(open.begin(), open.end());
        std::string text;
        for (const int descriptor : open)
          text += (text.empty() ? "" : ",") + std::to_string(descriptor);
        writeText(text);
        break;
      }
      default:
        return 5;
    }
  }
}
