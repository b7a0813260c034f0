// IniFile on its own: what the parser keeps of a text and the writer's bytes.
#include "builtins/ini_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// The value of section/key, or "<missing>".
std::string Value(const IniFile& ini, const char* section, const char* key) {
  std::optional<std::string_view> value = ini.Find(section, key);
  return value ? std::string(*value) : "<missing>";
}

TEST(IniFileTest, WriterLaysOutSectionsAndEntriesInCreationOrder) {
  EXPECT_EQ(IniFile().Serialise(), "");
  IniFile ini = IniFile::Parse("[Termin]\n1=7\n");
  ini.Write("B", "z", "");
  ini.Write("B", "a", "x");
  ini.Write("Termin", "0", "y");
  ini.Write("Termin", "1", "8.000000");  // replacing keeps the entry's place
  EXPECT_EQ(ini.Serialise(), "[Termin]\r\n1=\"8.000000\"\r\n0=\"y\"\r\n[B]\r\nz=\"\"\r\na=\"x\"\r\n");
}

// Each line of a hand-edited text and what the parser keeps of it.
TEST(IniFileTest, HandEditedLinesFollowTheValueRules) {
  struct Row {
    std::string text;
    const char *section, *key, *value;
  };
  const std::vector<Row> rows = {
      {"[ L 1 ]\nKey=a\n", " L 1 ", "Key", "a"},  // names byte for byte
      {"[ L 1 ]\nKey=a\n", "L 1", "Key", "<missing>"},
      {"[ L 1 ]\nKey=a\n", " L 1 ", "key", "<missing>"},
      {"[ L 1 ]\nKey=a\n", " l 1 ", "Key", "<missing>"},
      {"[Zażółć]\nklucz=b\n", "Zażółć", "klucz", "b"},
      {"; c\n# c\n[S]\n  spaced   =   value with spaces  \t\n", "S", "spaced", "value with spaces"},
      {"[S]\nk=abc;comment\n", "S", "k", "abc"},
      {"[S]\nk=abc # comment\n", "S", "k", "abc"},
      {"[S]\nk=\"a;b#c \"  trailing text ignored\n", "S", "k", "a;b#c "},
      {"[S]\nk='it \"is\" fine'\n", "S", "k", "it \"is\" fine"},
      {"[S]\nk=\"runs to the line end\nj=1", "S", "k", "runs to the line end"},
      {"[S]\nk=\"\"\n", "S", "k", ""},
      {"[S]\nk=\n", "S", "k", "<missing>"},
      {"[S]\nk=   ; nothing\n", "S", "k", "<missing>"},
      {"[S]\nk=", "S", "k", "<missing>"},
      {"[S]\n=empty key\n", "S", "", "empty key"},
      {"[S]\r\nk = x\r\n", "S", "k", "x"},
      {"\xEF\xBB\xBF[S]\nk=x\n", "S", "k", "x"},
      {"[A] ; note\nk=v\n", "A", "k", "v"},
      {"[A]\n[B] k2=v2\n", "B", "k2", "v2"},
      {"before=ignored\n[A]\nk=1\n", "A", "before", "<missing>"},
      {"[A]\nk=first\nk=second\n[B]\n[A]\nk=third\nnew=dropped\n", "A", "k", "first"},
      {"[A]\nk=first\n[B]\n[A]\nnew=dropped\n", "A", "new", "<missing>"},
      {"[C]\nno equals here\nkey=v\n", "C", "no equals here\nkey", "v"},
      {"[C]\nno equals here\nkey=v\n", "C", "key", "<missing>"},
      {"[unclosed\nk=v\n", "unclosed", "k", "<missing>"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Value(IniFile::Parse(row.text), row.section, row.key), row.value);
  }
  EXPECT_TRUE(IniFile::Parse("[unclosed\nk=v\nno section\n").Sections().empty());
  IniFile noEquals = IniFile::Parse("[S]\nkey without value\n");
  EXPECT_TRUE(noEquals.HasSection("S") && noEquals.Sections().at("S").keys.empty());
  EXPECT_FALSE(noEquals.HasSection("s"));
}

TEST(IniFileTest, EveryParsedValueIsRewrittenInAFormThatParsesBackTheSame) {
  IniFile ini = IniFile::Parse("[S]\na='say \"hi\"'\nb=it's \"both\"\nc = x\n[C]\nno equals\nkey=v\n");
  std::string text = ini.Serialise();
  EXPECT_EQ(text, "[S]\r\na='say \"hi\"'\r\nb=it's \"both\"\r\nc=\"x\"\r\n[C]\r\nno equals\nkey=\"v\"\r\n");
  EXPECT_EQ(IniFile::Parse(text).Serialise(), text);
  EXPECT_EQ(Value(IniFile::Parse(text), "S", "a"), "say \"hi\"");
  EXPECT_EQ(Value(IniFile::Parse(text), "S", "b"), "it's \"both\"");
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
  ini.Write("A", "k", "back");  // a deleted key comes back after the remaining ones
  EXPECT_EQ(ini.Serialise(), "[A]\r\nj=\"2\"\r\nk=\"back\"\r\n");
}
}  // namespace
