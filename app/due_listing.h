// app/due_listing.h — the upcoming deadlines as text for a terminal
// (kalvora -list-due): the rows the upcoming-deadlines view would show now, in
// its order (upcoming_rows.h), under the export's header and in the export's
// columns, separated by tabs, each line ending in LF; dates as the screens show
// them (date_date_string in the user's locale). Nothing due: the header alone.
//
// A row is always one line of four columns: a tab, a line break or any other
// control character inside a text becomes a space, which also keeps a text
// from steering the terminal. Reading only: no file is written.
#pragma once

#include <string>

class CInstance;

// The listing, made with `self` (an instance outside any room) as the view.
std::string DueListing(CInstance* self);
