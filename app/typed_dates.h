// app/typed_dates.h — the date prompts of the register editors and the
// upcoming-deadlines view: the text a prompt offers and what its answer means.
//
// A prompt offers its date day first ("10.12.2026"), the form dateset reads,
// whatever form the screens show dates in under the user's locale, so that
// confirming an offered date never changes it. dateset reads the answer, which
// means one of:
//   nothing  an empty answer or Cancel: the date stays as it is, silently;
//   clear    "-": the date is removed (the cell holds no value);
//   a day    a valid calendar date: that day at 08:00.
// Any other answer (unreadable, an impossible date, text that does not begin
// with a number above zero) also leaves the date as it is, and the user is told
// what was not understood and which form to use.
#pragma once

#include "app/app_symbols.h"

struct TypedDate {
  enum class Meaning { Nothing, Clear, Day };
  Meaning meaning = Meaning::Nothing;
  TempValue value;  // what to store: `undefined` to clear, the day at 08:00
  bool Stores() const { return meaning != Meaning::Nothing; }
};

// get_string(prompt, <`offered` day first, "" when it holds no date>) and the
// meaning of the answer.
TypedDate AskForDate(KslFrame& k, const RValue& prompt, const RValue& offered);
// The meaning of an answer; the message when it is not understood.
TypedDate ReadTypedDate(KslFrame& k, const RValue& answer);
