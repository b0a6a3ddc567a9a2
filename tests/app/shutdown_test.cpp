// Starts the built program headless, ends it with a quit signal and checks what it left:
// the parameter file with every section, the recent files and the log file.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class RunningProgram {
 public:
  explicit RunningProgram(const fs::path& dataHome, std::vector<std::string> arguments = {},
                          std::vector<std::string> extraEnvironment = {}) {
    int pipeFds[2];
    EXPECT_EQ(pipe2(pipeFds, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      std::string entry(*e);
      if (entry.rfind("XDG_DATA_HOME=", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0)
        env.push_back(entry);
    }
    env.push_back("XDG_DATA_HOME=" + dataHome.string());
    env.push_back("QT_QPA_PLATFORM=offscreen");
    for (auto& entry : extraEnvironment) env.push_back(entry);
    std::vector<char*> envp;
    for (auto& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<char*> argv{const_cast<char*>(VELUMO2_EXE)};
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    EXPECT_EQ(posix_spawn(&pid_, VELUMO2_EXE, &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    stderr_ = pipeFds[0];
  }
  ~RunningProgram() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(stderr_);
  }

  // Reads standard error until `text` appears or the time is up.
  bool waitForOutput(const std::string& text, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (output_.find(text) == std::string::npos) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          end - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd fd{stderr_, POLLIN, 0};
      if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) return false;
      char buffer[4096];
      const ssize_t n = read(stderr_, buffer, sizeof buffer);
      if (n <= 0) return false;
      output_.append(buffer, static_cast<size_t>(n));
    }
    return true;
  }

  // The exit status, or -1 when it did not end in time.
  int waitForExit(std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      usleep(20000);
    }
    return -1;
  }

  pid_t pid() const { return pid_; }
  const std::string& output() const { return output_; }

 private:
  pid_t pid_ = -1;
  int stderr_ = -1;
  bool exited_ = false;
  std::string output_;
};

class ProgramRun : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    dataHome_ = fs::temp_directory_path() / ("velumo2-app-test-" + std::to_string(getpid()));
    fs::remove_all(dataHome_);
    fs::create_directories(dataHome_ / "velumo2");
    // Every INFO line goes to standard error and to the log file, so the test sees the
    // program start and can read what it logged.
    std::ofstream(dataHome_ / "velumo2" / "velumo2.ini", std::ios::binary)
        << "[Logger]\r\nDebuggerLogLevel=2\r\nFileLogLevel=2\r\n[Kept]\r\nUntouched=1\r\n";
  }
  void TearDown() override { fs::remove_all(dataHome_); }

  fs::path dataHome_;
};

TEST_P(ProgramRun, AQuitSignalShutsDownInOrderAndKeepsTheSettings) {
  const fs::path data = dataHome_ / "velumo2";
  std::ofstream(data / "history.ini", std::ios::binary)
      << "[project]\r\n1=/m/a.vlp2\r\n2=/m/b.vlp2\r\n60=/m/c.vlp2\r\n";
  {
    RunningProgram program(dataHome_);
    ASSERT_TRUE(program.waitForOutput("[App::run] started", std::chrono::seconds(60)))
        << program.output();
    ASSERT_EQ(kill(program.pid(), GetParam()), 0);
    EXPECT_EQ(program.waitForExit(std::chrono::seconds(60)), 0) << program.output();
  }

  const std::string ini = readFile(data / "velumo2.ini");
  EXPECT_NE(ini.find("[Logger]\r\n"), std::string::npos) << ini;
  for (const char* key : {"MaxViewLine=200", "MaxFileNum=5", "ViewLogLevel=2", "FileLogLevel=2",
                          "DebuggerLogLevel=2", "[Translate]\r\nLanguage=", "[Window]"})
    EXPECT_NE(ini.find(std::string(key) + "\r\n"), std::string::npos) << key << "\n" << ini;
  // A section no running part owns is written back as it was read.
  EXPECT_NE(ini.find("[Kept]\r\nUntouched=1\r\n"), std::string::npos) << ini;

  // The recent files are written at every orderly end, numbered afresh.
  EXPECT_EQ(readFile(data / "history.ini"), "[project]\r\n1=/m/a.vlp2\r\n2=/m/b.vlp2\r\n");

  std::string log;
  for (const auto& entry : fs::directory_iterator(data / "Log")) log += readFile(entry.path());
  EXPECT_NE(log.find("] [INFO] [App::run] started\n"), std::string::npos) << log;
  EXPECT_NE(log.find("] [INFO] [App::run] shutting down\n"), std::string::npos) << log;
}

// The device is made at the start: its lines come in their order before the program runs,
// and its parameters are kept in velumo2.ini at the end.
TEST_F(ProgramRun, TheStartMakesTheGraphicsDeviceAndKeepsItsParameters) {
  const fs::path data = dataHome_ / "velumo2";
  {
    RunningProgram program(dataHome_);
    ASSERT_TRUE(program.waitForOutput("[App::run] started", std::chrono::seconds(60)))
        << program.output();
    ASSERT_EQ(kill(program.pid(), SIGTERM), 0);
    EXPECT_EQ(program.waitForExit(std::chrono::seconds(60)), 0) << program.output();
  }
  std::string log;
  for (const auto& entry : fs::directory_iterator(data / "Log")) log += readFile(entry.path());
  std::size_t at = 0;
  for (const char* line :
       {"[Media::Direct3DService::Direct3DService] D3D feature level : 0x0000b100\n",
        "[Media::Direct3DService::Direct3DService] D3D ROVsSupported : ",
        "D3D DXGI_FORMAT_R8G8B8A8_UNORM Texture2D Supported : 1\n",
        "D3D DXGI_FORMAT_B8G8R8A8_UNORM Texture2D Supported : 1\n",
        "D3D DXGI_FORMAT_A8_UNORM Texture2D Supported : 1\n",
        "D3D DXGI_FORMAT_R16G16B16A16_FLOAT Texture2D Supported : 1\n",
        "D3D DXGI_FORMAT_G8R8_G8B8_UNORM Texture2D Supported : 1\n",
        "D3D DXGI_FORMAT_R16G16B16A16_UNORM Texture2D Supported : 1\n",
        "D3D DXGI_FORMAT_R16G16B16A16_SNORM Texture2D Supported : 1\n", "[App::run] started\n"}) {
    at = log.find(line, at);
    ASSERT_NE(at, std::string::npos) << line << "\n" << log;
  }
  const std::string ini = readFile(data / "velumo2.ini");
  for (const char* key : {"[Direct3D]", "MultiSampleCount=8", "MaxAnisotropy=16",
                          "HighDpiMode=1", "InputYUVColorSpace=0", "OutputYUVColorSpace=0"})
    EXPECT_NE(ini.find(std::string(key) + "\r\n"), std::string::npos) << key << "\n" << ini;

  // The fonts are registered and the render engine keeps its settings.
  EXPECT_NE(log.find("[Media::FontManager::registerFont] register font [Noto Sans CJK JP]"),
            std::string::npos);
  const std::size_t render = ini.find("[Render.video]\r\n");
  ASSERT_NE(render, std::string::npos) << ini;
  EXPECT_NE(ini.find("GridStep=200", render), std::string::npos) << ini;
}

// The registry registers every built-in kind: each has its menu section in velumo2.ini, in
// registration order (the movements first, the second run of effects after the first).
TEST_F(ProgramRun, TheStartRegistersTheWholeCatalogue) {
  const fs::path data = dataHome_ / "velumo2";
  {
    RunningProgram program(dataHome_);
    ASSERT_TRUE(program.waitForOutput("[App::run] started", std::chrono::seconds(60)))
        << program.output();
    ASSERT_EQ(kill(program.pid(), SIGTERM), 0);
    EXPECT_EQ(program.waitForExit(std::chrono::seconds(60)), 0) << program.output();
  }
  const std::string ini = readFile(data / "velumo2.ini");
  const auto count = [&](const std::string& prefix) {
    int found = 0;
    for (std::size_t at = ini.find(prefix); at != std::string::npos; at = ini.find(prefix, at + 1))
      ++found;
    return found;
  };
  EXPECT_EQ(count("\r\n[Movement."), 8) << ini;
  EXPECT_EQ(count("\r\n[Effect."), 76) << ini;
  // A section's text, up to the next section.
  const auto section = [&](const std::string& name) {
    const std::size_t start = ini.find("[" + name + "]\r\n");
    if (start == std::string::npos) return std::string();
    const std::size_t end = ini.find("\r\n[", start);
    return ini.substr(start, end == std::string::npos ? std::string::npos : end + 2 - start);
  };
  struct Entry {
    const char* name;
    const char* label;
    const char* order;
  } entries[] = {{"Movement.瞬間移動", "", "7"},
                 {"Effect.動画ファイル", "", "8"},
                 {"Effect.振動", "アニメーション効果", "68"},
                 {"Effect.音量調整", "音声効果", "83"}};
  for (const Entry& entry : entries) {
    const std::string text = section(entry.name);
    EXPECT_NE(text.find(std::string("\r\nlabel=") + entry.label + "\r\n"), std::string::npos)
        << entry.name << "\n" << text;
    EXPECT_NE(text.find(std::string("\r\norder=") + entry.order + "\r\n"), std::string::npos)
        << entry.name << "\n" << text;
  }
}

// A machine without the device's requirements ends the start with the device's message, and
// every service made before it is released: the settings are still written back.
TEST_F(ProgramRun, WithoutTheGraphicsDeviceTheStartEndsWithItsMessage) {
  const fs::path data = dataHome_ / "velumo2";
  RunningProgram program(dataHome_, {}, {"MESA_GL_VERSION_OVERRIDE=4.3"});
  EXPECT_EQ(program.waitForExit(std::chrono::seconds(60)), 0);
  program.waitForOutput("Media::Direct3DService::Direct3DService", std::chrono::seconds(5));
  EXPECT_NE(program.output().find("Velumo Kivrun2 : Application Exception\neglCreateContext() failed."),
            std::string::npos)
      << program.output();
  EXPECT_EQ(program.output().find("[App::run] started"), std::string::npos) << program.output();
  const std::string ini = readFile(data / "velumo2.ini");
  EXPECT_NE(ini.find("[Translate]\r\nLanguage="), std::string::npos) << ini;
}

// The project named on the command line is opened at the start, and with resuming on the
// exit leaves it in the resume file, keeping the path of the user's own file.
TEST_F(ProgramRun, OpensTheCommandLinesProjectAndLeavesItInTheResumeFile) {
  const fs::path data = dataHome_ / "velumo2";
  std::ofstream(data / "velumo2.ini", std::ios::binary | std::ios::app)
      << "[Edit]\r\nEditResume=1\r\n";
  const fs::path project = dataHome_ / "given.vlp2";
  std::ofstream(project, std::ios::binary)
      << "[project]\r\ndisplay.scene=4\r\n"
         "[scene.0]\r\nscene=0\r\nvideo.width=1920\r\nvideo.height=1080\r\nvideo.rate=30\r\n"
         "video.scale=1\r\n"
         "[scene.1]\r\nscene=4\r\nname=Given\r\nvideo.width=640\r\nvideo.height=480\r\n"
         "video.rate=24\r\nvideo.scale=1\r\n";
  {
    RunningProgram program(dataHome_, {"-x", project.string()});
    ASSERT_TRUE(program.waitForOutput("[App::run] started", std::chrono::seconds(60)))
        << program.output();
    EXPECT_NE(program.output().find("load project file : " + project.string()), std::string::npos)
        << program.output();
    ASSERT_EQ(kill(program.pid(), SIGTERM), 0);
    EXPECT_EQ(program.waitForExit(std::chrono::seconds(60)), 0) << program.output();
  }

  const std::string resume = readFile(data / "resume.vlp2");
  EXPECT_NE(resume.find("[project]\r\nfile=" + project.string() + "\r\ndisplay.scene=4\r\n"),
            std::string::npos)
      << resume;
  EXPECT_NE(resume.find("scene=4\r\nname=Given\r\nvideo.width=640\r\n"), std::string::npos)
      << resume;
}

INSTANTIATE_TEST_SUITE_P(QuitSignals, ProgramRun, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

}  // namespace
