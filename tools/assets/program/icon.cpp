#include "icon.h"

#include <string>
#include <utility>

#include "asset_writer.h"
#include "icon_shapes.h"
#include "platform/program_icon.h"

namespace {

constexpr int kWindowIconSize = 64;
constexpr const char* kIconName = "kestrel-run";

Rgb ToRgb(IconColour colour) { return RgbBytes(colour.r, colour.g, colour.b); }

// The paint at pixels x pixels: the stops' heights are in the unit square.
Paint ToPaint(const IconPaint& paint, int pixels) {
  if (paint.stops.size() == 1) return Solid(ToRgb(paint.stops.front().colour));
  return [stops = paint.stops, pixels](double, double y) {
    const double unitY = y / pixels;
    if (unitY <= stops.front().y) return ToRgb(stops.front().colour);
    for (size_t i = 1; i < stops.size(); ++i) {
      if (unitY <= stops[i].y) {
        const double t = (unitY - stops[i - 1].y) / (stops[i].y - stops[i - 1].y);
        return Mix(ToRgb(stops[i - 1].colour), ToRgb(stops[i].colour), t);
      }
    }
    return ToRgb(stops.back().colour);
  };
}

Shape ToShape(const IconShape& shape, int pixels) {
  if (shape.kind == IconShapeKind::Ellipse) {
    return EllipseShape(shape.cx * pixels, shape.cy * pixels, shape.rx * pixels, shape.ry * pixels);
  }
  std::vector<double> points = shape.points;
  for (double& value : points) value *= pixels;
  return PolygonShape(std::move(points));
}

}  // namespace

Canvas DrawProgramIcon(int pixels) {
  Canvas canvas(pixels, pixels);
  for (const IconShape& shape : ProgramIconShapes(pixels)) canvas.Fill(ToShape(shape, pixels), ToPaint(shape.paint, pixels));
  return canvas;
}

void AddProgramIconPicture(PictureSet& set) {
  set.AddMasked(kProgramIconPicture, kProgramIconMask, PictureGroup::Icons, "window icon",
                DrawProgramIcon(kWindowIconSize));
}

bool WriteProgramIcons(const std::filesystem::path& assets) {
  namespace fs = std::filesystem;
  const fs::path icons = assets / "icons" / "hicolor";
  const std::string file = std::string(kIconName) + ".png";
  bool ok = true;
  std::error_code error;
  for (int pixels : kProgramIconSizes) {
    const fs::path folder = icons / (std::to_string(pixels) + "x" + std::to_string(pixels)) / "apps";
    fs::create_directories(folder, error);
    ok = WritePngPicture((folder / file).string(), DrawProgramIcon(pixels).RgbaPicture()) && ok;
  }
  const fs::path scalable = icons / "scalable" / "apps";
  fs::create_directories(scalable, error);
  const std::string svg = ProgramIconSvg();
  return WriteBytesToFile((scalable / (std::string(kIconName) + ".svg")).string(), {svg.begin(), svg.end()}) && ok;
}
