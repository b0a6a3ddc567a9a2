#pragma once
// The text of the SCRIPT log line of a failed run: the message of the Lua error followed by
// the lines of the chunk around the line the error names, so that the user sees where the
// script went wrong.
#include <string>
#include <string_view>

namespace Plugin {

// `error` is the Lua error text ("[string \"...\"]:5: message"), `chunk` the text that was
// run. With a position: the message, then for the line before, the line itself and the line
// after (as many as exist) "\r\n> " and the line. Without a readable position, or with an
// empty message: the whole error text. Both are UTF-8; invalid sequences are replaced.
std::string composeScriptErrorText(std::string_view error, std::string_view chunk);

}  // namespace Plugin
