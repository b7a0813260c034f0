// app/upcoming_rows.h — the rows of the upcoming-deadlines view: which records
// are due, in which order, and what an exported row holds. The view (o_close),
// the terminal listing (-list-due) and the reminder's desktop notification all
// take their rows from here, so that they always agree.
//
// Everything runs on self's variables, as the view's handlers do: `termin` the
// horizon in days; the source lists ds11 ... ds44 (field K of register R in
// dsRK, keys "1" to "4" of section "LR"); the rows in ds1 to ds6 (the two
// texts, the two dates, the record's index in its register, the register 0 to
// 3). A row is a record with a date whose calendar day lies before the day
// `termin` days from now (overdue dates included); registers in order L1 to L4,
// records in register order, each record at most once.
#pragma once

#include <array>

#include "app/app_symbols.h"

// dsRK: field K (1 to 4) of register R (1 to 4), at [R - 1][K - 1].
extern const SymbolEntry* const kSourceLists[4][4];
// ds1 to ds6: one element per row.
extern const SymbolEntry* const kRowLists[6];
// "L1" to "L4" for register 0 to 3; "1" to "4" for field 0 to 3.
const RValue& RegisterSection(int reg);
const RValue& FieldKey(int field);

// termin := the days of the horizon stored in save2.ini: the index 0 to 4 as
// 7, 14, 31, 62 or 93 days, any other stored number as it stands.
void ReadHorizon(KslFrame& k);
// Creates the row lists ds1 to ds6, then the source lists ds11 to ds44.
void CreateViewLists(KslFrame& k);
// Reads keys "1" to "4" of the four registers from the database named by the
// global `loc` into the source lists; what a file does not hold stays empty.
void ReadSourceLists(KslFrame& k);
// The same for a command outside the view (-list-due, -export-ics): the global
// `loc` becomes "save.ini", as the menu sets it, and a damaged database is
// warned about on standard error (damaged_database.h); nothing is written.
void ReadSourceListsForCommand(KslFrame& k);
void ClearRows(KslFrame& k);
// Appends a row for every due record (see above).
void SelectRows(KslFrame& k);
// Whether a date cell's calendar day lies before the day `days` from today; a
// cell without a date never does.
bool DayBefore(KslFrame& k, const RValue& cell, const RValue& days);

// The table's header line, ending in "\n".
const RValue& RowTableHeader();
// The four columns of row `row` as the export writes them: for a car the car,
// then the plate; for the other registers the second text field first; then
// both dates as date_date_string shows them. A missing cell is an empty text.
std::array<TempValue, 4> RowColumns(KslFrame& k, const RValue& row);
