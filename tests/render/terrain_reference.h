// A second caster for the terrain tests, written straight from the rules with no caches and no
// shortcuts: every height and texel is decoded from its block when it is needed. The renderer's
// frames must equal this one's bit for bit; it is slow and only for small numbers of frames.
#pragma once

#include "core/fixed.h"
#include "core/vector3.h"
#include "render/render_settings.h"
#include "gfx/surface.h"
#include "render/terrain_landscapes.h"

void ReferenceRender(const Landscape& landscape, const Surface& sky, DepthSurface& surface, const Vector3& position,
                     uint16_t heading, fixed far, fixed near, fixed filter,
                     const fixed (&thresholds)[kRayStepThresholdCount]);
