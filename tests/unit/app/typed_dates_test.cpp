#include "app/typed_dates.h"

#include <string>
#include <vector>

#include "app/app_test.h"
#include "builtins/dialogs.h"
#include "engine/platform.h"

namespace {
// Keeps the messages shown; nothing else is asked here.
class MessageLog : public DialogHost {
 public:
  std::vector<std::string> messages;
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool ShowQuestion(const std::string&) override { return false; }
  bool GetString(const std::string&, const std::string&, std::string&) override { return false; }
  std::string GetOpenFilename(const std::string&, const std::string&) override { return ""; }
  std::string GetSaveFilename(const std::string&, const std::string&) override { return ""; }
  int ShowErrorDialog(const std::string&, bool) override { return 1; }
  void SetCaption(const std::string&) override {}
};

// What an answer to a date prompt means, and what the user is told.
class TypedDatesTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    SetDialogHost(&dialogs_);
  }
  void TearDown() override {
    SetDialogHost(nullptr);
    AppTest::TearDown();
  }

  TypedDate Read(const std::string& answer) {
    KslFrame k("typed_dates_test", &caller_, &caller_);
    return ReadTypedDate(k, Str(answer));
  }

  MessageLog dialogs_;
};

TEST_F(TypedDatesTest, AnAnswerIsADayAClearNothingOrToldAsNotUnderstood) {
  using M = TypedDate::Meaning;
  struct Case {
    const char* answer;
    M meaning;
    double day;  // the stored value of a day
    bool told;
  };
  const double may12 = Create(2024, 5, 12, 8, 0, 0);
  for (const Case& c :
       {Case{"", M::Nothing, 0, false}, Case{"-", M::Clear, 0, false}, Case{"12.05.2024", M::Day, may12, false},
        Case{"2024.05.12", M::Day, may12, false}, Case{"12.05.1999", M::Day, Create(1999, 5, 12, 8, 0, 0), false},
        Case{"12.05", M::Nothing, 0, true}, Case{"16,01,2027", M::Nothing, 0, true},
        Case{"5 grudnia 2026", M::Nothing, 0, true}, Case{"abc", M::Nothing, 0, true},
        Case{"31.02.2027", M::Nothing, 0, true}, Case{"0/05/2024", M::Nothing, 0, true},
        Case{"12.05.1969", M::Nothing, 0, true}, Case{"--", M::Nothing, 0, true}}) {
    SCOPED_TRACE(c.answer);
    dialogs_.messages.clear();
    TypedDate typed = Read(c.answer);
    EXPECT_EQ(typed.meaning, c.meaning);
    if (c.meaning == M::Day) {
      EXPECT_EQ(typed.value.real, c.day);
    } else if (c.meaning == M::Clear) {
      EXPECT_EQ(typed.value.kind, uint32_t(VALUE_UNDEFINED));
    }
    ASSERT_EQ(dialogs_.messages.size(), c.told ? 1u : 0u);
    if (c.told) {
      EXPECT_EQ(dialogs_.messages[0].rfind(std::string("„") + c.answer + "” nie jest poprawną datą", 0), 0u);
      EXPECT_NE(dialogs_.messages[0].find("12.05.2024"), std::string::npos) << "the form to use";
    }
  }
}

TEST_F(TypedDatesTest, AMessageQuotesAtMostFortyCharacters) {
  Read("ż" + std::string(4095, '1') + "/05/2024");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].rfind("„ż" + std::string(39, '1') + "…” nie", 0), 0u) << dialogs_.messages[0];
}
}  // namespace
