// The desktop's audio output: SDL2's default audio device fed from a queue of buffers.
//
// SDL's audio callback (on SDL's audio thread) copies queued buffers to the device in the order
// written, scaled by the volume, plays silence when none is queued, and reports each buffer it
// has used up to the completion routine, on that same thread, as the handheld's wave output did.
// SDL's audio subsystem is started by Open and stopped by Close, so a desktop without sound
// costs nothing until a sound plays, and an Open that fails leaves the game silent.
#pragma once

#include <memory>

#include "platform/audio_output.h"

std::unique_ptr<AudioOutput> CreateSdlAudioOutput();
