#pragma once
// Number tracks of legacy object files. The old notation is "start,end,mode[@script][,param]":
// the mode number holds the movement in its low four bits and two flags in bits 5 and 6;
// the movement's name comes from the table "OldScript.trackmode" of effect.conf (key: the
// movement number) or, for a scripted movement, from the name after "@". Today's form is
// "start,end,movement,flags[|param]" (see Effect::EffectItemNumber::fromString).
#include <string>
#include <string_view>

#include "system/ini_file.h"

namespace Edit::ProjectConvert {

// The legacy track text in today's form, with the movement table of effect.conf (none when
// the settings are not loaded). A text of fewer than three fields is a static value and
// comes back unchanged. Throws "invalid stoi argument" or "stoi argument out of range" when
// the mode is no decimal number or lies outside the 32-bit range.
std::string convertTrackParameter(std::string_view text);
// The same with the movement table given.
std::string convertTrackParameter(std::string_view text,
                                  const System::IniFile::SectionRef& modeTable);

}  // namespace Edit::ProjectConvert
