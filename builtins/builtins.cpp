#include "builtins/builtins.h"

void RegisterAllBuiltins() {
  RegisterListBuiltins();
  RegisterIniBuiltins();
  RegisterDateBuiltins();
  RegisterStringBuiltins();
  RegisterFileBuiltins();
  RegisterDialogBuiltins();
  RegisterDrawBuiltins();
}
