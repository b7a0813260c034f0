// Runs the call cases under cases/: text files of built-in calls made through the
// function table the way compiled code makes them, each with the result or the
// runtime error it must give. One file is one test; its lines run in order on
// one fixture (Warsaw time, the Polish locale), so a file may build state and
// check it. A line is one of:
//
//   # a comment
//   list = ds_list_create()               binds a name to a result
//   ds_list_add(list, 1, "a")             a call made for its effect
//   string_copy("12/05", 1, 2) == "12"    both sides alike in kind and value
//   real("") !! unable to convert ...     the runtime error the call reports
//   quiet real("abc") == 0                an error is reported and suppressed, the
//                                         call carries on with this result
//
// Values: numbers as strtod reads them (nan, inf and -inf too), "texts" with \" \\ \n \t and \xHH,
// undefined, unset (a value of no kind), true and false. Names starting with @
// are the runner's own, listed in Helper() below.
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "builtins/list_text.h"
#include "list_test_support.h"
#include "support/date_fixture.h"

namespace fs = std::filesystem;

namespace {

// A line that does not parse; reported at its line, never skipped.
struct CaseSyntaxError {
  std::string what;
};

class CallCaseRunner : public DateTest {
 public:
  void Run(const fs::path& path) {
    std::ifstream file(path);
    ASSERT_TRUE(file) << path;
    std::string line;
    int checks = 0;
    for (int number = 1; std::getline(file, line); ++number) {
      SCOPED_TRACE(path.filename().string() + ":" + std::to_string(number) + ": " + line);
      try {
        checks += RunLine(line);
      } catch (const CaseSyntaxError& error) {
        ADD_FAILURE() << "cannot read the line: " << error.what;
      } catch (const VQKSLException& error) {
        ADD_FAILURE() << "unexpected runtime error: " << error.Message();
      }
    }
    EXPECT_GT(checks, 0) << path << " checks nothing";
  }

 private:
  // Runs one line; the number of expectations it checked.
  int RunLine(const std::string& line) {
    text_ = line;
    at_ = 0;
    SkipBlanks();
    if (AtEnd() || Peek() == '#') return 0;
    bool quiet = TakeWord("quiet");
    std::string binding = TakeBinding();
    if (!binding.empty()) {
      values_[binding] = Evaluate(quiet);
      EndOfLine();
      return quiet ? 1 : 0;
    }
    size_t callStart = at_;
    if (quiet) {
      TempValue result = Evaluate(true);
      if (!Take("==")) return EndOfLine(), 1;
      ExpectAlike(result, Expression());
      return 1;
    }
    if (SkipExpression(), Take("!!")) {
      std::string expected = Rest();
      at_ = callStart;
      try {
        Expression();
        ADD_FAILURE() << "no runtime error was reported";
      } catch (const VQKSLException& error) {
        EXPECT_EQ(error.Message(), expected);
      }
      return 1;
    }
    at_ = callStart;
    TempValue result = Expression();
    if (!Take("==")) return EndOfLine(), 0;
    ExpectAlike(result, Expression());
    return 1;
  }

  // The left side under suppressed errors, which it must report.
  TempValue Evaluate(bool quiet) {
    if (!quiet) return Expression();
    SuppressErrors suppress;
    TempValue result = Expression();
    EXPECT_TRUE(suppress.ErrorOccurred()) << "no error was reported";
    return result;
  }

  void ExpectAlike(const TempValue& actual, const TempValue& expected) {
    EndOfLine();
    EXPECT_EQ(Picture(actual), Picture(expected));
  }

  TempValue Expression() {
    SkipBlanks();
    if (Peek() == '"') return Str(QuotedText());
    if (double number; TakeNumber(number)) return number;
    std::string name = Word();
    if (name.empty()) throw CaseSyntaxError{"a value was expected at column " + std::to_string(at_ + 1)};
    if (!Take("(")) return Named(name);
    std::vector<TempValue> args;
    while (!Take(")")) {
      if (!args.empty() && !Take(",")) throw CaseSyntaxError{"',' or ')' expected in the call of " + name};
      args.push_back(Expression());
    }
    if (name[0] == '@') return Helper(name, args);
    if (FindFunctionIndex(name.c_str()) < 0) throw CaseSyntaxError{name + " is not a built-in"};
    return Call(name.c_str(), args);
  }

  TempValue Named(const std::string& name) {
    static const std::map<std::string, std::function<TempValue()>> kConstants = {
        {"undefined", Undefined},
        {"unset", [] { return TempValue(); }},
        {"true", [] { return Bool(true); }},
        {"false", [] { return Bool(false); }},
    };
    if (auto constant = kConstants.find(name); constant != kConstants.end()) return constant->second();
    if (auto bound = values_.find(name); bound != values_.end()) return bound->second;
    throw CaseSyntaxError{"nothing is named " + name};
  }

  static double NumberOf(const std::vector<TempValue>& args, size_t i) {
    if (i >= args.size() || KindOf(args[i]) != VALUE_REAL) throw CaseSyntaxError{"a number was expected"};
    return args[i].real;
  }
  static std::string TextOf(const std::vector<TempValue>& args, size_t i) {
    if (i >= args.size() || KindOf(args[i]) != VALUE_STRING) throw CaseSyntaxError{"a text was expected"};
    return StringText(args[i]);
  }

  // The runner's own functions.
  TempValue Helper(const std::string& name, const std::vector<TempValue>& args) {
    if (name == "@utc")  // the date value of a UTC time: @utc(year, month, day, hour, minute[, second])
      return UtcDate(int(NumberOf(args, 0)), int(NumberOf(args, 1)), int(NumberOf(args, 2)), int(NumberOf(args, 3)),
                     int(NumberOf(args, 4)), args.size() > 5 ? int(NumberOf(args, 5)) : 0);
    if (name == "@seconds") return SecondsToDate(int64_t(NumberOf(args, 0)));  // seconds after 1970 UTC
    if (name == "@repeat") {                                                   // a text repeated n times
      std::string text;
      for (int i = 0; i < int(NumberOf(args, 1)); ++i) text += TextOf(args, 0);
      return Str(text);
    }
    if (name == "@marked") {  // a value with a holder's mark in the high bits of its kind
      TempValue marked = args.at(0);
      marked.kind |= 0x80000000u;
      return marked;
    }
    if (name == "@contents") {  // a list's values pictured, separated by spaces
      std::string text;
      for (int i = 0; i < int(Call("ds_list_size", {args.at(0)}).real); ++i)
        text += (i ? " " : "") + Picture(Call("ds_list_find_value", {args.at(0), TempValue(i)}));
      return Str(text);
    }
    if (name == "@ref") {  // a reference from its type id and index: @ref(0x2000001, 3) is ds_list 3
      TempValue reference;
      reference.v64 = int64_t((uint64_t(NumberOf(args, 0)) << 32) | uint32_t(int32_t(NumberOf(args, 1))));
      reference.flags = 0;
      reference.kind = VALUE_REF;
      return reference;
    }
    if (name == "@array") {  // an array holding the values
      TempValue array;
      ArrayBody* body = MakeArray(array, int32_t(args.size()));
      for (size_t i = 0; i < args.size(); ++i) CopyValue(body->elements[i], args[i]);
      return array;
    }
    if (name == "@read") {  // reads a list text into a list: the verdict and the growth of the damaged count
      static const char* const kVerdicts[] = {"refused", "complete", "damaged"};
      CDS_List* list = FindList(ListIdOf(args.at(0)));
      if (!list) throw CaseSyntaxError{"@read needs a list"};
      int64_t before = DamagedListTextCount();
      ListTextReading reading = ReadListText(*list, TextOf(args, 1), false);
      return Str(kVerdicts[int(reading)] + (" " + std::to_string(DamagedListTextCount() - before)));
    }
    if (name == "@tz") {  // the system's time zone
      setenv("TZ", TextOf(args, 0).c_str(), 1);
      tzset();
      return Undefined();
    }
    if (name == "@locale") {  // the time locale
      std::setlocale(LC_TIME, TextOf(args, 0).c_str());
      return Undefined();
    }
    if (name == "@day_first") return Str(DayFirstDateText(NumberOf(args, 0)));  // the day-first text of typed dates
    throw CaseSyntaxError{name + " is not a runner function"};
  }

  // A number as strtod reads it (nan, inf, -inf and hex too), ending where a name could not go on.
  bool TakeNumber(double& number) {
    const char* start = text_.c_str() + at_;
    char* end = nullptr;
    number = std::strtod(start, &end);
    if (end == start || std::isalnum(static_cast<unsigned char>(*end)) || *end == '_') return false;
    at_ += size_t(end - start);
    return true;
  }

  std::string QuotedText() {
    std::string out;
    for (++at_; !AtEnd() && Peek() != '"'; ++at_) {
      if (Peek() != '\\') {
        out += char(Peek());
        continue;
      }
      if (++at_ >= text_.size()) break;
      switch (char escape = char(Peek())) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '0': out += '\0'; break;
        case 'x':
          if (at_ + 2 >= text_.size() || !std::isxdigit(text_[at_ + 1]) || !std::isxdigit(text_[at_ + 2]))
            throw CaseSyntaxError{"\\x needs two hex digits"};
          out += char(std::stoi(text_.substr(at_ + 1, 2), nullptr, 16));
          at_ += 2;
          break;
        default: out += escape;
      }
    }
    if (!Take("\"")) throw CaseSyntaxError{"a text is not closed"};
    return out;
  }

  // Moves past one expression without evaluating it: to find what follows it.
  void SkipExpression() {
    int depth = 0;
    for (SkipBlanks(); !AtEnd(); ++at_) {
      if (Peek() == '"') {
        QuotedText();
        --at_;
      } else if (Peek() == '(') {
        ++depth;
      } else if (Peek() == ')') {
        --depth;
      } else if (depth == 0 && (text_.compare(at_, 2, "!!") == 0 || text_.compare(at_, 2, "==") == 0)) {
        return;
      }
    }
  }

  std::string TakeBinding() {
    size_t start = at_;
    std::string name = Word();
    SkipBlanks();
    if (!name.empty() && name[0] != '@' && Peek() == '=' && text_.compare(at_, 2, "==") != 0) {
      ++at_;
      return name;
    }
    at_ = start;
    return "";
  }

  std::string Word() {
    SkipBlanks();
    size_t start = at_;
    while (!AtEnd() && (std::isalnum(Peek()) || Peek() == '_' || (Peek() == '@' && at_ == start))) ++at_;
    return text_.substr(start, at_ - start);
  }
  bool TakeWord(const std::string& word) {
    size_t start = at_;
    if (Word() == word) return true;
    at_ = start;
    return false;
  }
  bool Take(const std::string& token) {
    SkipBlanks();
    if (text_.compare(at_, token.size(), token) != 0) return false;
    at_ += token.size();
    return true;
  }
  std::string Rest() {
    SkipBlanks();
    return text_.substr(at_);
  }
  void EndOfLine() {
    SkipBlanks();
    if (!AtEnd()) throw CaseSyntaxError{"unexpected text: " + text_.substr(at_)};
  }
  void SkipBlanks() {
    while (!AtEnd() && std::isspace(Peek())) ++at_;
  }
  bool AtEnd() const { return at_ >= text_.size(); }
  unsigned char Peek() const { return static_cast<unsigned char>(text_[at_]); }

  std::string text_;
  size_t at_ = 0;
  std::map<std::string, TempValue> values_;
};

class CallCases : public CallCaseRunner, public ::testing::WithParamInterface<std::string> {};

std::vector<std::string> CaseFiles() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::path(TEST_SOURCE_DIR) / "cases"))
    if (entry.path().extension() == ".calls") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_P(CallCases, GiveTheirResultsAndErrors) { Run(fs::path(TEST_SOURCE_DIR) / "cases" / (GetParam() + ".calls")); }

INSTANTIATE_TEST_SUITE_P(Builtins, CallCases, ::testing::ValuesIn(CaseFiles()),
                         [](const auto& info) { return info.param; });
}  // namespace
