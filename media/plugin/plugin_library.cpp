#include "media/plugin/plugin_library.h"

#include <dlfcn.h>

#include "system/exception.h"
#include "system/log.h"

namespace Plugin {
namespace {

std::string loaderError() {
  const char* text = ::dlerror();
  return text ? text : "unknown error";
}

}  // namespace

PluginLibrary::PluginLibrary(const std::string& path, const char* place, bool keepLoaded)
    : path_(path) {
  System::Log::info(place, "dlopen: %s", path.c_str());
  ::dlerror();
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | (keepLoaded ? RTLD_NODELETE : 0));
  if (!handle_) throw System::makeException(place, "dlopen() failed.", loaderError());
}

PluginLibrary::~PluginLibrary() { ::dlclose(handle_); }

void* PluginLibrary::symbol(const char* name, const char* place) const {
  ::dlerror();
  void* address = ::dlsym(handle_, name);
  if (!address) throw System::makeException(place, "dlsym() failed.", loaderError());
  return address;
}

}  // namespace Plugin
