#include "system/ini_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>

#include "system/file.h"
#include "system/ini_contents.h"
#include "system/log_capture.h"
#include "system/comma_locale.h"
#include "system/exception_text.h"
#include "system/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using System::IniFile;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using TestSupport::contentsOf;
using TestSupport::LogCapture;
using TestSupport::readWholeFile;
using TestSupport::whatOf;
using TestSupport::TempFolder;

std::string exceptionText(const std::string& message, const std::string& note,
                          const std::string& place) {
  return message + "\n\n[Note]\n" + note + "\n\n[Place]\n" + place + "()";
}

class IniFileTest : public ::testing::Test {
 protected:
  // Loads `text` from a file of the folder as a primary load.
  std::string load(const std::string& text, const std::string& name = "test.ini") {
    const std::string path = folder_.writeFile(name, text);
    store_.loadFile(path);
    return path;
  }
  // A value of the store that must exist.
  const IniFile::VALUE& value(const std::string& section, const std::string& key) {
    const IniFile::SectionRef ref = store_.getSection(section);
    EXPECT_TRUE(ref.hasKey(key)) << section << "/" << key;
    return ref.findValue(key);
  }

  TempFolder folder_;
  LogCapture log_;
  IniFile store_;
};

// ---- Reading --------------------------------------------------------------------------

TEST_F(IniFileTest, LinesAreParsedExactlyAsWritten) {
  load(
      "; a comment\r\n"    // 1
      "[Config]\r\n"       // 2
      "Width=1280\r\n"     // 3
      "a=b=c\r\n"          // 4
      "=5\r\n"             // 5
      " k = v \r\n"        // 6: blanks are part of key and value
      "\r\n"               // 7
      "url=x;y\r\n"        // 8: ";" inside a line is text
      "empty=\r\n"         // 9
      "[Second Part]\r\n"  // 10
      "z=1\n"              // 11: LF alone ends a line too
      "[Config]\r\r\n"     // 12: the same section again, every trailing CR removed
      "more=2");           // 13: no line end at the end of the file
  EXPECT_THAT(log_.texts("WARN"), IsEmpty());

  struct Case {
    const char* section;
    const char* key;
    const char* text;
    int line;
  };
  const Case cases[] = {
      {"Config", "Width", "1280", 3}, {"Config", "a", "b=c", 4},   {"Config", "", "5", 5},
      {"Config", " k ", " v ", 6},    {"Config", "url", "x;y", 8}, {"Config", "empty", "", 9},
      {"Second Part", "z", "1", 11},  {"Config", "more", "2", 13},
  };
  for (const Case& c : cases) {
    const IniFile::VALUE& v = value(c.section, c.key);
    EXPECT_EQ(v.text, c.text) << c.key;
    EXPECT_EQ(v.line, c.line) << c.key;
    EXPECT_EQ(v.file, &store_);
    EXPECT_EQ(v.parent, nullptr);
  }
  EXPECT_EQ(store_.sectionCount(), 2u);
  EXPECT_EQ(store_.getSection("Config").keys().size(), 7u);
  EXPECT_FALSE(store_.hasSection("config"));  // names are case-sensitive
}

TEST_F(IniFileTest, DuplicateKeyKeepsTheFirstValueAndWarnsOnce) {
  const std::string path = load("[A]\r\nx=1\r\nx=2\r\n");
  EXPECT_EQ(value("A", "x").text, "1");
  EXPECT_EQ(value("A", "x").line, 2);
  ASSERT_THAT(log_.texts("WARN"), ElementsAre("ini file parameter duplicate key? file=" + path +
                                              "(line 3) section=A key=x"));
  for (const auto& record : log_.records()) EXPECT_EQ(record.place, "System::IniFile::loadFile");
}

TEST_F(IniFileTest, IllegalLinesAreReportedWithThePathAsPassedAndTheirNumbers) {
  System::FileName::resetVariableList(folder_.path());
  folder_.writeFile("bad.ini",
                    "x=1\r\n"         // 1: no section yet
                    "[A] ; note\r\n"  // 2: not a section line, and no "="
                    "[A]\r\n"         // 3
                    "noequals\r\n"    // 4
                    "ok=1\r\n"        // 5
                    "[]\r\n"          // 6: a section without a name...
                    "k=v\r\n");       // 7: ...takes no keys
  store_.loadFile("%AppInstall%/bad.ini");
  System::FileName::resetVariableList();

  const std::string prefix = "ini file line illegal format. file=%AppInstall%/bad.ini(line ";
  EXPECT_THAT(log_.texts("WARN"),
              ElementsAre(prefix + "1)", prefix + "2)", prefix + "4)", prefix + "7)"));
  // The summary names the expanded path and the sections now held ("A" and "").
  EXPECT_THAT(log_.texts("VERBOSE"),
              ElementsAre("load ini file : " + (folder_ / "bad.ini") + " (section=2)"));
  EXPECT_EQ(store_.path(), folder_ / "bad.ini");
  EXPECT_EQ(contentsOf(store_), (std::map<std::string, std::map<std::string, std::string>>{
                                    {"A", {{"ok", "1"}}}, {"", {}}}));
}

TEST_F(IniFileTest, ByteOrderMarkIsNotSkipped) {
  const std::string path = load("\xEF\xBB\xBF[A]\r\nk=v\r\n");
  EXPECT_FALSE(store_.hasSection("A"));
  EXPECT_EQ(log_.texts("WARN").size(), 2u);
}

TEST_F(IniFileTest, MissingFileIsSilentAndRemembersThePath) {
  load("[Old]\r\nk=v\r\n");
  log_.clear();
  const std::string missing = folder_ / "missing.ini";
  store_.loadFile(missing);
  EXPECT_THAT(log_.records(), IsEmpty());
  EXPECT_EQ(store_.sectionCount(), 0u);  // a primary load empties the store first
  EXPECT_EQ(store_.path(), missing);
}

TEST_F(IniFileTest, MergeOnlyFillsMissingKeysAndKeepsThePrimaryPath) {
  const std::string primary = load("[A]\r\nx=1\r\n");
  const std::string second =
      folder_.writeFile("second.ini", "[A]\r\ny=3\r\nx=2\r\nx=9\r\n[B]\r\nz=4\r\n");
  store_.loadFile(second, true);
  EXPECT_THAT(log_.texts("WARN"), IsEmpty());  // duplicates are silent when merging
  EXPECT_EQ(contentsOf(store_), (std::map<std::string, std::map<std::string, std::string>>{
                                    {"A", {{"x", "1"}, {"y", "3"}}}, {"B", {{"z", "4"}}}}));
  EXPECT_EQ(store_.path(), primary);
  // A merged value names the primary path and the line in its own file.
  EXPECT_EQ(value("A", "y").getPlaceText(), "file=" + primary + "(line 2) section=A key=y");
}

TEST_F(IniFileTest, AnsiLinesAreMadeValidText) {
  const std::string path = folder_.writeFile("legacy.ini",
                                             "[A]\r\nk=a\xFF"
                                             "b\r\n");
  store_.loadFile(path);
  EXPECT_EQ(value("A", "k").text,
            "a\xFF"
            "b");                                            // kept as bytes...
  EXPECT_THROW(value("A", "k").toString(), std::exception);  // ...but not a text
  store_.loadFile(path, false, true);
  EXPECT_EQ(value("A", "k").toString(),
            "a\xEF\xBF\xBD"
            "b");
}

TEST_F(IniFileTest, OversizedInputIsReportedAndNeverHeldWhole) {
  // A line beyond the limit is skipped; the lines around it are read.
  const std::string longLine = "big=" + std::string(IniFile::kMaxLineLength, 'a');
  const std::string path = load("[A]\r\n" + longLine + "\r\nafter=1\r\n");
  EXPECT_FALSE(store_.getSection("A").hasKey("big"));
  EXPECT_EQ(value("A", "after").line, 3);
  EXPECT_THAT(log_.texts("WARN"), ElementsAre("ini file line too long. file=" + path + "(line 2)"));

  // A file beyond the limit is not read at all (a sparse file: no disk is used).
  log_.clear();
  const std::string huge = folder_.writeFile("huge.ini", "[A]\r\nk=v\r\n");
  fs::resize_file(huge, IniFile::kMaxFileSize + 1);
  store_.loadFile(huge);
  EXPECT_EQ(store_.sectionCount(), 0u);
  EXPECT_THAT(log_.texts("WARN"), ElementsAre("ini file too large. file=" + huge + "(size " +
                                              std::to_string(IniFile::kMaxFileSize + 1) + ")"));
}

TEST_F(IniFileTest, OnlyRegularFilesAreRead) {
  // A folder, or a pipe that would block the reader, reads as a missing file.
  const std::string folder = folder_.makeFolder("folder.ini");
  const std::string pipe = folder_ / "pipe.ini";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& path : {folder, pipe}) {
    store_.loadFile(path);
    EXPECT_EQ(store_.sectionCount(), 0u);
  }
  EXPECT_THAT(log_.records(), IsEmpty());
}

// ---- Lookups ----------------------------------------------------------------------------

TEST_F(IniFileTest, SectionLookupsNeverInsert) {
  load("[A]\r\nk=v\r\n[layer.3]\r\nn=1\r\n");
  const IniFile::SectionRef absent = store_.getSection("Missing");
  EXPECT_EQ(absent.name(), "");
  EXPECT_EQ(&absent.findValue("k"), &IniFile::emptyValue());
  EXPECT_EQ(&store_.getSection("A").findValue("missing"), &IniFile::emptyValue());
  EXPECT_EQ(&store_.findValue("Missing", "k"), &IniFile::emptyValue());
  EXPECT_EQ(store_.sectionCount(), 2u);
  EXPECT_EQ(store_.getSection("A").keys().size(), 1u);

  EXPECT_EQ(store_.getSection("layer", 3).findValue("n").text, "1");
  // A handle that names a section sees it once it exists.
  const IniFile::SectionRef later(store_, "Later");
  EXPECT_FALSE(later.exists());
  store_.getOrCreateValue("Later", "k").text = "x";
  EXPECT_EQ(later.findValue("k").text, "x");
}

TEST_F(IniFileTest, IndexedSectionNameIsCutAt63Bytes) {
  const std::string base(70, 'n');
  store_.getOrCreateSection(base.substr(0, 63));
  EXPECT_TRUE(store_.getSection(base, 7).exists());
  store_.getOrCreateSection("layer.-1");
  EXPECT_TRUE(store_.getSection("layer", -1).exists());
}

TEST_F(IniFileTest, GetValueOfAnAbsentKeyThrows) {
  load("[A]\r\nk=v\r\n");
  EXPECT_EQ(&store_.getSection("A").getValue("k"), &value("A", "k"));
  EXPECT_EQ(whatOf([&] { store_.getSection("A").getValue("w"); }),
            exceptionText("ini file parameter undefined.", " section=A key=w",
                          "System::IniFile::SectionRef::getValue"));
  // An absent section has an empty name.
  EXPECT_EQ(whatOf([&] { store_.getSection("B").getValue("w"); }),
            exceptionText("ini file parameter undefined.", " section= key=w",
                          "System::IniFile::SectionRef::getValue"));
}

TEST_F(IniFileTest, GetOrCreateValueMakesAnEmptyInMemoryValue) {
  const std::string path = load("[A]\r\nk=v\r\n");
  IniFile::VALUE& created = store_.getOrCreateValue("New", "key");
  EXPECT_EQ(created.text, "");
  EXPECT_EQ(created.line, 0);
  EXPECT_EQ(created.file, &store_);
  EXPECT_EQ(&store_.getOrCreateValue("New", "key"), &created);
  EXPECT_EQ(&store_.getOrCreateValue(store_.getSection("A"), "k"), &value("A", "k"));
  EXPECT_EQ(created.getPlaceText(), "file=" + path + " section=New key=key");
  EXPECT_EQ(created.getPlaceText(5), "file=" + path + "(line 5) section=New key=key");
}

TEST(IniFilePlaceText, PartsAppearOnlyWhereKnown) {
  IniFile store;  // never loaded: no path
  EXPECT_EQ(store.getOrCreateValue("S", "k").getPlaceText(), " section=S key=k");
  EXPECT_EQ(IniFile::emptyValue().getPlaceText(), "");
  // A value that is not in the store (a copy) is found by searching only if it is there.
  IniFile::VALUE loose;
  loose.file = &store;
  EXPECT_EQ(loose.getPlaceText(), "");
  // A value replaced wholesale is still found where it lives.
  store.getOrCreateValue("S", "w") = loose;
  EXPECT_EQ(store.findValue("S", "w").getPlaceText(), " section=S key=w");
}

// ---- Conversions ------------------------------------------------------------------------

// One value "k" in section "S" of a loaded file, to see the exception's place text.
class IniValueTest : public IniFileTest {
 protected:
  const IniFile::VALUE& valueOf(const std::string& text) {
    path_ = load("[S]\r\nk=" + text + "\r\n");
    return value("S", "k");
  }
  std::string note() const { return "file=" + path_ + "(line 2) section=S key=k"; }
  std::string path_;
};

TEST_F(IniValueTest, ToIntReadsLikeStrtolBase10) {
  const std::pair<const char*, int32_t> good[] = {
      {"7", 7},
      {" 7", 7},
      {"\t-42", -42},
      {"+3", 3},
      {"12abc", 12},
      {"1.5", 1},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<int32_t>::min()},
  };
  for (const auto& [text, expected] : good) {
    EXPECT_EQ(valueOf(text).toInt(), expected) << text;
    EXPECT_EQ(valueOf(text).toInt(99), expected) << text;
  }
  const char* bad[] = {
      "abc", "-", " ", "+-1", "2147483648", "-2147483649", "99999999999999999999999"};
  for (const char* text : bad) {
    EXPECT_EQ(whatOf([&] { valueOf(text).toInt(); }),
              exceptionText("ini file parameter invalid format(int) or undefined.", note(),
                            "System::IniFile::VALUE::toInt"))
        << text;
    EXPECT_EQ(whatOf([&] { valueOf(text).toInt(5); }),
              exceptionText("ini file parameter invalid format(int).", note(),
                            "System::IniFile::VALUE::toInt"))
        << text;
  }
  // An empty value is undefined without a default and the default with one.
  EXPECT_EQ(whatOf([&] { valueOf("").toInt(); }),
            exceptionText("ini file parameter invalid format(int) or undefined.", note(),
                          "System::IniFile::VALUE::toInt"));
  EXPECT_EQ(valueOf("").toInt(-3), -3);
}

TEST_F(IniValueTest, ToFloatReadsLikeStrtofInTheClassicLocale) {
  const std::pair<const char*, float> good[] = {
      {"1e-3", 0.001f},  {"1,5", 1.0f}, {"2.5px", 2.5f}, {" -0.25", -0.25f},
      {"0x1p-2", 0.25f}, {".5", 0.5f},  {"+3", 3.0f},
  };
  for (const auto& [text, expected] : good) EXPECT_EQ(valueOf(text).toFloat(), expected) << text;
  EXPECT_TRUE(std::isinf(valueOf("inf").toFloat()));
  EXPECT_TRUE(std::isnan(valueOf("nan").toFloat()));
  for (const char* text : {"", "px", ".", "-", "1e39", "-1e39"}) {
    EXPECT_EQ(whatOf([&] { valueOf(text).toFloat(); }),
              exceptionText("ini file parameter invalid format(float) or undefined.", note(),
                            "System::IniFile::VALUE::toFloat"))
        << text;
  }
}

TEST_F(IniValueTest, ToFloatIgnoresTheProcessLocale) {
  const TestSupport::CommaLocale comma;
  ASSERT_TRUE(comma.active());
  EXPECT_EQ(valueOf("0.5").toFloat(), 0.5f);
}

TEST_F(IniValueTest, ToStringChecksUtf8) {
  EXPECT_EQ(valueOf("h\xC3\xA9llo").toString(), "h\xC3\xA9llo");
  EXPECT_EQ(valueOf("h\xC3\xA9llo").toString("d"), "h\xC3\xA9llo");
  EXPECT_EQ(valueOf("").toString("default"), "default");
  const std::string undefined = "ini file parameter invalid format(UTF8) or undefined.";
  for (const char* text : {"", "\xFF", "a\xC3", "\xED\xA0\x80" /* a surrogate */}) {
    EXPECT_EQ(whatOf([&] { valueOf(text).toString(); }),
              exceptionText(undefined, note(), "System::IniFile::VALUE::toString"));
  }
  EXPECT_EQ(whatOf([&] { valueOf("\xFF").toString("d"); }),
            exceptionText("ini file parameter invalid format(UTF8).", note(),
                          "System::IniFile::VALUE::toString"));
}

TEST_F(IniValueTest, ToRGBAReadsSixOrEightHexDigits) {
  using Color = std::array<float, 4>;
  const std::pair<const char*, Color> good[] = {
      {"ff000080", {1, 0, 0, 128 / 255.0f}},
      {" 00ff00 ", {0, 1, 0, 1}},
      {"FFFFFF", {1, 1, 1, 1}},
      {"f-0000", {15 / 255.0f, 0, 0, 1}},  // each pair stops at its first non-digit
  };
  for (const auto& [text, expected] : good) EXPECT_EQ(valueOf(text).toRGBA(), expected) << text;
  for (const char* text : {"#ff0000", "#ff00000", "ff00", "ff0000800", "", "   ", "ff 000",
                           "ff00-0", "\tff0000", "gg0000"}) {
    EXPECT_EQ(whatOf([&] { valueOf(text).toRGBA(); }),
              exceptionText("ini file parameter invalid format(RGB) or undefined.", note(),
                            "System::IniFile::VALUE::toRGBA"))
        << text;
  }
}

TEST_F(IniValueTest, SplitKeepsEveryPieceAndItsOrigin) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {"", {""}},
      {"1;2,3", {"1", "2", "3"}},
  };
  for (const auto& [text, expected] : cases) {
    std::vector<std::string> texts;
    for (const IniFile::VALUE& piece : valueOf(text).split(",;")) texts.push_back(piece.text);
    EXPECT_EQ(texts, expected) << text;
  }

  const IniFile::VALUE& whole = valueOf("10,x");
  const auto pieces = whole.split(",");
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].toInt(), 10);
  for (const auto& piece : pieces) {
    EXPECT_EQ(piece.parent, &whole);
    EXPECT_EQ(piece.line, 2);
    EXPECT_EQ(piece.file, &store_);
  }
  // An error on a piece names the value it was cut from; so does a piece of a piece.
  EXPECT_EQ(whatOf([&] { pieces[1].toInt(); }),
            exceptionText("ini file parameter invalid format(int) or undefined.", note(),
                          "System::IniFile::VALUE::toInt"));
  EXPECT_EQ(pieces[1].split("x")[0].parent, &whole);
}

// ---- Writing ----------------------------------------------------------------------------

TEST_F(IniFileTest, SaveWritesCrLfLinesWithoutCommentsAndReadsBackTheSame) {
  load(
      "; settings\r\n"
      "[Config]\r\n"
      "Width=1280\r\n"
      "\r\n"
      "; size\r\n"
      "Name= with blanks \r\n"
      "a=b=c\r\n"
      "empty=\r\n"
      "[Other]\n"
      "=5\n"
      "utf=\xE3\x81\x82\n");
  const std::string copy = folder_ / "copy.ini";
  IniFile::Save(store_, copy);
  EXPECT_THAT(log_.texts("VERBOSE"), ::testing::Contains("saveFile : " + copy));

  const std::string written = readWholeFile(copy);
  EXPECT_EQ(written.find(';'), std::string::npos);
  EXPECT_EQ(written.find("\r\n\r\n"), std::string::npos);
  EXPECT_EQ(written.compare(written.size() - 2, 2, "\r\n"), 0);
  for (std::size_t at = written.find('\n'); at != std::string::npos;
       at = written.find('\n', at + 1))
    EXPECT_EQ(written[at - 1], '\r') << "bare LF at " << at;
  EXPECT_EQ(written.size(),
            std::string("[Config]\r\nWidth=1280\r\nName= with blanks \r\na=b=c\r\nempty=\r\n"
                        "[Other]\r\n=5\r\nutf=\xE3\x81\x82\r\n")
                .size());

  IniFile reread;
  reread.loadFile(copy);
  EXPECT_EQ(contentsOf(reread), contentsOf(store_));
}

TEST_F(IniFileTest, SaveOfOneSectionIsExact) {
  store_.getOrCreateValue("S", "k").text = "v";
  store_.getOrCreateSection("Empty");
  IniFile::Save(store_, folder_ / "one.ini");
  const std::string written = readWholeFile(folder_ / "one.ini");
  EXPECT_TRUE(written == "[S]\r\nk=v\r\n[Empty]\r\n" || written == "[Empty]\r\n[S]\r\nk=v\r\n")
      << written;
}

TEST_F(IniFileTest, FailedOpenForWritingThrowsTheFileError) {
  store_.getOrCreateValue("S", "k").text = "v";
  const std::string path = folder_ / "no/folder/out.ini";
  EXPECT_EQ(whatOf([&] { IniFile::Save(store_, path); }),
            exceptionText("failed to open file.", path, "System::File::open"));
}

// A write that fails half-way (here: the file size limit, as a full disk would) throws and
// leaves the old file and no temporary file behind. Works whoever runs the test.
TEST_F(IniFileTest, FailedWriteKeepsTheOldFile) {
  const std::string path = folder_.writeFile("velumo2.ini", "[Old]\r\nk=1\r\n");
  store_.getOrCreateValue("Big", "k").text = std::string(256 * 1024, 'x');

  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction previousAction {};
  sigaction(SIGXFSZ, &ignore, &previousAction);
  rlimit previousLimit{};
  getrlimit(RLIMIT_FSIZE, &previousLimit);
  rlimit small = previousLimit;
  small.rlim_cur = 64 * 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  const std::string text = whatOf([&] { IniFile::Save(store_, path); });
  setrlimit(RLIMIT_FSIZE, &previousLimit);
  sigaction(SIGXFSZ, &previousAction, nullptr);

  EXPECT_NE(text, "(nothing thrown)");
  EXPECT_NE(text.find("[Place]\nSystem::File::write()"), std::string::npos) << text;
  EXPECT_EQ(readWholeFile(path), "[Old]\r\nk=1\r\n");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder_.path()))
    names.push_back(entry.path().filename().string());
  EXPECT_THAT(names, ElementsAre("velumo2.ini"));
}

TEST_F(IniFileTest, WriteIntoAReadOnlyFolderThrowsAndKeepsTheOldFile) {
  const std::string folder = folder_.makeFolder("locked");
  const std::string path = folder_.writeFile("locked/style.conf", "[Old]\r\nk=1\r\n");
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  if (access(folder.c_str(), W_OK) == 0) {
    fs::permissions(folder, fs::perms::owner_all);
    GTEST_SKIP() << "this user may write into read-only folders";
  }
  store_.getOrCreateValue("New", "k").text = "2";
  const std::string text = whatOf([&] { IniFile::Save(store_, path); });
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(text, exceptionText("failed to open file.", path, "System::File::open"));
  EXPECT_EQ(readWholeFile(path), "[Old]\r\nk=1\r\n");
}

TEST_F(IniFileTest, WriteBackAfterMissingPrimaryAndMergeWritesToThePrimaryPath) {
  const std::string primary = folder_ / "user/velumo2.ini";
  folder_.makeFolder("user");
  const std::string installed =
      folder_.writeFile("install/velumo2.ini", "; shipped\r\n[A]\r\nx=1\r\n");
  {
    IniFile store;
    store.loadFile(primary);
    store.loadFile(installed, true);
    EXPECT_EQ(store.findValue("A", "x").text, "1");
    store.setWriteBack(true);
  }
  EXPECT_EQ(readWholeFile(primary), "[A]\r\nx=1\r\n");
  EXPECT_EQ(readWholeFile(installed), "; shipped\r\n[A]\r\nx=1\r\n");
}

TEST_F(IniFileTest, ReleaseWritesOnlyWithTheFlagAndOnlyOnce) {
  const std::string path = load("[A]\r\nx=1\r\n");
  store_.getOrCreateValue("A", "x").text = "2";
  store_.release();  // no flag: nothing written
  EXPECT_EQ(readWholeFile(path), "[A]\r\nx=1\r\n");

  store_.setWriteBack(true);
  store_.release();
  EXPECT_EQ(readWholeFile(path), "[A]\r\nx=2\r\n");
  EXPECT_FALSE(store_.isWriteBack());
  fs::remove(path);
  store_.release();
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(IniFileTest, FailedWriteBackIsLoggedAndTheReleaseGoesOn) {
  {
    IniFile store;
    store.loadFile(folder_ / "gone/velumo2.ini");
    store.getOrCreateValue("A", "x").text = "1";
    store.setWriteBack(true);
  }  // must not throw
  bool logged = false;
  for (const auto& record : log_.records())
    logged |=
        record.level == "ERROR" && record.text.find("failed to open file.") != std::string::npos;
  EXPECT_TRUE(logged);
}

TEST_F(IniFileTest, WriteValueLineWritesOneCrLfLine) {
  const std::string path = folder_ / "direct.ini";
  {
    System::File file;
    file.open(path, System::File::WriteExclusive);
    file.write("[project]\r\n");
    IniFile::writeValueLine(file, "1", "/a/\xE3\x81\x82.vlp2");
    IniFile::writeValueLine(file, "empty", "");
  }
  EXPECT_EQ(readWholeFile(path), "[project]\r\n1=/a/\xE3\x81\x82.vlp2\r\nempty=\r\n");
}

}  // namespace
