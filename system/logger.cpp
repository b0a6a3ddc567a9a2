#include "system/logger.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "system/setting_service.h"

namespace System {
namespace {

bool reaches(int32_t sinkLevel, const Log::Type& type) {
  return sinkLevel > 0 && type.level >= sinkLevel;
}

// Whether the path names the file behind the open descriptor (also under another name).
bool isSameFile(const std::string& path, int descriptor) {
  struct stat opened {};
  struct stat named {};
  return descriptor >= 0 && ::fstat(descriptor, &opened) == 0 &&
         ::stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

}  // namespace

Logger::Logger() : binding_(config_, Setting::ParameterIni::instance()) {
  binding_.load();
  Log::setOutput([this](const Log::Type& type, std::string_view place, std::string_view text) {
    write(type, place, text);
  });
  // Warnings of the settings files were found before the logger existed.
  for (const auto& record : Log::takeEarlyRecords()) write(*record.type, record.place, record.text);
}

Logger::~Logger() {
  Log::setOutput(Log::discardOutput);
  std::lock_guard lock(mutex_);
  file_.close();
}

void Logger::write(const Log::Type& type, std::string_view place, std::string_view text) {
  // A record made while this thread writes one (a failure inside the writing logs through
  // the same output) is dropped: it would recurse. Records of other threads wait their turn.
  thread_local bool writing = false;
  if (writing) return;
  std::lock_guard lock(mutex_);
  // Cleared also when formatting the line throws (out of memory): a flag left set would
  // silence this thread for the rest of the run.
  struct WritingScope {
    bool& flag;
    explicit WritingScope(bool& f) : flag(f) { flag = true; }
    ~WritingScope() { flag = false; }
  } scope(writing);
  const std::string line = Log::formatLine(type.name, place, text);
  if (reaches(debuggerLogLevel, type)) std::fputs(line.c_str(), stderr);
  try {
    if (reaches(viewLogLevel, type)) addViewLines(type, line);
    if (reaches(fileLogLevel, type)) writeFile(line);
  } catch (const std::exception&) {
    // A sink that failed costs this line; the next record tries again.
  }
}

void Logger::addViewLines(const Log::Type& type, std::string_view line) {
  std::size_t start = 0;
  while (start <= line.size()) {
    std::size_t end = line.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = line.size();
    if (end > start) {
      viewLines_.push_front({&type, std::string(line.substr(start, end - start))});
      ++changeCounter_;
    }
    start = end + 1;
  }
  while (viewLines_.size() > static_cast<std::size_t>(std::max(0, maxViewLine))) viewLines_.pop_back();
}

void Logger::writeFile(std::string_view line) {
  if (!file_.isOpen()) {
    file_.open(FileName::makeTimeStampName("%Log%/", "velumo2", "log"), File::WriteShared);
    if (!oldFilesDeleted_) {
      oldFilesDeleted_ = true;
      deleteOldFiles();
    }
  }
  file_.write(line);
}

void Logger::deleteOldFiles() {
  auto files = File::findFilesByPattern(FileName::expandVariable("%Log%/*.log"));
  // The names carry their time stamps, so name order is age order: newest first. The order
  // in which the directory lists them says nothing.
  std::sort(files.begin(), files.end(), [](const File::FileInfo& a, const File::FileInfo& b) {
    return a.path > b.path;
  });
  const auto keep = static_cast<std::size_t>(std::max(0, maxFileNum));
  for (std::size_t i = keep; i < files.size(); ++i) {
    // The file being written stays whatever the limit: an open file can be unlinked here,
    // and every later line would go to a file nobody can read.
    if (isSameFile(files[i].path, file_.descriptor())) continue;
    File::removeFile(files[i].path);
  }
}

}  // namespace System
