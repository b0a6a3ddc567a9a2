#include "script/script_header_reader.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_combo_file.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_font_select.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/effect_item_string.h"
#include "effect/script_effect.h"
#include "effect/script_lines.h"
#include "script/script_service.h"
#include "system/log.h"

namespace Plugin {

using Effect::EffectItem;
using Effect::ScriptEffect;

namespace {

bool isControl(char c) { return static_cast<unsigned char>(c) < 0x20; }

std::string_view trimRight(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Numbers as the standard text conversions read them: spaces first, then the leading part
// of the text, which must be a number.
double readDouble(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) throw std::out_of_range("stod argument out of range");
  if (error != std::errc()) throw std::invalid_argument("invalid stod argument");
  return value;
}

int readInt(std::string_view text, int base) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text.remove_prefix(2);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error == std::errc::invalid_argument) throw std::invalid_argument("invalid stoi argument");
  if (negative) value = -value;
  if (error == std::errc::result_out_of_range || value < INT32_MIN || value > INT32_MAX)
    throw std::out_of_range("stoi argument out of range");
  return static_cast<int>(value);
}

// A cursor over one directive line.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  void skipSpaces() {
    while (at_ < line_.size() && line_[at_] == ' ') ++at_;
  }
  // A variable name from the cursor: to ":" or a control character, trailing spaces
  // dropped; one ":" skipped.
  std::string_view name() {
    skipSpaces();
    const std::size_t start = at_;
    while (at_ < line_.size() && line_[at_] != ':' && !isControl(line_[at_])) ++at_;
    const std::string_view text = trimRight(line_.substr(start, at_ - start));
    if (at_ < line_.size() && line_[at_] == ':') ++at_;
    return text;
  }
  // A field: spaces skipped, to `separator` or the end, trailing spaces dropped; one
  // separator skipped.
  std::string_view field(char separator = ',') {
    skipSpaces();
    const std::size_t start = std::min(at_, line_.size());
    while (at_ < line_.size() && line_[at_] != separator) ++at_;
    const std::string_view text = trimRight(line_.substr(start, at_ - start));
    if (at_ < line_.size()) ++at_;
    return text;
  }
  // The text from the cursor (spaces kept) to `stop` or the end; one `stop` skipped.
  std::string_view until(char stop) {
    const std::size_t start = std::min(at_, line_.size());
    while (at_ < line_.size() && line_[at_] != stop) ++at_;
    const std::string_view text = line_.substr(start, at_ - start);
    if (at_ < line_.size()) ++at_;
    return text;
  }
  void seek(std::size_t at) { at_ = at; }
  bool atEnd() const { return at_ >= line_.size(); }

 private:
  std::string_view line_;
  std::size_t at_ = 0;
};

// The text after the first ":" of the line; empty without one.
std::string_view afterColon(std::string_view line) {
  const std::size_t colon = line.find(':');
  return colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
}

std::string_view unquoted(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    return text.substr(1, text.size() - 2);
  return text;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

enum class Directive {
  Track, Check, Color, File, Font, Figure, Value, Select, Dialog, Param, Script, Label,
  Information, BlockComment,
};

struct DirectiveWord {
  const char* word;
  Directive directive;
};
// In the order they are compared: the first word the line begins with decides.
constexpr DirectiveWord kDirectives[] = {
    {"--track", Directive::Track},   {"--check", Directive::Check},
    {"--color", Directive::Color},   {"--file", Directive::File},
    {"--font", Directive::Font},     {"--figure", Directive::Figure},
    {"--value", Directive::Value},   {"--select", Directive::Select},
    {"--dialog", Directive::Dialog}, {"--param", Directive::Param},
    {"--script", Directive::Script}, {"--label", Directive::Label},
    {"--information", Directive::Information}, {"--[[", Directive::BlockComment},
};

class HeaderReader {
 public:
  HeaderReader(ScriptEffect& prototype, std::string* label)
      : prototype_(prototype), record_(*prototype.record()), label_(label) {}

  // The position reading goes on at after the line [start, end).
  std::size_t readLine(std::string_view text, std::size_t start, std::size_t end) {
    const std::string_view line = text.substr(start, end - start);
    const std::size_t next = Effect::scriptNextLine(text, end);
    if (!startsWith(line, "--")) return next;
    for (const DirectiveWord& entry : kDirectives) {
      const std::string_view word = entry.word;
      if (!startsWith(line, word)) continue;
      if (entry.directive == Directive::BlockComment) {
        const std::size_t close = text.find("]]", start + word.size());
        if (close == std::string_view::npos) return next;
        return Effect::scriptNextLine(text, Effect::scriptLineEnd(text, close));
      }
      readDirective(entry.directive, line, word.size());
      return next;
    }
    return next;
  }

  bool engineChosen() const { return engineChosen_; }

 private:
  void readDirective(Directive directive, std::string_view line, std::size_t wordLength) {
    LineReader reader(line);
    // The variable a parameter directive binds: "@name" right after the word, or the text
    // after "--" up to ":".
    const bool named = wordLength < line.size() && line[wordLength] == '@';
    const auto variable = [&](bool plainIsField) {
      reader.seek(named ? wordLength + 1 : 2);
      const std::string name(reader.name());
      if (named) return "@local " + name;
      return plainIsField ? name : "@local " + name;
    };
    switch (directive) {
      case Directive::Track: {
        const std::string name = variable(true);
        const std::string label(reader.field());
        const std::string_view minimum = reader.field();
        const std::string_view maximum = reader.field();
        const std::string_view initial = reader.field();
        const std::string_view step = reader.field();
        add(name, std::make_unique<Effect::EffectItemNumber>(
                      prototype_.items, label, initial.empty() ? 0.0 : readDouble(initial),
                      minimum.empty() ? 0.0 : readDouble(minimum),
                      maximum.empty() ? 0.0 : readDouble(maximum),
                      step.empty() ? 0.1 : readDouble(step)));
        break;
      }
      case Directive::Check: {
        const std::string name = variable(true);
        const std::string label(reader.field());
        const std::string_view initial = reader.field();
        const bool on = !initial.empty() && readInt(initial, 10) != 0;
        add(name, std::make_unique<Effect::EffectItemCheck>(prototype_.items, label, on));
        break;
      }
      case Directive::Color: {
        const std::string name = variable(false);
        std::string label(reader.field());
        std::string value(reader.field());
        if (value.empty()) {
          value = std::move(label);
          label = "色";
        }
        if (value.empty() || value == "nil") {
          add(name, std::make_unique<Effect::EffectItemColor>(
                        prototype_.items, label, Effect::EffectItemColor::kNoColor,
                        Effect::ItemType::ColorOrNone));
        } else {
          const auto rgb = static_cast<uint32_t>(readInt(value, 16)) & 0xFFFFFFu;
          add(name, std::make_unique<Effect::EffectItemColor>(prototype_.items, label, rgb));
        }
        break;
      }
      case Directive::File: {
        const std::string name = variable(false);
        std::string label(reader.field());
        if (label.empty()) label = "ファイル";
        add(name, std::make_unique<Effect::EffectItemFile>(prototype_.items, label, ""));
        break;
      }
      case Directive::Font: {
        const std::string name = variable(false);
        const std::string label(reader.field());
        const std::string face(reader.field());
        // Only an installed face: the item itself would fall back to the default one.
        Effect::EffectItemFontSelect::getFontList()->getValue(face);
        add(name,
            std::make_unique<Effect::EffectItemFontSelect>(prototype_.items, label, face.c_str()));
        break;
      }
      case Directive::Figure: {
        const std::string name = variable(false);
        const std::string label(reader.field());
        addFigure(name, label, reader.field());
        break;
      }
      case Directive::Value: {
        const std::string name = variable(false);
        const std::string label(reader.field());
        makeValueItem(prototype_, name, label, reader.field(';'));
        break;
      }
      case Directive::Select:
        readSelect(variable(false), reader);
        break;
      case Directive::Dialog:
        readDialog(afterColon(line));
        break;
      case Directive::Param:
        readParam(afterColon(line));
        break;
      case Directive::Script: {
        const std::string name(afterColon(line));
        record_.engine = ScriptService::findEngine(name.c_str());
        record_.engineName = name;
        engineChosen_ = true;
        break;
      }
      case Directive::Label:
        if (label_) *label_ = std::string(afterColon(line));
        break;
      case Directive::Information:
        record_.information = std::string(afterColon(line));
        break;
      case Directive::BlockComment:
        break;
    }
  }

  void readSelect(const std::string& name, LineReader& reader) {
    std::string label(reader.field());
    int initial = 0;
    if (const std::size_t equals = label.find('=');
        equals != std::string::npos && label.find('=', equals + 1) == std::string::npos) {
      const std::string value = label.substr(equals + 1);
      initial = value.empty() ? 0 : readInt(value, 10);
      label.resize(equals);
    }
    auto list = Effect::EffectItemSelect::createSharedList();
    while (!reader.atEnd()) {
      const std::string_view choice = reader.field();
      const std::size_t equals = choice.find('=');
      if (choice.empty() || equals == std::string_view::npos ||
          choice.find('=', equals + 1) != std::string_view::npos)
        break;
      const std::string_view value = choice.substr(equals + 1);
      list->addItem(value.empty() ? 0 : readInt(value, 10), choice.substr(0, equals));
    }
    // A default that no choice has becomes the smallest choice (0 without choices).
    if (!list->entries.contains(initial)) initial = list->entries.empty() ? 0 : list->firstValue();
    add(name, std::make_unique<Effect::EffectItemSelect>(prototype_.items, label, initial, list));
  }

  void readDialog(std::string_view entries) {
    LineReader reader(entries);
    while (!reader.atEnd()) {
      const std::string_view label = reader.field();
      if (label.empty()) return;
      std::string_view declaration = reader.until('=');
      if (declaration.empty()) return;
      if (startsWith(declaration, "local ")) declaration.remove_prefix(6);
      const std::string_view value = reader.field(';');
      const std::string_view suffix = label.size() > 3 ? label.substr(label.size() - 4) : "";
      const std::string shortLabel(label.substr(0, label.size() >= 4 ? label.size() - 4 : 0));
      const std::string variable = "@" + std::string(declaration);
      if (suffix == "/chk") {
        const bool on = !value.empty() && readInt(value, 10) != 0;
        add(variable, std::make_unique<Effect::EffectItemCheck>(prototype_.items, shortLabel, on));
      } else if (suffix == "/col") {
        const std::string_view hex = unquoted(value);
        const auto rgb = static_cast<uint32_t>(hex.empty() ? 0 : readInt(hex, 16)) & 0xFFFFFFu;
        add(variable, std::make_unique<Effect::EffectItemColor>(prototype_.items, shortLabel, rgb));
      } else if (suffix == "/fig") {
        addFigure(variable, shortLabel, unquoted(value));
      } else {
        makeValueItem(prototype_, std::string(declaration), label, value);
      }
    }
  }

  void readParam(std::string_view entries) {
    LineReader reader(entries);
    while (!reader.atEnd()) {
      const std::string name(reader.until('='));
      if (name.empty()) return;
      makeValueItem(prototype_, name, name, reader.field(';'));
    }
  }

  void addFigure(const std::string& variable, const std::string& label, std::string_view figure) {
    const std::string name(figure);
    // Only a figure of the list: the item itself would fall back to the first one.
    Effect::EffectItemFigureSelect::getFigureList()->getValue(name);
    add(variable,
        std::make_unique<Effect::EffectItemFigureSelect>(prototype_.items, label, name.c_str()));
  }

  void add(const std::string& variable, std::unique_ptr<EffectItem> item) {
    addDeclaredItem(prototype_, variable, std::move(item));
  }

  ScriptEffect& prototype_;
  Effect::ScriptRecord& record_;
  std::string* label_;
  bool engineChosen_ = false;
};

}  // namespace

EffectItem& addDeclaredItem(ScriptEffect& prototype, const std::string& variable,
                            std::unique_ptr<EffectItem> item) {
  EffectItem& added = *item;
  prototype.record()->items.emplace_back(variable, std::shared_ptr<const EffectItem>(added.clone()));
  prototype.addScriptItem(variable, std::move(item));
  return added;
}

EffectItem& makeValueItem(ScriptEffect& prototype, const std::string& variable,
                          std::string_view label, std::string_view value) {
  uint8_t kind = Effect::ItemType::ScriptString1;
  std::string_view text = value;
  if (!value.empty() && value.front() == '"' && value.back() == '"') {
    kind = Effect::ItemType::String;
    text = value.size() >= 2 ? value.substr(1, value.size() - 2) : std::string_view();
  } else if (value.size() >= 2 && value.front() == '{' && value.back() == '}') {
    kind = Effect::ItemType::ScriptString2;
    text = value.substr(1, value.size() - 2);
  }
  return addDeclaredItem(
      prototype, variable,
      std::make_unique<Effect::EffectItemString>(prototype.items, label, text, kind));
}

void readScriptHeader(ScriptEffect& prototype, std::string* label, const char* engine) {
  Effect::ScriptRecord& record = *prototype.record();
  HeaderReader reader(prototype, label);
  const std::string_view text = record.text;
  try {
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = Effect::scriptLineEnd(text, start);
      start = reader.readLine(text, start, end);
    }
  } catch (const std::exception& failure) {
    System::Log::warn("Effect::ScriptEffect::makeScriptParams",
                      "script params load faild [%s]\n%s", record.name.c_str(), failure.what());
  }
  if (reader.engineChosen()) return;
  record.engine = ScriptService::findEngine(engine);
  record.engineName = engine ? engine : "";
}

}  // namespace Plugin
