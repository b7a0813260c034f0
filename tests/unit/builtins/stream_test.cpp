#include "builtins/stream.h"

#include <gtest/gtest.h>

#include <cstring>

#include "list_test_support.h"

TEST(CStream, WritesLittleEndianNumbersAndStringsAsUpperCaseHex) {
  CStream stream;
  EXPECT_EQ(stream.ToText(), "");  // nothing written: no text at all
  stream.WriteInt32(303);
  stream.WriteInt32(-2);
  stream.WriteInt64(0x0102030405060708);
  stream.WriteReal(2.5);
  stream.WriteString("ab");
  stream.WriteString("");
  EXPECT_EQ(stream.ToText(),
            "2F010000FEFFFFFF"
            "0807060504030201"
            "0000000000000440"
            "020000006162"
            "00000000");
  EXPECT_EQ(stream.Position(), 34);
}

TEST(CStream, DecodesPairsOfEitherCaseUpToTheFirstNonPair) {
  EXPECT_EQ(CStream::FromText("").Size(), 0);
  EXPECT_EQ(CStream::FromText("aBcD").ReadInt32(), 0);  // two bytes only: the int32 is missing
  CStream mixed = CStream::FromText("aBcDeF01");
  EXPECT_EQ(mixed.ReadInt32(), int32_t(0x01EFCDAB));

  EXPECT_EQ(CStream::FromText("0102G304").Size(), 2);  // "G3" ends the data
  EXPECT_EQ(CStream::FromText("01020").Size(), 2);     // a lone digit at the end is ignored
  EXPECT_EQ(CStream::FromText("01 02").Size(), 1);
  EXPECT_EQ(CStream::FromText("x102").Size(), 0);
  EXPECT_EQ(CStream::FromText(std::string_view("01\0"
                                               "203",
                                               6))
                .Size(),
            1);
}

TEST(CStream, ReadsAtTheEndGiveZeroWithoutMoving) {
  CStream stream = CStream::FromText("2A000000");
  EXPECT_EQ(stream.ReadInt32(), 42);
  EXPECT_TRUE(stream.AtEnd());
  EXPECT_EQ(stream.ReadInt32(), 0);
  EXPECT_EQ(stream.ReadInt64(), 0);
  EXPECT_EQ(stream.ReadReal(), 0.0);
  EXPECT_TRUE(stream.ReadString().empty());
  EXPECT_EQ(stream.Position(), 4);
}

TEST(CStream, NumbersCutByTheEndAreMissingAndEndTheData) {
  CStream stream = CStream::FromText(
      "01000000"
      "000000");  // an int32, then 3 bytes of a real
  EXPECT_EQ(stream.ReadInt32(), 1);
  EXPECT_EQ(stream.ReadReal(), 0.0);
  EXPECT_TRUE(stream.AtEnd());

  CStream shortInt = CStream::FromText("FFFF");
  EXPECT_EQ(shortInt.ReadInt32(), 0);
  EXPECT_EQ(shortInt.Position(), 2);
}

TEST(CStream, StringsTakeWhatRemainsAndIgnoreNonPositiveLengths) {
  CStream shortString = CStream::FromText(
      "0A000000"
      "616263");
  EXPECT_EQ(shortString.ReadString(), "abc");
  EXPECT_TRUE(shortString.AtEnd());

  CStream negative = CStream::FromText(Hex32(-5) + "616263");
  EXPECT_TRUE(negative.ReadString().empty());
  EXPECT_EQ(negative.Position(), 4);  // the bytes after a negative length are left for the next read

  CStream embedded = CStream::FromText(
      "03000000"
      "610062");
  EXPECT_EQ(embedded.ReadString(), std::string_view("a\0b", 3));
}

TEST(CStream, GrowsItsBufferForLargeWrites) {
  CStream stream;
  std::string big(100000, 'z');
  stream.WriteString(big);
  stream.WriteInt32(7);
  EXPECT_EQ(stream.Position(), 4 + 100000 + 4);
  EXPECT_GE(stream.Size(), stream.Position());

  CStream back = CStream::FromText(stream.ToText());
  EXPECT_EQ(back.ReadString(), big);
  EXPECT_EQ(back.ReadInt32(), 7);
}
