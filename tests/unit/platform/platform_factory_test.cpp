#include "platform/platform_factory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "graphics/image.h"
#include "platform/platform_paths.h"

namespace {

// Sets (or, given nullptr, unsets) an environment variable for the life of the object.
struct ScopedEnv {
  ScopedEnv(const char* name, const char* value) : name(name) {
    if (const char* was = std::getenv(name)) old = was;
    Set(value);
  }
  ~ScopedEnv() { Set(old ? old->c_str() : nullptr); }
  void Set(const char* value) const { value ? setenv(name, value, 1) : unsetenv(name); }
  const char* name;
  std::optional<std::string> old;
};

TEST(PlatformFactory, HeadlessWithoutPlaybackAnswersDialogsAsCancelled) {
  PlatformOptions options;
  options.headless = true;
  std::string error, answer = "x";
  std::unique_ptr<Platform> platform = CreatePlatform(options, error);
  ASSERT_TRUE(platform) << error;
  EXPECT_TRUE(platform->headless && platform->presenter->Visible());
  platform->presenter->Present(1, Image(4, 4), false);
  int64_t before = platform->clock->MonotonicMicros();
  platform->waiter->WaitUntil(before + 10000000, [] { FAIL() << "a headless wait pumps nothing"; });
  EXPECT_LT(platform->clock->MonotonicMicros() - before, 1000000);  // returned at once, not after 10 s
  platform->events->Pump(1, [](const InputEvent&) { FAIL() << "no input without a script"; });
  EXPECT_FALSE(platform->events->Exhausted());

  EXPECT_FALSE(platform->dialogs->GetString("p", "default", answer));  // the dialogs of no display
  EXPECT_EQ(answer, "");
}

TEST(PlatformFactory, FailuresAreReported) {
  std::string error;
  PlatformOptions options;
  {
    ScopedEnv display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr);
    EXPECT_FALSE(DisplayAvailable());
    EXPECT_EQ(CreatePlatform(options, error), nullptr);
    EXPECT_NE(error.find("-headless"), std::string::npos) << error;
  }
  {
    ScopedEnv display("DISPLAY", ":97");  // the window system is a module beside the program; the tests have none
    EXPECT_EQ(CreatePlatform(options, error), nullptr);
    EXPECT_NE(error.find("cannot load the window system (" + ExecutableDirectory() + "kalvora-window.so"),
              std::string::npos)
        << error;
  }
  options.headless = true;
  options.recordPath = testing::TempDir() + "missing/folder/record.txt";
  EXPECT_EQ(CreatePlatform(options, error), nullptr);
  EXPECT_NE(error.find("cannot create the record file"), std::string::npos) << error;

  std::string script = testing::TempDir() + "factory_same.txt";
  std::ofstream(script) << "kalvora-input 1\n@5\nclick 1 2\n";
  options.playbackPath = script;
  options.recordPath = testing::TempDir() + "./factory_same.txt";
  EXPECT_EQ(CreatePlatform(options, error), nullptr);
  EXPECT_EQ(error, "the record file " + options.recordPath + " is the playback script");
  std::ifstream kept(script);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kalvora-input 1\n@5\nclick 1 2\n");
}

TEST(PlatformPaths, SaveAreaFollowsAbsoluteXdgFoldersAndEndsWithSlash) {
  ScopedEnv home("HOME", "/home/ala");
  struct Row {
    const char *data, *config, *local, *roaming;
  };
  for (const Row& row : std::initializer_list<Row>{
           {nullptr, nullptr, "/home/ala/.local/share/Kalvora/", "/home/ala/.config/Kalvora/"},
           {"/data/", "/conf", "/data/Kalvora/", "/conf/Kalvora/"},
           {"relative/path", "", "/home/ala/.local/share/Kalvora/", "/home/ala/.config/Kalvora/"}}) {
    ScopedEnv data("XDG_DATA_HOME", row.data), config("XDG_CONFIG_HOME", row.config);
    EXPECT_EQ(SaveAreaPath("Kalvora", false), row.local);
    EXPECT_EQ(SaveAreaPath("Kalvora", true), row.roaming);
  }
  std::string exe = ExecutableDirectory();
  char real[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", real, sizeof real - 1), 0);
  EXPECT_TRUE(!exe.empty() && exe.back() == '/' && std::string(real).rfind(exe, 0) == 0) << exe;
}

}  // namespace
