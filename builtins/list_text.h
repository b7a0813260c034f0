// builtins/list_text.h — the list text form: the hexadecimal text of a list's
// byte stream, as ds_list_write makes it and ds_list_read takes it back.
//
// Stream (little-endian): version 303, element count, then each value as its
// kind (32 bits) and its data: number and bool 8-byte double; string 32-bit byte
// length and the bytes; array 32-bit count and the elements; ptr, int64 and ref
// 64-bit payload; int32 32 bits; undefined and kinds without data nothing.
// Readers accept versions 301 and 302 (two-dimensional arrays as rows) and the
// legacy form (a kind, a number and a string per element, read as the string).
//
// Damaged text never crashes and never allocates for data the text cannot hold:
// - a negative element count, array length or row count reads as zero;
// - elements are read only while there are bytes left to start them, so a count
//   beyond the data gives as many elements as the data starts; within an element
//   that starts, missing numbers read 0 and missing strings ""; a number cut by
//   the end of the data is missing;
// - arrays nest at most kMaxArrayNesting deep: a deeper array reads as undefined
//   and ends the data. The writer writes such an array, and an array that
//   contains itself, as undefined (with a debug-output line), so that whatever is
//   written reads back the same.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CDS_List;

constexpr int kMaxArrayNesting = 64;

std::string WriteListText(const CDS_List& list);

enum class ListTextReading {
  Refused,   // not a list text: empty, not hexadecimal from its start, or an unknown version
  Complete,  // every byte was part of the declared elements (blanks may follow the digits)
  Damaged,   // read as far as it goes: cut, padded, with bytes left over, unsupported
             // kinds, negative counts, nesting too deep, or other characters after the digits
};

// Replaces the list's contents with the text's elements; `legacy` selects the
// legacy element form. A refused text leaves the list unchanged.
ListTextReading ReadListText(CDS_List& list, std::string_view text, bool legacy);

// How many texts ReadListText found damaged or refused (blank texts not
// counted) since the start: a caller compares it before and after a load to
// learn whether what it read was whole.
int64_t DamagedListTextCount();
