#include "edit/legacy_track_convert.h"

#include <charconv>
#include <cstdint>
#include <system_error>
#include <vector>

#include "system/exception.h"
#include "system/setting_service.h"

namespace Edit::ProjectConvert {

namespace {

constexpr const char* kPlace = "Edit::ProjectConvert::convertTrackParameter";

std::vector<std::string_view> splitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t comma = text.find(',');
    fields.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return fields;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A decimal int the way the old editor read it: leading blanks and a sign, then digits up to
// the first other character; no digit at all or a value outside 32 bits is an error.
int32_t readModeNumber(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // The digits are read as an unsigned magnitude so that the smallest int is reachable.
  uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (error == std::errc::invalid_argument || end == text.data())
    throw System::makeException(kPlace, "invalid stoi argument", std::string(text));
  const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  if (error == std::errc::result_out_of_range || magnitude > limit)
    throw System::makeException(kPlace, "stoi argument out of range", std::string(text));
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude))
                  : static_cast<int32_t>(magnitude);
}

}  // namespace

std::string convertTrackParameter(std::string_view text) {
  if (const auto* settings = Setting::SettingService::instance())
    return convertTrackParameter(text, settings->effect.getSection("OldScript.trackmode"));
  return convertTrackParameter(text, System::IniFile::SectionRef());
}

std::string convertTrackParameter(std::string_view text,
                                  const System::IniFile::SectionRef& modeTable) {
  const std::vector<std::string_view> fields = splitFields(text);
  if (fields.size() < 3) return std::string(text);

  // The mode field: the number, then an optional "@" with the script's name.
  std::string_view modeField = fields[2];
  while (!modeField.empty() && isBlank(modeField.front())) modeField.remove_prefix(1);
  std::size_t stop = 0;
  while (stop < modeField.size() && static_cast<unsigned char>(modeField[stop]) >= 32 &&
         modeField[stop] != '@')
    ++stop;
  std::string_view number = modeField.substr(0, stop);
  while (!number.empty() && isBlank(number.back())) number.remove_suffix(1);
  const int32_t mode = readModeNumber(number);
  const int32_t movement = mode & 15;

  std::string movementName;
  const std::string movementKey = std::to_string(movement);
  if (modeTable.hasKey(movementKey)) {
    movementName = modeTable.findValue(movementKey).text;
  } else if (const std::size_t at = modeField.find('@'); at != std::string_view::npos) {
    movementName = modeField.substr(at + 1);
  }

  int flags = 0;
  if (mode & (1 << 5)) flags += 2;
  if (mode & (1 << 6)) flags += 1;
  if (movement == modeTable.findValue("SingleSection").toInt(-1)) flags += 4;

  std::string result;
  result.reserve(text.size() + movementName.size() + 8);
  result.append(fields[0]).append(",").append(fields[1]).append(",");
  result.append(movementName).append(",").append(std::to_string(flags));
  if (fields.size() >= 4) result.append("|").append(fields[3]);
  return result;
}

}  // namespace Edit::ProjectConvert
