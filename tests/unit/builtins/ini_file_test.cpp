// IniFile on its own: long texts parse in linear time, deletes mark the file
// changed. What the parser keeps and the writer lays out: cases/ini.calls.
#include "builtins/ini_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// The value of section/key, or "<missing>".
std::string Value(const IniFile& ini, const char* section, const char* key) {
  std::optional<std::string_view> value = ini.Find(section, key);
  return value ? std::string(*value) : "<missing>";
}

TEST(IniFileTest, ManyUnclosedQuotesAndLoneCarriageReturnsParse) {
  // Every value opens a quote that no later byte closes, and no line has a line
  // feed: each search for a closing quote or a line feed must not rescan the rest.
  std::string text = "[S]\r";
  for (int i = 0; i < 200000; ++i) text.append("k").append(std::to_string(i)).append("=\"value\r");
  IniFile ini = IniFile::Parse(text);
  EXPECT_EQ(ini.Sections().at("S").keys.size(), 200000u);
  EXPECT_EQ(Value(ini, "S", "k199999"), "value");
}

TEST(IniFileTest, DeletesMarkTheFileChangedOnlyWhenSomethingWent) {
  IniFile ini = IniFile::Parse("[A]\nk=1\nj=2\n[B]\nx=1\n");
  ini.DeleteKey("A", "missing");
  ini.DeleteSection("missing");
  EXPECT_FALSE(ini.Dirty());
  ini.DeleteKey("A", "k");
  EXPECT_TRUE(ini.Dirty());
  ini.ClearDirty();
  ini.DeleteSection("B");
  EXPECT_TRUE(ini.Dirty());
}
}  // namespace
