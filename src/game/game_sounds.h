// The eleven sounds of a mission: the engine loop, the warning beeps and the one-shot effects.
//
// Loaded from the program's own WAV files when the game screen is entered, unless the player
// has muted the game or turned the volume to 0; then every slot is empty and every request
// does nothing. A one-shot request restarts its sound, so the warnings, asked for on every tick
// of the fast blink, beep in step with it.
#pragma once

#include <cstdint>

class Sound;

enum GameSoundSlot : uint32_t {
  SoundEngine = 0,
  SoundFuelCritical,
  SoundFuelLow,
  SoundAltitude,
  SoundMessage,
  SoundMachineGun,
  SoundGuidedRocket,
  SoundRocket,
  SoundExplosion,
  SoundSpare,  // loaded but never played
  SoundHit,
  kGameSoundSlots
};

class GameSounds {
 public:
  GameSounds() = default;
  // Stops and releases every sound.
  ~GameSounds();
  GameSounds(const GameSounds&) = delete;
  GameSounds& operator=(const GameSounds&) = delete;

  // Loads the sounds 100, 110, ..., 200 into the slots (a sound that fails to load leaves its
  // slot empty) and sets the output volume, unless `mute` or `volume` 0 keeps the game silent.
  void Load(bool mute, uint8_t volume);
  // Stops the sound if it plays, then plays it once from the start.
  void PlayOnce(GameSoundSlot slot);
  // The engine loop runs while `running`.
  void SetEngine(bool running);

  const Sound* sound(GameSoundSlot slot) const { return sounds_[slot]; }

 private:
  Sound* sounds_[kGameSoundSlots] = {};  // owned; null when not loaded
};
