// The game's sounds, by what they are for:
//   100 engine (looped while the engine runs)   110 fuel critical   120 fuel low
//   130 altitude warning   140 message (also the start-up sound)   150 machine gun
//   160 guided rocket   170 rocket   180 explosion   190 spare (never played)   200 hit
// The warnings are restarted on every frame of a 256 ms blink phase, so they are short and
// start at full strength after a few milliseconds: the restarts blur into one steady beep.
// Levels: effects peak between -2 and -5 dBFS, the steady warning tones at -9 to -10 dBFS (a
// pure tone sounds louder than a noise of the same peak), the engine at -5 dBFS (it plays under
// everything); nothing above -1 dBFS.
#include "program_sounds.h"

#include <cmath>

#include "noise.h"
#include "synth.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double Sine(double frequency, double t) { return std::sin(2 * kPi * frequency * t); }

// White noise filtered as if the sequence repeated forever: the filter runs over the block once
// to settle, then again for the output, so the last sample runs smoothly into the first.
Signal LoopedNoise(size_t length, Biquad filter, uint32_t seed) {
  RandomSequence random(seed);
  Signal noise(length);
  for (double& sample : noise) sample = random.NextSigned();
  for (double sample : noise) filter.Process(sample);
  Signal out(length);
  for (size_t i = 0; i < length; ++i) out[i] = filter.Process(noise[i]);
  return out;
}

Signal Noise(size_t length, uint32_t seed) {
  RandomSequence random(seed);
  Signal noise(length);
  for (double& sample : noise) sample = random.NextSigned();
  return noise;
}

// The engine: rotor blades slapping 13 times a second, a low thump with each, the turbine's
// whine and a rumble. Every part repeats a whole number of times in one second, so the loop of
// exactly one second is seamless.
Signal Engine() {
  const size_t length = kSynthRate;
  const Signal slapNoise = LoopedNoise(length, Biquad(Biquad::Kind::BandPass, 420, 0.9), 100);
  const Signal rumble = LoopedNoise(length, Biquad(Biquad::Kind::LowPass, 110, 0.7), 101);
  constexpr uint32_t kBladeRate = 13;  // slaps per second
  Signal engine(length);
  const double peak = 1.3;  // about the loudest sum of the parts below
  for (size_t i = 0; i < length; ++i) {
    const double t = TimeOf(i);
    // Position within the slap cycle, from exact integers so that it wraps exactly.
    const double cycle = static_cast<double>((i * kBladeRate) % length) / length;
    double distance = std::abs(cycle - 0.15);
    distance = std::min(distance, 1 - distance);
    const double slap = std::exp(-(distance / 0.1) * (distance / 0.1));
    engine[i] = 0.75 * slapNoise[i] * slap                       // blade slap
                + 0.45 * Sine(65, t) * std::pow(slap, 1.5)       // thump of the air pushed down
                + (0.05 * Sine(1170, t) + 0.018 * Sine(2340, t)) * (0.85 + 0.15 * slap)  // turbine
                + 0.5 * rumble[i];
    // A gentle saturation tames the few loudest slaps, so the loop sounds fuller at its level.
    engine[i] = std::tanh(2.0 * engine[i] / peak);
  }
  return engine;
}

// A warning tone: a sine with a little of its third harmonic (a soft square) where that
// harmonic is below the Nyquist frequency, quick to start.
Signal Tone(double frequency, double seconds, double release) {
  const double third = frequency * 3 < kSynthRate * 0.45 ? 0.22 : 0.0;
  Signal tone(Samples(seconds));
  for (size_t i = 0; i < tone.size(); ++i) {
    const double t = TimeOf(i);
    const double envelope = Attack(t, 0.004) * std::min(1.0, (seconds - t) / release);
    tone[i] = (Sine(frequency, t) + third * Sine(frequency * 3, t)) * envelope;
  }
  return tone;
}

Signal FuelCritical() {  // urgent: high two-tone
  Signal beep;
  MixInto(beep, Tone(1480, 0.055, 0.012), 0, 1.0);
  MixInto(beep, Tone(1110, 0.055, 0.012), Samples(0.06), 1.0);
  MixInto(beep, Tone(1480, 0.055, 0.012), Samples(0.12), 1.0);
  return beep;
}

Signal FuelLow() { return Tone(880, 0.16, 0.04); }  // a calm single tone

Signal AltitudeWarning() {  // a rising warble: "pull up"
  const double seconds = 0.17;
  Signal warble(Samples(seconds));
  double phase = 0;
  for (size_t i = 0; i < warble.size(); ++i) {
    const double t = TimeOf(i);
    const double frequency = 620 + 480 * (t / seconds) + 30 * Sine(28, t);
    phase += 2 * kPi * frequency / kSynthRate;
    const double envelope = Attack(t, 0.004) * std::min(1.0, (seconds - t) / 0.03);
    warble[i] = (std::sin(phase) + 0.18 * std::sin(3 * phase)) * envelope;
  }
  return warble;
}

// A bell-like note: a sine, a quieter octave and a ringing decay.
Signal Chime(double frequency, double seconds, double ring) {
  Signal note(Samples(seconds));
  for (size_t i = 0; i < note.size(); ++i) {
    const double t = TimeOf(i);
    note[i] = (Sine(frequency, t) + 0.3 * Sine(frequency * 2, t) * Decay(t, ring * 0.5)) * Attack(t, 0.003) *
              Decay(t, ring);
  }
  return note;
}

Signal MessageBlip() {  // two rising notes, a fourth apart
  Signal blip;
  MixInto(blip, Chime(1318.5, 0.12, 0.05), 0, 0.8);
  MixInto(blip, Chime(1760, 0.22, 0.07), Samples(0.07), 1.0);
  return blip;
}

// One round of the gun: a sharp crack, the bark of the muzzle and a low thump.
Signal GunShot(uint32_t seed) {
  const size_t length = Samples(0.09);
  const Signal noise = Noise(length, seed);
  Biquad crack(Biquad::Kind::HighPass, 2200, 0.7);
  Biquad bark(Biquad::Kind::BandPass, 520, 1.1);
  Signal shot(length);
  double phase = 0;
  for (size_t i = 0; i < length; ++i) {
    const double t = TimeOf(i);
    phase += 2 * kPi * (110 - 500 * t) / kSynthRate;  // the thump drops in pitch
    shot[i] = 0.6 * crack.Process(noise[i]) * Decay(t, 0.004) + 1.6 * bark.Process(noise[i]) * Decay(t, 0.018) +
              0.7 * std::sin(phase) * Decay(t, 0.02);
  }
  return shot;
}

Signal MachineGun() {  // a burst of four rounds, 13 a second
  Signal burst;
  for (uint32_t round = 0; round < 4; ++round) MixInto(burst, GunShot(150 + round), Samples(0.075 * round), 1.0 - 0.08 * round);
  FadeEnds(burst, 0.001, 0.02);
  return burst;
}

// A rocket motor: noise through a band filter whose centre moves from `from` to `to` Hz, with
// an ignition pop at the start.
Signal RocketMotor(double seconds, double from, double to, uint32_t seed) {
  const size_t length = Samples(seconds);
  const Signal noise = Noise(length, seed);
  Biquad band(Biquad::Kind::BandPass, from, 1.4);
  Biquad rumble(Biquad::Kind::LowPass, 180, 0.8);
  Signal motor(length);
  for (size_t i = 0; i < length; ++i) {
    const double t = TimeOf(i), progress = t / seconds;
    band.SetFrequency(from * std::pow(to / from, progress));
    const double swell = Attack(t, 0.05) * std::pow(1 - progress, 1.5);
    motor[i] = 1.4 * band.Process(noise[i]) * swell + 1.2 * rumble.Process(noise[i]) * Decay(t, 0.12) +
               0.5 * Sine(80, t) * Decay(t, 0.03);
  }
  FadeEnds(motor, 0.002, 0.05);
  return motor;
}

Signal GuidedRocket() {  // the seeker's two chirps, then a motor that climbs away
  Signal launch;
  MixInto(launch, Tone(2093, 0.035, 0.01), 0, 0.35);
  MixInto(launch, Tone(2637, 0.05, 0.015), Samples(0.045), 0.35);
  MixInto(launch, RocketMotor(1.0, 320, 1500, 160), Samples(0.1), 1.0);
  return launch;
}

Signal Rocket() { return RocketMotor(0.75, 1300, 380, 170); }  // a whoosh that falls away

Signal Explosion() {
  const size_t length = Samples(1.6);
  const Signal noise = Noise(length, 180);
  Biquad body(Biquad::Kind::LowPass, 2400, 0.8);
  Biquad crack(Biquad::Kind::HighPass, 1800, 0.7);
  Biquad crackleTone(Biquad::Kind::BandPass, 1400, 1.5);
  RandomSequence debris(181);
  Signal blast(length);
  double phase = 0;
  double crackle = 0;  // loudness of the current crackle, dying away in a few milliseconds
  const double crackleFade = std::exp(-1.0 / (0.004 * kSynthRate));
  for (size_t i = 0; i < length; ++i) {
    const double t = TimeOf(i);
    body.SetFrequency(150 + 2200 * Decay(t, 0.12));  // the roar darkens as it rolls away
    phase += 2 * kPi * (30 + 35 * Decay(t, 0.25)) / kSynthRate;
    double sample = 1.3 * body.Process(noise[i]) * (Decay(t, 0.35) * 0.8 + 0.2 * Decay(t, 0.9)) * Attack(t, 0.004) +
                    0.7 * crack.Process(noise[i]) * Decay(t, 0.012) + 0.8 * std::sin(phase) * Decay(t, 0.4) * Attack(t, 0.01);
    // Falling debris: sparse crackles in the tail, each a short burst of filtered noise.
    if (t > 0.15 && debris.NextUnit() < 0.004 * Decay(t - 0.15, 0.5)) crackle = 0.3 + 0.5 * debris.NextUnit();
    sample += crackle * 2.5 * crackleTone.Process(noise[(i * 7) % length]);
    crackle *= crackleFade;
    blast[i] = sample;
  }
  FadeEnds(blast, 0.001, 0.2);
  return blast;
}

Signal RadioClick() {  // the spare sound: a squelch of radio static
  const size_t length = Samples(0.16);
  const Signal noise = Noise(length, 190);
  Biquad band(Biquad::Kind::BandPass, 1900, 1.2);
  Signal click(length);
  for (size_t i = 0; i < length; ++i) {
    const double t = TimeOf(i);
    click[i] = band.Process(noise[i]) * Attack(t, 0.003) * std::min(1.0, (0.16 - t) / 0.02) +
               0.4 * Sine(1200, t) * Decay(t, 0.01);
  }
  return click;
}

Signal Hit() {  // a clank of metal: inharmonic partials that die away fast
  const size_t length = Samples(0.32);
  const Signal noise = Noise(length, 200);
  Biquad tick(Biquad::Kind::HighPass, 2500, 0.7);
  static constexpr double kPartials[4][3] = {{610, 1.0, 0.09}, {1470, 0.6, 0.06}, {2330, 0.45, 0.04}, {3110, 0.3, 0.03}};
  Signal clank(length);
  for (size_t i = 0; i < length; ++i) {
    const double t = TimeOf(i);
    double sample = 0.8 * tick.Process(noise[i]) * Decay(t, 0.004);
    for (const auto& partial : kPartials) sample += partial[1] * Sine(partial[0], t) * Decay(t, partial[2]);
    clank[i] = sample * Attack(t, 0.001);
  }
  FadeEnds(clank, 0.0005, 0.03);
  return clank;
}

// A one-shot at its level, with its last milliseconds faded so that it ends on silence.
std::vector<int16_t> OneShot(Signal signal, double peakDbfs) {
  FadeEnds(signal, 0.001, 0.005);
  return ToPcm16(signal, peakDbfs);
}

}  // namespace

std::vector<ProgramSound> MakeProgramSounds() {
  return {
      {100, "engine loop", true, ToPcm16(Engine(), -5)},
      {110, "fuel critical", false, OneShot(FuelCritical(), -9)},
      {120, "fuel low", false, OneShot(FuelLow(), -10)},
      {130, "altitude warning", false, OneShot(AltitudeWarning(), -9)},
      {140, "message (and start-up)", false, OneShot(MessageBlip(), -5)},
      {150, "machine gun", false, OneShot(MachineGun(), -3)},
      {160, "guided rocket", false, OneShot(GuidedRocket(), -3)},
      {170, "rocket", false, OneShot(Rocket(), -3)},
      {180, "explosion", false, OneShot(Explosion(), -2)},
      {190, "spare: radio click", false, OneShot(RadioClick(), -8)},
      {200, "hit", false, OneShot(Hit(), -4)},
  };
}
