// IniFile on its own: what the parser keeps of a text and the writer's bytes.
#include "builtins/ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace {
// The value of section/key, or "<missing>".
std::string Value(const IniFile& ini, const char* section, const char* key) {
  std::optional<std::string_view> value = ini.Find(section, key);
  return value ? std::string(*value) : "<missing>";
}

TEST(IniFileTest, WriterLaysOutSectionsAndEntriesInCreationOrder) {
  IniFile ini;
  ini.Write("Termin", "1", "7.000000");
  EXPECT_EQ(ini.Serialise(), "[Termin]\r\n1=\"7.000000\"\r\n");
  ini.Write("B", "z", "");
  ini.Write("B", "a", "x");
  ini.Write("A", "k", "v");
  ini.Write("Termin", "0", "y");
  ini.Write("Termin", "1", "8.000000");  // replacing keeps the entry's place
  EXPECT_EQ(ini.Serialise(),
            "[Termin]\r\n1=\"8.000000\"\r\n0=\"y\"\r\n"
            "[B]\r\nz=\"\"\r\na=\"x\"\r\n"
            "[A]\r\nk=\"v\"\r\n");
  EXPECT_EQ(IniFile().Serialise(), "");
}

TEST(IniFileTest, NamesAreMatchedByteForByteAndKeptAsWritten) {
  IniFile ini = IniFile::Parse("[ L 1 ]\nKey=a\n[Zażółć]\nklucz=b\n");
  EXPECT_EQ(Value(ini, " L 1 ", "Key"), "a");
  EXPECT_EQ(Value(ini, "L 1", "Key"), "<missing>");
  EXPECT_EQ(Value(ini, " L 1 ", "key"), "<missing>");
  EXPECT_EQ(Value(ini, " l 1 ", "Key"), "<missing>");
  EXPECT_EQ(Value(ini, "Zażółć", "klucz"), "b");
  EXPECT_TRUE(ini.HasSection(" L 1 "));
  EXPECT_FALSE(ini.HasSection("L1"));
}

TEST(IniFileTest, HandEditedLinesFollowTheValueRules) {
  IniFile ini = IniFile::Parse(
      "; leading comment\n"
      "# another\n"
      "[S]\n"
      "  spaced   =   value with spaces  \t\n"
      "unquoted=abc;comment\n"
      "hashed=abc # comment\n"
      "quoted=\"a;b#c \"  trailing text ignored\n"
      "single='it \"is\" fine'\n"
      "unclosed=\"runs to the line end\n"
      "empty=\"\"\n"
      "missing=\n"
      "missingWithComment=   ; nothing\n"
      "=empty key\n"
      "; comment line\n"
      "after=comment\n");
  EXPECT_EQ(Value(ini, "S", "spaced"), "value with spaces");
  EXPECT_EQ(Value(ini, "S", "unquoted"), "abc");
  EXPECT_EQ(Value(ini, "S", "hashed"), "abc");
  EXPECT_EQ(Value(ini, "S", "quoted"), "a;b#c ");
  EXPECT_EQ(Value(ini, "S", "single"), "it \"is\" fine");
  EXPECT_EQ(Value(ini, "S", "unclosed"), "runs to the line end");
  EXPECT_EQ(Value(ini, "S", "empty"), "");
  EXPECT_EQ(Value(ini, "S", "missing"), "<missing>");
  EXPECT_EQ(Value(ini, "S", "missingWithComment"), "<missing>");
  EXPECT_EQ(Value(ini, "S", ""), "empty key");
  EXPECT_EQ(Value(ini, "S", "after"), "comment");
}

TEST(IniFileTest, LineEndsByteOrderMarkAndHeaderTail) {
  const std::string crlf = "[L1]\r\n1=\"2f01000000000000\"\r\n2 = x\r\n";
  const std::string lf = "[L1]\n1=\"2f01000000000000\"\n2 = x\n";
  for (const std::string& text : {crlf, lf, "\xEF\xBB\xBF" + lf}) {
    IniFile ini = IniFile::Parse(text);
    EXPECT_EQ(Value(ini, "L1", "1"), "2f01000000000000");
    EXPECT_EQ(Value(ini, "L1", "2"), "x");
    EXPECT_EQ(ini.Serialise(), "[L1]\r\n1=\"2f01000000000000\"\r\n2=\"x\"\r\n");
  }
  // A BOM anywhere else is part of the text; a comment may follow a header.
  IniFile tail = IniFile::Parse("[A] ; note\nk=v\n[B] k2=v2\n");
  EXPECT_EQ(Value(tail, "A", "k"), "v");
  EXPECT_EQ(Value(tail, "B", "k2"), "v2");
}

TEST(IniFileTest, RepeatsKeepTheFirstAndStrayTextJoinsTheNextKey) {
  IniFile ini = IniFile::Parse(
      "before=ignored\n"
      "[A]\nk=first\nk=second\n"
      "[B]\nb=1\n"
      "[A]\nk=third\nnew=dropped\n"
      "[C]\nno equals here\nkey=v\n");
  EXPECT_EQ(Value(ini, "A", "k"), "first");
  EXPECT_EQ(Value(ini, "A", "new"), "<missing>");
  EXPECT_EQ(Value(ini, "A", "before"), "<missing>");
  EXPECT_EQ(Value(ini, "C", "key"), "<missing>");
  EXPECT_EQ(Value(ini, "C", "no equals here\nkey"), "v");
  EXPECT_EQ(ini.Serialise(), "[A]\r\nk=\"first\"\r\n[B]\r\nb=\"1\"\r\n[C]\r\nno equals here\nkey=\"v\"\r\n");
}

TEST(IniFileTest, DamagedTextsParseWithoutHarm) {
  EXPECT_TRUE(IniFile::Parse("").Sections().empty());
  EXPECT_TRUE(IniFile::Parse("no section at all\nk=v\n").Sections().empty());
  EXPECT_TRUE(IniFile::Parse("[unclosed\nk=v\n").Sections().empty());
  IniFile noEquals = IniFile::Parse("[S]\nkey without value\n");
  EXPECT_TRUE(noEquals.HasSection("S"));
  EXPECT_TRUE(noEquals.Sections().at("S").keys.empty());
  IniFile truncated = IniFile::Parse("[S]\na=1\nb=\"unterminated");
  EXPECT_EQ(Value(truncated, "S", "a"), "1");
  EXPECT_EQ(Value(truncated, "S", "b"), "unterminated");
  EXPECT_EQ(Value(IniFile::Parse("[S]\nk="), "S", "k"), "<missing>");

  std::string garbage;
  for (int i = 0; i < 1 << 16; ++i) garbage.push_back(char((i * 7919) ^ (i >> 3)));
  IniFile fromGarbage = IniFile::Parse(garbage);
  EXPECT_EQ(IniFile::Parse(fromGarbage.Serialise()).Serialise(), fromGarbage.Serialise());
}

TEST(IniFileTest, FiftyMegabytesOfDamageParse) {
  // Lines without "=" (each joins the next key), a key per megabyte, and a last
  // line with no "=" after it at all.
  std::string text = "[S]\n";
  const std::string line(99, 'x');
  while (text.size() < 50u << 20) {
    for (int i = 0; i < 10000; ++i) text.append(line).append("\n");
    text.append("=v\n");
  }
  text.append("tail without equals");
  IniFile ini = IniFile::Parse(text);
  EXPECT_EQ(ini.Sections().at("S").keys.size(), 1u);  // every such key has the same text
  EXPECT_EQ(ini.Sections().at("S").keys.begin()->second.value, "v");
}

TEST(IniFileTest, ManyUnclosedQuotesAndLoneCarriageReturnsParse) {
  // Every value opens a quote that no later byte closes, and no line has a line
  // feed: each search for a closing quote or a line feed must not rescan the rest.
  std::string text = "[S]\r";
  for (int i = 0; i < 200000; ++i) text.append("k").append(std::to_string(i)).append("=\"value\r");
  IniFile ini = IniFile::Parse(text);
  EXPECT_EQ(ini.Sections().at("S").keys.size(), 200000u);
  EXPECT_EQ(Value(ini, "S", "k0"), "value");
  EXPECT_EQ(Value(ini, "S", "k199999"), "value");
}

TEST(IniFileTest, ValuesWithQuotesSurviveARewrite) {
  IniFile ini = IniFile::Parse("[S]\na='say \"hi\"'\nb=it's \"both\"\n");
  EXPECT_EQ(Value(ini, "S", "a"), "say \"hi\"");
  EXPECT_EQ(Value(ini, "S", "b"), "it's \"both\"");
  std::string text = ini.Serialise();
  EXPECT_EQ(text, "[S]\r\na='say \"hi\"'\r\nb=it's \"both\"\r\n");
  IniFile again = IniFile::Parse(text);
  EXPECT_EQ(Value(again, "S", "a"), "say \"hi\"");
  EXPECT_EQ(Value(again, "S", "b"), "it's \"both\"");
}

TEST(IniFileTest, DeletesMarkTheFileChangedOnlyWhenSomethingWent) {
  IniFile ini = IniFile::Parse("[A]\nk=1\nj=2\n[B]\nx=1\n");
  EXPECT_FALSE(ini.Dirty());
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
