#include "game/game_sounds.h"

#include "sound/sound.h"

namespace {
constexpr uint32_t kFirstSoundId = 100;  // the slots take 100, 110, ..., 200
}  // namespace

GameSounds::~GameSounds() {
  for (Sound*& sound : sounds_) {
    if (sound == nullptr) continue;
    sound->Release();
    delete sound;
    sound = nullptr;
  }
}

void GameSounds::Load(bool mute, uint8_t volume) {
  if (mute || volume == 0) return;
  for (uint32_t slot = 0; slot < kGameSoundSlots; ++slot) {
    if (sounds_[slot] != nullptr) continue;
    auto* sound = new Sound;
    if (!sound->LoadFromResource(kFirstSoundId + 10 * slot)) {
      sound->Release();
      delete sound;
      continue;
    }
    sounds_[slot] = sound;
  }
  Sound::SetVolume(volume);
}

void GameSounds::PlayOnce(GameSoundSlot slot) {
  Sound* sound = sounds_[slot];
  if (sound == nullptr) return;
  if (sound->IsPlaying()) sound->Stop();
  sound->Play(false);
}

void GameSounds::SetEngine(bool running) {
  Sound* engine = sounds_[SoundEngine];
  if (engine == nullptr) return;
  if (running && !engine->IsPlaying()) {
    engine->Play(true);
  } else if (!running && engine->IsPlaying()) {
    engine->Stop();
  }
}
