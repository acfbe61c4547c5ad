#include "game/effects.h"

#include "content/pictures.h"

namespace {

constexpr uint32_t kSpriteMask = 300;  // the soft round mask both sprites share
constexpr uint32_t kSpriteColour[kEffectKinds] = {301, 302};

struct KindRules {
  int32_t rate;           // particles per second
  uint32_t particleLife;  // milliseconds
};
constexpr KindRules kRules[kEffectKinds] = {{5, 10000}, {15, 2000}};

}  // namespace

const Surface* EffectSprites::Acquire(EffectKind kind) {
  if (live_[kind]++ == 0) LoadProgramPicture(sprites_[kind], kSpriteColour[kind], kSpriteMask);
  return &sprites_[kind];
}

void EffectSprites::Release(EffectKind kind) {
  if (live_[kind] == 0) return;
  if (--live_[kind] == 0) sprites_[kind].Release();
}

Emitter::Emitter(EffectKind effectKind, const Matrix34* anchorTransform, EffectSprites* sprites)
    : kind(effectKind),
      anchor(anchorTransform),
      lastSpawn(anchorTransform->GetTranslation()),
      rate(kRules[effectKind].rate),
      particleLife(kRules[effectKind].particleLife),
      sprites_(sprites),
      sprite_(sprites->Acquire(effectKind)) {}

Emitter::~Emitter() {
  for (Particle* particle : particles) delete static_cast<EffectParticle*>(particle);
  particles.Release();
  sprites_->Release(kind);
}

const Surface* Emitter::SpriteImage(const Particle&) const { return sprite_->HasPixels() ? sprite_ : nullptr; }

void Emitter::SpawnParticle() {
  auto* particle = new EffectParticle;
  particle->position = lastSpawn;
  particle->lifeLeft = particleLife;
  if (kind == EffectExplosion) {
    // A column of smoke that climbs at 3..4 m/s, its puffs 3..5 m across.
    particle->halfSize = static_cast<fixed>(((age & 255) + 384) * 256);
    particle->rise = static_cast<fixed>(((age & 511) + 1536) * 128);
    particle->direction = Vector3(0, kFixedOne, 0);
  } else {
    // A trail that hangs in the air where the rocket passed.
    particle->halfSize = static_cast<fixed>(((age & 63) + 256) * 256);
  }
  if (!particles.Append(particle)) delete particle;
}

void Emitter::MoveParticle(EffectParticle& particle, fixed dt) {
  Vector3 step = particle.direction;
  step.Scale(FixedMul(particle.rise, dt));
  particle.position = Sum(particle.position, step);
}

void Emitter::Update(uint32_t elapsedMs, fixed dt) {
  age += elapsedMs;
  spawnTime = WrapAdd(spawnTime, dt);
  const int32_t due = static_cast<int32_t>((static_cast<int64_t>(rate) * spawnTime) >> 16);
  if (due > 0) {
    spawnTime = 0;
    const Vector3 to = anchor->GetTranslation();
    const Vector3 step(WrapSub(to.x, lastSpawn.x) / due, WrapSub(to.y, lastSpawn.y) / due,
                       WrapSub(to.z, lastSpawn.z) / due);
    for (int32_t i = 0; i < due; ++i) {
      lastSpawn = Sum(lastSpawn, step);
      SpawnParticle();
    }
  }
  for (uint16_t i = 0; i < particles.Count();) {
    auto* particle = static_cast<EffectParticle*>(particles[i]);
    if (particle->lifeLeft < elapsedMs) {
      delete static_cast<EffectParticle*>(particles.RemoveAt(i));
      continue;
    }
    particle->lifeLeft -= elapsedMs;
    MoveParticle(*particle, dt);
    ++i;
  }
  if (life != -1) life = life > static_cast<int32_t>(elapsedMs) ? life - static_cast<int32_t>(elapsedMs) : 0;
}

EffectList::~EffectList() {
  for (ParticleGroup* group : emitters_) delete static_cast<Emitter*>(group);
  emitters_.Release();
}

Emitter* EffectList::Add(EffectKind kind, const Matrix34* anchor) {
  auto* emitter = new Emitter(kind, anchor, &sprites_);
  if (!emitters_.Append(emitter)) {
    delete emitter;
    return nullptr;
  }
  return emitter;
}

void EffectList::Remove(Emitter* emitter) {
  const uint16_t index = emitters_.IndexOf(emitter);
  if (index == kNotFound) return;
  delete static_cast<Emitter*>(emitters_.RemoveAt(index));
}

void EffectList::Update(uint32_t elapsedMs, fixed dt) {
  for (uint16_t i = 0; i < emitters_.Count();) {
    auto* emitter = static_cast<Emitter*>(emitters_[i]);
    emitter->Update(elapsedMs, dt);
    if (emitter->life == 0) {
      delete static_cast<Emitter*>(emitters_.RemoveAt(i));
    } else {
      ++i;
    }
  }
}

uint32_t EffectList::ParticleCount() const {
  uint32_t count = 0;
  for (const ParticleGroup* group : emitters_) count += group->particles.Count();
  return count;
}
