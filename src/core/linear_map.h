// Linear interpolation of an input range onto an output range, without clamping: inputs
// outside [x0, x1] extrapolate. Used for the helicopter's load-dependent figures and for
// animated values in menus and entities.
#pragma once

#include <cstdint>

#include "core/fixed.h"

struct LinearMap {
  fixed x = 0;   // current input
  fixed y = 0;   // current output, read directly
  fixed x0 = 0;  // input range
  fixed x1 = 0;
  fixed y0 = 0;  // output range
  fixed y1 = 0;

  void Clear() { *this = LinearMap(); }
  void Init(fixed inputStart, fixed inputEnd, fixed outputStart, fixed outputEnd);
  // Stores the input and recomputes the output; true when the output changed. An empty input
  // range leaves the output as it is.
  bool SetInput(fixed input);
  // Moves the input on by `milliseconds` (the input being a time in fixed milliseconds), never
  // past x1, as the menus animate their maps; true when the output changed.
  bool Advance(uint32_t milliseconds);
};
