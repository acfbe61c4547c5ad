// The audio output stream: the handheld's wave output device, as the sound mixer uses it.
//
// The mixer keeps a ring of equal-sized buffers queued on the device. It opens the device with
// the format it mixes in, writes each buffer by its index, and is told through the completion
// routine when the device has played a buffer, so that it can mix and write the next one.
//
// Threads: Open, Close and SetVolume come from the main thread; Write comes from the main thread
// and from inside the completion routine. The completion routine runs on the device's own thread
// (SDL's audio thread) or, headless, on the main thread while the simulated clock advances. The
// mixer calls Write and SetVolume while it holds its lock, and its completion routine takes that
// lock: an output never holds a lock of its own while it calls the completion routine, and Close
// must not be called while the caller holds a lock that the completion routine takes.
#pragma once

#include <cstdint>

struct AudioFormat {
  uint32_t samplesPerSecond = 0;  // frames per second
  uint16_t channels = 0;          // 1 mono, 2 stereo (left, right interleaved)
  uint16_t bitsPerSample = 0;     // 8: unsigned samples, 128 is silence (the only size accepted)
};

// Called once for each buffer the device has finished playing, with the index given to Write.
using AudioBufferDone = void (*)(void* context, uint32_t bufferIndex);

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;

  // Opens the default device in `format` and prepares `bufferCount` buffers of `bufferBytes`
  // each. False when there is no device, the format is refused or the buffers cannot be made;
  // the output is then closed. The device plays silence until buffers are written.
  virtual bool Open(const AudioFormat& format, uint32_t bufferCount, uint32_t bufferBytes, AudioBufferDone onDone,
                    void* context) = 0;

  // Queues buffer `bufferIndex` (below the buffer count) with a copy of `bytes`; buffers play in
  // the order written. False, and nothing changes, when the device is not open, the buffer does
  // not fit, or that buffer is still queued (not yet reported played), as the handheld's
  // device refused a buffer it was still playing.
  virtual bool Write(uint32_t bufferIndex, const uint8_t* bytes, uint32_t size) = 0;

  // Volume in the handheld's device form: left level in the low 16 bits, right in the high 16
  // bits, 0xFFFF = full. Applies from the next sample played.
  virtual void SetVolume(uint32_t volume) = 0;

  // Stops playing and drops every queued buffer. When it returns the completion routine is not
  // running and will not be called again. Closing a closed output does nothing.
  virtual void Close() = 0;
};

// Scales 8-bit unsigned samples (interleaved when stereo) around silence by the device volume.
// Full volume leaves them exactly as they are.
void ApplyDeviceVolume(uint8_t* samples, uint32_t size, uint16_t channels, uint32_t volume);
