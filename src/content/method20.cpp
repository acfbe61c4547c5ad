#include "content/method20.h"

#include <cstdlib>

namespace method20 {

namespace {

// The predictor's guess for the next byte of the channel, from its state after the delta
// history has moved on by one (D1 = last delta, D2 = its change, D3/D4 older).
struct Prediction {
  int32_t D1, D2, D3, D4;
  uint32_t value;  // 0..255
};

Prediction Predict(const AudioVariables& v, int32_t channelDelta) {
  Prediction p;
  p.D4 = v.D3;
  p.D3 = v.D2;
  p.D2 = v.lastDelta - v.D1;
  p.D1 = v.lastDelta;
  const int32_t sum = 8 * v.lastChar + v.K1 * p.D1 + v.K2 * p.D2 + v.K3 * p.D3 + v.K4 * p.D4 + v.K5 * channelDelta;
  p.value = static_cast<uint32_t>(sum >> 3) & 0xFF;
  return p;
}

int32_t SignedByte(int32_t value) { return static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF)); }

}  // namespace

uint8_t AudioDeltaFor(const AudioVariables& v, int32_t channelDelta, uint8_t byte) {
  return static_cast<uint8_t>((Predict(v, channelDelta).value - byte) & 0xFF);
}

uint8_t DecodeAudioByte(AudioVariables& v, int32_t& channelDelta, uint8_t delta) {
  const Prediction p = Predict(v, channelDelta);
  ++v.byteCount;
  v.D4 = p.D4;
  v.D3 = p.D3;
  v.D2 = p.D2;
  v.D1 = p.D1;
  const int32_t ch = static_cast<int32_t>(p.value) - delta;

  // Error sums of the prediction with each weight nudged one way or the other, in units of
  // 1/8 byte; every 32 bytes the best nudge is applied.
  const int32_t d = SignedByte(delta) * 8;
  v.dif[0] += std::abs(d);
  v.dif[1] += std::abs(d - v.D1);
  v.dif[2] += std::abs(d + v.D1);
  v.dif[3] += std::abs(d - v.D2);
  v.dif[4] += std::abs(d + v.D2);
  v.dif[5] += std::abs(d - v.D3);
  v.dif[6] += std::abs(d + v.D3);
  v.dif[7] += std::abs(d - v.D4);
  v.dif[8] += std::abs(d + v.D4);
  v.dif[9] += std::abs(d - channelDelta);
  v.dif[10] += std::abs(d + channelDelta);

  v.lastDelta = channelDelta = SignedByte(ch - v.lastChar);
  v.lastChar = ch;

  if ((v.byteCount & 0x1F) == 0) {
    uint32_t minDif = v.dif[0];
    int numMinDif = 0;
    v.dif[0] = 0;
    for (int i = 1; i < 11; ++i) {
      if (v.dif[i] < minDif) {
        minDif = v.dif[i];
        numMinDif = i;
      }
      v.dif[i] = 0;
    }
    int32_t* const weights[5] = {&v.K1, &v.K2, &v.K3, &v.K4, &v.K5};
    if (numMinDif > 0) {
      int32_t& k = *weights[(numMinDif - 1) / 2];
      if (numMinDif % 2 == 1) {
        if (k >= -16) --k;
      } else {
        if (k < 16) ++k;
      }
    }
  }
  return static_cast<uint8_t>(ch & 0xFF);
}

}  // namespace method20
