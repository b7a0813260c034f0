// builtins/lists.h — the direct entry points of the ds_list_* built-ins that
// compiled code calls for every row it draws.
//
// Each does what a call of the built-in through the function table does, with
// the arguments read where they are instead of gathered into temporaries:
// `result` is released first, and errors name the built-in as the running one.
#pragma once

struct RValue;

// result := ds_list_size(list).
void DsListSize(RValue& result, const RValue& list);
// result := ds_list_find_value(list, index).
void DsListFindValue(RValue& result, const RValue& list, const RValue& index);
