#include "builtins/ini_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool IsCommentStart(char c) { return c == '#' || c == ';'; }
bool IsSpaceOrTab(char c) { return c == ' ' || c == '\t'; }

// Drops trailing bytes for which `trimmed` holds.
template <typename Predicate>
std::string_view TrimEnd(std::string_view text, Predicate trimmed) {
  while (!text.empty() && trimmed(text.back())) text.remove_suffix(1);
  return text;
}

// The quote a value is written between: a double quote unless the value holds
// one; then a single quote unless it holds that too; then none (such a value can
// only have come from an unquoted value of a parsed text, which reads back as is).
std::string_view QuoteFor(std::string_view value) {
  if (value.find('"') == std::string_view::npos) return "\"";
  if (value.find('\'') == std::string_view::npos) return "'";
  return "";
}

// The first occurrence of a byte at or after a position, before a limit. Each
// byte value keeps what its last search found, which answers every later search
// from a position up to it; a search that found nothing goes on from where it
// stopped. As the parser's searches move forward, memchr reads each byte of the
// text at most once per byte value searched for.
class NextOccurrence {
 public:
  explicit NextOccurrence(std::string_view text) : text_(text) {}

  // The first `wanted` in [from, limit), or `limit` when there is none.
  size_t Of(char wanted, size_t from, size_t limit) {
    Search& search = searches_[static_cast<unsigned char>(wanted)];
    if (!search.done || from < search.from || from > search.found) {
      search = {true, from, from, from};
    } else if (search.found < search.scannedTo) {
      return std::min(search.found, limit);
    }
    if (limit > search.scannedTo) {  // nothing up to scannedTo: go on from there
      const void* hit = std::memchr(text_.data() + search.scannedTo, wanted, limit - search.scannedTo);
      search.found = hit ? size_t(static_cast<const char*>(hit) - text_.data()) : limit;
      search.scannedTo = hit ? search.found + 1 : limit;
    }
    return std::min(search.found, limit);
  }
  size_t Of(char wanted, size_t from) { return Of(wanted, from, text_.size()); }

  // The first line end at or after `from` (the text's size when there is none).
  size_t OfLineEnd(size_t from) {
    size_t lineFeed = Of('\n', from);
    return Of('\r', from, lineFeed);
  }

 private:
  // The first occurrence at or after `from` is `found` when found < scannedTo;
  // otherwise there is none before scannedTo.
  struct Search {
    bool done = false;
    size_t from = 0;
    size_t scannedTo = 0;
    size_t found = 0;
  };

  std::string_view text_;
  std::array<Search, 256> searches_{};
};
}  // namespace

// One pass over the text. Every scan starts where the previous one stopped, so
// the whole parse reads each byte a bounded number of times.
//
// Alongside, it checks whether the text is already what Serialise() makes of
// what was parsed: `serialisedUpTo_` is the length of the text's beginning that
// is, and each header or entry laid out as the writer does, starting right
// there, extends it.
class IniParser {
 public:
  IniParser(std::string_view text, IniFile& ini) : text_(text), next_(text), ini_(ini) {}

  // Parses the text; returns whether Serialise() gives it back unchanged.
  bool Run() {
    if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark) position_ = kByteOrderMark.size();
    SkipBlanksAndComments();
    position_ = next_.Of('[', position_);
    while (!AtEnd() && ParseSectionHeader() && ParseEntries()) {
    }
    return serialisedUpTo_ == text_.size();
  }

 private:
  static constexpr std::string_view kLineEnd = "\r\n";

  bool AtEnd() const { return position_ >= text_.size(); }
  char Current() const { return text_[position_]; }

  template <typename Predicate>
  size_t FindIf(size_t from, Predicate stop) const {
    while (from < text_.size() && !stop(text_[from])) ++from;
    return from;
  }

  // Skips whitespace and comments.
  void SkipBlanksAndComments() {
    while (!AtEnd()) {
      if (IsBlank(Current())) {
        ++position_;
      } else if (IsCommentStart(Current())) {
        position_ = next_.OfLineEnd(position_);
      } else {
        break;
      }
    }
  }

  // Extends the part of the text known to be in the writer's layout by an item
  // that the writer lays out as the bytes from `begin` to `end` followed by a line
  // end, when it does.
  void ExtendSerialised(size_t begin, size_t end, bool writerLayout) {
    if (writerLayout && begin == serialisedUpTo_ && text_.substr(end, kLineEnd.size()) == kLineEnd)
      serialisedUpTo_ = end + kLineEnd.size();
  }

  // At a "[": reads the name up to the next "]". A second header of an existing
  // name leaves the first section alone; its entries are discarded. Returns false
  // (parsing ends) when no "]" follows.
  bool ParseSectionHeader() {
    size_t begin = position_;
    size_t close = next_.Of(']', position_ + 1);
    if (close == text_.size()) return false;
    std::string_view name = text_.substr(position_ + 1, close - position_ - 1);
    position_ = close + 1;
    current_ = nullptr;
    if (ini_.sections_.find(name) == ini_.sections_.end()) {
      IniSection section{std::string(name), 0, ini_.nextSectionIndex_++, {}};
      current_ = &ini_.sections_.emplace(section.name, std::move(section)).first->second;
    }
    ExtendSerialised(begin, position_, current_ != nullptr);
    return true;
  }

  // Reads entries until the next header (returns true) or the end (returns false).
  // A key runs to the next "=" wherever it is, so a line without one becomes the
  // beginning of the next key.
  bool ParseEntries() {
    for (;;) {
      SkipBlanksAndComments();
      if (AtEnd()) return false;
      if (Current() == '[') return true;
      size_t begin = position_;
      size_t equals = next_.Of('=', position_);
      if (equals == text_.size()) return false;
      std::string_view key =
          TrimEnd(text_.substr(position_, equals - position_), [](char c) { return IsBlank(c) || IsCommentStart(c); });
      position_ = equals + 1;
      std::string_view value;
      if (!ParseValue(value) || !current_) continue;
      IniEntry* entry = IniFile::AddEntryIfNew(*current_, key);
      if (entry) entry->parsedValue = value;
      ExtendSerialised(begin, position_, entry && key.size() == equals - begin && IsWriterQuoted(equals + 1, value));
    }
  }

  // Whether the value, which starts right after "=" at `at`, stands between the
  // quotes that the writer puts around it, the closing one right before the
  // position. A value between double quotes holds none, which is when the writer
  // uses them; it uses single quotes for a value that holds a double quote only.
  bool IsWriterQuoted(size_t at, std::string_view value) const {
    char quote = text_[at];
    bool closedRightAfter =
        value.data() == text_.data() + at + 1 && position_ == at + value.size() + 2 && text_[position_ - 1] == quote;
    return closedRightAfter && (quote == '"' || (quote == '\'' && value.find('"') != std::string_view::npos));
  }

  // Reads the value after "="; false when it is missing (the line ends, or only
  // blanks and a comment follow), in which case the entry is dropped.
  bool ParseValue(std::string_view& value) {
    position_ = FindIf(position_, [](char c) { return !IsSpaceOrTab(c); });
    if (AtEnd() || IsLineEnd(Current()) || IsCommentStart(Current())) return false;
    char quote = Current();
    if (quote == '"' || quote == '\'') {
      size_t begin = position_ + 1;
      size_t end = next_.Of(quote, begin, next_.OfLineEnd(begin));
      value = text_.substr(begin, end - begin);
      position_ = (end < text_.size() && text_[end] == quote) ? next_.OfLineEnd(end) : end;
    } else {
      size_t lineEnd = next_.OfLineEnd(position_);
      size_t end = next_.Of(';', position_, next_.Of('#', position_, lineEnd));
      value = TrimEnd(text_.substr(position_, end - position_), IsSpaceOrTab);
      position_ = end;
    }
    return true;
  }

  std::string_view text_;
  NextOccurrence next_;
  IniFile& ini_;
  size_t position_ = 0;
  size_t serialisedUpTo_ = 0;
  IniSection* current_ = nullptr;  // null before a header and under a repeated one
};

IniFile IniFile::Parse(std::string text) {
  IniFile ini;
  ini.text_ = std::make_unique<const std::string>(std::move(text));
  ini.textIsSerialised_ = IniParser(*ini.text_, ini).Run();
  return ini;
}

std::optional<std::string_view> IniFile::Find(std::string_view section, std::string_view key) const {
  auto foundSection = sections_.find(section);
  if (foundSection == sections_.end()) return std::nullopt;
  auto foundKey = foundSection->second.keys.find(key);
  if (foundKey == foundSection->second.keys.end()) return std::nullopt;
  return foundKey->second.Value();
}

bool IniFile::HasSection(std::string_view section) const { return sections_.find(section) != sections_.end(); }

IniEntry* IniFile::AddEntryIfNew(IniSection& section, std::string_view key) {
  if (section.keys.find(key) != section.keys.end()) return nullptr;
  IniEntry entry{std::string(key), section.nextKeyIndex++, {}, std::nullopt};
  return &section.keys.emplace(entry.key, std::move(entry)).first->second;
}

IniSection& IniFile::SectionForWrite(std::string_view section) {
  auto found = sections_.find(section);
  if (found != sections_.end()) return found->second;
  IniSection created{std::string(section), 0, nextSectionIndex_++, {}};
  return sections_.emplace(created.name, std::move(created)).first->second;
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  MarkChanged();
  IniSection& target = SectionForWrite(section);
  auto found = target.keys.find(key);
  IniEntry& entry = found != target.keys.end() ? found->second : *AddEntryIfNew(target, key);
  entry.writtenValue.emplace(value);
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
  auto foundSection = sections_.find(section);
  if (foundSection == sections_.end()) return;
  auto foundKey = foundSection->second.keys.find(key);
  if (foundKey == foundSection->second.keys.end()) return;
  foundSection->second.keys.erase(foundKey);
  MarkChanged();
}

void IniFile::DeleteSection(std::string_view section) {
  auto found = sections_.find(section);
  if (found == sections_.end()) return;
  sections_.erase(found);
  MarkChanged();
}

namespace {
template <typename Item, typename Index>
std::vector<const Item*> ByIndex(const std::map<std::string, Item, std::less<>>& items, Index index) {
  std::vector<const Item*> ordered;
  ordered.reserve(items.size());
  for (const auto& [name, item] : items) ordered.push_back(&item);
  std::sort(ordered.begin(), ordered.end(), [index](const Item* a, const Item* b) { return index(*a) < index(*b); });
  return ordered;
}
}  // namespace

std::string IniFile::Serialise() const {
  if (const std::string* unchanged = UnchangedText()) return *unchanged;
  size_t length = 0;
  for (const auto& [name, section] : sections_) {
    length += name.size() + 4;
    for (const auto& [key, entry] : section.keys) length += key.size() + entry.Value().size() + 5;
  }
  std::string text;
  text.reserve(length);
  SerialiseInto([&text](std::string_view piece) { text.append(piece); });
  return text;
}

void IniFile::SerialiseInto(const std::function<void(std::string_view)>& out) const {
  if (const std::string* unchanged = UnchangedText()) return out(*unchanged);
  for (const IniSection* section : ByIndex(sections_, [](const IniSection& s) { return s.sectionIndex; })) {
    out("[");
    out(section->name);
    out("]\r\n");
    for (const IniEntry* entry : ByIndex(section->keys, [](const IniEntry& e) { return e.keyIndex; })) {
      std::string_view value = entry->Value();
      std::string_view quote = QuoteFor(value);
      for (std::string_view piece :
           {std::string_view(entry->key), std::string_view("="), quote, value, quote, std::string_view("\r\n")})
        out(piece);
    }
  }
}

const std::string* IniFile::UnchangedText() const { return textIsSerialised_ ? text_.get() : nullptr; }
