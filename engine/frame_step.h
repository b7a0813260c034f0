// engine/frame_step.h — the step of one frame: the input update, the step stages
// in their fixed order, the removal of destroyed instances, the draw and the
// collector step.
//
// Stage order: previous positions and animation; Begin Step; alarms; keyboard;
// mouse (only while the window is visible); Step; End Step. As soon as a room
// change (or the end of the game) is pending after a stage, the remaining stages
// and the draw of this frame are skipped.
#pragma once

class FrameCanvas;

struct FrameStepSettings {
  bool windowVisible = true;
  int gameSpeed = 60;  // frames per second; animation speeds given per second use it
};

// Returns true when the frame was drawn (no room change became pending). A frozen
// frame updates the input and does nothing more.
bool RunFrameStep(FrameCanvas& canvas, const FrameStepSettings& settings);

// Whether frames are frozen: the game's freeze-when-inactive option is set and
// the window is not the active one.
bool FramesFrozen();

// The alarm stage on its own: each running counter of an object with that alarm
// counts down; reaching 0 raises the alarm (0 becomes -1 without raising).
void RunAlarms();
