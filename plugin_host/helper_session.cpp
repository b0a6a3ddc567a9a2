#include "plugin_host/helper_session.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>

#include <cerrno>
#include <cstdio>

#include "media/plugin/pipe_commands.h"

namespace PluginHost {
namespace {

bool setSharedLock(int descriptor, short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  while (::fcntl(descriptor, F_SETLKW, &lock) != 0)
    if (errno != EINTR) return false;
  return true;
}

// Command 2: the lock is taken before the reply, so the program's wait for it lasts until
// the dialog closes.
void serveSettings(HelperPipe& pipe, ConfigureFunction configure, void* library) {
  // Window handles of this platform do not cross processes; the owner is not used.
  pipe.readInt();
  const int32_t lock = pipe.readInt();
  const bool locked = setSharedLock(lock, F_WRLCK);
  pipe.writeInt(0);
  if (configure) configure(nullptr, library);
  if (locked) setSharedLock(lock, F_UNLCK);
}

}  // namespace

PluginLibrary::~PluginLibrary() {
  if (handle_) ::dlclose(handle_);
}

void* PluginLibrary::open(const std::string& folder, std::u16string_view name,
                          const char* symbol) {
  if (handle_) HelperPipe::lost("a plug-in is already loaded");
  const std::string file = toUtf8(name);
  // Only a file of the plug-in folder itself.
  if (file.empty() || file == "." || file == ".." || file.find('/') != std::string::npos)
    HelperPipe::lost("the plug-in name is not a file name");
  const std::string path = folder + "/" + file;
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    std::fprintf(stderr, "plug-in helper: %s\n", ::dlerror());
    HelperPipe::lost("the plug-in does not load");
  }
  void* address = ::dlsym(handle_, symbol);
  if (!address) HelperPipe::lost("the plug-in has no table");
  return address;
}

void writeLoadReply(HelperPipe& pipe, int32_t kinds, const char16_t* name,
                    const char16_t* fileFilter, const char16_t* information) {
  pipe.writeInt(kinds);
  pipe.writeString(boundedText(name));
  pipe.writeString(filterText(fileFilter));
  pipe.writeString(boundedText(information));
}

int runHelper(int argc, char** argv, HelperSession& session) {
  if (argc < 3) return 2;
  const int input = parseDescriptor(argv[1]);
  const int output = parseDescriptor(argv[2]);
  if (input < 0 || output < 0) return 2;
  const std::string folder = argc > 3 && argv[3][0] != '\0' ? argv[3] : ".";
  // A write to a program that has gone fails instead of ending the helper unannounced.
  ::signal(SIGPIPE, SIG_IGN);

  HelperPipe pipe(input, output);
  PluginLibrary library;
  int32_t command = 0;
  while (pipe.readCommand(command)) {
    switch (static_cast<Plugin::PipeCommand>(command)) {
      case Plugin::PipeCommand::Quit:
        session.finish();
        return 0;
      case Plugin::PipeCommand::LoadPlugin: {
        const std::u16string name = pipe.readString();
        session.load(pipe, library, folder, name);
        break;
      }
      case Plugin::PipeCommand::ShowConfig:
        serveSettings(pipe, session.configure(), library.handle());
        break;
      default:
        if (!session.serve(pipe, command)) HelperPipe::lost("an unknown command");
    }
  }
  session.finish();
  return 0;
}

}  // namespace PluginHost
