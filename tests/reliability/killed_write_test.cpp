// A writer killed at any moment leaves its file whole: a child process rewrites
// one file over and over with two alternating contents of 1 MB while the test
// kills it at a spread of moments; after every kill the file must hold exactly
// one of the two contents, and the next write clears what the killed one left.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "storage/file_io.h"

namespace fs = std::filesystem;

namespace {
constexpr int kKills = 60;
constexpr size_t kContentBytes = 1 << 20;

class KilledWriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kalvora-killed-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
    target_ = folder_ + "/save.ini";
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Two contents that differ in every byte, so that any mix of them is caught.
  static std::string Content(char fill) { return std::string(kContentBytes, fill); }

  // Starts a child that writes the target until it is killed.
  pid_t StartWriter() {
    pid_t child = ::fork();
    if (child == 0) {
      const std::string contents[2] = {Content('A'), Content('B')};
      for (unsigned i = 0;; ++i) (void)WriteFileAtomically(target_, contents[i % 2]);
    }
    return child;
  }

  std::vector<std::string> Temporaries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      if (entry.path().filename().string().rfind(".save.ini.tmp-", 0) == 0) names.push_back(entry.path());
    return names;
  }

  std::string folder_, target_;
};

TEST_F(KilledWriteTest, TheFileIsAlwaysOneWholeContent) {
  ASSERT_TRUE(WriteFileAtomically(target_, Content('A')));
  int whole = 0, leftovers = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    pid_t child = StartWriter();
    ASSERT_GT(child, 0);
    // Moments spread over one write and the next (a write of 1 MB with its flushes
    // takes milliseconds).
    std::this_thread::sleep_for(std::chrono::microseconds(500 + 397 * kill % 20000));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(target_, bytes));
    ASSERT_TRUE(bytes == Content('A') || bytes == Content('B'))
        << "after kill " << kill << " the file holds " << bytes.size() << " bytes of neither content";
    ++whole;
    leftovers += Temporaries().empty() ? 0 : 1;
  }
  EXPECT_EQ(whole, kKills);
  // The kills leave temporary files now and then; the next write removes them.
  ASSERT_TRUE(WriteFileAtomically(target_, "done"));
  EXPECT_EQ(Temporaries(), std::vector<std::string>()) << leftovers << " kills left a temporary file";
}
}  // namespace
