// runtime/args.h — the typed argument getters of built-ins.
//
// Each reads argument `index` (0-based) of the array a built-in received. A value
// of a kind the getter does not accept is reported as a runtime error naming the
// running built-in and the 1-based argument number, and the getter then returns
// 0, 0.0, false, "" or null. Texts of non-string arguments live in a scratch area
// that stays valid until the frame loop reclaims it (at the next frame).
#pragma once

#include <cstdint>

#include "runtime/value.h"

class VQObjectBase;

// ArgReal and ArgInt32 read a number or bool inline (what nearly every call
// passes) and leave the other kinds to ConvertArgReal and ConvertArgInt32.
double ConvertArgReal(const RValue* args, int index);
int32_t ConvertArgInt32(const RValue* args, int index);
inline double ArgReal(const RValue* args, int index) {
  return IsNumberLike(args[index]) ? args[index].real : ConvertArgReal(args, index);
}
inline int32_t ArgInt32(const RValue* args, int index) {
  return IsNumberLike(args[index]) ? DoubleToInt32(args[index].real) : ConvertArgInt32(args, index);
}
float ArgFloat(const RValue* args, int index);
int64_t ArgInt64(const RValue* args, int index);
uint32_t ArgUInt32(const RValue* args, int index);
bool ArgBool(const RValue* args, int index);
const char* ArgString(const RValue* args, int index);
void* ArgPointer(const RValue* args, int index);
int64_t ArgNumberOrPointer(const RValue* args, int index);
VQObjectBase* ArgStruct(const RValue* args, int index);
ArrayBody* ArgArray(const RValue* args, int index, bool writable = false);

// The index of a reference of type `typeId` ("ds_list", ...), or of a plain
// number read as an index; -1 after a reported wrong kind. The owner of the
// references checks the index with ReportInvalidReference when it is out of range.
int32_t ArgReferenceIndex(const RValue* args, int index, uint32_t typeId);
void ReportInvalidReference(int argumentIndex, uint32_t typeId, int32_t requested, int32_t count);
void ReportRejectedReference(int argumentIndex, uint32_t typeId, int32_t requested);

// False (after a report) when no instance is running the code.
bool RequireInstanceContext();

// Frees the texts made for string arguments; the frame loop calls it once a frame.
void ReclaimArgumentScratch();
