// Particle effects: the smoke column over a destroyed object and the trail behind a rocket.
//
// An emitter follows an anchor (a transform it does not own) and spawns particles at a steady
// rate, spread evenly along the path the anchor travelled since the last spawn, so a fast
// rocket leaves an unbroken trail. Each kind draws all its particles with one shared sprite,
// decoded from the program's pictures while any emitter of that kind exists.
#pragma once

#include <cstdint>

#include "core/fixed.h"
#include "core/matrix34.h"
#include "core/vector3.h"
#include "render/particle_group.h"

enum EffectKind : uint32_t { EffectExplosion = 0, EffectSmoke = 1 };
constexpr uint32_t kEffectKinds = 2;

struct EffectParticle : Particle {
  fixed rise = 0;      // m/s along `direction`
  Vector3 direction;   // unit vector
  uint32_t lifeLeft = 0;  // milliseconds
};

// The sprites the kinds share, each decoded when its first emitter appears and released with
// its last. The effect list owns one, so every emitter it holds finds it.
class EffectSprites {
 public:
  const Surface* Acquire(EffectKind kind);
  void Release(EffectKind kind);
  uint32_t LiveEmitters(EffectKind kind) const { return live_[kind]; }

 private:
  Surface sprites_[kEffectKinds];
  uint32_t live_[kEffectKinds] = {};
};

class Emitter : public ParticleGroup {
 public:
  // The sprite of `kind` is held until the emitter is deleted. lastSpawn starts at the anchor.
  Emitter(EffectKind kind, const Matrix34* anchor, EffectSprites* sprites);
  ~Emitter() override;

  // Spawns the particles due, ages and moves every particle, and counts down the life.
  void Update(uint32_t elapsedMs, fixed dt);
  const Surface* SpriteImage(const Particle& particle) const override;

  EffectKind kind;
  const Matrix34* anchor;
  Vector3 lastSpawn;
  int32_t rate;           // particles per second
  uint32_t particleLife;  // milliseconds
  int32_t life = -1;      // milliseconds left; -1 for as long as the emitter is kept
  fixed spawnTime = 0;    // seconds since the last spawn
  uint32_t age = 0;       // milliseconds since creation

 private:
  void SpawnParticle();
  void MoveParticle(EffectParticle& particle, fixed dt);

  EffectSprites* sprites_;
  const Surface* sprite_;
};

// The world's emitters, in creation order. The list owns them (as ParticleGroups, the form the
// sprite drawing takes) and the sprites they share.
class EffectList {
 public:
  EffectList() = default;
  ~EffectList();
  EffectList(const EffectList&) = delete;
  EffectList& operator=(const EffectList&) = delete;

  // A new emitter of `kind` following `anchor`, or null when there is no memory for it.
  Emitter* Add(EffectKind kind, const Matrix34* anchor);
  // Takes the emitter out of the list and deletes it with its particles.
  void Remove(Emitter* emitter);
  // Updates every emitter; one whose life has run out goes.
  void Update(uint32_t elapsedMs, fixed dt);

  const PtrArray<ParticleGroup*>& groups() const { return emitters_; }
  uint32_t ParticleCount() const;
  EffectSprites& sprites() { return sprites_; }

 private:
  EffectSprites sprites_;  // declared first: it outlives the emitters
  PtrArray<ParticleGroup*> emitters_;
};
