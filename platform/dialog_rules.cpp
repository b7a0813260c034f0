#include "platform/dialog_rules.h"

#include <algorithm>

#include "platform/utf8_text.h"

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  while (true) {
    size_t end = text.find(separator);
    parts.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return parts;
    text.remove_prefix(end + 1);
  }
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char AsciiLower(char c) { return IsAsciiLetter(c) ? char(c | 0x20) : c; }

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
  if (end.size() > text.size()) return false;
  text.remove_prefix(text.size() - end.size());
  return std::equal(text.begin(), text.end(), end.begin(),
                    [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

}  // namespace

std::vector<FileFilter> SplitFilter(std::string_view filter) {
  std::vector<FileFilter> filters;
  if (filter.empty()) return filters;
  std::vector<std::string_view> fields = Split(filter, '|');
  for (size_t i = 0; i + 1 < fields.size(); i += 2) {
    FileFilter entry;
    for (std::string_view pattern : Split(fields[i + 1], ';'))
      if (!Trim(pattern).empty()) entry.patterns.emplace_back(Trim(pattern));
    if (entry.patterns.empty()) continue;
    entry.description = std::string(fields[i].empty() ? fields[i + 1] : fields[i]);
    filters.push_back(std::move(entry));
  }
  return filters;
}

std::string DefaultExtension(const FileFilter& filter) {
  if (filter.patterns.empty()) return "";
  const std::string& pattern = filter.patterns.front();
  size_t dot = pattern.find('.');
  if (dot == std::string::npos) return "";
  std::string extension = pattern.substr(dot + 1);
  if (extension.find_first_of("*?[") != std::string::npos) return "";
  return extension;
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  size_t slash = path.rfind('/');
  std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
  if (extension.empty() || name.empty() || EndsWithIgnoringCase(name, "." + extension)) return path;
  return path + "." + extension;
}

std::string CaseInsensitivePattern(std::string_view pattern) {
  if (pattern.find('[') != std::string_view::npos) return std::string(pattern);
  std::string glob;
  for (char c : pattern) {
    if (!IsAsciiLetter(c)) {
      glob += c;
      continue;
    }
    char lower = AsciiLower(c);
    glob += {'[', lower, char(lower - 'a' + 'A'), ']'};
  }
  return glob;
}

std::string LimitInputText(std::string_view text) { return TruncateUtf8(text, kMaxInputCharacters); }
