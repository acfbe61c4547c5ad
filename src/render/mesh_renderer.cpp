#include "render/mesh_renderer.h"

#include "content/mesh_format.h"
#include "content/mesh_library.h"

namespace {

// The largest vertex count of a level is 255, so one buffer of this size serves every object.
constexpr uint32_t kVertexBufferSize = 256;

// A triangle vertex in whole pixels, as the filler walks it.
struct SetupVertex {
  int32_t x;  // 16-bit signed values: the 16.16 position shifted right by 16
  int32_t y;
  fixed z;
  int32_t u;
  int32_t v;
};

struct Triangle {
  DepthSurface* surface;
  const Surface* texture;  // null: fill with kUntexturedColour
  SetupVertex vertex[3];
  int32_t top;     // the first vertex with the smallest y
  int32_t bottom;  // the first vertex with the largest y
};

// One side of the triangle from the top vertex down to the bottom one, a row at a time. x moves
// by a whole step plus a Bresenham error term; u, v and z by 16.16 steps. The 16.16 sums are
// unsigned so that they wrap like the handheld's registers did.
struct EdgeWalker {
  int32_t rowsLeft;
  int32_t endVertex;
  int32_t indexStep;  // 2 walks the vertices backwards (0 -> 2 -> 1), 1 forwards
  uint32_t u, v, z;
  uint32_t du, dv, dz;
  int32_t x;
  int32_t direction;  // +1 or -1
  int32_t step;
  int32_t error;
  int32_t errorIncrement;
  int32_t modulus;
};

// 1 / count as 16.16 (2^32 / (count x 65536)), for count >= 1.
fixed ReciprocalOfCount(int32_t count) {
  return static_cast<fixed>((int64_t{1} << 32) / (static_cast<int64_t>(count) << 16));
}

// Starts the walker on the first edge below vertex `from` that spans at least one row; false
// when the bottom vertex comes first.
bool SetUpEdge(EdgeWalker& walker, const Triangle& triangle, int32_t from) {
  int32_t a = from;
  int32_t rows = 0;
  int32_t b = 0;
  for (;;) {
    if (a == triangle.bottom) return false;
    b = (a + walker.indexStep) % 3;
    rows = triangle.vertex[b].y - triangle.vertex[a].y;
    if (rows > 0) break;
    if (b == triangle.bottom) return false;
    a = b;
  }
  const SetupVertex& start = triangle.vertex[a];
  const SetupVertex& end = triangle.vertex[b];
  const fixed inverse = ReciprocalOfCount(rows);
  walker.rowsLeft = rows;
  walker.endVertex = b;
  walker.u = static_cast<uint32_t>(start.u) << 16;
  walker.v = static_cast<uint32_t>(start.v) << 16;
  walker.z = static_cast<uint32_t>(start.z);
  walker.du = static_cast<uint32_t>(FixedMul((end.u - start.u) * 65536, inverse));
  walker.dv = static_cast<uint32_t>(FixedMul((end.v - start.v) * 65536, inverse));
  walker.dz = static_cast<uint32_t>(FixedMul(WrapSub(end.z, start.z), inverse));
  walker.x = start.x;
  const int32_t dx = end.x - start.x;
  if (dx >= 0) {
    walker.direction = 1;
    walker.error = 0;
    walker.step = dx / rows;
    walker.errorIncrement = dx % rows;
  } else {
    walker.direction = -1;
    walker.error = 1 - rows;
    walker.step = -((-dx) / rows);
    walker.errorIncrement = (-dx) % rows;
  }
  walker.modulus = rows;
  return true;
}

// One row down; false when the walker has reached the bottom vertex.
bool StepEdge(EdgeWalker& walker, const Triangle& triangle) {
  if (walker.rowsLeft-- > 1) {
    walker.u += walker.du;
    walker.v += walker.dv;
    walker.z += walker.dz;
    walker.x += walker.step;
    walker.error += walker.errorIncrement;
    if (walker.error > 0) {
      walker.x += walker.direction;
      walker.error -= walker.modulus;
    }
    return true;
  }
  return SetUpEdge(walker, triangle, walker.endVertex);
}

// `rows` rows down at once, exactly as that many StepEdge calls would go; false when the walker
// reaches the bottom vertex on the way. A vertex far above the surface (a tall mesh just in
// front of the camera) would otherwise cost a step for every one of thousands of rows.
bool SkipRows(EdgeWalker& walker, const Triangle& triangle, int32_t rows) {
  while (rows >= walker.rowsLeft) {
    rows -= walker.rowsLeft;
    if (!SetUpEdge(walker, triangle, walker.endVertex)) return false;
  }
  if (rows == 0) return true;
  const uint32_t n = static_cast<uint32_t>(rows);
  walker.rowsLeft -= rows;
  walker.u += walker.du * n;
  walker.v += walker.dv * n;
  walker.z += walker.dz * n;
  // The Bresenham term: after n increments the error is brought back into (-modulus, 0] by as
  // many carries as the single steps would have made.
  const int64_t error = walker.error + static_cast<int64_t>(walker.errorIncrement) * rows;
  const int64_t carries = error > 0 ? (error + walker.modulus - 1) / walker.modulus : 0;
  walker.error = static_cast<int32_t>(error - carries * walker.modulus);
  walker.x = static_cast<int32_t>(walker.x + static_cast<int64_t>(walker.step) * rows + walker.direction * carries);
  return true;
}

// Depth key of a 16.16 view depth: distance x 32 in 16 bits.
inline uint16_t DepthKey(uint32_t z) { return static_cast<uint16_t>(static_cast<int32_t>(z) >> 11); }

// True when every texel coordinate u + k du (k = 0 .. count - 1) lies in 0 .. limit - 1 texels:
// the sequence is linear, so its two ends decide.
bool SpanInsideTexture(uint32_t u, uint32_t du, int32_t count, uint32_t limit) {
  const int64_t first = static_cast<int32_t>(u);
  const int64_t last = first + static_cast<int64_t>(static_cast<int32_t>(du)) * (count - 1);
  const int64_t end = static_cast<int64_t>(limit) << 16;
  return first >= 0 && last >= 0 && first < end && last < end;
}

inline int32_t ClampTexel(uint32_t coordinate, int32_t limit) {
  const int32_t texel = static_cast<int32_t>(coordinate) >> 16;
  return texel < 0 ? 0 : (texel >= limit ? limit - 1 : texel);
}

// Fills one row from walker `left` up to (not including) walker `right`. A left edge that lies
// right of the right edge draws nothing: that is how triangles facing away are dropped.
void DrawSpan(const Triangle& triangle, int32_t row, const EdgeWalker& left, const EdgeWalker& right) {
  const DepthSurface& surface = *triangle.surface;
  const int32_t width = surface.width;
  int32_t xl = left.x;
  const int32_t xr = right.x;
  const int32_t length = xr - xl;
  if (xr < 1 || xl >= width || length < 1) return;

  const fixed inverse = ReciprocalOfCount(length);
  const uint32_t du = static_cast<uint32_t>(FixedMul(static_cast<fixed>(right.u - left.u), inverse));
  const uint32_t dv = static_cast<uint32_t>(FixedMul(static_cast<fixed>(right.v - left.v), inverse));
  const uint32_t dz = static_cast<uint32_t>(FixedMul(static_cast<fixed>(right.z - left.z), inverse));
  uint32_t u = left.u;
  uint32_t v = left.v;
  uint32_t z = left.z;
  if (xl < 0) {
    const uint32_t skipped = static_cast<uint32_t>(-xl);
    u += du * skipped;
    v += dv * skipped;
    z += dz * skipped;
    xl = 0;
  }
  const int32_t end = xr < width ? xr : width;
  uint16_t* colours = surface.Row(static_cast<uint32_t>(row));
  uint16_t* depths = surface.DepthRow(static_cast<uint32_t>(row));

  const Surface* texture = triangle.texture;
  if (texture == nullptr) {
    for (int32_t x = xl; x < end; ++x, z += dz) {
      const uint16_t key = DepthKey(z);
      if (key <= depths[x]) {
        colours[x] = kUntexturedColour;
        depths[x] = key;
      }
    }
    return;
  }

  const uint8_t* texels = reinterpret_cast<const uint8_t*>(texture->pixels);
  const uint32_t pitch = texture->pitch;
  const int32_t count = end - xl;
  if (SpanInsideTexture(u, du, count, texture->width) && SpanInsideTexture(v, dv, count, texture->height)) {
    for (int32_t x = xl; x < end; ++x, u += du, v += dv, z += dz) {
      const uint16_t key = DepthKey(z);
      if (key <= depths[x]) {
        colours[x] = reinterpret_cast<const uint16_t*>(texels + (v >> 16) * pitch)[u >> 16];
        depths[x] = key;
      }
    }
    return;
  }
  // Rare: coordinates outside the picture are held at its edge.
  for (int32_t x = xl; x < end; ++x, u += du, v += dv, z += dz) {
    const uint16_t key = DepthKey(z);
    if (key <= depths[x]) {
      const int32_t column = ClampTexel(u, texture->width);
      const int32_t texelRow = ClampTexel(v, texture->height);
      colours[x] = reinterpret_cast<const uint16_t*>(texels + static_cast<uint32_t>(texelRow) * pitch)[column];
      depths[x] = key;
    }
  }
}

void Rasterize(Triangle& triangle) {
  const SetupVertex* vertex = triangle.vertex;
  triangle.top = 0;
  triangle.bottom = 0;
  for (int32_t i = 1; i < 3; ++i) {
    if (vertex[i].y < vertex[triangle.top].y) triangle.top = i;
    if (vertex[i].y > vertex[triangle.bottom].y) triangle.bottom = i;
  }
  if (vertex[triangle.bottom].y <= vertex[triangle.top].y) return;

  EdgeWalker left;
  EdgeWalker right;
  left.indexStep = 2;
  right.indexStep = 1;
  if (!SetUpEdge(left, triangle, triangle.top) || !SetUpEdge(right, triangle, triangle.top)) return;
  // Rows above the surface are skipped in one go. The bottom row itself is never drawn: the
  // walkers end there.
  int32_t row = vertex[triangle.top].y;
  if (row < 0) {
    if (!SkipRows(left, triangle, -row) || !SkipRows(right, triangle, -row)) return;
    row = 0;
  }
  const int32_t height = triangle.surface->height;
  for (; row < height; ++row) {
    DrawSpan(triangle, row, left, right);
    if (!StepEdge(left, triangle) || !StepEdge(right, triangle)) break;
  }
}

// True when the 16.16 coordinate lies on the surface's 0 .. size - 1 pixels.
inline bool Inside(fixed coordinate, uint32_t size) {
  return coordinate >= 0 && static_cast<int64_t>(coordinate) < (static_cast<int64_t>(size) << 16);
}

}  // namespace

void DrawTriangle(DepthSurface& surface, const Surface* texture, const ProjectedVertex& a, const ProjectedVertex& b,
                  const ProjectedVertex& c) {
  // No clipping against the near plane: a triangle reaching nearer than 1.0 is dropped whole.
  if (a.z < kFixedOne || b.z < kFixedOne || c.z < kFixedOne) return;
  if (!Inside(a.x, surface.width) && !Inside(b.x, surface.width) && !Inside(c.x, surface.width)) return;
  if (!Inside(a.y, surface.height) && !Inside(b.y, surface.height) && !Inside(c.y, surface.height)) return;
  if (surface.pixels == nullptr) return;

  Triangle triangle;
  triangle.surface = &surface;
  triangle.texture =
      texture != nullptr && texture->pixels != nullptr && texture->width > 0 && texture->height > 0 ? texture : nullptr;
  const ProjectedVertex* corners[3] = {&a, &b, &c};
  for (int32_t i = 0; i < 3; ++i) {
    const ProjectedVertex& from = *corners[i];
    triangle.vertex[i] = {static_cast<int16_t>(from.x >> 16), static_cast<int16_t>(from.y >> 16), from.z, from.u,
                          from.v};
  }
  Rasterize(triangle);
}

void DrawObjects(const SceneView& view, DepthSurface& surface) {
  ProjectedVertex projected[kVertexBufferSize];
  const uint32_t width = surface.width;
  const uint32_t height = surface.height;
  for (uint16_t i = 0; i < view.visibleCount; ++i) {
    const VisibleObject& entry = view.entries[view.order[i]];
    const Mesh* mesh = entry.object->mesh;
    if (mesh == nullptr) continue;
    const int32_t depth = entry.transform.m[11] >> 16;  // whole metres
    const MeshLod* lod = mesh->SelectLod(static_cast<uint32_t>(depth * depth));
    if (lod == nullptr) continue;  // beyond the last level's distance

    for (uint32_t k = 0; k < lod->vertexCount; ++k) {
      const MeshVertex vertex = DecodeVertex(lod->vertices + k * mesh_format::kVertexSize);
      const Vector3 p = entry.transform.TransformPoint(vertex.position);
      ProjectedVertex& out = projected[k];
      out.z = p.z;
      out.u = vertex.u;
      out.v = vertex.v;
      if (p.z < kFixedOne) continue;  // its triangles are dropped
      // The products wrap on unsigned values: far-off vertices of near objects overflow them.
      out.x = static_cast<fixed>(static_cast<uint32_t>(WrapAdd(FixedDiv(p.x, FixedMul(view.projX, p.z)), kFixedHalf)) *
                                 width);
      out.y = static_cast<fixed>(static_cast<uint32_t>(WrapSub(kFixedHalf, FixedDiv(p.y, FixedMul(view.projY, p.z)))) *
                                 height);
    }
    for (uint32_t k = 0; k < lod->faceCount; ++k) {
      const uint8_t* face = lod->faces + k * mesh_format::kFaceSize;
      DrawTriangle(surface, lod->texture, projected[face[0]], projected[face[1]], projected[face[2]]);
    }
  }
}
