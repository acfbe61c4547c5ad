#include "core/linear_map.h"

void LinearMap::Init(fixed inputStart, fixed inputEnd, fixed outputStart, fixed outputEnd) {
  x0 = inputStart;
  x1 = inputEnd;
  y0 = outputStart;
  y1 = outputEnd;
  x = x0;
  y = y0;
}

bool LinearMap::SetInput(fixed input) {
  x = input;
  if (x1 == x0) return false;
  const fixed previous = y;
  const fixed t = FixedDiv(WrapSub(x, x0), WrapSub(x1, x0));
  y = WrapAdd(FixedMul(t, WrapSub(y1, y0)), y0);
  return y != previous;
}

bool LinearMap::Advance(uint32_t milliseconds) {
  // Steps are at most a frame (200 ms): cap them so the 16.16 time cannot overflow.
  const fixed step = IntToFixed(static_cast<int32_t>(milliseconds < 0x7FFF ? milliseconds : 0x7FFF));
  const fixed target = WrapAdd(x, step);
  return SetInput(target < x1 ? target : x1);
}
