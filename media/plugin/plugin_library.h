#pragma once
// A plug-in library loaded into the process: the handle of the loaded shared object, closed
// when the last holder lets go. Every file opened through a plug-in holds its library too,
// so the code a file calls stays mapped for as long as the file lives.
#include <string>

namespace Plugin {

class PluginLibrary {
 public:
  // Logs "dlopen: %s" at INFO with `place` and loads the path with every symbol bound now
  // and none offered to other libraries. `keepLoaded`: the code stays mapped after the
  // close (a writer may leave threads or handlers of its own behind). A failure throws
  // "dlopen() failed." with the loader's text.
  PluginLibrary(const std::string& path, const char* place, bool keepLoaded);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // The exported symbol; a missing one throws "dlsym() failed." with the loader's text.
  void* symbol(const char* name, const char* place) const;
  // The loader's handle, handed to the plug-in's settings dialog as its library.
  void* handle() const { return handle_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  void* handle_ = nullptr;
};

}  // namespace Plugin
