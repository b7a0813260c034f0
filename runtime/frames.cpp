#include "runtime/frames.h"

StackFrame* g_frameChainHead = nullptr;
CInstance* g_currentSelf = nullptr;
