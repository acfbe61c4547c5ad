// Particle effects: spawning at the kind's rate spread along the anchor's path, rising and
// ageing particles, the emitter's life, and the sprites the kinds share.
#include <gtest/gtest.h>

#include "game/effects.h"

namespace {

const EffectParticle& ParticleAt(const Emitter& emitter, uint16_t index) {
  return *static_cast<const EffectParticle*>(emitter.particles[index]);
}

TEST(Effects, SmokeSpreadsItsParticlesAlongThePathTheAnchorTravelled) {
  EffectList list;
  Matrix34 rocket;
  rocket.SetTranslation(Vector3(IntToFixed(100), IntToFixed(50), IntToFixed(200)));
  Emitter* smoke = list.Add(EffectSmoke, &rocket);
  ASSERT_NE(smoke, nullptr);
  // One second later the rocket is 30 m further along z: 15 puffs, one every 2 m, the last at
  // the rocket. Smoke does not rise.
  rocket.SetTranslation(Vector3(IntToFixed(100), IntToFixed(50), IntToFixed(230)));
  list.Update(1000, kFixedOne);
  ASSERT_EQ(smoke->particles.Count(), 15);
  EXPECT_EQ(ParticleAt(*smoke, 0).position, Vector3(IntToFixed(100), IntToFixed(50), IntToFixed(202)));
  EXPECT_EQ(ParticleAt(*smoke, 14).position, Vector3(IntToFixed(100), IntToFixed(50), IntToFixed(230)));
  // Age 1000 at the spawn: half size ((1000 & 63) + 256) x 256.
  EXPECT_EQ(ParticleAt(*smoke, 0).halfSize, ((1000 & 63) + 256) * 256);
  EXPECT_EQ(ParticleAt(*smoke, 0).lifeLeft, 1000u);  // 2000 less the update that made it

  // Whole particles only: 15 a second is none in 33 ms, none in 66 ms, one in 99 ms.
  list.Update(33, 2162);
  list.Update(33, 2162);
  EXPECT_EQ(smoke->particles.Count(), 15);
  list.Update(33, 2162);
  EXPECT_EQ(smoke->particles.Count(), 16);

  // The first fifteen have 901 ms left: gone once a longer step comes.
  list.Update(901, 0);
  EXPECT_EQ(smoke->particles.Count(), 16);  // lifeLeft equal to the step stays, at 0
  list.Update(1, 0);
  EXPECT_EQ(smoke->particles.Count(), 1);
}

TEST(Effects, ExplosionSmokeClimbs) {
  EffectList list;
  Matrix34 wreck;
  wreck.SetTranslation(Vector3(IntToFixed(10), IntToFixed(20), IntToFixed(30)));
  Emitter* fire = list.Add(EffectExplosion, &wreck);
  list.Update(1000, kFixedOne);
  ASSERT_EQ(fire->particles.Count(), 5);
  // Spawned at age 1000 and moved up for the whole second at ((1000 & 511) + 1536) x 128.
  const fixed rise = ((1000 & 511) + 1536) * 128;
  const EffectParticle& puff = ParticleAt(*fire, 0);
  EXPECT_EQ(puff.rise, rise);
  EXPECT_EQ(puff.halfSize, ((1000 & 255) + 384) * 256);
  EXPECT_EQ(puff.position, Vector3(IntToFixed(10), IntToFixed(20) + rise, IntToFixed(30)));
  EXPECT_EQ(fire->life, -1);
  list.Update(20000, kFixedOne);
  EXPECT_EQ(list.groups().Count(), 1);  // an explosion smokes for as long as the world lasts
}

TEST(Effects, AnEmitterGoesWhenItsLifeRunsOut) {
  EffectList list;
  Matrix34 anchor;
  Emitter* smoke = list.Add(EffectSmoke, &anchor);
  smoke->life = 100;
  list.Update(60, 3932);
  EXPECT_EQ(smoke->life, 40);
  list.Update(60, 3932);
  EXPECT_EQ(list.groups().Count(), 0);
}

TEST(Effects, EachKindSharesOneSpriteWhileAnyOfItsEmittersLives) {
  EffectList list;
  Matrix34 a, b;
  Emitter* first = list.Add(EffectExplosion, &a);
  Emitter* second = list.Add(EffectExplosion, &b);
  Emitter* smoke = list.Add(EffectSmoke, &a);
  EXPECT_EQ(list.sprites().LiveEmitters(EffectExplosion), 2u);
  list.Update(1000, kFixedOne);
  const Surface* sprite = first->SpriteImage(*first->particles[0]);
  ASSERT_NE(sprite, nullptr);
  EXPECT_TRUE(sprite->HasPixels());
  EXPECT_EQ(sprite, second->SpriteImage(*second->particles[0]));
  EXPECT_NE(sprite, smoke->SpriteImage(*smoke->particles[0]));

  list.Remove(first);
  EXPECT_TRUE(sprite->HasPixels());
  list.Remove(second);
  EXPECT_EQ(list.sprites().LiveEmitters(EffectExplosion), 0u);
  EXPECT_FALSE(sprite->HasPixels());
  EXPECT_EQ(list.sprites().LiveEmitters(EffectSmoke), 1u);
}

}  // namespace
