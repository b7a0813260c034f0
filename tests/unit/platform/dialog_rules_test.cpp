#include "platform/dialog_rules.h"

#include <gtest/gtest.h>

#include "platform/utf8_text.h"

namespace {

TEST(DialogRules, SplitsFilterPairs) {
  EXPECT_TRUE(SplitFilter("").empty());
  std::vector<FileFilter> csv = SplitFilter("*.csv|*.csv");
  ASSERT_EQ(csv.size(), 1u);
  EXPECT_EQ(csv[0].description, "*.csv");
  EXPECT_EQ(csv[0].patterns, std::vector<std::string>{"*.csv"});

  std::vector<FileFilter> several = SplitFilter("Kopie|*.vtab|Obrazy|*.png; *.jpg|Wszystkie|*.*");
  ASSERT_EQ(several.size(), 3u);
  EXPECT_EQ(several[1].description, "Obrazy");
  EXPECT_EQ(several[1].patterns, (std::vector<std::string>{"*.png", "*.jpg"}));
  EXPECT_EQ(several[2].patterns, std::vector<std::string>{"*.*"});

  EXPECT_EQ(SplitFilter("Tekst|*.txt|Sierota").size(), 1u);  // a description without a pattern
  EXPECT_EQ(SplitFilter("Pusty||Tekst|*.txt").at(0).description, "Tekst");
  EXPECT_EQ(SplitFilter("|*.ini").at(0).description, "*.ini");
  EXPECT_TRUE(SplitFilter("|").empty());
}

// The scenarios save "tabela.csv" and "raport 13.05.2024" through a *.csv filter.
TEST(DialogRules, DefaultExtensionIsThePatternAfterItsFirstDot) {
  EXPECT_EQ(DefaultExtension(SplitFilter("Kopia|*.vtab;*.bak")[0]), "vtab");
  EXPECT_EQ(DefaultExtension(SplitFilter("Archiwa|*.tar.gz")[0]), "tar.gz");
  EXPECT_EQ(DefaultExtension(SplitFilter("Wszystkie|*.*")[0]), "");
  EXPECT_EQ(DefaultExtension(SplitFilter("Wszystkie|*")[0]), "");
  EXPECT_EQ(DefaultExtension(SplitFilter("Jeden|plik.c?")[0]), "");

  EXPECT_EQ(WithDefaultExtension("/home/ala/Tabela Terminów", "csv"), "/home/ala/Tabela Terminów.csv");
  EXPECT_EQ(WithDefaultExtension("/home/ala/tabela.txt", "csv"), "/home/ala/tabela.txt.csv");
  EXPECT_EQ(WithDefaultExtension("/home/ala/TABELA.Csv", "csv"), "/home/ala/TABELA.Csv");
  EXPECT_EQ(WithDefaultExtension("/home/ala/kopia.tar.gz", "tar.gz"), "/home/ala/kopia.tar.gz");
  EXPECT_EQ(WithDefaultExtension("/home/a.b/tabela", "csv"),
            "/home/a.b/tabela.csv");  // a dot of the folder is not the name's
  EXPECT_EQ(WithDefaultExtension("/home/ala/tabela", ""), "/home/ala/tabela");
  EXPECT_EQ(WithDefaultExtension("/home/ala/", "csv"), "/home/ala/");
}

TEST(DialogRules, PatternsMatchEitherCase) {
  EXPECT_EQ(CaseInsensitivePattern("*.csv"), "*.[cC][sS][vV]");
  EXPECT_EQ(CaseInsensitivePattern("*.*"), "*.*");
  EXPECT_EQ(CaseInsensitivePattern("Kopia_2?.VTAB"), "[kK][oO][pP][iI][aA]_2?.[vV][tT][aA][bB]");
  EXPECT_EQ(CaseInsensitivePattern("*.[ch]"), "*.[ch]");
}

TEST(DialogRules, InputTextIsLimitedInCharacters) {
  EXPECT_EQ(LimitInputText("krótki"), "krótki");
  std::string polish;
  for (int i = 0; i < 5000; ++i) polish += "ą";
  std::string limited = LimitInputText(polish);
  EXPECT_EQ(limited.size(), 2 * kMaxInputCharacters);  // two bytes per letter, none cut in half
  EXPECT_EQ(TruncateUtf8("aż€", 2), "aż");
  EXPECT_EQ(TruncateUtf8("aż€", 0), "");
}

TEST(Utf8Text, DecodesAndReplacesMalformedBytes) {
  EXPECT_EQ(DecodeUtf8("Aż€😀"), (std::vector<uint32_t>{0x41, 0x17C, 0x20AC, 0x1F600}));
  EXPECT_EQ(DecodeUtf8("a\xC5"), (std::vector<uint32_t>{0x61, 0xFFFD}));                   // cut short
  EXPECT_EQ(DecodeUtf8("\xC0\xAF"), (std::vector<uint32_t>{0xFFFD, 0xFFFD}));              // overlong
  EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), (std::vector<uint32_t>{0xFFFD, 0xFFFD, 0xFFFD}));  // a surrogate
  EXPECT_EQ(DecodeUtf8("\xFF"
                       "b"),
            (std::vector<uint32_t>{0xFFFD, 0x62}));
  EXPECT_EQ(DecodeUtf8(std::string_view("\0", 1)), std::vector<uint32_t>{0});  // a NUL is a character
  EXPECT_TRUE(DecodeUtf8("").empty());
}

}  // namespace
