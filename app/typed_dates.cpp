#include "app/typed_dates.h"

#include <string>

#include "app/app_helpers.h"
#include "builtins/dates.h"

namespace {
StringConstant s_empty(""), s_zero("0"), s_clear("-");

// How much of an answer a message quotes: a pasted page is not shown whole.
constexpr size_t kMostQuotedCharacters = 40;

// real("0" + string(answer)) > 0: the answer begins with a number above zero.
bool BeginsWithNumber(KslFrame& k, const RValue& answer) {
  return Greater(k.Call(f_real, Add(s_zero, k.Call(f_string, answer))), 0);
}

// dateset gave a value, and the day, month and year it read form a calendar
// date (it would otherwise have given the current date-time).
bool IsCalendarDay(KslFrame& k, const RValue& parsed) {
  return !ToBool(k.Call(f_is_undefined, parsed)) &&
         ToBool(k.Call(f_date_valid_datetime, k.Var(v_yr), k.Var(v_mo), k.Var(v_da), 8.0, 0.0, 0.0));
}

// At most kMostQuotedCharacters characters of `text`, "…" marking a cut.
std::string Quotable(const std::string& text) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (startsCharacter && ++characters > kMostQuotedCharacters) return text.substr(0, i) + "…";
  }
  return text;
}

void TellNotUnderstood(KslFrame& k, const RValue& answer) {
  TempValue message;
  SetStringCopy(message, "„" + Quotable(ValueText(answer)) +
                             "” nie jest poprawną datą; data pozostała bez zmian.\n\n"
                             "Wpisz dzień, miesiąc i rok, na przykład 12.05.2024.\n"
                             "Aby usunąć datę, wpisz sam znak „-”.");
  k.Call(f_show_message, message);
}

TypedDate Cleared() {
  TypedDate typed;
  typed.meaning = TypedDate::Meaning::Clear;
  SetUndefined(typed.value);
  return typed;
}

TypedDate Day(const RValue& date) {
  TypedDate typed;
  typed.meaning = TypedDate::Meaning::Day;
  typed.value = date;
  return typed;
}

TempValue OfferedText(const RValue& date) {
  TempValue text;
  SetStringCopy(text, HasDate(date) ? DayFirstDateText(ToReal(date)) : std::string());
  return text;
}
}  // namespace

TypedDate AskForDate(KslFrame& k, const RValue& prompt, const RValue& offered) {
  return ReadTypedDate(k, k.Call(f_get_string, prompt, OfferedText(offered)));
}

TypedDate ReadTypedDate(KslFrame& k, const RValue& answer) {
  if (Equal(answer, s_empty)) return {};
  if (Equal(answer, s_clear)) return Cleared();
  if (BeginsWithNumber(k, answer)) {
    TempValue parsed = k.Script(ksl_Script_dateset, answer);
    if (IsCalendarDay(k, parsed)) return Day(parsed);
  }
  TellNotUnderstood(k, answer);
  return {};
}
