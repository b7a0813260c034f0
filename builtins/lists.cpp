// builtins/lists.cpp — the ds_list_* built-ins: script access to the lists of
// ds_list.h and their text form (list_text.h).
//
// A list id argument is a "ds_list" reference or a number; a wrong kind, an id
// outside the table or a destroyed list is a runtime error naming the built-in,
// and the built-in then does nothing. Reads at a position outside the list give
// `undefined` and deletes there do nothing; writes there are runtime errors.
#include <cstring>

#include "builtins/builtins.h"
#include "builtins/ds_list.h"
#include "builtins/list_text.h"
#include "runtime/args.h"
#include "runtime/error.h"
#include "runtime/function_table.h"

namespace {
// The id named by a list reference or a number: kinds whose reading cannot
// report an error. False for any other kind, which the general getter reads.
bool PlainListId(const RValue& value, int32_t& id) {
  if (KindOf(value) == VALUE_REF && uint32_t(uint64_t(value.v64) >> 32) == kRefTypeDsList) {
    id = int32_t(uint32_t(uint64_t(value.v64)));
    return true;
  }
  if (KindOf(value) != VALUE_REAL) return false;
  id = ToInt32(value);
  return true;
}

// The live list named by argument `index`, its id in `id`; null after a reported error.
CDS_List* ArgList(const RValue* args, int index, int32_t& id) {
  if (!PlainListId(args[index], id)) {
    bool rejected;
    {
      SuppressErrors probe;  // tells a rejected kind apart from the getter's neutral 0
      id = ArgReferenceIndex(args, index, kRefTypeDsList);
      rejected = probe.ErrorOccurred();
    }
    if (rejected) {
      ArgReferenceIndex(args, index, kRefTypeDsList);  // the getter's own report
      return nullptr;
    }
  }
  CDS_List* list = FindList(id);
  if (!list) ReportInvalidReference(index, kRefTypeDsList, id, ListTableCount());
  return list;
}

CDS_List* ArgList(const RValue* args, int index) {
  int32_t id;
  return ArgList(args, index, id);
}

void ReportOutOfBounds(const char* function, int32_t position) {
  ReportRuntimeError("%s :: Trying to access an out-of-bounds index [| %d]", function, position);
}

void ds_list_create(RValue& result, CInstance*, CInstance*, int, RValue*) {
  int32_t id = CreateList();
  if (id >= 0) SetReference(result, kRefTypeDsList, id);
}

void ds_list_destroy(RValue&, CInstance*, CInstance*, int, RValue* args) {
  int32_t id;
  if (ArgList(args, 0, id)) DestroyList(id);
}

void ds_list_add(RValue&, CInstance*, CInstance*, int argc, RValue* args) {
  CDS_List* list = ArgList(args, 0);
  if (!list) return;
  for (int i = 1; i < argc; ++i) list->Add(args[i]);
}

void ds_list_size(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  if (CDS_List* list = ArgList(args, 0)) SetReal(result, list->Count());
}

void ds_list_find_value(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  if (CDS_List* list = ArgList(args, 0)) list->FindValue(ArgInt32(args, 1), result);
}

void ds_list_replace(RValue&, CInstance*, CInstance*, int, RValue* args) {
  CDS_List* list = ArgList(args, 0);
  if (!list) return;
  int32_t position = ArgInt32(args, 1);
  if (!list->Replace(position, args[2])) ReportOutOfBounds("ds_list_replace", position);
}

void ds_list_delete(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CDS_List* list = ArgList(args, 0)) list->Delete(ArgInt32(args, 1));
}

void ds_list_clear(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CDS_List* list = ArgList(args, 0)) list->Clear();
}

void ds_list_write(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  if (CDS_List* list = ArgList(args, 0)) SetStringCopy(result, WriteListText(*list));
}

void ds_list_read(RValue&, CInstance*, CInstance*, int argc, RValue* args) {
  CDS_List* list = ArgList(args, 0);
  if (!list) return;
  const char* text = ArgString(args, 1);
  bool legacy = argc > 2 && ArgInt32(args, 2) > 0;
  ReadListText(*list, std::string_view(text, std::strlen(text)), legacy);
}

void ds_list_insert(RValue&, CInstance*, CInstance*, int, RValue* args) {
  CDS_List* list = ArgList(args, 0);
  if (!list) return;
  int32_t position = ArgInt32(args, 1);
  if (!list->Insert(position, args[2])) ReportOutOfBounds("ds_list_insert", position);
}

void ds_list_set(RValue&, CInstance*, CInstance*, int, RValue* args) {
  CDS_List* list = ArgList(args, 0);
  if (!list) return;
  int32_t position = ArgInt32(args, 1);
  if (!list->Set(position, args[2])) ReportOutOfBounds("ds_list_set", position);
}

void ds_list_find_index(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  if (CDS_List* list = ArgList(args, 0)) SetReal(result, list->FindIndex(args[1]));
}

void ds_list_copy(RValue&, CInstance*, CInstance*, int, RValue* args) {
  CDS_List* destination = ArgList(args, 0);
  if (!destination) return;
  if (CDS_List* source = ArgList(args, 1)) destination->CopyFrom(*source);
}

void ds_list_empty(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  if (CDS_List* list = ArgList(args, 0)) SetBool(result, list->Count() == 0);
}

void ds_list_sort(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CDS_List* list = ArgList(args, 0)) list->Sort(ArgBool(args, 1));
}

void ds_list_shuffle(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CDS_List* list = ArgList(args, 0)) list->Shuffle();
}

void MarkSlot(const char* function, RValue* args, uint32_t mark) {
  CDS_List* list = ArgList(args, 0);
  if (!list) return;
  int32_t position = ArgInt32(args, 1);
  if (!list->Mark(position, mark)) ReportOutOfBounds(function, position);
}

void ds_list_mark_as_list(RValue&, CInstance*, CInstance*, int, RValue* args) {
  MarkSlot("ds_list_mark_as_list", args, kSlotMarkList);
}

void ds_list_mark_as_map(RValue&, CInstance*, CInstance*, int, RValue* args) {
  MarkSlot("ds_list_mark_as_map", args, kSlotMarkMap);
}

void ds_list_is_list(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  if (CDS_List* list = ArgList(args, 0)) SetBool(result, list->HasMark(ArgInt32(args, 1), kSlotMarkList));
}

void ds_list_is_map(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  if (CDS_List* list = ArgList(args, 0)) SetBool(result, list->HasMark(ArgInt32(args, 1), kSlotMarkMap));
}
}  // namespace

void RegisterListBuiltins() {
  RegisterBuiltin("ds_list_create", ds_list_create, 0);
  RegisterBuiltin("ds_list_destroy", ds_list_destroy, 1);
  RegisterBuiltin("ds_list_add", ds_list_add, -1);
  RegisterBuiltin("ds_list_size", ds_list_size, 1);
  RegisterBuiltin("ds_list_find_value", ds_list_find_value, 2);
  RegisterBuiltin("ds_list_replace", ds_list_replace, 3);
  RegisterBuiltin("ds_list_delete", ds_list_delete, 2);
  RegisterBuiltin("ds_list_clear", ds_list_clear, 1);
  RegisterBuiltin("ds_list_write", ds_list_write, 1);
  RegisterBuiltin("ds_list_read", ds_list_read, -1);
  RegisterBuiltin("ds_list_insert", ds_list_insert, 3);
  RegisterBuiltin("ds_list_set", ds_list_set, 3);
  RegisterBuiltin("ds_list_find_index", ds_list_find_index, 2);
  RegisterBuiltin("ds_list_copy", ds_list_copy, 2);
  RegisterBuiltin("ds_list_empty", ds_list_empty, 1);
  RegisterBuiltin("ds_list_sort", ds_list_sort, 2);
  RegisterBuiltin("ds_list_shuffle", ds_list_shuffle, 1);
  RegisterBuiltin("ds_list_mark_as_list", ds_list_mark_as_list, 2);
  RegisterBuiltin("ds_list_mark_as_map", ds_list_mark_as_map, 2);
  RegisterBuiltin("ds_list_is_list", ds_list_is_list, 2);
  RegisterBuiltin("ds_list_is_map", ds_list_is_map, 2);
}
