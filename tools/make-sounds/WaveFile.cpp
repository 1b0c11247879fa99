// SPDX-License-Identifier: GPL-3.0-or-later
#include "WaveFile.h"

#include <algorithm>
#include <stdexcept>

namespace zq::sounds {

namespace {
void PutTag(std::vector<std::uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// An INFO text sub-chunk of exactly `size` payload bytes (even): the text,
// cut to fit, then NULs; readers take the text up to the first NUL.
void PutInfoText(std::vector<std::uint8_t>& out, const char* tag, const std::string& text, std::size_t size)
{
    PutTag(out, tag);
    Put32(out, static_cast<std::uint32_t>(size));
    const std::size_t used = std::min(text.size(), size - 1);
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(used));
    out.insert(out.end(), size - used, std::uint8_t{0});
}
} // namespace

std::vector<std::uint8_t> WaveFile::Build(const std::vector<std::uint8_t>& samples, const std::string& name,
                                          const std::string& comment, std::size_t imageSize)
{
    const std::size_t dataPad = samples.size() % 2; // chunks start on even offsets
    const std::size_t base = HeaderBytes + samples.size() + dataPad;
    if (imageSize < base)
        throw std::invalid_argument("image too small for its samples");
    const std::size_t extra = imageSize - base;

    // LIST header 8 + "INFO" 4 + INAM header 8 + name + NUL, padded even, + ICMT header 8 + at least 2.
    const std::size_t nameSize = (name.size() + 1 + 1) / 2 * 2;
    const std::size_t minimumList = 8 + 4 + 8 + nameSize + 8 + 2;
    if (extra != 0 && (extra % 2 != 0 || extra < minimumList))
        throw std::invalid_argument("cannot fill the image to its size with a LIST chunk");

    std::vector<std::uint8_t> out;
    out.reserve(imageSize);
    PutTag(out, "RIFF");
    Put32(out, static_cast<std::uint32_t>(imageSize - 8));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);          // PCM
    Put16(out, 1);          // mono
    Put32(out, SampleRate);
    Put32(out, SampleRate); // bytes per second at one byte a sample
    Put16(out, 1);          // block align
    Put16(out, 8);          // bits per sample
    PutTag(out, "data");
    Put32(out, static_cast<std::uint32_t>(samples.size()));
    out.insert(out.end(), samples.begin(), samples.end());
    if (dataPad != 0)
        out.push_back(128);

    if (extra != 0) {
        PutTag(out, "LIST");
        Put32(out, static_cast<std::uint32_t>(extra - 8));
        PutTag(out, "INFO");
        PutInfoText(out, "INAM", name, nameSize);
        PutInfoText(out, "ICMT", comment, extra - (8 + 4 + 8 + nameSize + 8));
    }
    if (out.size() != imageSize)
        throw std::logic_error("WAVE image size mismatch");
    return out;
}

} // namespace zq::sounds
