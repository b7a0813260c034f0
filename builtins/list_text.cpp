#include "builtins/list_text.h"

#include <algorithm>
#include <vector>

#include "builtins/ds_list.h"
#include "builtins/stream.h"
#include "runtime/array.h"
#include "runtime/debug_output.h"
#include "runtime/memory.h"

namespace {
constexpr int32_t kVersionFirst = 301;
constexpr int32_t kVersionSecond = 302;
constexpr int32_t kVersionCurrent = 303;
constexpr int64_t kSmallestElementBytes = 4;  // every element starts with its kind
// A text that ends early still gives its declared count of elements, those that
// no byte holds reading as the number 0 (what reading past the end gives). A
// declared count above this is taken as damage, not as an early end: then only
// the elements the bytes hold are kept, so a count such as 0x7FFFFFFF never
// allocates for elements that are not there.
constexpr int32_t kMostElementsPaddedAfterAnEarlyEnd = 1 << 20;

enum class ElementForm { Legacy, First, Second, Current };

int64_t g_damagedTexts = 0;

// Spaces, tabs and line ends only (what may follow a text, as in an INI value).
bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

// --- Writing -------------------------------------------------------------------

class ValueWriter {
 public:
  explicit ValueWriter(CStream& stream) : stream_(stream) {}

  void Write(const RValue& value) {
    uint32_t kind = KindOf(value);
    if (kind == VALUE_ARRAY && !CanWriteArray(value.arr)) kind = VALUE_UNDEFINED;
    stream_.WriteInt32(int32_t(kind));
    switch (kind) {
      case VALUE_REAL:
      case VALUE_BOOL: stream_.WriteReal(value.real); break;
      case VALUE_STRING:
        stream_.WriteString((value.str && value.str->text) ? std::string_view(value.str->text, value.str->Length())
                                                           : std::string_view());
        break;
      case VALUE_ARRAY: WriteArray(value.arr); break;
      case VALUE_PTR:
      case VALUE_INT64:
      case VALUE_REF: stream_.WriteInt64(value.v64); break;
      case VALUE_INT32: stream_.WriteInt32(value.v32); break;
      case VALUE_UNDEFINED: break;
      default: DebugOutput("Attempting to WriteValue for unsupported type %d\n", int(value.kind)); break;
    }
  }

 private:
  // Arrays that contain themselves or nest too deep are written as undefined.
  bool CanWriteArray(const ArrayBody* body) {
    if (!body) return true;
    if (std::find(path_.begin(), path_.end(), body) != path_.end()) {
      DebugOutput("Attempting to WriteValue for an array that contains itself\n");
      return false;
    }
    if (path_.size() >= size_t(kMaxArrayNesting)) {
      DebugOutput("Attempting to WriteValue for arrays nested deeper than %d\n", kMaxArrayNesting);
      return false;
    }
    return true;
  }

  void WriteArray(const ArrayBody* body) {
    int32_t length = body ? body->length : 0;
    stream_.WriteInt32(length);
    if (length <= 0) return;
    path_.push_back(body);
    for (int32_t i = 0; i < length; ++i) Write(body->elements[i]);
    path_.pop_back();
  }

  CStream& stream_;
  std::vector<const ArrayBody*> path_;  // the arrays being written, outermost first
};

// --- Reading -------------------------------------------------------------------

// An array filled element by element as its data is read; its storage grows
// geometrically so that a declared length never decides an allocation.
class ArrayBuilder {
 public:
  ArrayBuilder() { body_ = MakeArray(value_, 0); }

  void Append(RValue& element) {
    if (body_->length == capacity_ && !Grow()) {
      ReleaseValue(element);
      return;
    }
    body_->elements[body_->length++] = element;
  }

  // The finished array value; its storage trimmed to its length.
  RValue Finish() {
    if (body_->length < capacity_ && body_->length > 0)
      if (auto* trimmed = static_cast<RValue*>(KV_REALLOC(body_->elements, sizeof(RValue) * size_t(body_->length))))
        body_->elements = trimmed;
    return value_;
  }

 private:
  bool Grow() {
    int64_t grown = std::min<int64_t>(std::max<int64_t>(int64_t(capacity_) * 2, 4), INT32_MAX);
    if (grown <= capacity_) return false;
    auto* storage = static_cast<RValue*>(KV_REALLOC(body_->elements, sizeof(RValue) * size_t(grown)));
    if (!storage) return false;
    body_->elements = storage;
    capacity_ = int32_t(grown);
    return true;
  }

  RValue value_;
  ArrayBody* body_;
  int32_t capacity_ = 0;
};

class ValueReader {
 public:
  ValueReader(CStream& stream, ElementForm form) : stream_(stream), form_(form) {}

  // One value at nesting `depth` (the number of arrays around it).
  RValue Read(int depth) {
    int32_t kind = stream_.ReadInt32();
    switch (form_) {
      case ElementForm::Legacy: return ReadLegacy();
      case ElementForm::First: return ReadFirstForm(uint32_t(kind), depth);
      default: return ReadLaterForm(uint32_t(kind), depth);
    }
  }

  // Whether anything read so far was not what a written text holds.
  bool Damaged() const { return damaged_ || stream_.Damaged(); }

 private:
  RValue ReadLegacy() {
    stream_.ReadReal();
    return StringValue(stream_.ReadString());
  }

  RValue ReadFirstForm(uint32_t kind, int depth) {
    switch (kind) {
      case VALUE_REAL: return RealValue(VALUE_REAL, stream_.ReadReal());
      case VALUE_STRING: return StringValue(stream_.ReadString());
      case VALUE_ARRAY: return ReadRows(stream_.ReadInt32(), depth);
      case VALUE_PTR:
      case VALUE_UNDEFINED:
      case VALUE_INT32:
      case VALUE_INT64:
      case VALUE_BOOL:
      case VALUE_REF: {
        RValue value;
        value.v64 = 0;
        value.flags = 0;
        value.kind = kind;
        return value;
      }
      default: return Unsupported(kind);
    }
  }

  RValue ReadLaterForm(uint32_t kind, int depth) {
    RValue value;
    switch (kind) {
      case VALUE_REAL:
      case VALUE_BOOL: return RealValue(kind, stream_.ReadReal());
      case VALUE_STRING: return StringValue(stream_.ReadString());
      case VALUE_ARRAY: return ReadLaterFormArray(depth);
      case VALUE_PTR:
      case VALUE_INT64:
      case VALUE_REF:
        value.v64 = stream_.ReadInt64();
        value.flags = 0;
        value.kind = kind;
        return value;
      case VALUE_UNDEFINED: SetUndefined(value); return value;
      case VALUE_INT32: SetInt32(value, stream_.ReadInt32()); return value;
      default: return Unsupported(kind);
    }
  }

  RValue ReadLaterFormArray(int depth) {
    int32_t length = stream_.ReadInt32();
    if (form_ == ElementForm::Current) return ReadElements(length, depth);
    if (length == 1) return ReadElements(stream_.ReadInt32(), depth);  // one row, read flat
    return ReadRows(length, depth);
  }

  // An array of `rows` rows, each a 32-bit length and that many values.
  RValue ReadRows(int32_t rows, int depth) {
    if (!NestingAllowed(depth)) return Undefined();
    ArrayBuilder outer;
    int32_t i = 0;
    for (; i < rows && !stream_.AtEnd(); ++i) {
      RValue row = ReadElements(stream_.ReadInt32(), depth + 1);
      outer.Append(row);
    }
    damaged_ |= i != std::max(rows, 0) || rows < 0;
    return outer.Finish();
  }

  // An array of `length` values, those that the data starts.
  RValue ReadElements(int32_t length, int depth) {
    if (!NestingAllowed(depth)) return Undefined();
    ArrayBuilder array;
    int32_t i = 0;
    for (; i < length && !stream_.AtEnd(); ++i) {
      RValue element = Read(depth + 1);
      array.Append(element);
    }
    damaged_ |= i != std::max(length, 0) || length < 0;
    return array.Finish();
  }

  // False, ending the data, for an array at nesting `depth` beyond the limit.
  bool NestingAllowed(int depth) {
    if (depth < kMaxArrayNesting) return true;
    DebugOutput("ds_list_read: arrays nested deeper than %d, the rest of the text is ignored\n", kMaxArrayNesting);
    stream_.SeekToEnd();
    damaged_ = true;
    return false;
  }

  RValue Unsupported(uint32_t kind) {
    DebugOutput("Attempting to ReadValue for unsupported type %d\n", int(kind));
    damaged_ = true;
    return Undefined();
  }

  static RValue Undefined() {
    RValue value;
    SetUndefined(value);
    return value;
  }

  static RValue RealValue(uint32_t kind, double number) {
    RValue value;
    value.real = number;
    value.flags = 0;
    value.kind = kind;
    return value;
  }

  static RValue StringValue(std::string_view text) {
    RValue value;
    SetStringCopy(value, text);
    return value;
  }

  CStream& stream_;
  ElementForm form_;
  bool damaged_ = false;
};

bool FormOfVersion(int32_t version, bool legacy, ElementForm& form) {
  switch (version) {
    case kVersionFirst: form = ElementForm::First; break;
    case kVersionSecond: form = ElementForm::Second; break;
    case kVersionCurrent: form = ElementForm::Current; break;
    default: return false;
  }
  if (legacy) form = ElementForm::Legacy;
  return true;
}

// The most elements that the remaining bytes could start.
int32_t ElementsThatCanStart(int32_t declared, const CStream& stream) {
  if (declared <= 0) return 0;
  int64_t startable = (stream.Remaining() + kSmallestElementBytes - 1) / kSmallestElementBytes;
  return int32_t(std::min<int64_t>(declared, startable));
}
}  // namespace

std::string WriteListText(const CDS_List& list) {
  CStream stream;
  stream.WriteInt32(kVersionCurrent);
  stream.WriteInt32(list.Count());
  ValueWriter writer(stream);
  for (int32_t i = 0; i < list.Count(); ++i) writer.Write(list.At(i));
  return stream.ToText();
}

ListTextReading ReadListText(CDS_List& list, std::string_view text, bool legacy) {
  CStream stream = CStream::FromText(text);
  ElementForm form;
  if (!FormOfVersion(stream.ReadInt32(), legacy, form)) {
    if (!IsBlank(text)) ++g_damagedTexts;
    return ListTextReading::Refused;
  }

  list.Clear();
  int32_t declared = stream.ReadInt32();
  list.ResizeStorage(ElementsThatCanStart(declared, stream));
  ValueReader reader(stream, form);
  for (int32_t i = 0; i < declared && !stream.AtEnd(); ++i) {
    RValue value = reader.Read(0);
    list.AdoptValue(value);
  }
  bool damaged = reader.Damaged() || declared < 0 || list.Count() != std::max(declared, 0) || !stream.AtEnd() ||
                 !IsBlank(text.substr(size_t(stream.Size()) * 2));
  if (declared <= kMostElementsPaddedAfterAnEarlyEnd) {
    while (list.Count() < declared) {
      RValue zero;
      SetReal(zero, 0);
      list.AdoptValue(zero);
    }
  }
  if (!damaged) return ListTextReading::Complete;
  ++g_damagedTexts;
  return ListTextReading::Damaged;
}

int64_t DamagedListTextCount() { return g_damagedTexts; }
