#pragma once
// What both helper programs do: find their pipes and their plug-in folder on the command
// line, load the one plug-in the program names, show its settings dialog while holding the
// lock shared with the program, and end at the quit command or when the program closes its
// pipe. A helper adds its own commands (the reader's or the writer's) through a session.
//
// Command line: path, the descriptor it reads, the descriptor it writes (16 hexadecimal
// digits each), the plug-in folder.
#include <cstdint>
#include <string>
#include <string_view>

#include "media/plugin/pipe_commands.h"
#include "plugin_host/helper_pipe.h"

namespace PluginHost {

// The plug-in's shared library, loaded by its bare name from the plug-in folder.
class PluginLibrary {
 public:
  PluginLibrary() = default;
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;
  ~PluginLibrary();

  // Loads `name` from `folder` and returns the address of `symbol`. Ends the helper when the
  // name is not a bare file name, the library does not load or lacks the symbol, or a
  // library is already loaded.
  void* open(const std::string& folder, std::u16string_view name, const char* symbol);
  void* handle() const { return handle_; }

 private:
  void* handle_ = nullptr;
};

using ConfigureFunction = bool (*)(void* owner, void* library);

class HelperSession {
 public:
  virtual ~HelperSession() = default;
  // Loads the plug-in through `library` and writes the load reply.
  virtual void load(HelperPipe& pipe, PluginLibrary& library, const std::string& folder,
                    std::u16string_view name) = 0;
  // The plug-in's settings dialog, or null.
  virtual ConfigureFunction configure() const = 0;
  // A command of this helper's own (10 and above); false for a command it does not know.
  virtual bool serve(HelperPipe& pipe, int32_t command) = 0;
  // The helper is ending: close what the plug-in has open.
  virtual void finish() {}
};

// The reply to the load command: kind flags, name, file filter, information.
void writeLoadReply(HelperPipe& pipe, int32_t kinds, const char16_t* name,
                    const char16_t* fileFilter, const char16_t* information);

// Loads the plug-in `name`, copies the table its export `symbol` returns into `table` and
// answers the load command from it: the table's video and audio flags, and the settings flag
// when it has a dialog.
template <class Table>
void loadTable(HelperPipe& pipe, PluginLibrary& library, const std::string& folder,
               std::u16string_view name, const char* symbol, Table& table) {
  using TableFunction = Table* (*)(void);
  const auto tableFunction = reinterpret_cast<TableFunction>(library.open(folder, name, symbol));
  const Table* loaded = tableFunction();
  if (!loaded) HelperPipe::lost("the plug-in gave no table");
  table = *loaded;
  const int32_t kinds = (table.flags & (Plugin::kPipeKindVideo | Plugin::kPipeKindAudio)) |
                        (table.fnConfigure ? Plugin::kPipeKindSettings : 0);
  writeLoadReply(pipe, kinds, table.name, table.fileFilter, table.information);
}

// Runs the helper until quit or the end of its input; the process's exit status.
int runHelper(int argc, char** argv, HelperSession& session);

}  // namespace PluginHost
