// The fixture of the date tests: the shared fixture (builtin_fixture.h) with
// Warsaw time (CET/CEST), the Polish time locale, the local time-zone mode and
// the system clock at the start of every test.
#pragma once

#include <clocale>
#include <cstdlib>
#include <ctime>

#include "builtins/dates.h"
#include "support/builtin_fixture.h"

class DateTest : public BuiltinTest {
 protected:
  void SetUp() override {
    BuiltinTest::SetUp();
    setenv("TZ", "Europe/Warsaw", 1);
    tzset();
    ASSERT_NE(std::setlocale(LC_TIME, "pl_PL.UTF-8"), nullptr) << "the pl_PL.UTF-8 locale is not installed";
    Call("date_set_timezone", 0.0);
    SetWallClock({});
  }
  void TearDown() override {
    SetWallClock({});
    std::setlocale(LC_TIME, "C");
    BuiltinTest::TearDown();
  }

  // The date value of a UTC calendar time, half a second after the second.
  static double UtcDate(int year, int month, int day, int hour, int minute, int second = 0) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    return SecondsToDate(int64_t(timegm(&fields)));
  }
  static double SecondsToDate(int64_t seconds) { return (double(seconds) + 0.5) / 86400 + 25569; }

  // date_create_datetime in the current mode.
  static double Create(double year, double month, double day, double hour, double minute, double second) {
    return Call("date_create_datetime", year, month, day, hour, minute, second).real;
  }
};
