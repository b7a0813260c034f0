#include "app/app_test.h"

namespace {
constexpr int64_t kNow = 1715610645;  // 2024-05-13 14:30:45 UTC, a Monday

// The application's date parser, the `dateset` script, on what users type.
class DatesetTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    SetWallClock([] { return kNow; });
  }

  TempValue Parse(const char* text) { return RunScript(ksl_Script_dateset, Str(text)); }
  double Field(const SymbolEntry& variable) { return CallerVariable(variable).real; }

  // The 12 May 2024 at 08:00 in Warsaw, with the fields left behind.
  void ExpectTwelfthOfMay(const char* text) {
    SCOPED_TRACE(text);
    TempValue date = Parse(text);
    ASSERT_EQ(KindOf(date), uint32_t(VALUE_REAL));
    EXPECT_EQ(date.real, UtcDate(2024, 5, 12, 6, 0));
    EXPECT_EQ(Field(v_da), 12);
    EXPECT_EQ(Field(v_mo), 5);
    EXPECT_EQ(Field(v_yr), 2024);
  }
};

TEST_F(DatesetTest, ReadsDayMonthYearWithAnySeparator) {
  ExpectTwelfthOfMay("12/05/2024");
  ExpectTwelfthOfMay("12-5-24");     // 2000 is added to a year of fewer than four digits
  ExpectTwelfthOfMay("2024.05.12");  // year first: day and year are swapped
  ExpectTwelfthOfMay("12.05.2024");  // the pieces 12. and 05. read as 12 and 5
  ExpectTwelfthOfMay("12:05:2024");
  ExpectTwelfthOfMay("12/05/2024 r.");  // at most five characters of the year are read
}

TEST_F(DatesetTest, AFourDigitYearIsTakenAsWritten) {
  struct Case {
    const char* text;
    double year;
  };
  for (const Case& c : {Case{"12.05.1999", 1999}, Case{"12/05/1970", 1970}, Case{"12-05-1000", 1000},
                        Case{"12.05.999", 2999}, Case{"12.05.0999", 2999}}) {
    SCOPED_TRACE(c.text);
    Parse(c.text);
    EXPECT_EQ(Field(v_yr), c.year);
  }
  EXPECT_EQ(Parse("12.05.1999").real, Create(1999, 5, 12, 8, 0, 0));
}

TEST_F(DatesetTest, AcceptsWhatDateStringShows) {
  TempValue shown = Call("date_date_string", Create(2024, 5, 12, 17, 45, 0));
  ExpectTwelfthOfMay(StringText(shown));
}

TEST_F(DatesetTest, ALaterSeparatorKindWins) {
  // Two of "-" and two of ".": the full stop is the separator, the year piece is 3-4-5.
  TempValue date = Parse("1.2.3-4-5");
  EXPECT_EQ(date.real, Create(2003, 2, 1, 8, 0, 0));
}

TEST_F(DatesetTest, AnImpossibleDateGivesTheCurrentDateTime) {
  for (const char* text : {"31.02.2024", "12/13/2024", "0/5/2024", "29/02/2023", "a/b/c"}) {
    TempValue date = Parse(text);
    ASSERT_EQ(KindOf(date), uint32_t(VALUE_REAL)) << text;
    EXPECT_EQ(date.real, SecondsToDate(kNow)) << text;
  }
  EXPECT_EQ(Field(v_da), 0);  // a/b/c: every field read as 0, then 2000 added to the year
  EXPECT_EQ(Field(v_yr), 2000);
}

TEST_F(DatesetTest, OtherThanTwoSeparatorsGivesNoValueAndKeepsTheFields) {
  ExpectTwelfthOfMay("12/05/2024");
  for (const char* text : {"12.05", "12/05/2024/1", "", "12 05 2024", "1-2.3:4"}) {
    TempValue date = Parse(text);
    EXPECT_EQ(date.kind, uint32_t(VALUE_UNDEFINED)) << text;
    EXPECT_EQ(Call("is_undefined", date).real, 1);
  }
  EXPECT_EQ(Field(v_da), 12);
  EXPECT_EQ(Field(v_mo), 5);
  EXPECT_EQ(Field(v_yr), 2024);
}

TEST_F(DatesetTest, TheParsedDateWorksWithTheOtherDateBuiltins) {
  TempValue date = Parse("13.05.2024");
  EXPECT_EQ(Call("date_compare_date", date, Call("date_current_datetime")).real, 0);
  TempValue horizon = Call("date_inc_day", Call("date_current_datetime"), 7.0);
  EXPECT_EQ(Call("date_compare_date", Parse("19.05.2024"), horizon).real, -1);  // Sunday: shown
  EXPECT_EQ(Call("date_compare_date", Parse("20.05.2024"), horizon).real, 0);   // next Monday: not
  EXPECT_EQ(Text(Call("date_date_string", Parse("1-1-70"))), "01.01.2070");
}
}  // namespace
