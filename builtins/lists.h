// builtins/lists.h — the direct entry points of the ds_list_* built-ins that
// compiled code calls for every row it draws.
//
// Each does what a call of the built-in through the function table does, with
// the arguments read where they are instead of gathered into temporaries:
// `result` is released first, and errors name the built-in as the running one.
// A live list named by a reference or a number, with a numeric index, is read
// at once: nothing in that case can report an error.
#pragma once

struct RValue;

// result := ds_list_size(list).
void DsListSize(RValue& result, const RValue& list);
// result := ds_list_find_value(list, index).
void DsListFindValue(RValue& result, const RValue& list, const RValue& index);
// The element ds_list_find_value(list, index) would copy, read in place and valid
// until the list changes: for a live list named by a reference or a number and a
// numeric index inside it. Null in every other case, where DsListFindValue
// gives the value or reports the error. Its kind word may carry slot marks
// (ds_list.h): read the kind with KindOf.
const RValue* DsListCell(const RValue& list, const RValue& index);
