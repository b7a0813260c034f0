// The crash-safe writer on its own.
#include "storage/file_io.h"

#include <sys/stat.h>

#include <cstdio>
#include <thread>

#include "storage/file_test_fixture.h"

namespace {
class FileIoTest : public FileTest {};

TEST_F(FileIoTest, WritesCreateFoldersAndReplaceWholeFiles) {
  const std::string target = root_ + "/a/b/c.txt";
  IoResult written = WriteFileAtomically(target, std::string("one\0two", 7));
  ASSERT_TRUE(written) << written.reason;
  EXPECT_EQ(ReadFile(target), std::string("one\0two", 7));
  ASSERT_TRUE(WriteFileAtomically(target, "x"));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(target, bytes));
  EXPECT_EQ(bytes, "x");
  EXPECT_EQ(TemporaryFiles(root_ + "/a/b"), std::vector<std::string>());

  IoResult missing = ReadWholeFile(root_ + "/none", bytes);
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.error, ENOENT);
  EXPECT_EQ(bytes, "");
}

// Whole files of any size, empty ones, and files whose size the system does not
// tell beforehand (a pipe) read back byte for byte.
TEST_F(FileIoTest, ReadsWholeFilesOfAnySize) {
  std::string bytes;
  for (size_t size : {size_t(0), size_t(1), size_t(32767), size_t(32768), size_t(100001)}) {
    std::string content(size, '\0');
    for (size_t i = 0; i < size; ++i) content[i] = char('a' + i % 23);
    const std::string target = root_ + "/size" + std::to_string(size);
    ASSERT_TRUE(WriteFileAtomically(target, content));
    ASSERT_TRUE(ReadWholeFile(target, bytes)) << size;
    EXPECT_EQ(bytes, content) << size;
  }
  const std::string fifo = root_ + "/pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string piped(70000, 'p');
  std::thread writer([&] {
    std::FILE* out = std::fopen(fifo.c_str(), "wb");
    std::fwrite(piped.data(), 1, piped.size(), out);
    std::fclose(out);
  });
  ASSERT_TRUE(ReadWholeFile(fifo, bytes));
  writer.join();
  EXPECT_EQ(bytes, piped);
}

// The injected fault fails the nth write from the call on (even an empty one, at
// its flush) and the file keeps its last good content.
TEST_F(FileIoTest, FaultCountsWritesFromTheCall) {
  const std::string target = root_ + "/n.txt";
  int64_t before = WriteAttemptCount();
  SetWriteFaultForTesting(3);
  EXPECT_EQ(std::vector<bool>({bool(WriteFileAtomically(target, "1")), bool(WriteFileAtomically(target, "2")),
                               bool(WriteFileAtomically(target, "3")), bool(WriteFileAtomically(target, ""))}),
            std::vector<bool>({true, true, false, true}));
  EXPECT_EQ(ReadFile(target), "");
  EXPECT_EQ(WriteAttemptCount(), before + 4);
  SetWriteFaultForTesting(1);
  EXPECT_FALSE(WriteFileAtomically(target, ""));
}

// A replaced file keeps its permissions; a link is written through; a folder
// that cannot be made fails with a reason; failures are logged and passed on.
TEST_F(FileIoTest, ReplacingFilesAndFailures) {
  const std::string target = root_ + "/private.ini", link = root_ + "/work/link.ini";
  WriteFile(target, "a");
  ::chmod(target.c_str(), 0640);
  fs::create_symlink(target, link);
  ASSERT_TRUE(WriteFileAtomically(link, "through the link"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(target), "through the link");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));

  IoResult result = WriteFileAtomically(target + "/child.txt", "y");
  EXPECT_FALSE(result);
  EXPECT_NE(result.reason.find("could not create the folder"), std::string::npos);
  static std::vector<std::string> reported;
  SetFileFailureNotifier([](FileOperation operation, const std::string& path, const std::string& reason) {
    reported.push_back((operation == FileOperation::Write ? "write " : "read ") + path + ": " + reason);
  });
  ReportWriteFailure("/p", "why");
  ReportReadFailure("/q", "because");
  EXPECT_EQ(reported, (std::vector<std::string>{"write /p: why", "read /q: because"}));
  EXPECT_NE(log_.find("Unable to write file '/p': why\nUnable to read file '/q': because\n"), std::string::npos);
}

}  // namespace
