// What the sprite pass needs of the game's particle effects (smoke trails, burning wrecks): a
// group is a list of particles that share a sprite picture. The game's emitters derive from
// ParticleGroup and their particles from Particle, adding how they spawn, move and age.
#pragma once

#include "core/fixed.h"
#include "core/ptr_array.h"
#include "core/vector3.h"
#include "gfx/surface.h"

struct Particle {
  fixed halfSize = 0;  // half the billboard's side, 16.16 metres
  Vector3 position;    // world position, 16.16 metres
};

class ParticleGroup {
 public:
  ParticleGroup() = default;
  virtual ~ParticleGroup() = default;
  ParticleGroup(const ParticleGroup&) = delete;
  ParticleGroup& operator=(const ParticleGroup&) = delete;

  // The ARGB4444 picture to draw `particle` with this frame; null draws nothing.
  virtual const Surface* SpriteImage(const Particle& particle) const = 0;

  PtrArray<Particle*> particles;  // the deriving group owns them
};
