// Saves committed in the background: what waits for them, in what order they
// land, how their failures are told, and that the end of the process waits.
// Commits are held where a test must see one pending; a thread of the test
// releases them later, since a wait on the main thread would otherwise never end.
#include "storage/background_commit.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "storage/file_test_fixture.h"

namespace {
using namespace std::chrono_literals;

// Releases the held commits after `delay` from a thread of its own, or when it
// is destroyed, whichever comes first.
class ReleaseAfter {
 public:
  explicit ReleaseAfter(std::chrono::milliseconds delay)
      : thread_([this, delay] {
          std::unique_lock lock(mutex_);
          destroyed_.wait_for(lock, delay, [this] { return done_; });
          HoldCommitsForTesting(false);
        }) {}
  ~ReleaseAfter() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    destroyed_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable destroyed_;
  bool done_ = false;
  std::thread thread_;
};

class BackgroundCommitTest : public FileTest {
 protected:
  void TearDown() override {
    HoldCommitsForTesting(false);
    FileTest::TearDown();
  }

  // Writes `bytes` into `target` and hands the commit to the worker.
  static void SaveInBackground(const std::string& target, const std::string& bytes) {
    auto writer = std::make_unique<AtomicFileWriter>();
    ASSERT_TRUE(writer->Open(target));
    ASSERT_TRUE(writer->Append(bytes));
    CommitInBackground(std::move(writer));
  }

  // The file's bytes as they are now, without waiting for any commit.
  static std::string BytesNow(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  void SaveIni(const std::string& name, const std::string& value) {
    Call("ini_open", {Str(name)});
    Call("ini_write_string", {Str("S"), Str("k"), Str(value)});
    Call("ini_close", {});
  }
  std::string IniValue(const std::string& name) {
    Call("ini_open", {Str(name)});
    std::string value = CallText("ini_read_string", {Str("S"), Str("k"), Str("<none>")});
    Call("ini_close", {});
    return value;
  }
};

TEST_F(BackgroundCommitTest, WhatLooksAtAFileSeesTheBytesOfItsLastSave) {
  const std::string target = InSave("save.ini"), link = InSave("link.ini"), created = InSave("new.ini");
  WriteFile(target, "old");
  fs::create_symlink(target, link);

  HoldCommitsForTesting(true);
  SaveInBackground(target, "new");
  ASSERT_EQ(BytesNow(target), "old");  // held: the commit is pending
  {
    ReleaseAfter release(100ms);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(target, bytes));
    EXPECT_EQ(bytes, "new");
  }

  HoldCommitsForTesting(true);
  SaveInBackground(target, "through the link");
  {
    ReleaseAfter release(100ms);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(link, bytes));  // another name of the pending file
    EXPECT_EQ(bytes, "through the link");
  }

  HoldCommitsForTesting(true);
  SaveInBackground(created, "first save");
  {
    ReleaseAfter release(100ms);
    EXPECT_TRUE(IsExistingFile(created));
  }
  EXPECT_EQ(BytesNow(created), "first save");
  EXPECT_EQ(TemporaryFiles(saveArea_), std::vector<std::string>());
}

// Reading another file while a save is pending does not wait for it: the menu
// that follows a save reads save2.ini in the same frame.
TEST_F(BackgroundCommitTest, ReadingAnotherFileDoesNotWait) {
  WriteFile(InSave("save.ini"), "old");
  WriteFile(InSave("save2.ini"), "other");
  HoldCommitsForTesting(true);
  SaveInBackground(InSave("save.ini"), "new");
  ReleaseAfter release(10s);  // only if the read below waited after all
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(InSave("save2.ini"), bytes));
  EXPECT_EQ(bytes, "other");
  EXPECT_TRUE(IsExistingFile(InSave("save2.ini")));
  EXPECT_EQ(BytesNow(InSave("save.ini")), "old") << "the read of save2.ini waited for the save of save.ini";
}

// A write made at once, a removal and a file dialog come after every pending
// commit, so files reach the disk in the order the program changed them.
TEST_F(BackgroundCommitTest, ChangesMadeAtOnceWaitForEveryPendingCommit) {
  HoldCommitsForTesting(true);
  SaveInBackground(InSave("save.ini"), "saved first");
  {
    ReleaseAfter release(100ms);
    ASSERT_TRUE(WriteFileAtomically(InSave("backup.vtab"), "copied next"));
    EXPECT_EQ(BytesNow(InSave("save.ini")), "saved first");
  }

  HoldCommitsForTesting(true);
  SaveInBackground(InSave("old.ini"), "doomed");
  {
    ReleaseAfter release(100ms);
    ASSERT_TRUE(RemoveFile(InSave("old.ini")));  // had it not waited, the commit would bring the file back
  }
  EXPECT_FALSE(Exists(InSave("old.ini")));

  HoldCommitsForTesting(true);
  SaveInBackground(InSave("save.ini"), "before the dialog");
  {
    ReleaseAfter release(100ms);
    EXPECT_EQ(CallText("get_open_filename", {Str("*.vtab"), Str("")}), "");  // no dialog host: cancelled
    EXPECT_EQ(BytesNow(InSave("save.ini")), "before the dialog");
  }
}

TEST_F(BackgroundCommitTest, ASaveOfAnotherFileDoesNotWaitAndASecondSaveOfAPendingFileLandsAfterTheFirst) {
  HoldCommitsForTesting(true);
  {
    ReleaseAfter release(500ms);
    SaveIni("save.ini", "first");
    SaveIni("save2.ini", "other file");
    EXPECT_EQ(BytesNow(InSave("save.ini")), "") << "saving save2.ini waited for the pending save.ini";
    // A second save of the pending file: opening it reads the first save's bytes.
    Call("ini_open", {Str("save.ini")});
    EXPECT_EQ(CallText("ini_read_string", {Str("S"), Str("k"), Str("<none>")}), "first");
    Call("ini_write_string", {Str("S"), Str("k"), Str("second")});
    Call("ini_close", {});
  }
  EXPECT_EQ(IniValue("save.ini"), "second");
  EXPECT_EQ(IniValue("save2.ini"), "other file");
}

std::vector<std::thread::id> g_reportingThreads;

TEST_F(BackgroundCommitTest, AFailedFlushKeepsTheOldBytesAndIsToldOnceOnTheMainThread) {
  const std::string oldBytes("[S]\r\nk=\"old\0\xff\"\r\n", 17);
  WriteFile(InSave("save.ini"), oldBytes);
  g_reportingThreads.clear();
  SetFileFailureNotifier([](FileOperation, const std::string&, const std::string&) {
    g_reportingThreads.push_back(std::this_thread::get_id());
  });
  HoldCommitsForTesting(true);
  SetWriteFaultForTesting(1, size_t(1) << 30);  // every byte gets through: the flush fails
  SaveInBackground(InSave("save.ini"), "[S]\r\nk=\"new\"\r\n");
  ReportFinishedCommits();
  EXPECT_TRUE(g_reportingThreads.empty()) << "told before the commit ran";

  HoldCommitsForTesting(false);
  for (int tries = 0; tries < 10000 && g_reportingThreads.empty(); ++tries) {  // a frame start, at most 10 s from now
    std::this_thread::sleep_for(1ms);
    ReportFinishedCommits();
  }
  WaitForAllCommits();
  ReportFinishedCommits();
  EXPECT_EQ(g_reportingThreads, std::vector<std::thread::id>{std::this_thread::get_id()});
  EXPECT_EQ(BytesNow(InSave("save.ini")), oldBytes);
  EXPECT_EQ(TemporaryFiles(saveArea_), std::vector<std::string>());
  const std::string told =
      "Unable to write file '" + InSave("save.ini") + "': could not flush to disk (injected failure)";
  size_t at = log_.find(told);
  ASSERT_NE(at, std::string::npos) << log_;
  EXPECT_EQ(log_.find(told, at + 1), std::string::npos) << "told twice";
}

// The end of the process waits for the pending commits and tells their
// failures: a child hands over two saves, the second failing at its flush,
// and calls exit() while the worker is still held.
TEST_F(BackgroundCommitTest, TheEndOfTheProcessWaitsForPendingCommits) {
  WriteFile(InSave("kept.ini"), "old");
  GTEST_FLAG_SET(death_test_style, "fast");  // a plain fork: the child writes into this test's folders
  auto saveAndExit = [this] {
    SetDebugOutputCapture(nullptr);  // the report goes to standard error, which the test reads
    HoldCommitsForTesting(true);
    SaveInBackground(InSave("save.ini"), "saved just before the end");
    SetWriteFaultForTesting(1, size_t(1) << 30);
    SaveInBackground(InSave("kept.ini"), "lost");
    std::thread([] {
      std::this_thread::sleep_for(200ms);
      HoldCommitsForTesting(false);
    }).detach();
    std::exit(0);
  };
  EXPECT_EXIT(saveAndExit(), ::testing::ExitedWithCode(0),
              "Unable to write file '.*kept.ini': could not flush to disk \\(injected failure\\)");
  EXPECT_EQ(BytesNow(InSave("save.ini")), "saved just before the end");
  EXPECT_EQ(BytesNow(InSave("kept.ini")), "old");
  EXPECT_EQ(TemporaryFiles(saveArea_), std::vector<std::string>());
}
}  // namespace
