// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the game's six sounds, sound1.wav .. sound6.wav, into the given folder.
// The output is the same byte for byte on every run; the committed files are
// checked against it by a test.
#include "Synth.h"
#include "WaveFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using zq::sounds::NoiseSpec;
using zq::sounds::Partial;
using zq::sounds::Synth;
using zq::sounds::ToneSpec;
using zq::sounds::WaveFile;

constexpr int Rate = WaveFile::SampleRate;

struct Sound {
    std::string Name;
    int SampleBytes;
    std::size_t ImageBytes;
    std::vector<std::uint8_t> Samples;
};

double Seconds(int samples) { return static_cast<double>(samples) / Rate; }

// A light upward sweep: the piece leaves the board.
std::vector<std::uint8_t> Lift(int n)
{
    Synth s(Rate, n);
    s.AddTone({.Start = 0.0, .Length = Seconds(n), .FreqStart = 520.0, .FreqEnd = 1000.0, .Level = 1.0,
               .Attack = 0.004, .DecayTau = 0.04, .Release = 0.012,
               .Partials = {{1.0, 1.0}, {2.0, 0.22}, {3.0, 0.06}}});
    s.FadeEdges(0.001, 0.003);
    return s.ToUnsigned8(0.45);
}

// A soft wooden knock falling in pitch: the piece settles.
std::vector<std::uint8_t> PutDown(int n)
{
    Synth s(Rate, n);
    s.AddTone({.Start = 0.0, .Length = Seconds(n), .FreqStart = 340.0, .FreqEnd = 190.0, .Level = 1.0,
               .Attack = 0.002, .DecayTau = 0.035, .Release = 0.015,
               .Partials = {{1.0, 1.0}, {2.0, 0.35}, {3.0, 0.12}}});
    s.AddNoise({.Start = 0.0, .Length = 0.015, .Level = 0.6, .Attack = 0.001, .DecayTau = 0.004,
                .Release = 0.003, .Smoothing = 0.25});
    s.FadeEdges(0.001, 0.003);
    return s.ToUnsigned8(0.5);
}

// A tiny bright click; it repeats quickly while a piece turns, so it stays quiet.
std::vector<std::uint8_t> Tick(int n)
{
    Synth s(Rate, n);
    s.AddTone({.Start = 0.0, .Length = Seconds(n), .FreqStart = 2200.0, .FreqEnd = 2000.0, .Level = 1.0,
               .Attack = 0.0008, .DecayTau = 0.005, .Release = 0.004,
               .Partials = {{1.0, 1.0}, {1.5, 0.2}}});
    s.FadeEdges(0.0005, 0.002);
    return s.ToUnsigned8(0.32);
}

// A short breath of dark noise: the piece glides one step.
std::vector<std::uint8_t> Slide(int n)
{
    Synth s(Rate, n);
    s.AddNoise({.Start = 0.0, .Length = Seconds(n), .Level = 1.0, .Attack = 0.014, .DecayTau = 0.0,
                .Release = 0.03, .Smoothing = 0.1});
    s.AddTone({.Start = 0.0, .Length = Seconds(n), .FreqStart = 210.0, .FreqEnd = 230.0, .Level = 0.08,
               .Attack = 0.014, .DecayTau = 0.0, .Release = 0.03});
    s.FadeEdges(0.002, 0.003);
    return s.ToUnsigned8(0.28);
}

// A bright rising arpeggio ending on a ringing major chord.
std::vector<std::uint8_t> Solved(int n)
{
    constexpr double C5 = 523.251, E5 = 659.255, G5 = 783.991, C6 = 1046.502, E6 = 1318.510, G6 = 1567.982;
    struct Note {
        double Freq, Start, Level;
    };
    const Note notes[] = {
        {C5, 0.00, 1.0}, {E5, 0.14, 0.95}, {G5, 0.28, 0.9}, {C6, 0.42, 0.9},
        {G5, 0.70, 0.8}, {C6, 0.84, 0.9},  {E6, 0.98, 0.8},
        // Final chord, lightly spread so it rings like a strum.
        {C5, 1.20, 0.45}, {E5, 1.215, 0.4}, {G5, 1.23, 0.4}, {C6, 1.245, 0.45}, {G6, 1.26, 0.22},
    };
    const double total = Seconds(n);
    Synth s(Rate, n);
    for (const Note& note : notes) {
        const bool chord = note.Start >= 1.2;
        s.AddTone({.Start = note.Start, .Length = total - note.Start, .FreqStart = note.Freq, .FreqEnd = note.Freq,
                   .Level = note.Level, .Attack = 0.006, .DecayTau = chord ? 0.45 : 0.16, .Release = 0.2,
                   .Partials = {{1.0, 1.0}, {2.0, 0.3}, {3.0, 0.12}, {4.0, 0.04}}});
    }
    s.FadeEdges(0.002, 0.25);
    return s.ToUnsigned8(0.55);
}

// Two low, hollow buzzes, the second lower: "no".
std::vector<std::uint8_t> Refused(int n)
{
    // Odd partials only give the buzz; stopping at the 9th keeps it soft.
    const std::vector<Partial> buzz = {{1.0, 1.0}, {3.0, 0.45}, {5.0, 0.25}, {7.0, 0.14}, {9.0, 0.07}};
    Synth s(Rate, n);
    s.AddTone({.Start = 0.0, .Length = 0.105, .FreqStart = 165.0, .FreqEnd = 160.0, .Level = 1.0,
               .Attack = 0.006, .DecayTau = 0.0, .Release = 0.025, .Partials = buzz});
    s.AddTone({.Start = 0.13, .Length = 0.115, .FreqStart = 135.0, .FreqEnd = 128.0, .Level = 1.0,
               .Attack = 0.006, .DecayTau = 0.0, .Release = 0.035, .Partials = buzz});
    s.FadeEdges(0.001, 0.003);
    return s.ToUnsigned8(0.42);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);

    const std::string comment = "Zibble Quarvel, made by its make-sounds";
    Sound sounds[] = {
        {"Piece lifted", 2226, 2386, {}},
        {"Piece put down", 2820, 2980, {}},
        {"Turn step", 606, 766, {}},
        {"Move step", 1156, 1316, {}},
        {"Quarvel solved", 50752, 50880, {}},
        {"Put-down refused", 5512, 5556, {}},
    };
    sounds[0].Samples = Lift(sounds[0].SampleBytes);
    sounds[1].Samples = PutDown(sounds[1].SampleBytes);
    sounds[2].Samples = Tick(sounds[2].SampleBytes);
    sounds[3].Samples = Slide(sounds[3].SampleBytes);
    sounds[4].Samples = Solved(sounds[4].SampleBytes);
    sounds[5].Samples = Refused(sounds[5].SampleBytes);

    try {
        for (int i = 0; i < 6; ++i) {
            const Sound& s = sounds[i];
            const auto image = WaveFile::Build(s.Samples, s.Name, comment, s.ImageBytes);
            const auto path = folder / ("sound" + std::to_string(i + 1) + ".wav");
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
            if (!out) {
                std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
