#pragma once
// A folder of its own for one test, removed with everything in it at the end. The fuzz
// targets use it too (it needs no test framework).
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace TestSupport {

class TempFolder {
 public:
  // `prefix` begins the folder's name, so that a left-over folder tells who made it.
  explicit TempFolder(const std::string& prefix = "velumo-test") {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  // Writes a file below the folder (its parents made) and returns its full path.
  std::string writeFile(const std::string& name, const std::string& contents) const {
    const std::string full = *this / name;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream(full, std::ios::binary) << contents;
    return full;
  }
  std::string makeFolder(const std::string& name) const {
    const std::string full = *this / name;
    std::filesystem::create_directories(full);
    return full;
  }

 private:
  std::string path_;
};

inline std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets or clears an environment variable for one scope and puts the old value back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, hadOld_ = true;
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    if (hadOld_) ::setenv(name_.c_str(), old_.c_str(), 1);
    else ::unsetenv(name_.c_str());
  }

 private:
  std::string name_;
  std::string old_;
  bool hadOld_ = false;
};

}  // namespace TestSupport
