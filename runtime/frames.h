// runtime/frames.h — the stack-trace frame chain and the current self.
//
// Every running compiled function links one StackFrame in front of the chain
// head and restores the head (and the current self) on every exit, unwinding
// included; outside compiled code the chain is empty. The current self is the
// instance on whose behalf the innermost compiled function or built-in runs.
#pragma once

class CInstance;

struct StackFrame {
  StackFrame* previous;
  const char* name;  // the compiled function's constant name
  int line;          // source line of the statement being executed
};

extern StackFrame* g_frameChainHead;
extern CInstance* g_currentSelf;

// Links a frame for a compiled function and makes `self` current; the
// destructor undoes both, so an exception unwinding through restores them.
class ScopedFrame {
 public:
  ScopedFrame(const char* name, CInstance* self, int initialLine = 0)
      : frame_{g_frameChainHead, name, initialLine}, savedSelf_(g_currentSelf) {
    g_frameChainHead = &frame_;
    g_currentSelf = self;
  }
  ~ScopedFrame() {
    g_frameChainHead = frame_.previous;
    g_currentSelf = savedSelf_;
  }
  ScopedFrame(const ScopedFrame&) = delete;
  ScopedFrame& operator=(const ScopedFrame&) = delete;

  // Records the source line of the statement about to run.
  void Line(int line) { frame_.line = line; }

 private:
  StackFrame frame_;
  CInstance* savedSelf_;
};
