#include "app/app_test.h"

namespace {
constexpr int64_t kNow = 1715610645;  // 2024-05-13 14:30:45 UTC

// The application's date parser, the `dateset` script, on what users type.
class DatesetTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    SetWallClock([] { return kNow; });
  }
  TempValue Parse(const char* text) { return RunScript(ksl_Script_dateset, Str(text)); }
  std::vector<double> Fields() {
    return {CallerVariable(v_da).real, CallerVariable(v_mo).real, CallerVariable(v_yr).real};
  }
};

// Two separators of one kind (the last of "-", ":" and "." found twice wins);
// a first field above 2000 is the year; a year of fewer than four digits is
// 20xx; at most five characters of the year are read. An impossible date gives
// the current date-time, other than two separators no value.
TEST_F(DatesetTest, ReadsDayMonthYearAsUsersTypeThem) {
  struct Case {
    const char* text;
    int year, month, day;  // year 0: the current date-time; -1: no value
  };
  for (const Case& c : {Case{"12/05/2024", 2024, 5, 12},
                        {"12-5-24", 2024, 5, 12},
                        {"2024.05.12", 2024, 5, 12},
                        {"12:05:2024", 2024, 5, 12},
                        {"12/05/2024 r.", 2024, 5, 12},
                        {"12.05.1999", 1999, 5, 12},
                        {"12-05-1970", 1970, 5, 12},
                        {"12.05.999", 2999, 5, 12},
                        {"1.2.3-4-5", 2003, 2, 1},
                        {"31.02.2024", 0, 0, 0},
                        {"12/13/2024", 0, 0, 0},
                        {"0/5/2024", 0, 0, 0},
                        {"29/02/2023", 0, 0, 0},
                        {"12.05", -1, 0, 0},
                        {"12/05/2024/1", -1, 0, 0},
                        {"", -1, 0, 0},
                        {"12 05 2024", -1, 0, 0},
                        {"1-2.3:4", -1, 0, 0}}) {
    SCOPED_TRACE(c.text);
    TempValue date = Parse(c.text);
    if (c.year < 0) {
      EXPECT_EQ(date.kind, uint32_t(VALUE_UNDEFINED));
    } else {
      EXPECT_EQ(date.real, c.year ? Create(c.year, c.month, c.day, 8, 0, 0) : SecondsToDate(kNow));
    }
  }
  Parse("12.05.24");
  Parse("1.2");  // no value: the fields stay
  EXPECT_EQ(Fields(), std::vector<double>({12, 5, 2024}));
  Parse("a/b/c");  // every field read as 0, then 2000 added to the year
  EXPECT_EQ(Fields(), std::vector<double>({0, 0, 2000}));
}
}  // namespace
