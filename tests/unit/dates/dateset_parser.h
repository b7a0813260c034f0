// The application's date parser (the `dateset` script) as compiled code runs
// it: one line per statement of the script, every built-in called by index
// through the function table. The real script is compiled application code; this
// stand-in lets the date and string built-ins be tested (and fuzzed) on exactly
// the path the application takes. The date and string families must be
// registered before a parser is made.
#pragma once

#include <utility>

#include "runtime/compiled.h"
#include "runtime/function_table.h"
#include "runtime/link.h"

// The caller's instance variables that the script leaves its fields in.
struct DatesetVariables {
  TempValue da, mo, yr;
};

class DatesetParser {
 public:
  DatesetParser() {
    for (SymbolEntry* entry : {&current_, &count_, &pos_, &copy_, &delete_, &real_, &valid_, &create_})
      entry->slot = FindFunctionIndex(entry->name);
  }

  // The typed day at 08:00, the current date-time for an impossible calendar
  // date, or `undefined` (variables unchanged) unless the text holds exactly two
  // separators of the chosen kind.
  TempValue Parse(const RValue& typed, DatesetVariables& v) {
    KslFrame k("ksl_Script_dateset", nullptr, nullptr);
    TempValue text = typed;
    TempValue sep = Text("/");
    TempValue result = k.Call(current_);
    if (Greater(k.Call(count_, Text("-"), text), 1)) sep = Text("-");
    if (Greater(k.Call(count_, Text(":"), text), 1)) sep = Text(":");
    if (Greater(k.Call(count_, Text("."), text), 1)) sep = Text(".");
    if (NotEqual(k.Call(count_, sep, text), TempValue(2))) return Undefined();
    TempValue p = k.Call(pos_, sep, text);
    v.da = k.Call(real_, Add(Text("0"), k.Call(copy_, text, 1.0, p)));
    text = k.Call(delete_, text, 1.0, p);
    p = k.Call(pos_, sep, text);
    v.mo = k.Call(real_, Add(Text("0"), k.Call(copy_, text, 1.0, p)));
    text = k.Call(delete_, text, 1.0, p);
    v.yr = k.Call(real_, Add(Text("0"), k.Call(copy_, text, 1.0, 5.0)));
    if (Greater(v.da, 2000)) {
      std::swap(v.da, v.yr);
    } else if (Less(v.yr, 2000)) {
      v.yr = Add(v.yr, 2000);
    }
    if (ToBool(k.Call(valid_, v.yr, v.mo, v.da, 8.0, 0.0, 0.0))) result = k.Call(create_, v.yr, v.mo, v.da, 8.0, 0.0, 0.0);
    return result;
  }

 private:
  static TempValue Text(const char* text) {
    TempValue value;
    SetStringConst(value, text);
    return value;
  }
  static TempValue Undefined() {
    TempValue value;
    value.kind = VALUE_UNDEFINED;
    return value;
  }

  SymbolEntry current_{"date_current_datetime", 0};
  SymbolEntry count_{"string_count", 0};
  SymbolEntry pos_{"string_pos", 0};
  SymbolEntry copy_{"string_copy", 0};
  SymbolEntry delete_{"string_delete", 0};
  SymbolEntry real_{"real", 0};
  SymbolEntry valid_{"date_valid_datetime", 0};
  SymbolEntry create_{"date_create_datetime", 0};
};
