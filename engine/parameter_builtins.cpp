// The built-ins that read the command line's parameter list.
#include "engine/command_line.h"
#include "engine/engine_builtins.h"
#include "runtime/args.h"
#include "runtime/function_table.h"

namespace {
void parameter_count(RValue& result, CInstance*, CInstance*, int, RValue*) {
  SetReal(result, double(Parameters().size()));
}

// Entry n, or the empty string outside the list.
void parameter_string(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  int32_t n = ArgInt32(args, 0);
  const auto& parameters = Parameters();
  SetStringCopy(result, (n >= 0 && size_t(n) < parameters.size()) ? parameters[size_t(n)] : std::string());
}
}  // namespace

void RegisterParameterBuiltins() {
  RegisterBuiltin("parameter_count", parameter_count, 0);
  RegisterBuiltin("parameter_string", parameter_string, 1);
}
