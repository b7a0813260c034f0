// builtins/ini_file.h — IniFile: the sections, keys and values of one INI text,
// its parser and its writer. Pure text in, text out: reading and writing disk
// files, the save area and the current INI belong to ini_builtins.cpp.
//
// Invariants:
// - Names and values are bytes, kept exactly as read or written: lookup is
//   byte-for-byte and case-sensitive; nothing is trimmed inside brackets.
// - Section and key names are unique; the first occurrence in a text wins.
// - Every section has a distinct section index and every entry of a section a
//   distinct key index, both increasing in creation order (file order first,
//   then the order of later writes). The maps are ordered by name for lookup
//   only; Serialise() lays sections and entries out by their indices.
// - Parsing accepts any bytes and runs in time linear in the text (plus the map
//   insertions); it never fails, damaged text just yields fewer entries.
// - Every value Parse() can produce is serialised in a form that parses back to
//   the same value (see Serialise()).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

struct IniEntry {
  std::string key;
  std::string value;
  int32_t keyIndex = 0;
};

struct IniSection {
  std::string name;
  int32_t nextKeyIndex = 0;
  int32_t sectionIndex = 0;
  std::map<std::string, IniEntry, std::less<>> keys;
};

class IniFile {
 public:
  using SectionMap = std::map<std::string, IniSection, std::less<>>;

  IniFile() = default;
  // Parses an INI text: an optional UTF-8 byte-order mark, "#" and ";" comments,
  // "[name]" headers, key=value lines with quoted or unquoted values.
  static IniFile Parse(std::string_view text);

  // The value of `key` in `section`, or nothing when either is missing. The view
  // lives until the entry is written or deleted, or the INI is destroyed.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
  bool HasSection(std::string_view section) const;

  // Stores `value` (creating the section and the entry when missing) and marks
  // the INI changed.
  void Write(std::string_view section, std::string_view key, std::string_view value);
  // Remove what exists and mark the INI changed; missing names change nothing.
  void DeleteKey(std::string_view section, std::string_view key);
  void DeleteSection(std::string_view section);

  // The text of the INI: for each section by section index, "[name]" CR LF, then
  // each entry by key index as key="value" CR LF. No byte-order mark, no
  // comments, no blank lines. A value holding a double quote (which a
  // double-quoted value cannot contain) is written between single quotes, or
  // without quotes when it holds both quote characters, so that it reads back
  // unchanged.
  std::string Serialise() const;

  bool Dirty() const { return dirty_; }
  void MarkDirty() { dirty_ = true; }
  void ClearDirty() { dirty_ = false; }

  const SectionMap& Sections() const { return sections_; }

 private:
  friend class IniParser;

  IniSection& SectionForWrite(std::string_view section);
  // Adds an entry unless the key exists; the first entry of a name stays.
  static void AddEntryIfNew(IniSection& section, std::string_view key, std::string_view value);

  bool dirty_ = false;
  int32_t nextSectionIndex_ = 0;
  SectionMap sections_;
};
