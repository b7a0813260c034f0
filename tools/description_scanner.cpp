#include "tools/description_scanner.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool StartsComment(const std::string& line, size_t at) {
  return line[at] == '#' && !(at + 1 < line.size() && std::isxdigit(static_cast<unsigned char>(line[at + 1])));
}

// Reads the quoted string that starts at line[at] == '"'; returns the index after
// the closing quote.
size_t ScanQuoted(const DescriptionLine& where, const std::string& line, size_t at, std::string& text) {
  for (size_t i = at + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') return i + 1;
    if (c != '\\') {
      text += c;
      continue;
    }
    if (++i == line.size()) break;
    switch (line[i]) {
      case '"': text += '"'; break;
      case '\\': text += '\\'; break;
      case 'n': text += '\n'; break;
      case 't': text += '\t'; break;
      default: where.Fail(std::string("unknown escape \\") + line[i]);
    }
  }
  where.Fail("string without its closing quote");
}

void ScanLine(const std::string& line, DescriptionLine& out) {
  size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
    } else if (StartsComment(line, i)) {
      break;
    } else if (line[i] == '"') {
      Token token{"", true};
      i = ScanQuoted(out, line, i, token.text);
      out.tokens.push_back(std::move(token));
    } else {
      size_t start = i;
      while (i < line.size() && !IsBlank(line[i]) && line[i] != '"') ++i;
      out.tokens.push_back(Token{line.substr(start, i - start), false});
    }
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void DescriptionLine::Fail(const std::string& message) const {
  throw DescriptionError(file + ":" + std::to_string(number) + ": " + message);
}

void DescriptionLine::ExpectSize(size_t count) const {
  if (tokens.size() != count)
    Fail("'" + Keyword() + "' takes " + std::to_string(count - 1) + " value" + (count == 2 ? "" : "s"));
}

void DescriptionLine::ExpectSizeAtLeast(size_t count) const {
  if (tokens.size() < count) Fail("'" + Keyword() + "' needs at least " + std::to_string(count - 1) + " values");
}

const std::string& DescriptionLine::Word(size_t index) const {
  if (index >= tokens.size()) Fail("'" + Keyword() + "' is missing a value");
  if (tokens[index].quoted) Fail("expected a word, found a quoted string");
  return tokens[index].text;
}

const std::string& DescriptionLine::String(size_t index) const {
  if (index >= tokens.size()) Fail("'" + Keyword() + "' is missing a value");
  if (!tokens[index].quoted) Fail("expected a quoted string, found '" + tokens[index].text + "'");
  return tokens[index].text;
}

double DescriptionLine::Number(size_t index) const {
  const std::string& text = Word(index);
  char* end = nullptr;
  errno = 0;
  double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(value)) Fail("'" + text + "' is not a number");
  return value;
}

int DescriptionLine::Integer(size_t index, int low, int high) const {
  double value = Number(index);
  if (value != std::floor(value)) Fail("'" + tokens[index].text + "' is not a whole number");
  if (value < low || value > high)
    Fail("'" + tokens[index].text + "' is outside " + std::to_string(low) + ".." + std::to_string(high));
  return int(value);
}

Rgba DescriptionLine::Colour(size_t index) const {
  const std::string& text = Word(index);
  if ((text.size() != 7 && text.size() != 9) || text[0] != '#')
    Fail("'" + text + "' is not a colour (#RRGGBB or #RRGGBBAA)");
  uint8_t channels[4] = {0, 0, 0, 255};
  for (size_t c = 0; c * 2 + 1 < text.size(); ++c) {
    int high = HexValue(text[1 + 2 * c]);
    int low = HexValue(text[2 + 2 * c]);
    if (high < 0 || low < 0) Fail("'" + text + "' is not a colour (#RRGGBB or #RRGGBBAA)");
    channels[c] = uint8_t(high * 16 + low);
  }
  return Rgba{channels[0], channels[1], channels[2], channels[3]};
}

std::vector<DescriptionLine> ScanDescription(const std::string& text, const std::string& fileName) {
  std::vector<DescriptionLine> lines;
  std::istringstream stream(text);
  std::string line;
  for (int number = 1; std::getline(stream, line); ++number) {
    DescriptionLine scanned{fileName, number, {}};
    ScanLine(line, scanned);
    if (!scanned.tokens.empty()) lines.push_back(std::move(scanned));
  }
  return lines;
}

std::vector<DescriptionLine> ReadDescriptionFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file.is_open() || file.bad()) throw DescriptionError(path + ": cannot read the file");
  return ScanDescription(text, path);
}
