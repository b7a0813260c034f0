// platform/dialog_rules.h — the rules of the dialogs that need no window system:
// filter strings, default extensions, the limit of an input box. Pure functions,
// so that the GTK dialogs and playback share them and tests reach them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The most characters an input box returns.
inline constexpr size_t kMaxInputCharacters = 4096;

// One entry of a file dialog's filter list: "*.csv|*.csv" gives description
// "*.csv" and patterns {"*.csv"}; a pattern field may list several patterns
// separated by ';'.
struct FileFilter {
  std::string description;
  std::vector<std::string> patterns;
};

// Splits "desc|pattern|desc|pattern" into entries. An empty filter gives none; a
// trailing description without a pattern, and an entry whose pattern is empty,
// are dropped; an empty description is replaced by the pattern field.
std::vector<FileFilter> SplitFilter(std::string_view filter);

// The extension a save dialog appends: the text of the first pattern after its
// first "." ("csv" for "*.csv"); empty when that is empty or still a wildcard.
std::string DefaultExtension(const FileFilter& filter);

// `path` with ".extension" appended unless its file name already ends with it
// (in any case): a name with dots of its own ("raport 07.12.2026") gets it too.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

// A glob that matches letters in either case: "*.csv" gives "*.[cC][sS][vV]".
// Patterns that already hold brackets are returned unchanged.
std::string CaseInsensitivePattern(std::string_view pattern);

// The input box's text as returned: at most kMaxInputCharacters characters.
std::string LimitInputText(std::string_view text);
