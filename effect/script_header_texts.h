#pragma once
// The two header lines of a script that the registry itself uses: its menu label
// ("--label:...") and its information text ("--information:..."), read without the rest of
// the header.
#include <optional>
#include <string>
#include <string_view>

namespace Effect {

struct ScriptHeaderTexts {
  std::optional<std::string> label;        // the last label line, when there is one
  std::optional<std::string> information;  // the last information line, when there is one
};

// Reads every line of the script that begins with "--": a line is taken by the first
// directive word it begins with, so "--label" and "--information" lines give their text
// after the first ":" (empty without one), and a "--[[" block comment is skipped up to the
// line that holds its "]]". Lines end at CR LF, CR or LF.
ScriptHeaderTexts readScriptHeaderTexts(std::string_view text);

}  // namespace Effect
