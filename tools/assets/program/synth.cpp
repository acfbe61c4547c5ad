#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
}

size_t Samples(double seconds) { return static_cast<size_t>(std::lround(seconds * kSynthRate)); }

double TimeOf(size_t i) { return static_cast<double>(i) / kSynthRate; }

Biquad::Biquad(Kind kind, double frequency, double q) : kind_(kind), q_(q) { SetFrequency(frequency); }

void Biquad::SetFrequency(double frequency) {
  frequency = std::clamp(frequency, 10.0, kSynthRate * 0.45);
  const double w = 2 * kPi * frequency / kSynthRate;
  const double alpha = std::sin(w) / (2 * q_);
  const double cosw = std::cos(w);
  const double a0 = 1 + alpha;
  switch (kind_) {
    case Kind::LowPass:
      b0_ = (1 - cosw) / 2;
      b1_ = 1 - cosw;
      b2_ = (1 - cosw) / 2;
      break;
    case Kind::HighPass:
      b0_ = (1 + cosw) / 2;
      b1_ = -(1 + cosw);
      b2_ = (1 + cosw) / 2;
      break;
    case Kind::BandPass:  // 0 dB peak gain
      b0_ = alpha;
      b1_ = 0;
      b2_ = -alpha;
      break;
  }
  b0_ /= a0;
  b1_ /= a0;
  b2_ /= a0;
  a1_ = -2 * cosw / a0;
  a2_ = (1 - alpha) / a0;
}

double Biquad::Process(double input) {
  const double output = b0_ * input + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_;
  x1_ = input;
  y2_ = y1_;
  y1_ = output;
  return output;
}

double Decay(double t, double timeConstant) { return t < 0 ? 0.0 : std::exp(-t / timeConstant); }

double Attack(double t, double attack) {
  if (t <= 0) return 0.0;
  return t >= attack ? 1.0 : t / attack;
}

void MixInto(Signal& target, const Signal& source, size_t offset, double gain) {
  if (target.size() < offset + source.size()) target.resize(offset + source.size(), 0.0);
  for (size_t i = 0; i < source.size(); ++i) target[offset + i] += source[i] * gain;
}

void FadeEnds(Signal& signal, double fadeIn, double fadeOut) {
  const size_t in = std::min(signal.size(), Samples(fadeIn));
  const size_t out = std::min(signal.size(), Samples(fadeOut));
  for (size_t i = 0; i < in; ++i) signal[i] *= static_cast<double>(i) / in;
  for (size_t i = 0; i < out; ++i) signal[signal.size() - 1 - i] *= static_cast<double>(i) / out;
}

double Peak(const Signal& signal) {
  double peak = 0;
  for (double sample : signal) peak = std::max(peak, std::abs(sample));
  return peak;
}

std::vector<int16_t> ToPcm16(const Signal& signal, double peakDbfs) {
  const double peak = Peak(signal);
  const double gain = peak > 0 ? std::pow(10.0, peakDbfs / 20.0) / peak : 0.0;
  std::vector<int16_t> pcm(signal.size());
  for (size_t i = 0; i < signal.size(); ++i) {
    pcm[i] = static_cast<int16_t>(std::lround(std::clamp(signal[i] * gain, -1.0, 1.0) * 32767.0));
  }
  return pcm;
}
