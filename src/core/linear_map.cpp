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
