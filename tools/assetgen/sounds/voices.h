// Musical voices for jingles and ambience; each is called once per sample with the time since its note began.
#pragma once

#include "dsp.h"

namespace assetgen {

// A soft glockenspiel stroke: inharmonic partials that die away faster the higher they are.
double Bell(double t, double frequency);

// A brass-like note: two detuned sawtooths through a low-pass that opens at the attack, vibrato when held.
class BrassVoice {
 public:
  BrassVoice(double frequency, double length) : frequency_(frequency), length_(length) {}
  double operator()(double t);

 private:
  double frequency_;
  double length_;
  dsp::Phase first_{0.0}, second_{0.37};
  dsp::Svf filter_;
};

// A plucked note: a pulse wave whose brightness and loudness fall away quickly.
class PluckVoice {
 public:
  explicit PluckVoice(double frequency) : frequency_(frequency) {}
  double operator()(double t);

 private:
  double frequency_;
  dsp::Phase phase_;
  dsp::Svf filter_;
};

// A warm pad note: three detuned sawtooths, gently low-passed, with slow attack and release.
class PadVoice {
 public:
  PadVoice(double frequency, double length, double attack, double release, double brightness)
      : frequency_(frequency), length_(length), attack_(attack), release_(release), brightness_(brightness) {}
  double operator()(double t);

 private:
  double frequency_, length_, attack_, release_, brightness_;
  dsp::Phase a_{0.0}, b_{0.31}, c_{0.67};
  dsp::Svf filter_;
};

}  // namespace assetgen
