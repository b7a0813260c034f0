// engine/draw_stage.h — the draw of one frame: the pre-draw pass, the room's
// background (unless the room keeps the previous picture), then the draw passes
// (draw begin, Draw, draw end, post-draw, GUI begin, GUI, GUI end). Each pass
// goes over the visible instances from the greatest depth to the smallest, equal
// depths in room order. In the Draw pass an instance whose object has no Draw
// handler is drawn by default (its sprite). Drawing stops when a room change
// becomes pending: that frame is never shown.
#pragma once

class FrameCanvas;

void DrawFrame(FrameCanvas& canvas);
