#include "builtins/stream.h"

#include <gtest/gtest.h>

#include "list_test_support.h"

TEST(CStream, WritesLittleEndianNumbersAndStringsAsUpperCaseHexAndReadsThemBack) {
  CStream stream;
  EXPECT_EQ(stream.ToText(), "");  // nothing written: no text at all
  stream.WriteInt32(303);
  stream.WriteInt64(0x0102030405060708);
  stream.WriteReal(2.5);
  stream.WriteString(std::string(100000, 'z'));  // grows the buffer
  stream.WriteString(std::string_view("a\0b", 3));
  EXPECT_EQ(stream.Position(), 4 + 8 + 8 + 4 + 100000 + 4 + 3);
  const std::string text = stream.ToText();
  EXPECT_EQ(text.substr(0, 48), "2F01000008070605040302010000000000000440A0860100");
  EXPECT_EQ(text.substr(text.size() - 14), "03000000610062");

  CStream back = CStream::FromText(text);
  EXPECT_EQ(back.ReadInt32(), 303);
  EXPECT_EQ(back.ReadInt64(), 0x0102030405060708);
  EXPECT_EQ(back.ReadReal(), 2.5);
  EXPECT_EQ(back.ReadString(), std::string(100000, 'z'));
  EXPECT_EQ(back.ReadString(), std::string_view("a\0b", 3));
  EXPECT_TRUE(back.AtEnd());
}

TEST(CStream, DecodesPairsOfEitherCaseUpToTheFirstNonPairAndNoFurther) {
  EXPECT_EQ(CStream::FromText("aBcDeF01").ReadInt32(), int32_t(0x01EFCDAB));
  std::vector<int64_t> sizes;
  for (std::string_view text : {std::string_view(""), std::string_view("0102G304"), std::string_view("01020"),
                                std::string_view("01 02"), std::string_view("x102"),
                                std::string_view("01\0"
                                                 "203",
                                                 6),
                                std::string_view("0102FF").substr(0, 4)})  // the digits after the view are not its own
    sizes.push_back(CStream::FromText(text).Size());
  EXPECT_EQ(sizes, (std::vector<int64_t>{0, 2, 2, 1, 0, 1, 2}));
}

TEST(CStream, ReadsPastTheEndGiveZerosAndEmptyTexts) {
  CStream stream = CStream::FromText("2A000000");
  EXPECT_EQ(stream.ReadInt32(), 42);
  EXPECT_EQ(stream.ReadInt32() + stream.ReadInt64() + stream.ReadReal(), 0);
  EXPECT_TRUE(stream.ReadString().empty());
  EXPECT_EQ(stream.Position(), 4);

  CStream cut = CStream::FromText(
      "01000000"
      "000000"
      "FFFF");  // an int32, then 5 bytes of a real
  EXPECT_EQ(cut.ReadInt32(), 1);
  EXPECT_EQ(cut.ReadReal(), 0.0);
  EXPECT_TRUE(cut.AtEnd());
  CStream shortInt = CStream::FromText("FFFF");
  EXPECT_EQ(shortInt.ReadInt32(), 0);
  EXPECT_EQ(shortInt.Position(), 2);

  CStream shortString = CStream::FromText(
      "0A000000"
      "616263");
  EXPECT_EQ(shortString.ReadString(), "abc");
  CStream negative = CStream::FromText(Hex32(-5) + "616263");
  EXPECT_TRUE(negative.ReadString().empty());
  EXPECT_EQ(negative.Position(), 4);  // the bytes after a negative length are left for the next read
}
