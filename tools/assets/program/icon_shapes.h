// The application icon as one list of filled shapes in the unit square (x to the right, y down),
// painted in order: a round badge of evening sky with a low hill line, and the dark side view of
// an attack helicopter in front of it. The raster icons and the SVG are both drawn from this
// list, so they cannot drift apart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct IconColour {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};

// A colour at a height: gradients run from top to bottom.
struct IconStop {
  double y = 0;  // in the unit square
  IconColour colour;
};

// One stop is a flat colour; more make a vertical gradient, flat above the first and below the
// last, blended linearly between (as SVG blends its stops).
struct IconPaint {
  std::vector<IconStop> stops;
};

enum class IconShapeKind { Polygon, Ellipse };

struct IconShape {
  IconShapeKind kind = IconShapeKind::Polygon;
  std::vector<double> points;  // polygon: x0, y0, x1, y1, ...
  double cx = 0, cy = 0, rx = 0, ry = 0;  // ellipse
  IconPaint paint;
  // The icon sizes, in pixels a side, that draw the shape: fine details are left out of small
  // icons, where they would only blur the outline, and a few parts have a bolder small form.
  int minPixels = 0;
  int maxPixels = 1 << 30;
};

// The size the scalable icon is laid out for (its viewBox is 0 0 256 256).
constexpr int kIconScalableSize = 256;

// The shapes drawn at that size, in painting order.
std::vector<IconShape> ProgramIconShapes(int pixels);

// The icon as an SVG 1.1 document: the shapes of the scalable size, one element each, in a
// 256 x 256 viewBox, with no external references; numbers are written with at most two
// decimals, so the same shapes always give the same text.
std::string ProgramIconSvg();
