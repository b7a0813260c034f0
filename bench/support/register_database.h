// bench/support/register_database.h — synthetic registers for the benchmarks:
// the list text form of register columns and a whole save.ini of four registers,
// made at run time (generated data is never committed).
//
// A register of n records has eight columns, keys "1" to "8" of its section:
// keys 1, 2, 5, 6 hold texts with Polish letters ("Łukasz Wróbel 17"), keys 3,
// 4, 7, 8 dates at 08:00 spread evenly from 2000 to 2050, so that about half of
// them lie before any date of the 2020s and the upcoming view shows them.
#pragma once

#include <string>

// The list text form (as ds_list_write writes it) of one column of `records`.
std::string TextColumn(int records);
std::string DateColumn(int records);

// The whole save.ini (CR LF line ends) with sections "L1" to "L4" of `records`
// records each.
std::string DatabaseText(int records);
