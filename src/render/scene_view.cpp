#include "render/scene_view.h"

#include <cmath>

#include "core/memory.h"

namespace {

// The world is 2048 metres square and wraps; an object is drawn at its copy that lies from
// 512 m behind to 2048 m ahead of the camera and within 1024 m to either side.
constexpr fixed kWrapBehind = -0x2000000;   // -512.0
constexpr fixed kWorldSize = 0x8000000;     // 2048.0
constexpr fixed kWrapSideways = 0x4000000;  // 1024.0
constexpr fixed kLensFactor = 111411;       // 1.7

}  // namespace

fixed ProjectionFactor(uint32_t size) {
  const uint32_t half = size / 2;
  // half quarter degrees as an angle in radians, by the same single-then-double precision steps
  // as the handheld's run-time library took, so the factors match bit for bit.
  const float turns = static_cast<float>(half) * (1.0f / 1440.0f);
  const double tangent = std::tan(static_cast<double>(turns) * 6.28318530717958) * 65536.0;
  // Surfaces wider than 180 degrees give tangents past the 32-bit range: cut them there.
  const double limited = tangent >= 2147483647.0 ? 2147483647.0 : (tangent <= -2147483648.0 ? -2147483648.0 : tangent);
  return FixedMul(static_cast<fixed>(limited), kLensFactor);
}

SceneView::SceneView(const SceneGraph* objects)
    : scene(objects),
      entries(CheckedAllocArray<VisibleObject>(kCapacity)),
      order(CheckedAllocArray<uint16_t>(kCapacity)) {
  if (entries == nullptr || order == nullptr) capacity = 0;
}

SceneView::~SceneView() {
  Free(entries);
  Free(order);
}

void SceneView::SetCamera(const Matrix34& placement) { camera = placement; }

void SceneView::Prepare(uint32_t surfaceWidth, uint32_t surfaceHeight, fixed farDistance) {
  view = camera;
  view.Inverse();
  if (surfaceWidth != cachedWidth) {
    cachedWidth = static_cast<uint16_t>(surfaceWidth);
    projX = ProjectionFactor(surfaceWidth);
  }
  if (surfaceHeight != cachedHeight) {
    cachedHeight = static_cast<uint16_t>(surfaceHeight);
    projY = ProjectionFactor(surfaceHeight);
  }
  visibleCount = 0;
  if (scene != nullptr) {
    for (const SceneNode* root : scene->roots) Consider(root, farDistance);
  }
  Order();
}

void SceneView::Consider(const SceneNode* node, fixed farDistance) {
  if (node->active == 0 || visibleCount >= capacity) return;
  VisibleObject& entry = entries[visibleCount];
  entry.object = node;
  entry.transform = node->world;
  entry.transform.Multiply(view);

  fixed& x = entry.transform.m[9];
  fixed& z = entry.transform.m[11];
  while (z < kWrapBehind) z += kWorldSize;
  while (z > kWorldSize) z -= kWorldSize;
  while (x < -kWrapSideways) x += kWorldSize;
  while (x > kWrapSideways) x -= kWorldSize;

  if (WrapAdd(z, node->radius) <= kFixedOne) return;  // wholly behind the camera
  const fixed scale = FixedMul(projX, z);
  entry.projectedRadius = FixedDiv(node->radius, scale > kFixedOne ? scale : kFixedOne);
  if (!Visible(entry, farDistance)) return;

  ++visibleCount;
  for (const SceneNode* child = node->firstChild; child != nullptr; child = child->nextSibling) {
    Consider(child, farDistance);
  }
}

bool SceneView::Visible(const VisibleObject& entry, fixed farDistance) const {
  const fixed x = entry.transform.m[9];
  const fixed z = entry.transform.m[11];
  if (WrapSub(z, entry.object->radius) >= farDistance) return false;
  // Only the horizontal extent is tested: the screen is -0.5 .. 0.5 of its width around the axis.
  const fixed screenX = FixedDiv(x, FixedMul(z, projX));
  const fixed r = entry.projectedRadius;
  return WrapAdd(r, screenX) >= -kFixedHalf && WrapSub(screenX, r) < kFixedHalf;
}

void SceneView::Order() {
  for (uint16_t i = 0; i < visibleCount; ++i) order[i] = i;
  // An exchange sort (at most 100 entries), nearest first; entries at equal depth keep the
  // order this exchange gives them.
  for (uint16_t i = 0; i + 1 < visibleCount; ++i) {
    for (uint16_t j = static_cast<uint16_t>(i + 1); j < visibleCount; ++j) {
      if (entries[order[j]].transform.m[11] < entries[order[i]].transform.m[11]) {
        const uint16_t swap = order[i];
        order[i] = order[j];
        order[j] = swap;
      }
    }
  }
}
