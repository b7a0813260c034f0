#include "builtins/ini_file.h"

#include <algorithm>
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
}  // namespace

// One pass over the text. Every scan starts where the previous one stopped, so
// the whole parse reads each byte a bounded number of times.
class IniParser {
 public:
  IniParser(std::string_view text, IniFile& ini) : text_(text), ini_(ini) {}

  void Run() {
    if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark) position_ = kByteOrderMark.size();
    SkipBlanksAndComments();
    position_ = Find('[', position_);
    while (!AtEnd() && ParseSectionHeader() && ParseEntries()) {
    }
  }

 private:
  bool AtEnd() const { return position_ >= text_.size(); }
  char Current() const { return text_[position_]; }

  size_t Find(char wanted, size_t from) const {
    if (from >= text_.size()) return text_.size();
    const void* hit = std::memchr(text_.data() + from, wanted, text_.size() - from);
    return hit ? size_t(static_cast<const char*>(hit) - text_.data()) : text_.size();
  }

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
        position_ = FindIf(position_, IsLineEnd);
      } else {
        break;
      }
    }
  }

  // At a "[": reads the name up to the next "]". A second header of an existing
  // name leaves the first section alone; its entries are discarded. Returns false
  // (parsing ends) when no "]" follows.
  bool ParseSectionHeader() {
    size_t close = Find(']', position_ + 1);
    if (close == text_.size()) return false;
    std::string_view name = text_.substr(position_ + 1, close - position_ - 1);
    position_ = close + 1;
    current_ = nullptr;
    if (ini_.sections_.find(name) == ini_.sections_.end()) {
      IniSection section{std::string(name), 0, ini_.nextSectionIndex_++, {}};
      current_ = &ini_.sections_.emplace(section.name, std::move(section)).first->second;
    }
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
      size_t equals = Find('=', position_);
      if (equals == text_.size()) return false;
      std::string_view key =
          TrimEnd(text_.substr(position_, equals - position_), [](char c) { return IsBlank(c) || IsCommentStart(c); });
      position_ = equals + 1;
      std::string_view value;
      if (ParseValue(value) && current_) IniFile::AddEntryIfNew(*current_, key, value);
    }
  }

  // Reads the value after "="; false when it is missing (the line ends, or only
  // blanks and a comment follow), in which case the entry is dropped.
  bool ParseValue(std::string_view& value) {
    position_ = FindIf(position_, [](char c) { return !IsSpaceOrTab(c); });
    if (AtEnd() || IsLineEnd(Current()) || IsCommentStart(Current())) return false;
    char quote = Current();
    if (quote == '"' || quote == '\'') {
      size_t begin = position_ + 1;
      size_t end = FindIf(begin, [quote](char c) { return c == quote || IsLineEnd(c); });
      value = text_.substr(begin, end - begin);
      position_ = (end < text_.size() && text_[end] == quote) ? FindIf(end, IsLineEnd) : end;
    } else {
      size_t end = FindIf(position_, [](char c) { return IsLineEnd(c) || IsCommentStart(c); });
      value = TrimEnd(text_.substr(position_, end - position_), IsSpaceOrTab);
      position_ = end;
    }
    return true;
  }

  std::string_view text_;
  IniFile& ini_;
  size_t position_ = 0;
  IniSection* current_ = nullptr;  // null before a header and under a repeated one
};

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  IniParser(text, ini).Run();
  return ini;
}

std::optional<std::string_view> IniFile::Find(std::string_view section, std::string_view key) const {
  auto foundSection = sections_.find(section);
  if (foundSection == sections_.end()) return std::nullopt;
  auto foundKey = foundSection->second.keys.find(key);
  if (foundKey == foundSection->second.keys.end()) return std::nullopt;
  return foundKey->second.value;
}

bool IniFile::HasSection(std::string_view section) const { return sections_.find(section) != sections_.end(); }

void IniFile::AddEntryIfNew(IniSection& section, std::string_view key, std::string_view value) {
  if (section.keys.find(key) != section.keys.end()) return;
  IniEntry entry{std::string(key), std::string(value), section.nextKeyIndex++};
  section.keys.emplace(entry.key, std::move(entry));
}

IniSection& IniFile::SectionForWrite(std::string_view section) {
  auto found = sections_.find(section);
  if (found != sections_.end()) return found->second;
  IniSection created{std::string(section), 0, nextSectionIndex_++, {}};
  return sections_.emplace(created.name, std::move(created)).first->second;
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  dirty_ = true;
  IniSection& target = SectionForWrite(section);
  auto found = target.keys.find(key);
  if (found != target.keys.end()) {
    found->second.value.assign(value);
  } else {
    AddEntryIfNew(target, key, value);
  }
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
  auto foundSection = sections_.find(section);
  if (foundSection == sections_.end()) return;
  auto foundKey = foundSection->second.keys.find(key);
  if (foundKey == foundSection->second.keys.end()) return;
  foundSection->second.keys.erase(foundKey);
  dirty_ = true;
}

void IniFile::DeleteSection(std::string_view section) {
  auto found = sections_.find(section);
  if (found == sections_.end()) return;
  sections_.erase(found);
  dirty_ = true;
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
  size_t length = 0;
  for (const auto& [name, section] : sections_) {
    length += name.size() + 4;
    for (const auto& [key, entry] : section.keys) length += key.size() + entry.value.size() + 5;
  }
  std::string text;
  text.reserve(length);
  for (const IniSection* section : ByIndex(sections_, [](const IniSection& s) { return s.sectionIndex; })) {
    text.append("[").append(section->name).append("]\r\n");
    for (const IniEntry* entry : ByIndex(section->keys, [](const IniEntry& e) { return e.keyIndex; })) {
      std::string_view quote = QuoteFor(entry->value);
      text.append(entry->key).append("=").append(quote).append(entry->value).append(quote).append("\r\n");
    }
  }
  return text;
}
