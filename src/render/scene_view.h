// The object camera: each frame it turns the camera placement into the view transform, picks
// the objects of the scene that can be seen within the draw distance (at most 100) and orders
// them nearest first for the mesh renderer (mesh_renderer.h).
//
// View space: the camera looks along +z, +x is screen right and +y screen up, in 16.16 metres.
// A view-space point (x, y, z), z >= 1.0, lands on a W x H surface at the 16.16 pixel position
//   screenX = (x / (projX z) + 0.5) W,   screenY = (0.5 - y / (projY z)) H,
// where projX and projY come from the surface size read as a field of view in quarter degrees
// (240 pixels wide is 60 degrees across). The landscape is drawn by its own angular projection.
#pragma once

#include <cstdint>

#include "content/scene_graph.h"
#include "core/fixed.h"
#include "core/matrix34.h"

// An object picked for this frame.
struct VisibleObject {
  const SceneNode* object;
  Matrix34 transform;     // object to view space; its translation wrapped around the world
  fixed projectedRadius;  // bounding radius over its depth, in surface widths
};

class SceneView {
 public:
  static constexpr uint16_t kCapacity = 100;

  // Draws the roots of `objects` and their descendants; `objects` must outlive the view.
  explicit SceneView(const SceneGraph* objects);
  ~SceneView();
  SceneView(const SceneView&) = delete;
  SceneView& operator=(const SceneView&) = delete;

  // The camera's placement in the world; its row 2 is the viewing direction.
  void SetCamera(const Matrix34& placement);
  // The view transform, the projection factors for a surface of this size (recomputed only
  // when the size changes) and the visible list, nearest first, for objects nearer than
  // farDistance (16.16 metres).
  void Prepare(uint32_t surfaceWidth, uint32_t surfaceHeight, fixed farDistance);

  const SceneGraph* scene;
  Matrix34 camera;
  Matrix34 view;  // the inverse of camera
  uint16_t cachedWidth = 0;
  uint16_t cachedHeight = 0;
  fixed projX = 0;
  fixed projY = 0;
  uint16_t visibleCount = 0;
  uint16_t capacity = kCapacity;  // 0 when the lists could not be allocated
  VisibleObject* entries;         // kCapacity records
  uint16_t* order;                // indices into entries, nearest first

 private:
  // Lists `node` when it is shown and can be seen, then, only if it was listed, its children.
  void Consider(const SceneNode* node, fixed farDistance);
  bool Visible(const VisibleObject& entry, fixed farDistance) const;
  void Order();
};

// The projection factor of one axis: 1.7 x tan(half the size, read in quarter degrees).
fixed ProjectionFactor(uint32_t size);
