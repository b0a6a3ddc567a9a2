#include "gpu/svg/svg_paint.h"

#include <pango/pango.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

namespace Media::SvgPaint {
namespace {

std::string_view trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string lowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return result;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<Color::Rgba> parseHex(std::string_view digits) {
  std::array<int, 8> values{};
  if (digits.size() > values.size()) return std::nullopt;
  for (std::size_t i = 0; i < digits.size(); ++i)
    if ((values[i] = hexDigit(digits[i])) < 0) return std::nullopt;
  const auto single = [&](std::size_t i) { return static_cast<float>(values[i] * 17) / 255.0f; };
  const auto pair = [&](std::size_t i) {
    return static_cast<float>(values[i] * 16 + values[i + 1]) / 255.0f;
  };
  switch (digits.size()) {
    case 3: return Color::Rgba{single(0), single(1), single(2), 1.0f};
    case 4: return Color::Rgba{single(0), single(1), single(2), single(3)};
    case 6: return Color::Rgba{pair(0), pair(2), pair(4), 1.0f};
    case 8: return Color::Rgba{pair(0), pair(2), pair(4), pair(6)};
    default: return std::nullopt;
  }
}

// One argument of rgb(): a number of 0 ... 255 or a percentage, as a fraction 0 ... 1; the
// alpha argument is a fraction or a percentage.
std::optional<float> parseComponent(std::string_view text, bool isAlpha) {
  text = trim(text);
  bool percent = false;
  if (!text.empty() && text.back() == '%') {
    percent = true;
    text.remove_suffix(1);
  }
  float value = 0.0f;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  const float fraction = percent ? value / 100.0f : (isAlpha ? value : value / 255.0f);
  return std::clamp(fraction, 0.0f, 1.0f);
}

std::optional<Color::Rgba> parseFunction(std::string_view text, bool withAlpha) {
  if (text.empty() || text.back() != ')') return std::nullopt;
  text.remove_suffix(1);
  std::vector<std::string_view> arguments;
  while (true) {
    const auto comma = text.find(',');
    arguments.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (arguments.size() != (withAlpha ? 4u : 3u)) return std::nullopt;
  std::array<float, 4> channels{0.0f, 0.0f, 0.0f, 1.0f};
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const auto value = parseComponent(arguments[i], i == 3);
    if (!value) return std::nullopt;
    channels[i] = *value;
  }
  return Color::Rgba{channels[0], channels[1], channels[2], channels[3]};
}

// The declarations of a style attribute, "name: value" separated by ';'.
struct Declaration {
  std::string name;
  std::string value;
};

std::vector<Declaration> parseStyle(std::string_view style) {
  std::vector<Declaration> declarations;
  while (!style.empty()) {
    const auto semicolon = style.find(';');
    const std::string_view item = style.substr(0, semicolon);
    const auto colon = item.find(':');
    if (colon != std::string_view::npos)
      declarations.push_back({lowerCase(trim(item.substr(0, colon))),
                              std::string(trim(item.substr(colon + 1)))});
    if (semicolon == std::string_view::npos) break;
    style.remove_prefix(semicolon + 1);
  }
  return declarations;
}

std::optional<std::string> attribute(xmlNode* element, const char* name) {
  xmlChar* value = xmlGetProp(element, reinterpret_cast<const xmlChar*>(name));
  if (!value) return std::nullopt;
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

}  // namespace

std::optional<Color::Rgba> parseColor(std::string_view text) {
  text = trim(text);
  if (text.empty()) return std::nullopt;
  if (text.front() == '#') return parseHex(text.substr(1));
  const std::string lower = lowerCase(text);
  if (lower.rfind("rgba(", 0) == 0) return parseFunction(std::string_view(lower).substr(5), true);
  if (lower.rfind("rgb(", 0) == 0) return parseFunction(std::string_view(lower).substr(4), false);
  // The remaining colours are names ("red", "darkslateblue"); the paints of other kinds are
  // names too, but not of colours.
  if (lower == "none" || lower == "currentcolor" || lower == "inherit" || lower == "transparent")
    return std::nullopt;
  if (!std::all_of(lower.begin(), lower.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
    return std::nullopt;
  PangoColor named{};
  if (!pango_color_parse(&named, lower.c_str())) return std::nullopt;
  return Color::Rgba{named.red / 65535.0f, named.green / 65535.0f, named.blue / 65535.0f, 1.0f};
}

std::string formatColor(const Color::Rgba& colour) {
  const Color::Rgb8 bytes = Color::toRgb8(colour.red, colour.green, colour.blue);
  if (colour.alpha >= 1.0f) {
    char text[8];
    static constexpr char kDigits[] = "0123456789abcdef";
    text[0] = '#';
    const uint8_t channels[3] = {bytes.red, bytes.green, bytes.blue};
    for (int i = 0; i < 3; ++i) {
      text[1 + i * 2] = kDigits[channels[i] >> 4];
      text[2 + i * 2] = kDigits[channels[i] & 15];
    }
    return std::string(text, 7);
  }
  char alpha[32];
  const auto end = std::to_chars(alpha, alpha + sizeof alpha, std::clamp(colour.alpha, 0.0f, 1.0f)).ptr;
  return "rgba(" + std::to_string(bytes.red) + "," + std::to_string(bytes.green) + "," +
         std::to_string(bytes.blue) + "," + std::string(alpha, end) + ")";
}

std::optional<std::string> fillOf(xmlNode* element) {
  if (const auto style = attribute(element, "style")) {
    std::optional<std::string> fill;
    for (const auto& declaration : parseStyle(*style))
      if (declaration.name == "fill") fill = declaration.value;  // the last one counts
    if (fill) return fill;
  }
  return attribute(element, "fill");
}

void setFill(xmlNode* element, const std::string& value) {
  if (const auto style = attribute(element, "style")) {
    auto declarations = parseStyle(*style);
    const auto last = std::find_if(declarations.rbegin(), declarations.rend(),
                                   [](const Declaration& d) { return d.name == "fill"; });
    if (last != declarations.rend()) {
      last->value = value;
      std::string written;
      for (const auto& declaration : declarations)
        written += declaration.name + ":" + declaration.value + ";";
      xmlSetProp(element, reinterpret_cast<const xmlChar*>("style"),
                 reinterpret_cast<const xmlChar*>(written.c_str()));
      return;
    }
  }
  xmlSetProp(element, reinterpret_cast<const xmlChar*>("fill"),
             reinterpret_cast<const xmlChar*>(value.c_str()));
}

}  // namespace Media::SvgPaint
