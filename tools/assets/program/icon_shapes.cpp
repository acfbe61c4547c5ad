#include "icon_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>

namespace {

// The badge: a dark rim around a disc of sky, centred in the square with a little room for the
// anti-aliased edge.
constexpr double kCentre = 0.5;
constexpr double kRimRadius = 0.47;
constexpr double kSkyRadius = 0.435;

constexpr IconColour kRim{29, 24, 44};
constexpr IconColour kSilhouette{20, 16, 28};
constexpr IconColour kGlass{176, 98, 84};  // the canopy catching the sunset
constexpr IconColour kFarHills{122, 70, 86};
constexpr IconColour kNearHills{36, 50, 30};

// Deep blue overhead, warming through mauve to a golden horizon; the helicopter sits where the
// sky is lightest, so its dark outline stands out most.
const IconPaint kSky{{{kCentre - kSkyRadius, {38, 52, 112}},
                      {0.28, {143, 88, 150}},
                      {0.50, {236, 126, 74}},
                      {0.78, {255, 194, 94}}}};

// Which icon sizes draw a shape. The 16-pixel icon has a helicopter of its own, laid on the
// pixel grid so that rotor, boom and skid come out as crisp rows of pixels; the others share
// one outline, with bolder rotor and skids at 32 pixels and the finer parts from 48 up.
struct Sizes {
  int min = 0;
  int max = 1 << 30;
};
constexpr int kTiny = 16;
constexpr Sizes kTinyOnly{0, kTiny};
constexpr Sizes kAboveTiny{kTiny + 1};
constexpr Sizes kSmallOnly{kTiny + 1, 32};
constexpr Sizes kMediumUp{48};  // thin rotor and skids, tail rotor, canopy, rocket pod, far hills
constexpr Sizes kLargeUp{64};   // rotor hub, gun turret

IconPaint Flat(IconColour colour) { return {{{0.0, colour}}}; }

IconShape Polygon(std::vector<double> points, IconColour colour, Sizes sizes) {
  IconShape shape;
  shape.kind = IconShapeKind::Polygon;
  shape.points = std::move(points);
  shape.paint = Flat(colour);
  shape.minPixels = sizes.min;
  shape.maxPixels = sizes.max;
  return shape;
}

IconShape Ellipse(double cx, double cy, double rx, double ry, IconPaint paint, Sizes sizes) {
  IconShape shape;
  shape.kind = IconShapeKind::Ellipse;
  shape.cx = cx;
  shape.cy = cy;
  shape.rx = rx;
  shape.ry = ry;
  shape.paint = std::move(paint);
  shape.minPixels = sizes.min;
  shape.maxPixels = sizes.max;
  return shape;
}

// A polygon given in pixels of the 16-pixel icon.
IconShape TinyPolygon(std::vector<double> pixels) {
  for (double& value : pixels) value /= kTiny;
  return Polygon(std::move(pixels), kSilhouette, kTinyOnly);
}

// A straight bar of the given thickness from (x0, y0) to (x1, y1), square-ended.
IconShape Bar(double x0, double y0, double x1, double y1, double thickness, Sizes sizes) {
  const double length = std::hypot(x1 - x0, y1 - y0);
  const double nx = -(y1 - y0) / length * thickness / 2, ny = (x1 - x0) / length * thickness / 2;
  return Polygon({x0 + nx, y0 + ny, x1 + nx, y1 + ny, x1 - nx, y1 - ny, x0 - nx, y0 - ny}, kSilhouette, sizes);
}

// The part of a disc of sky (radius around the centre) below the curve y = top(x): the curve
// from where it meets the disc's edge on the left to where it meets it on the right, then back
// along the edge below. The curve must lie below the disc's middle and cross the lower half of
// its edge once on either side.
IconShape LandBelow(const std::function<double(double)>& top, double radius, IconColour colour, Sizes sizes) {
  const auto edgeBelow = [radius](double x) {
    const double dx = x - kCentre;
    return kCentre + std::sqrt(std::max(0.0, radius * radius - dx * dx));
  };
  // Where the curve meets the edge, by halving an interval with land at one end only.
  const auto meet = [&](double outside, double inside) {
    for (int step = 0; step < 40; ++step) {
      const double middle = (outside + inside) / 2;
      (top(middle) < edgeBelow(middle) ? inside : outside) = middle;
    }
    return inside;
  };
  const double left = meet(kCentre - radius, kCentre), right = meet(kCentre + radius, kCentre);
  constexpr int kCurvePoints = 32;
  constexpr int kEdgePoints = 48;
  std::vector<double> points;
  for (int i = 0; i <= kCurvePoints; ++i) {
    const double x = left + (right - left) * i / kCurvePoints;
    points.insert(points.end(), {x, top(x)});
  }
  const double from = std::atan2(top(right) - kCentre, right - kCentre);
  const double to = std::atan2(top(left) - kCentre, left - kCentre);
  for (int i = 1; i < kEdgePoints; ++i) {
    const double angle = from + (to - from) * i / kEdgePoints;
    points.insert(points.end(), {kCentre + radius * std::cos(angle), kCentre + radius * std::sin(angle)});
  }
  return Polygon(std::move(points), colour, sizes);
}

double Bump(double x, double centre, double width) { return std::exp(-((x - centre) / width) * ((x - centre) / width)); }

double FarHillLine(double x) { return 0.775 - 0.07 * Bump(x, 0.66, 0.17); }
double NearHillLine(double x) { return 0.83 - 0.06 * Bump(x, 0.26, 0.16) - 0.02 * Bump(x, 0.8, 0.1); }

// The badge: a dark rim around the sky, and the hills. The 16-pixel icon has no room for a rim
// and gives the whole disc to the sky.
void AddBadge(std::vector<IconShape>& shapes) {
  shapes.push_back(Ellipse(kCentre, kCentre, kRimRadius, kRimRadius, Flat(kRim), kAboveTiny));
  shapes.push_back(Ellipse(kCentre, kCentre, kSkyRadius, kSkyRadius, kSky, kAboveTiny));
  shapes.push_back(Ellipse(kCentre, kCentre, kRimRadius, kRimRadius, kSky, kTinyOnly));
  shapes.push_back(LandBelow(FarHillLine, kSkyRadius, kFarHills, kMediumUp));
  shapes.push_back(LandBelow(NearHillLine, kSkyRadius, kNearHills, kAboveTiny));
  shapes.push_back(LandBelow(NearHillLine, kRimRadius, kNearHills, kTinyOnly));
}

// The 16-pixel helicopter: rotor, mast and boom one pixel thick, a fuselage of three rows, the
// fin a stub at the back and a runner for the skids, a pixel below the belly.
void AddTinyHelicopter(std::vector<IconShape>& shapes) {
  shapes.push_back(TinyPolygon({3.5, 5, 13.5, 5, 13.5, 6, 3.5, 6}));                  // rotor
  shapes.push_back(TinyPolygon({8, 6, 9, 6, 9, 7, 8, 7}));                            // mast
  shapes.push_back(TinyPolygon({6, 7, 10, 7, 12, 8, 13.5, 9, 12, 10, 7, 10, 5.5, 9}));    // fuselage
  shapes.push_back(TinyPolygon({6, 8, 2.5, 8, 2.5, 9, 6, 9}));                        // boom
  shapes.push_back(TinyPolygon({1.8, 6, 2.8, 6, 3.5, 8.5, 1.5, 8.5}));                // fin
  shapes.push_back(TinyPolygon({6.5, 11, 12.5, 11, 12.5, 11.75, 6.5, 11.75}));        // skid
}

// The helicopter of the larger icons, flying to the right.
void AddHelicopter(std::vector<IconShape>& shapes) {
  // Main rotor: a slightly drooping blade either side of the mast; at 32 pixels a flat bar on
  // the pixel grid, a pixel and a half thick, so that it stays a solid line.
  shapes.push_back(Polygon({0.22, 0.365, 0.55, 0.345, 0.88, 0.365, 0.88, 0.382, 0.55, 0.375, 0.22, 0.382},
                           kSilhouette, kMediumUp));
  shapes.push_back(Polygon({0.20, 11 / 32.0, 0.90, 11 / 32.0, 0.90, 12.5 / 32, 0.20, 12.5 / 32}, kSilhouette, kSmallOnly));
  shapes.push_back(Polygon({0.535, 0.36, 0.565, 0.36, 0.57, 0.42, 0.53, 0.42}, kSilhouette, kAboveTiny));  // mast
  shapes.push_back(Ellipse(0.55, 0.36, 0.035, 0.02, Flat(kSilhouette), kLargeUp));                        // hub

  // Tail boom tapering back to the fin, a small fin below it, and the two-bladed tail rotor on
  // its hub across the fin.
  shapes.push_back(Polygon({0.44, 0.45, 0.15, 0.478, 0.15, 0.522, 0.44, 0.565}, kSilhouette, kAboveTiny));
  shapes.push_back(Polygon({0.135, 0.525, 0.105, 0.39, 0.155, 0.39, 0.205, 0.505}, kSilhouette, kAboveTiny));
  shapes.push_back(Polygon({0.15, 0.515, 0.13, 0.57, 0.165, 0.57, 0.19, 0.515}, kSilhouette, kAboveTiny));
  shapes.push_back(Bar(0.195, 0.36, 0.09, 0.49, 0.022, kMediumUp));
  shapes.push_back(Ellipse(0.14, 0.43, 0.02, 0.02, Flat(kSilhouette), kMediumUp));

  // Fuselage: engine hump, tandem cockpit sloping to a pointed nose, flat belly; the canopy
  // glass catches the sunset.
  shapes.push_back(Polygon({0.40, 0.455, 0.45, 0.415, 0.56, 0.405, 0.60, 0.415, 0.70, 0.445, 0.77, 0.49,
                            0.835, 0.535, 0.825, 0.562, 0.76, 0.588, 0.62, 0.612, 0.50, 0.612, 0.43, 0.59,
                            0.40, 0.545},
                           kSilhouette, kAboveTiny));
  shapes.push_back(Polygon({0.59, 0.43, 0.655, 0.447, 0.655, 0.475, 0.59, 0.468}, kGlass, kMediumUp));
  shapes.push_back(Polygon({0.67, 0.452, 0.745, 0.49, 0.67, 0.482}, kGlass, kMediumUp));
  // Rocket pod under the stub wing, gun turret under the nose.
  shapes.push_back(Ellipse(0.575, 0.615, 0.07, 0.026, Flat(kSilhouette), kMediumUp));
  shapes.push_back(Ellipse(0.765, 0.59, 0.022, 0.022, Flat(kSilhouette), kLargeUp));
  shapes.push_back(Bar(0.765, 0.59, 0.83, 0.605, 0.012, kLargeUp));

  // Skids: two struts and the runners, turned up at the front; at 32 pixels straight struts and
  // runner on the pixel grid, one pixel thick.
  shapes.push_back(Polygon({0.475, 0.60, 0.50, 0.60, 0.482, 0.675, 0.458, 0.675}, kSilhouette, kMediumUp));
  shapes.push_back(Polygon({0.675, 0.595, 0.70, 0.595, 0.722, 0.675, 0.698, 0.675}, kSilhouette, kMediumUp));
  shapes.push_back(Polygon({0.40, 0.672, 0.75, 0.672, 0.79, 0.652, 0.80, 0.664, 0.757, 0.694, 0.40, 0.694},
                           kSilhouette, kMediumUp));
  shapes.push_back(Polygon({15 / 32.0, 0.6, 16 / 32.0, 0.6, 16 / 32.0, 22 / 32.0, 15 / 32.0, 22 / 32.0}, kSilhouette,
                           kSmallOnly));
  shapes.push_back(Polygon({22 / 32.0, 0.59, 23 / 32.0, 0.59, 23 / 32.0, 22 / 32.0, 22 / 32.0, 22 / 32.0}, kSilhouette,
                           kSmallOnly));
  shapes.push_back(Polygon({0.42, 22 / 32.0, 0.78, 22 / 32.0, 0.78, 23 / 32.0, 0.42, 23 / 32.0}, kSilhouette, kSmallOnly));
}

// Every shape of every size, in painting order; ProgramIconShapes picks those of one size.
std::vector<IconShape> AllShapes() {
  std::vector<IconShape> shapes;
  AddBadge(shapes);
  AddTinyHelicopter(shapes);
  AddHelicopter(shapes);
  return shapes;
}

// A number with at most `decimals` decimals and no trailing zeros, never "-0".
std::string Number(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string number = text;
  if (number.find('.') != std::string::npos) {
    while (number.back() == '0') number.pop_back();
    if (number.back() == '.') number.pop_back();
  }
  return number == "-0" ? "0" : number;
}

std::string Hex(IconColour colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
  return text;
}

std::string Coordinate(double unit) { return Number(unit * kIconScalableSize, 2); }

}  // namespace

std::vector<IconShape> ProgramIconShapes(int pixels) {
  std::vector<IconShape> shapes;
  for (IconShape& shape : AllShapes()) {
    if (pixels >= shape.minPixels && pixels <= shape.maxPixels) shapes.push_back(std::move(shape));
  }
  return shapes;
}

std::string ProgramIconSvg() {
  const std::vector<IconShape> shapes = ProgramIconShapes(kIconScalableSize);
  const std::string size = std::to_string(kIconScalableSize);
  std::string defs, body;
  int gradients = 0;
  for (const IconShape& shape : shapes) {
    std::string fill;
    const std::vector<IconStop>& stops = shape.paint.stops;
    if (stops.size() == 1) {
      fill = Hex(stops.front().colour);
    } else {
      const std::string id = "sky" + std::to_string(++gradients);
      const double top = stops.front().y, bottom = stops.back().y;
      defs += "    <linearGradient id=\"" + id + "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"" + Coordinate(top) +
              "\" x2=\"0\" y2=\"" + Coordinate(bottom) + "\">\n";
      for (const IconStop& stop : stops) {
        defs += "      <stop offset=\"" + Number((stop.y - top) / (bottom - top), 4) + "\" stop-color=\"" +
                Hex(stop.colour) + "\"/>\n";
      }
      defs += "    </linearGradient>\n";
      fill = "url(#" + id + ")";
    }
    if (shape.kind == IconShapeKind::Ellipse && shape.rx == shape.ry) {
      body += "  <circle cx=\"" + Coordinate(shape.cx) + "\" cy=\"" + Coordinate(shape.cy) + "\" r=\"" +
              Coordinate(shape.rx) + "\" fill=\"" + fill + "\"/>\n";
    } else if (shape.kind == IconShapeKind::Ellipse) {
      body += "  <ellipse cx=\"" + Coordinate(shape.cx) + "\" cy=\"" + Coordinate(shape.cy) + "\" rx=\"" +
              Coordinate(shape.rx) + "\" ry=\"" + Coordinate(shape.ry) + "\" fill=\"" + fill + "\"/>\n";
    } else {
      std::string points;
      for (size_t i = 0; i + 1 < shape.points.size(); i += 2) {
        points += (i == 0 ? "" : " ") + Coordinate(shape.points[i]) + "," + Coordinate(shape.points[i + 1]);
      }
      body += "  <polygon points=\"" + points + "\" fill=\"" + fill + "\"/>\n";
    }
  }
  // Even-odd filling, as the raster icons fill their polygons.
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + size + "\" height=\"" + size +
                    "\" viewBox=\"0 0 " + size + " " + size + "\" fill-rule=\"evenodd\">\n";
  svg += "  <title>Kestrel Run</title>\n";
  if (!defs.empty()) svg += "  <defs>\n" + defs + "  </defs>\n";
  return svg + body + "</svg>\n";
}
