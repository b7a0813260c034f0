// Values and expectations shared by the unit tests of the runtime and the
// built-in library.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "runtime/compiled.h"
#include "runtime/error.h"

inline TempValue Str(const std::string& text) {
  TempValue value;
  SetStringCopy(value, text);
  return value;
}

inline TempValue Undefined() {
  TempValue value;
  value.kind = VALUE_UNDEFINED;
  return value;
}

inline TempValue Bool(bool flag) {
  TempValue value;
  SetBool(value, flag);
  return value;
}

// The message of the runtime error that `statement` reports (errors throw, as
// they do once start-up has finished).
#define EXPECT_RUNTIME_ERROR(statement, expected)       \
  do {                                                  \
    try {                                               \
      statement;                                        \
      ADD_FAILURE() << "no runtime error was reported"; \
    } catch (const VQKSLException& error) {             \
      EXPECT_EQ(error.Message(), expected);             \
    }                                                   \
  } while (0)
