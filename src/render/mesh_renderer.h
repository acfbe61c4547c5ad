// Textured triangle meshes drawn into the depth-tested frame after the landscape.
//
// Each object of the SceneView's visible list is drawn with the level of detail its depth
// selects: every vertex is moved into view space and projected, then every triangle is filled
// row by row with affine texture coordinates (no perspective correction, no lighting) and the
// shared depth test: depth = view distance x 32 (16.16 >> 11) as 16 bits, smaller is nearer,
// and a pixel is written when its depth is less than or equal to the stored one.
//
// What the triangle filler does not clip by design (triangles reaching behind the camera are
// dropped whole, vertices far off screen are kept) never writes outside the surface: each row
// and span is cut to it. Texels are read only inside the texture: spans whose coordinates would
// leave it (a texture smaller than the coordinates of its mesh, or the last bit of rounding at
// a texture edge) are clamped to the edge texels, checked once per span.
#pragma once

#include <cstdint>

#include "core/fixed.h"
#include "render/scene_view.h"
#include "gfx/surface.h"

// Colour of the triangles of a level that has no usable texture (none named, or a picture that
// did not decode): mid grey, so the shape still shows.
constexpr uint16_t kUntexturedColour = 0x8410;

// A vertex after projection.
struct ProjectedVertex {
  fixed x;    // 16.16 pixels from the left edge
  fixed y;    // 16.16 pixels from the top edge
  fixed z;    // view depth, 16.16 metres; the others are not set when this is below 1.0
  uint8_t u;  // texel column
  uint8_t v;  // texel row
};

// Draws the visible list of the SceneView's last Prepare (made for this surface's size),
// nearest first.
void DrawObjects(const SceneView& view, DepthSurface& surface);

// One textured, depth-tested triangle; visible when its vertices run clockwise on the screen
// (y down). Nothing is drawn when a vertex is nearer than 1.0, or when no vertex lies inside the
// surface horizontally or none vertically. A null or empty texture fills with kUntexturedColour.
void DrawTriangle(DepthSurface& surface, const Surface* texture, const ProjectedVertex& a, const ProjectedVertex& b,
                  const ProjectedVertex& c);
