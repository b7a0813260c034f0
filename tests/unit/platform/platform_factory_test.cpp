#include "platform/platform_factory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "graphics/image.h"
#include "platform/platform_paths.h"
#include "runtime/debug_output.h"

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    if (old) old_ = old;
    hadOld_ = old != nullptr;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (hadOld_)
      setenv(name_, old_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool hadOld_ = false;
};

TEST(PlatformFactory, HeadlessWithoutPlaybackAnswersDialogsAsCancelled) {
  PlatformOptions options;
  options.headless = true;
  std::string error;
  std::unique_ptr<Platform> platform = CreatePlatform(options, error);
  ASSERT_TRUE(platform) << error;
  EXPECT_TRUE(platform->headless);
  EXPECT_TRUE(platform->presenter->Visible());
  platform->presenter->Present(1, Image(4, 4), false);
  int64_t before = platform->clock->MonotonicMicros();
  platform->waiter->WaitUntil(before + 10000000, [] { FAIL() << "a headless wait pumps nothing"; });
  EXPECT_LT(platform->clock->MonotonicMicros() - before, 1000000);  // returned at once, not after 10 s
  int events = 0;
  platform->events->Pump(1, [&](const InputEvent&) { ++events; });
  EXPECT_EQ(events, 0);
  EXPECT_FALSE(platform->events->Exhausted());

  std::string log;
  SetDebugOutputCapture(&log);
  platform->dialogs->ShowMessage("m");
  EXPECT_FALSE(platform->dialogs->ShowQuestion("q"));
  std::string answer = "x";
  EXPECT_FALSE(platform->dialogs->GetString("p", "default", answer));
  EXPECT_EQ(answer, "");
  EXPECT_EQ(platform->dialogs->GetOpenFilename("*.vtab|*.vtab", "Kopia_Bazy"), "");
  EXPECT_EQ(platform->dialogs->GetSaveFilename("*.csv|*.csv", "Tabela"), "");
  EXPECT_EQ(platform->dialogs->ShowErrorDialog("boom", true), 1);
  SetDebugOutputCapture(nullptr);
  EXPECT_EQ(log,
            "No display: the show_message dialog is answered ok\n"
            "No display: the show_question dialog is answered no\n"
            "No display: the get_string dialog is answered cancel\n"
            "No display: the get_open_filename dialog is answered cancel\n"
            "No display: the get_save_filename dialog is answered cancel\n"
            "No display: the Code Error dialog is answered Abort\n");
}

TEST(PlatformFactory, FailuresAreReported) {
  std::string error;
  {
    ScopedEnv display("DISPLAY", nullptr);
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    EXPECT_FALSE(DisplayAvailable());
    PlatformOptions options;
    EXPECT_EQ(CreatePlatform(options, error), nullptr);
    EXPECT_NE(error.find("-headless"), std::string::npos) << error;
  }
  {
    // The window system is a module beside the program; the tests have none.
    ScopedEnv display("DISPLAY", ":97");
    PlatformOptions options;
    EXPECT_EQ(CreatePlatform(options, error), nullptr);
    EXPECT_NE(error.find("cannot load the window system"), std::string::npos) << error;
    EXPECT_NE(error.find("kalvora-window.so"), std::string::npos) << error;
  }
  PlatformOptions options;
  options.headless = true;
  options.recordPath = testing::TempDir() + "missing/folder/record.txt";
  EXPECT_EQ(CreatePlatform(options, error), nullptr);
  EXPECT_NE(error.find("record file"), std::string::npos) << error;

  std::string script = testing::TempDir() + "factory_same.txt";
  std::ofstream(script) << "kalvora-input 1\n@5\nclick 1 2\n";
  options.playbackPath = script;
  options.recordPath = testing::TempDir() + "./factory_same.txt";
  EXPECT_EQ(CreatePlatform(options, error), nullptr);
  EXPECT_EQ(error, "the record file " + options.recordPath + " is the playback script");
  std::ifstream kept(script);
  std::string text((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "kalvora-input 1\n@5\nclick 1 2\n");  // the script is untouched
}

TEST(PlatformFactoryDeathTest, ABrokenPlaybackScriptEndsWithCode3BeforeAnythingRuns) {
  std::string script = testing::TempDir() + "factory_broken.txt";
  std::ofstream(script) << "kalvora-input 1\n@1\nclick 1\n";
  PlatformOptions options;
  options.headless = true;
  options.playbackPath = script;
  std::string error;
  EXPECT_EXIT(CreatePlatform(options, error), testing::ExitedWithCode(3),
              "factory_broken.txt, line 3: click takes 2 argument\\(s\\): click 1");
  options.playbackPath += ".missing";
  EXPECT_EXIT(CreatePlatform(options, error), testing::ExitedWithCode(3), "cannot open the playback script");
}

TEST(PlatformPaths, SaveAreaFollowsXdgAndEndsWithSlash) {
  ScopedEnv home("HOME", "/home/ala");
  {
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(SaveAreaPath("Kalvora", false), "/home/ala/.local/share/Kalvora/");
    EXPECT_EQ(SaveAreaPath("Kalvora", true), "/home/ala/.config/Kalvora/");
  }
  {
    ScopedEnv data("XDG_DATA_HOME", "/data/");
    ScopedEnv config("XDG_CONFIG_HOME", "/conf");
    EXPECT_EQ(SaveAreaPath("Kalvora", false), "/data/Kalvora/");
    EXPECT_EQ(SaveAreaPath("Kalvora", true), "/conf/Kalvora/");
  }
  {
    ScopedEnv data("XDG_DATA_HOME", "relative/path");
    EXPECT_EQ(SaveAreaPath("Kalvora", false), "/home/ala/.local/share/Kalvora/");
  }
  std::string exe = ExecutableDirectory();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe.back(), '/');
  char real[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", real, sizeof real - 1), 0);
  EXPECT_EQ(std::string(real).rfind(exe, 0), 0u);
}

}  // namespace
