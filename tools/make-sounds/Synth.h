// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace zq::sounds {

// A partial of a tone: multiple of the fundamental and its relative level.
struct Partial {
    double Multiple = 1.0;
    double Level = 1.0;
};

// One note or gesture: an exponentially decaying, optionally gliding tone.
struct ToneSpec {
    double Start = 0.0;       // seconds
    double Length = 0.0;      // seconds
    double FreqStart = 440.0; // Hz at Start
    double FreqEnd = 440.0;   // Hz at Start + Length, glided linearly
    double Level = 1.0;
    double Attack = 0.005;    // linear rise, seconds
    double DecayTau = 0.0;    // exponential decay time constant, 0 = none
    double Release = 0.005;   // linear fall at the end, seconds
    std::vector<Partial> Partials{{1.0, 1.0}};
};

// Filtered noise with the same envelope shape as a tone.
struct NoiseSpec {
    double Start = 0.0;
    double Length = 0.0;
    double Level = 1.0;
    double Attack = 0.002;
    double DecayTau = 0.0;
    double Release = 0.005;
    double Smoothing = 0.5; // one-pole low-pass coefficient, smaller = darker
};

// Mixes tones and noise into a buffer of a fixed number of samples.
// Only +, -, * and / on doubles are used (no library sin or exp), so the
// output is the same bit for bit on every IEEE machine and C library.
class Synth {
public:
    Synth(int sampleRate, int sampleCount);

    void AddTone(const ToneSpec& tone);
    void AddNoise(const NoiseSpec& noise);
    // Linear fades over the first and last samples, so no sound starts or ends with a click.
    void FadeEdges(double fadeIn, double fadeOut);
    // Scales to the given peak (0..1 of full scale) and quantises to unsigned 8 bit, silence 128.
    std::vector<std::uint8_t> ToUnsigned8(double peak) const;

    static double Sin(double cycles);
    static double Exp(double x);

private:
    double Envelope(double t, double length, double attack, double decayTau, double release) const;

    int rate_;
    std::vector<double> mix_;
    std::uint32_t noiseState_ = 0x2545F491u;
};

} // namespace zq::sounds
