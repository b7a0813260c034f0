#include <vector>

#include "runtime/args.h"
#include "runtime/debug_output.h"
#include "runtime/function_table.h"
#include "runtime/instance.h"
#include "runtime/link.h"
#include "runtime/memory.h"
#include "runtime/variable_names.h"
#include "runtime_fixture.h"

namespace {

// --- A tiny "compiled" program: an event that calls a script that fails. ------
SymbolEntry g_varCounter{"counter", -1};
SymbolEntry g_varSelfScript{"failingScript", -1};
SymbolEntry g_fnTestReal{"test_real", 0};
SymbolEntry g_fnTestString{"test_string", 0};

void BuiltinTestReal(RValue& result, CInstance*, CInstance*, int, RValue* args) { SetReal(result, ArgReal(args, 0)); }
void BuiltinTestString(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  SetStringCopy(result, ArgString(args, 1));
}

RValue* ksl_Script_failing(CInstance* self, CInstance* other, RValue* result, int argc, RValue** argv) {
  KslFrame k("ksl_Script_failing", self, other);
  ScriptArgs args(argc, argv);
  k.Line(2);
  k.SetVar(g_varCounter, args[0]);
  k.Line(3);
  k.Call(g_fnTestReal, args[1]);  // args[1] was not passed: undefined
  return result;
}

RValue* ksl_GlobalScript_failing(CInstance* self, CInstance*, RValue* result) {
  return BindScriptMethod(self, g_varSelfScript, ksl_Script_failing, result);
}

void ksl_Object_oTest_Create_0(CInstance* self, CInstance* other) {
  KslFrame k("ksl_Object_oTest_Create_0", self, other);
  k.Line(7);
  k.Script(ksl_Script_failing, 41.0);
}

SymbolEntry* g_variableRefs[] = {&g_varCounter, &g_varSelfScript, nullptr};
SymbolEntry* g_functionRefs[] = {&g_fnTestReal, &g_fnTestString, nullptr};
FunctionRef g_refGlobal{"ksl_GlobalScript_failing", 0};
FunctionRef g_refScript{"ksl_Script_failing", 0};
CodeTableEntry g_codeTable[] = {
    {"ksl_GlobalScript_failing", {.globalScript = ksl_GlobalScript_failing}, &g_refGlobal},
    {"ksl_Script_failing", {.script = ksl_Script_failing}, &g_refScript},
    {"ksl_Object_oTest_Create_0", {.event = ksl_Object_oTest_Create_0}, nullptr},
};
LinkRecord g_link{nullptr, 166508, 47, 47, 3, g_variableRefs, g_functionRefs, g_codeTable, &g_frameChainHead};

ErrorContext TestContext() {
  ErrorContext context;
  context.eventName = "Create Event";
  context.objectName = "oTest";
  return context;
}

class ConventionsTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    ClearFunctionTable();
    RegisterBuiltin("test_real", BuiltinTestReal, 1);
    RegisterBuiltin("test_string", BuiltinTestString, 2);
    ASSERT_TRUE(ResolveSymbols(g_link));
    SetErrorContextProvider(TestContext);
  }
  void TearDown() override {
    SetErrorContextProvider(nullptr);
    ClearFunctionTable();
    RuntimeTest::TearDown();
  }
};

TEST_F(ConventionsTest, SymbolsResolveToSlotsIndicesAndScriptIds) {
  EXPECT_EQ(g_varCounter.slot, VariableSlot("counter"));
  EXPECT_GE(g_varCounter.slot, kFirstApplicationSlot);
  EXPECT_EQ(std::vector<int>({g_fnTestReal.slot, g_fnTestString.slot, g_refGlobal.id, g_refScript.id}),
            std::vector<int>({0, 1, 100000, 100001}));
  EXPECT_EQ(FindFunctionIndex("ksl_Script_failing"), 100001);
  EXPECT_EQ(FindFunctionIndex(""), -1);

  SymbolEntry missing{"no_such_function", 0};
  SymbolEntry* functions[] = {&missing, nullptr};
  LinkRecord broken = g_link;
  broken.functionRefs = functions;
  const char* name = nullptr;
  EXPECT_FALSE(ResolveSymbols(broken, &name));
  EXPECT_STREQ(name, "no_such_function");
  EXPECT_EQ(missing.slot, -1);
}

TEST_F(ConventionsTest, AnErrorInAScriptReportsBothFramesAndUnwindsCleanly) {
  CInstance instance(100001, 0, 0, 0);
  StackFrame outer{nullptr, "outer", 1};
  g_frameChainHead = &outer;
  CInstance* previousSelf = g_currentSelf;
  std::string log;
  SetDebugOutputCapture(&log);
  try {
    ksl_Object_oTest_Create_0(&instance, &instance);
    ADD_FAILURE() << "no error";
  } catch (const VQKSLException& error) {
    const std::string message = "test_real argument 1 incorrect type (undefined) expecting a Number (VQGR)";
    EXPECT_EQ(error.LongMessage(), "ERROR in action number 1\nof Create Event for object oTest:\n" + message);
    EXPECT_EQ(error.StackTrace(), std::vector<std::string>({"ksl_Script_failing (line 3)",
                                                            "ksl_Object_oTest_Create_0 (line 7)", "outer (line 1)"}));
    EXPECT_EQ(ValueText(*error.Struct()->GetVarRef(VariableSlot("script"))), "ksl_Script_failing");
    EXPECT_EQ(ValueText(*error.Struct()->GetVarRef(VariableSlot("stacktrace"))),
              "[ \"ksl_Script_failing (line 3)\",\"ksl_Object_oTest_Create_0 (line 7)\",\"outer (line 1)\" ]");
    TempValue exceptionValue;
    exceptionValue.obj = error.Struct();
    exceptionValue.kind = VALUE_OBJECT;
    EXPECT_EQ(ValueText(exceptionValue), error.LongMessage());  // through its toString method
  }
  SetDebugOutputCapture(nullptr);
  EXPECT_EQ(g_frameChainHead, &outer);
  EXPECT_EQ(g_currentSelf, previousSelf);
  EXPECT_EQ(instance.GetVarRef(g_varCounter.slot)->real, 41);
  EXPECT_NE(log.find("ksl_Object_oTest_Create_0 (line 7)"), std::string::npos);
  g_frameChainHead = nullptr;
}

TEST_F(ConventionsTest, CallingABuiltinLeavesTheArgumentsWithTheCaller) {
  CInstance instance(1, 0, 0, 0);
  KslFrame k("caller", &instance, &instance);
  TempValue text = Str("kept");
  EXPECT_EQ(ValueText(k.Call(g_fnTestString, 1.0, text)), "kept");
  EXPECT_EQ(text.str->refCount, 1);
  EXPECT_EQ(ValueText(k.Call(g_fnTestString, 1.0, 2.5)), "2.50");  // numbers in text form
  EXPECT_EQ(g_currentFunction, nullptr);
}

// Calls `getter` on `value` as argument 1 of a built-in named probe_function.
template <typename Getter>
void Probe(Getter getter, const RValue& value) {
  FunctionEntry entry{"probe_function", nullptr, -1};
  g_currentFunction = &entry;
  try {
    getter(&value);
  } catch (...) {
    g_currentFunction = nullptr;
    throw;
  }
  g_currentFunction = nullptr;
}

TEST_F(ConventionsTest, GettersNameTheFunctionAndTheArgumentAndOtherwiseGiveANeutralValue) {
  TempValue room;
  SetReference(room, kRefTypeRoom, 2);
  auto list = [](const RValue* a) { return ArgReferenceIndex(a, 0, kRefTypeDsList); };
  EXPECT_RUNTIME_ERROR(Probe([](const RValue* a) { return ArgInt32(a, 0); }, Str("x")),
                       "probe_function argument 1 incorrect type (string) expecting a Number (VQGI32)");
  EXPECT_RUNTIME_ERROR(Probe([](const RValue* a) { return ArgBool(a, 0); }, Str("1")),
                       "probe_function argument 1 incorrect type (string) expecting a Boolean (VQGB)");
  EXPECT_RUNTIME_ERROR(Probe([](const RValue* a) { return ArgString(a, 0); }, RValue()),
                       "probe_function argument 1 incorrect type (unknown) expecting a String (VQGS)");
  EXPECT_RUNTIME_ERROR(Probe(list, room), "probe_function argument 1 incorrect type (room) expecting a ds_list");
  EXPECT_RUNTIME_ERROR(Probe(list, Undefined()),
                       "probe_function argument 1 incorrect type (undefined) expecting a ds_list");
  TempValue blankLed = Str(" 12");
  EXPECT_RUNTIME_ERROR(ArgReal(&blankLed, 0),
                       "Unknown Function argument 1 incorrect type (string) expecting a Number (VQGR)");

  // With errors suppressed (a caller probing a value), a rejected kind reads as nothing.
  TempValue text = Str("x");
  SuppressErrors quiet;
  EXPECT_EQ(std::vector<double>({ArgReal(&text, 0), double(ArgInt32(&text, 0)), ArgFloat(&text, 0),
                                 double(ArgInt64(&text, 0)), double(ArgUInt32(&text, 0)),
                                 double(ArgReferenceIndex(&text, 0, kRefTypeDsList))}),
            std::vector<double>(6, 0.0));
  EXPECT_TRUE(quiet.ErrorOccurred());
}

TEST_F(ConventionsTest, GettersConvertEveryNumericKind) {
  TempValue digits = Str("12abc"), flag = Bool(true), small, negative = Str("-3.5"), minusOne(-1), list, plain(2.9);
  SetInt32(small, -7);
  SetReference(list, kRefTypeDsList, 4);
  EXPECT_EQ(std::vector<double>({ArgReal(&digits, 0), ArgReal(&flag, 0), ArgFloat(&small, 0), ArgFloat(&negative, 0),
                                 double(ArgUInt32(&minusOne, 0)), double(ArgReferenceIndex(&list, 0, kRefTypeDsList)),
                                 double(ArgReferenceIndex(&plain, 0, kRefTypeDsList))}),
            std::vector<double>({12, 1, -7, -3.5, 0xFFFFFFFF, 4, 2}));
}

TEST_F(ConventionsTest, AGlobalScriptBindsOneMethodToItsVariable) {
  CInstance instance(1, 0, 0, 0);
  RunGlobalScripts(g_link, &instance);
  RunGlobalScripts(g_link, &instance);
  const RValue* method = instance.FindVariable(g_varSelfScript.slot);
  ASSERT_NE(method, nullptr);
  ASSERT_STREQ(KindName(*method), "method");
  auto* ref = static_cast<CScriptRef*>(method->obj);
  EXPECT_EQ(ref->function, ksl_Script_failing);
  EXPECT_EQ(ref->boundSelf, &instance);
}

TEST_F(ConventionsTest, ErrorsBeforeStartUpShowTheDialogAndEndTheGame) {
  g_runtimeStarted = false;
  static std::string shown;
  static bool ended;
  ErrorHooks hooks;
  hooks.showErrorDialog = [](const std::string& text, bool) {
    shown = text;
    return 1;
  };
  hooks.endGame = [] { ended = true; };
  SetErrorHooks(hooks);
  std::string log;
  SetDebugOutputCapture(&log);
  ReportRuntimeError("broken %d", 7);
  SetDebugOutputCapture(nullptr);
  SetErrorHooks(ErrorHooks{});
  EXPECT_TRUE(ended);
  EXPECT_EQ(LastStartupError(), "ERROR in action number 1\nof Create Event for object oTest:\nbroken 7");
  EXPECT_EQ(shown, "\r\n" + std::string(43, '_') +
                       "\r\nERROR in action number 1\r\nof Create Event for object oTest:\r\nbroken 7");
  EXPECT_NE(log.find("ERROR!!! :: ERROR in action number 1"), std::string::npos);
  EXPECT_EQ(LayoutErrorDialogText("a\r\nb\n\rc\n\nd\te"),  // one break per pair, tabs widened
            "\r\n" + std::string(43, '_') + "\r\na\r\nb\r\nc\r\nd       e");
}

TEST(FunctionTableDeathTest, ANameRegisteredTwiceStopsTheProgram) {
  EXPECT_DEATH(
      {
        ClearFunctionTable();
        RegisterBuiltin("test_real", BuiltinTestReal, 1);
        RegisterBuiltin("test_real", BuiltinTestReal, 1);
      },
      "The built-in test_real is registered twice");
}

TEST(MemoryManager, ReportsFailedAllocationsAndTracksUse) {
  std::string log;
  SetDebugOutputCapture(&log);
  g_runtimeStarted = true;
  void* inUse = KV_ALLOC(64);  // something in use, so that the figures have a total
  SetAllocationLimitForTesting(1024);
  EXPECT_RUNTIME_ERROR((void)KV_ALLOC(4096), "Memory allocation failed: Attempting to allocate 4096 bytes\n");
  SetAllocationLimitForTesting(0);
  MemFree(inUse);
  g_runtimeStarted = false;
  SetDebugOutputCapture(nullptr);
  EXPECT_NE(log.find("Total memory used = "), std::string::npos);
  EXPECT_EQ(KV_ALLOC(0), nullptr);

  int64_t before = CurrentMemoryFigures().inUse;
  void* block = KV_ALLOC(100);
  EXPECT_EQ(CurrentMemoryFigures().inUse, before + 100);
  block = KV_REALLOC(block, 300);
  EXPECT_EQ(CurrentMemoryFigures().inUse, before + 300);
  MemFree(block);
  EXPECT_EQ(CurrentMemoryFigures().inUse, before);
}
}  // namespace
