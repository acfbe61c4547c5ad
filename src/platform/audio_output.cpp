#include "platform/audio_output.h"

void ApplyDeviceVolume(uint8_t* samples, uint32_t size, uint16_t channels, uint32_t volume) {
  const int32_t levels[2] = {static_cast<int32_t>(volume & 0xFFFFu), static_cast<int32_t>(volume >> 16)};
  if (levels[0] == 0xFFFF && levels[1] == 0xFFFF) return;
  const uint32_t stride = channels == 2 ? 2 : 1;
  for (uint32_t i = 0; i < size; ++i) {
    // Mono devices take the left level, as the handheld's single speaker did.
    const int32_t level = stride == 2 ? levels[i & 1] : levels[0];
    samples[i] = static_cast<uint8_t>(128 + (static_cast<int32_t>(samples[i]) - 128) * level / 0xFFFF);
  }
}
