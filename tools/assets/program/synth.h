// A small synthesiser for the program's sound effects: signals as arrays of samples at
// 11025 Hz (the rate the game's own effects are stored at), oscillators, filtered noise,
// envelopes and the final conversion to 16-bit PCM at a chosen peak level.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint32_t kSynthRate = 11025;  // samples per second

using Signal = std::vector<double>;  // samples, nominally -1..1

// Sample count of a duration in seconds.
size_t Samples(double seconds);
// Time in seconds of sample index i.
double TimeOf(size_t i);

// Second-order filter (the audio cookbook's biquad). The cut-off may be changed per sample
// for sweeps; the filter's memory is kept.
class Biquad {
 public:
  enum class Kind { LowPass, HighPass, BandPass };
  Biquad(Kind kind, double frequency, double q);
  void SetFrequency(double frequency);
  double Process(double input);

 private:
  Kind kind_;
  double q_;
  double b0_ = 0, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Exponential decay from 1 with a time constant in seconds.
double Decay(double t, double timeConstant);
// 0 -> 1 over `attack` seconds, then holds 1; t may be negative (0 then).
double Attack(double t, double attack);
// Adds source into target starting at sample `offset`, scaled by gain (target grows as needed).
void MixInto(Signal& target, const Signal& source, size_t offset, double gain);
// Short fades at both ends (in seconds), so a one-shot starts and stops without a click.
void FadeEnds(Signal& signal, double fadeIn, double fadeOut);
// Largest absolute sample.
double Peak(const Signal& signal);
// Scales the signal so that its peak is `peakDbfs` decibels below full scale and rounds it to
// 16-bit PCM (full scale 32767).
std::vector<int16_t> ToPcm16(const Signal& signal, double peakDbfs);
