#pragma once
// Path variables, the file handle, directory listings and the filters of the open and save
// dialogs.
//
// Every stored path begins with a path variable ("%AppData%/velumo2.ini") and is expanded
// right before use. Paths are UTF-8 and written with "/"; a stored path that uses "\" is
// read with either separator.
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace System {

namespace FileName {

// The path with the variable at its very start expanded (case-sensitive). Builds the
// variable table (and creates its directories) at the first call that needs it. An expanded
// path has its "\" separators turned into "/"; any other path comes back as it is. The
// result must be used: the path passed in is never changed.
[[nodiscard]] std::string expandVariable(std::string_view path);
// The text before the last separator ("/a/b.txt" gives "/a"); empty without one.
std::string getDirectory(std::string_view path);
// The last component without its last extension.
std::string getTitle(std::string_view path);
// The text after the last "." of the last component, lower-cased (A to Z only).
std::string getExtension(std::string_view path);
// directory + prefix + "_YYYY-MM-DD_hh-mm-ss-mmm" + "." + extension, expanded. The directory
// is passed with its trailing separator ("%Log%/").
std::string makeTimeStampName(std::string_view directory, std::string_view prefix,
                              std::string_view extension);
// The same for a given local time (year, month, day, hour, minute, second) and millisecond.
std::string makeTimeStampName(std::string_view directory, std::string_view prefix,
                              std::string_view extension, const std::tm& localTime,
                              int millisecond);

// The value of one variable ("%AppData%"), or empty when unknown; builds the table.
std::string getVariable(std::string_view name);
// Forgets the table so that the next expansion builds it anew from `appInstall` (empty:
// the program's own directory). Tests use it to point %AppData% at a folder of their own.
void resetVariableList(std::string_view appInstall = {});

}  // namespace FileName

class File {
 public:
  enum Mode : int {
    Read = 0,             // read, others may read; the file must exist
    WriteExclusive = 1,   // write, no sharing; truncated or created
    WriteShared = 2,      // write, others may read (the log file); truncated or created
  };

  struct FileInfo {
    std::string path;
    uint64_t size = 0;
    int64_t lastWriteTime = 0;  // nanoseconds since the epoch
  };

  // Deletes the named file when the scope ends unless the name was cleared: a file whose
  // writing failed does not remain.
  class DeleteGuard {
   public:
    explicit DeleteGuard(const std::string* name) : name_(name) {}
    DeleteGuard(const DeleteGuard&) = delete;
    DeleteGuard& operator=(const DeleteGuard&) = delete;
    ~DeleteGuard();
    void clear() { name_ = nullptr; }

   private:
    const std::string* name_;
  };

  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  ~File() { close(); }

  // Opens an already expanded path; throws "failed to open file." with the path as note.
  void open(const std::string& path, int mode);
  // Reads exactly `count` bytes; fewer (also at the end of the file) throws code 30.
  void readBlock(void* buffer, std::size_t count);
  // Writes exactly `count` bytes; a short write throws code 29.
  void write(const void* buffer, std::size_t count);
  void write(std::string_view text) { write(text.data(), text.size()); }
  void close();
  // After every `bytes` bytes written, asks the kernel to start writing the file's changed
  // pages to disk without waiting for them (0: never). A long stream that is flushed at its
  // end (an exported movie) then waits only for its last stretch instead of all of it.
  void setWritebackInterval(uint64_t bytes) { writebackInterval_ = bytes; }

  bool isOpen() const { return fd_ >= 0; }
  int descriptor() const { return fd_; }
  uint64_t size() const;
  uint64_t position() const;
  void seek(uint64_t offset);

  static void createDirectory(const std::string& path);
  static bool exists(const std::string& path);
  static bool removeFile(const std::string& path);

  // Files matching a wildcard pattern with a concrete extension ("*.log"), in the order the
  // file system lists them. With a directory, each path is directory + "/" + name.
  static std::vector<FileInfo> findFiles(std::string_view pattern, std::string_view directory = {});
  static std::vector<FileInfo> findFilesByPattern(std::string_view pattern);
  // Sub-directories matching the pattern, bare names, none beginning with ".".
  static std::vector<std::string> findDirectories(std::string_view pattern);

 private:
  friend class SafeFileWriter;  // hands its temporary file's descriptor over
  void startWriteback(std::size_t written);

  int fd_ = -1;
  uint64_t writebackInterval_ = 0;
  uint64_t unsentBytes_ = 0;  // written since the last start of a writeback
};

// Writes a whole file safely: the bytes go to a temporary file in the same folder, and
// commit() flushes it and renames it over the target. Without commit() (an exception, a
// full disk) the temporary file is removed and the old file stays as it was. A long file is
// sent to disk while it grows, so that the flush at the end waits only for its last part.
class SafeFileWriter {
 public:
  explicit SafeFileWriter(std::string path);
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;
  ~SafeFileWriter();

  void write(const void* buffer, std::size_t count) { file_.write(buffer, count); }
  void write(std::string_view text) { file_.write(text); }
  File& file() { return file_; }
  void commit();

 private:
  std::string path_;
  std::string temporaryPath_;
  File file_;
  bool committed_ = false;
};

// The filter strings of the open and save dialogs: pairs of a description and a ";"-separated
// pattern list. Entries are numbered from 1.
struct FilterEntry {
  std::string description;
  std::string patterns;
};
using Filter = std::vector<FilterEntry>;

namespace FileFilter {
std::vector<std::string> getExtensionList(const Filter& filter);
int findIndex(const Filter& filter, std::string_view path);
std::string getExtension(const Filter& filter, int index);
}  // namespace FileFilter

}  // namespace System
