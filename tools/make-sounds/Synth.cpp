// SPDX-License-Identifier: GPL-3.0-or-later
#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace zq::sounds {

namespace {
constexpr double Pi = 3.14159265358979323846;
}

Synth::Synth(int sampleRate, int sampleCount)
    : rate_(sampleRate)
    , mix_(static_cast<std::size_t>(sampleCount), 0.0)
{
}

double Synth::Sin(double cycles)
{
    double f = cycles - std::floor(cycles); // 0 <= f < 1, exact
    // Fold into a quarter wave: sin is odd about 0.5 and even about 0.25.
    double sign = 1.0;
    if (f >= 0.5) {
        f -= 0.5;
        sign = -1.0;
    }
    if (f > 0.25)
        f = 0.5 - f;
    const double x = 2.0 * Pi * f; // 0..pi/2
    const double x2 = x * x;
    // Taylor series to x^15: error below 1e-12 on the quarter wave.
    double term = x;
    double sum = x;
    for (int k = 1; k <= 7; ++k) {
        term *= -x2 / ((2.0 * k) * (2.0 * k + 1.0));
        sum += term;
    }
    return sign * sum;
}

double Synth::Exp(double x)
{
    // Halve until small, sum the series, then square back up.
    int halvings = 0;
    while (x > 0.5 || x < -0.5) {
        x /= 2.0;
        ++halvings;
    }
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k <= 14; ++k) {
        term *= x / k;
        sum += term;
    }
    while (halvings-- > 0)
        sum *= sum;
    return sum;
}

double Synth::Envelope(double t, double length, double attack, double decayTau, double release) const
{
    if (t < 0.0 || t >= length)
        return 0.0;
    double e = 1.0;
    if (attack > 0.0 && t < attack)
        e = t / attack;
    if (release > 0.0 && length - t < release)
        e *= (length - t) / release;
    if (decayTau > 0.0)
        e *= Exp(-t / decayTau);
    return e;
}

void Synth::AddTone(const ToneSpec& tone)
{
    const int first = static_cast<int>(tone.Start * rate_);
    const int count = static_cast<int>(tone.Length * rate_);
    double phase = 0.0; // cycles of the fundamental
    for (int i = 0; i < count; ++i) {
        const std::size_t at = static_cast<std::size_t>(first + i);
        if (at >= mix_.size())
            break;
        const double t = static_cast<double>(i) / rate_;
        const double e = Envelope(t, tone.Length, tone.Attack, tone.DecayTau, tone.Release);
        double v = 0.0;
        for (const Partial& p : tone.Partials)
            v += p.Level * Sin(phase * p.Multiple);
        mix_[at] += tone.Level * e * v;
        const double freq = tone.FreqStart + (tone.FreqEnd - tone.FreqStart) * (t / tone.Length);
        phase += freq / rate_;
    }
}

void Synth::AddNoise(const NoiseSpec& noise)
{
    const int first = static_cast<int>(noise.Start * rate_);
    const int count = static_cast<int>(noise.Length * rate_);
    double low = 0.0;
    for (int i = 0; i < count; ++i) {
        const std::size_t at = static_cast<std::size_t>(first + i);
        if (at >= mix_.size())
            break;
        // xorshift32: a fixed seed gives the same hiss every run.
        noiseState_ ^= noiseState_ << 13;
        noiseState_ ^= noiseState_ >> 17;
        noiseState_ ^= noiseState_ << 5;
        const double white = static_cast<double>(noiseState_) / 2147483648.0 - 1.0;
        low += noise.Smoothing * (white - low);
        const double t = static_cast<double>(i) / rate_;
        mix_[at] += noise.Level * Envelope(t, noise.Length, noise.Attack, noise.DecayTau, noise.Release) * low;
    }
}

void Synth::FadeEdges(double fadeIn, double fadeOut)
{
    const int in = static_cast<int>(fadeIn * rate_);
    const int out = static_cast<int>(fadeOut * rate_);
    const int n = static_cast<int>(mix_.size());
    for (int i = 0; i < in && i < n; ++i)
        mix_[static_cast<std::size_t>(i)] *= static_cast<double>(i) / in;
    for (int i = 0; i < out && i < n; ++i)
        mix_[static_cast<std::size_t>(n - 1 - i)] *= static_cast<double>(i) / out;
}

std::vector<std::uint8_t> Synth::ToUnsigned8(double peak) const
{
    double max = 0.0;
    for (double v : mix_)
        max = std::max(max, std::fabs(v));
    const double scale = max > 0.0 ? peak * 127.0 / max : 0.0;
    std::vector<std::uint8_t> out;
    out.reserve(mix_.size());
    for (double v : mix_) {
        const double q = std::floor(v * scale + 0.5) + 128.0;
        out.push_back(static_cast<std::uint8_t>(std::clamp(q, 1.0, 255.0)));
    }
    return out;
}

} // namespace zq::sounds
