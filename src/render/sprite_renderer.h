// Billboard sprites of the particle effects (smoke, burning wrecks), drawn after the meshes
// with the same depth test: each particle becomes a square ARGB4444 picture scaled to its size
// at its depth, facing the camera, drawn farthest first so that soft edges mix correctly.
#pragma once

#include <cstdint>

#include "core/fixed.h"
#include "core/ptr_array.h"
#include "render/particle_group.h"
#include "render/scene_view.h"
#include "gfx/surface.h"

// Sprites drawn in one frame at most; particles past this many are left out.
constexpr uint16_t kMaxSprites = 500;

// Every particle of every group (in list order, the first kMaxSprites that lie between 1.0 and
// farDistance ahead and touch the screen), through the SceneView's view transform and its
// horizontal projection factor, which serves both axes so that the sprites stay square.
void DrawSprites(const SceneView& view, DepthSurface& surface, const PtrArray<ParticleGroup*>& groups,
                 fixed farDistance);

// The source rectangle (sourceX, sourceY, sourceWidth, sourceHeight) of an ARGB4444 image scaled
// onto the w x h rectangle at (x, y), cut to the surface. A pixel is drawn where `depth`
// (16.16 metres) is not behind the stored depth and the texel's alpha is not 0; writeDepth
// then stores the sprite's depth too. A source rectangle that does not lie inside the image
// draws nothing, as does a rectangle of no size.
void DrawScaledSprite(DepthSurface& surface, int32_t x, int32_t y, int32_t w, int32_t h, const Surface& image,
                      int32_t sourceX, int32_t sourceY, int32_t sourceWidth, int32_t sourceHeight, fixed depth,
                      bool writeDepth);
