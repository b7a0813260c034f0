// tools/description_scanner.h — the lexical layer of the builder's text files (the
// game description and the vector art, both documented in data/README.md).
//
// A file is a sequence of lines; a line is a sequence of tokens separated by
// blanks. A token is a bare word or a double-quoted string (escapes \" \\ \n \t).
// A '#' at the start of a token followed by a hex digit is part of a word (a
// colour such as #3B82F6); any other '#' at the start of a token begins a comment
// that runs to the end of the line. Lines left without tokens are dropped.
//
// Errors are thrown as DescriptionError, whose text is "FILE:LINE: message".
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class DescriptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 255;
};

struct Token {
  std::string text;
  bool quoted = false;
};

// One line of tokens with typed, checked access; every accessor names the line
// in its error.
struct DescriptionLine {
  std::string file;
  int number = 0;
  std::vector<Token> tokens;

  const std::string& Keyword() const { return tokens[0].text; }
  size_t Size() const { return tokens.size(); }
  [[noreturn]] void Fail(const std::string& message) const;
  // Fails unless the line has exactly `count` tokens (keyword included).
  void ExpectSize(size_t count) const;
  void ExpectSizeAtLeast(size_t count) const;

  const std::string& Word(size_t index) const;    // a bare word
  const std::string& String(size_t index) const;  // a quoted string
  double Number(size_t index) const;              // a finite decimal number
  int Integer(size_t index, int low, int high) const;
  Rgba Colour(size_t index) const;  // #RRGGBB (opaque) or #RRGGBBAA
};

std::vector<DescriptionLine> ScanDescription(const std::string& text, const std::string& fileName);
// Reads and scans a file; an unreadable file is a DescriptionError naming it.
std::vector<DescriptionLine> ReadDescriptionFile(const std::string& path);
