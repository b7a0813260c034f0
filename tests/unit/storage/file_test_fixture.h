// Shared set-up of the INI and file tests: a fresh temporary folder holding the
// save area ("save", not created beforehand), the program directory ("program")
// and the current directory ("work", entered for the test); the sandbox is on,
// runtime errors throw, the debug output and failed writes and reads are
// recorded; built-ins are called as support/builtin_fixture.h calls them.
#pragma once

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/builtin_variables.h"
#include "runtime/compiled.h"
#include "runtime/debug_output.h"
#include "runtime/error.h"
#include "runtime/function_table.h"
#include "runtime/gc.h"
#include "runtime/object.h"
#include "storage/file_io.h"
#include "storage/sandbox.h"
#include "support/builtin_fixture.h"

namespace fs = std::filesystem;

class FileTest : public BuiltinTest {
 protected:
  void SetUp() override {
    BuiltinTest::SetUp();
    RegisterRuntimeBuiltinVariables();
    CreateGlobalObject();
    char pattern[] = "/tmp/kalvora-files-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    saveArea_ = root_ + "/save";
    programDirectory_ = root_ + "/program";
    workDirectory_ = root_ + "/work";
    fs::create_directories(programDirectory_);
    fs::create_directories(workDirectory_);
    previousDirectory_ = fs::current_path();
    fs::current_path(workDirectory_);
    SetDebugOutputCapture(&log_);
    ConfigureSandbox({saveArea_, programDirectory_, true});
    failedWrites().clear();
    failedReads().clear();
    SetFileFailureNotifier([](FileOperation operation, const std::string& path, const std::string&) {
      (operation == FileOperation::Write ? failedWrites() : failedReads()).push_back(path);
    });
  }

  void TearDown() override {
    Call("ini_close", {});
    SetFileFailureNotifier(nullptr);
    SetWriteFaultForTesting(0);
    SetDebugOutputCapture(nullptr);
    fs::current_path(previousDirectory_);
    fs::remove_all(root_);
    DestroyGlobalObject();
    BuiltinTest::TearDown();
  }

  static std::vector<std::string>& failedWrites() {
    static std::vector<std::string> paths;
    return paths;
  }
  static std::vector<std::string>& failedReads() {
    static std::vector<std::string> paths;
    return paths;
  }

  static std::string CallText(const char* name, std::initializer_list<TempValue> args) {
    TempValue result = Call(name, args);
    EXPECT_EQ(KindOf(result), VALUE_STRING) << name;
    return StringText(result);
  }
  static double CallReal(const char* name, std::initializer_list<TempValue> args) {
    TempValue result = Call(name, args);
    EXPECT_EQ(KindOf(result), VALUE_REAL) << name;
    return result.real;
  }
  static void WriteFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static bool Exists(const std::string& path) { return fs::exists(path); }
  // Hidden names in `folder`: temporary files a write left behind.
  static std::vector<std::string> TemporaryFiles(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.path().filename().string()[0] == '.') names.push_back(entry.path().filename());
    return names;
  }

  // Runs `check` as a user without privileges, so that file permissions hold:
  // when the tests run as root (who reads and writes every file), in a child
  // process that hands the test's folders to the user "nobody" and becomes it.
  // `check` returns "" when all is well, else what went wrong.
  void ExpectUnprivileged(const std::function<std::string()>& check) {
    if (::geteuid() != 0) {
      EXPECT_EQ(check(), "");
      return;
    }
    constexpr uid_t kNobody = 65534;
    for (const auto& entry : fs::recursive_directory_iterator(root_))
      (void)::lchown(entry.path().c_str(), kNobody, kNobody);
    (void)::chown(root_.c_str(), kNobody, kNobody);
    GTEST_FLAG_SET(death_test_style, "fast");  // a plain fork: the child keeps this test's state
    auto runAsNobody = [&] {
      if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) std::_Exit(2);
      std::string problem = check();
      std::fprintf(stderr, "%s", problem.c_str());
      std::_Exit(problem.empty() ? 0 : 1);
    };
    EXPECT_EXIT(runAsNobody(), ::testing::ExitedWithCode(0), "");
  }

  std::string InSave(const std::string& name) const { return saveArea_ + "/" + name; }
  std::string InProgram(const std::string& name) const { return programDirectory_ + "/" + name; }

  std::string root_, saveArea_, programDirectory_, workDirectory_;
  fs::path previousDirectory_;
  std::string log_;
};
