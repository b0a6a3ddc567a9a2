#pragma once
// Typed user parameters of services and components, kept in the parameter store (an
// IniFile written back at exit).
//
// An owner declares, in this order: a Section, then each parameter beside the member variable
// it binds, then a Binding of the section to the store. Building the owner loads the section
// (every variable gets its stored value or its default); destroying it saves every variable
// back into the store, because the binding, declared last, is destroyed first:
//
//     System::Config::Section config_{"Logger"};
//     int32_t maxViewLine_ = 0;
//     System::Config::Int maxViewLineParameter_{config_, "MaxViewLine", &maxViewLine_, 200};
//     System::Config::Binding binding_{config_, parameterStore};
//     ...in the constructor: binding_.load();
//
// A settings struct with many keys writes each one once, as an Entry of its table (key,
// member, default), and binds the table with a Table in place of the single parameters:
//
//     System::Config::Section config_{"Player"};
//     System::Config::Table table_{config_, settings, PlayerSettings::entries()};
//     System::Config::Binding binding_{config_, parameterStore};
//
// A missing or unreadable value silently becomes the default; nothing here reports an error.
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace System {
class IniFile;
}

namespace System::Config {

class Section;

// One key of a section bound to a variable of its owner. Owners destroy parameters as their
// concrete types, so the destructor is protected and not virtual.
class Parameter {
 public:
  Parameter(const Parameter&) = delete;
  Parameter& operator=(const Parameter&) = delete;

  const std::string& key() const { return key_; }

  // Sets the variable from a stored text.
  virtual void fromString(const std::string& text) = 0;
  // Replaces the text by the variable's text form.
  virtual void toString(std::string& text) const = 0;
  // Sets the variable to the default.
  virtual void setDefault() = 0;

 protected:
  // Appends the parameter to the section's list. The variable is not touched.
  Parameter(Section& section, std::string key);
  ~Parameter() = default;

 private:
  std::string key_;
};

template <class T>
class Value {
 public:
  Value(T* variable, T defaultValue) : variable_(variable), default_(std::move(defaultValue)) {}

  T* variable() const { return variable_; }
  const T& defaultValue() const { return default_; }

 protected:
  T* variable_;
  T default_;
};

// A 32-bit integer: written in decimal, read like strtol base 10 ("150px" reads 150).
class Int final : public Parameter, public Value<int32_t> {
 public:
  Int(Section& section, std::string key, int32_t* variable, int32_t defaultValue);
  void fromString(const std::string& text) override;
  void toString(std::string& text) const override;
  void setDefault() override;
};

// A 32-bit float: written with six decimals (0.5 is "0.500000"), read like strtof; both with
// "." as the decimal point whatever the process locale.
class Float final : public Parameter, public Value<float> {
 public:
  Float(Section& section, std::string key, float* variable, float defaultValue);
  void fromString(const std::string& text) override;
  void toString(std::string& text) const override;
  void setDefault() override;
};

// A UTF-8 text, stored as it is. A present but empty value reads as an empty text.
class String final : public Parameter, public Value<std::string> {
 public:
  String(Section& section, std::string key, std::string* variable, std::string defaultValue);
  void fromString(const std::string& text) override;
  void toString(std::string& text) const override;
  void setDefault() override;
};

// A named group of parameters, in the order they were constructed. The list does not own the
// parameters; they are members of the same owner.
class Section {
 public:
  explicit Section(std::string name) : name_(std::move(name)) {}
  Section(const Section&) = delete;
  Section& operator=(const Section&) = delete;
  ~Section() { freeParameterList(); }

  const std::string& name() const { return name_; }
  const std::vector<Parameter*>& parameters() const { return parameters_; }

  // Fills every bound variable from the store; a missing section, a missing key, an
  // unreadable value or any failure gives the default. A section without a name is not
  // stored anywhere: every variable takes its default.
  void load(const IniFile& store);
  // Writes every variable into the store, creating the section and keys as needed; keys no
  // parameter owns stay as they are. A section without a name is not saved.
  void save(IniFile& store) const;
  // Every variable takes its default.
  void setDefault();
  // Forgets the parameters without saving (an owner whose construction failed part-way).
  void freeParameterList() { parameters_.clear(); }

  void addParameter(Parameter* parameter) { parameters_.push_back(parameter); }

 private:
  std::string name_;
  std::vector<Parameter*> parameters_;
};

// Binds a section to the parameter store for the owner's lifetime: its destruction saves the
// section into the store. Without a store (no settings service, as in tests and tools) the
// section loads its defaults and saves nothing.
class Binding {
 public:
  Binding(Section& section, IniFile* store) : section_(&section), store_(store) {}
  Binding(const Binding&) = delete;
  Binding& operator=(const Binding&) = delete;
  ~Binding();

  void load();
  IniFile* store() const { return store_; }

 private:
  Section* section_;
  IniFile* store_;
};

// One row of a settings struct's table: the key, the member that holds the value and the
// default. The member's type picks the parameter: int32_t an Int, float a Float,
// std::string a String.
template <class Settings>
class Entry {
 public:
  Entry(const char* key, int32_t Settings::*member, int32_t defaultValue)
      : key(key), field(Field<int32_t>{member, defaultValue}) {}
  Entry(const char* key, float Settings::*member, float defaultValue)
      : key(key), field(Field<float>{member, defaultValue}) {}
  Entry(const char* key, std::string Settings::*member, const char* defaultValue)
      : key(key), field(Field<std::string, const char*>{member, defaultValue}) {}

  template <class T, class Default = T>
  struct Field {
    T Settings::*member;
    Default defaultValue;
  };

  const char* key;
  std::variant<Field<int32_t>, Field<float>, Field<std::string, const char*>> field;
};

// Sets every member the table names to its default.
template <class Settings>
void setDefaults(Settings& settings, std::span<const Entry<Settings>> table) {
  for (const Entry<Settings>& entry : table)
    std::visit([&settings](const auto& field) { settings.*field.member = field.defaultValue; },
               entry.field);
}

// The parameters of a settings struct: one per entry of its table, in the table's order,
// each bound to its member of `settings`. Declared after the section, like single parameters.
class Table {
 public:
  template <class Settings>
  Table(Section& section, Settings& settings, std::span<const Entry<Settings>> table) {
    for (const Entry<Settings>& entry : table)
      std::visit(
          [&](const auto& field) {
            add(section, entry.key, &(settings.*field.member), field.defaultValue);
          },
          entry.field);
  }
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

 private:
  void add(Section& section, const char* key, int32_t* variable, int32_t defaultValue) {
    ints_.emplace_back(section, key, variable, defaultValue);
  }
  void add(Section& section, const char* key, float* variable, float defaultValue) {
    floats_.emplace_back(section, key, variable, defaultValue);
  }
  void add(Section& section, const char* key, std::string* variable, const char* defaultValue) {
    strings_.emplace_back(section, key, variable, defaultValue);
  }

  // Parameters neither copy nor move; a deque makes them in place and never moves them.
  std::deque<Int> ints_;
  std::deque<Float> floats_;
  std::deque<String> strings_;
};

}  // namespace System::Config
