// runtime/function_types.h — the calling conventions between the runtime and
// compiled code: built-ins, event handlers, scripts and global-script functions.
#pragma once

struct RValue;
class CInstance;

// A built-in: the result arrives `undefined`; the arguments are borrowed.
using BuiltinFunction = void (*)(RValue& result, CInstance* self, CInstance* other, int argc, RValue* args);

// A compiled event handler.
using EventFunction = void (*)(CInstance* self, CInstance* other);

// A compiled script: copies its arguments before use and stores its return value
// in `result`, which it returns.
using ScriptFunction = RValue* (*)(CInstance* self, CInstance* other, RValue* result, int argc, RValue** args);

// A global-script function: binds a method value of its script to a variable of self.
using GlobalScriptFunction = RValue* (*)(CInstance* self, CInstance* other, RValue* result);
