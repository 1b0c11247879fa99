// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/WaveImage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zq;

namespace {
using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, const std::string& tag) { b.insert(b.end(), tag.begin(), tag.end()); }
void Put16(Bytes& b, unsigned v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); }
void Put32(Bytes& b, unsigned v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }

void Chunk(Bytes& b, const std::string& tag, const Bytes& body, unsigned claimed)
{
    Put(b, tag);
    Put32(b, claimed);
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() % 2 != 0)
        b.push_back(0);
}

Bytes Fmt(unsigned formatTag, unsigned channels, unsigned rate, unsigned bits)
{
    Bytes f;
    Put16(f, formatTag);
    Put16(f, channels);
    Put32(f, rate);
    Put32(f, rate * channels * bits / 8);
    Put16(f, channels * bits / 8);
    Put16(f, bits);
    return f;
}

// RIFF header followed by the given chunks.
Bytes Riff(const Bytes& chunks)
{
    Bytes b;
    Put(b, "RIFF");
    Put32(b, static_cast<unsigned>(chunks.size() + 4));
    Put(b, "WAVE");
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}
} // namespace

TEST(WaveImage, HeaderCheckNeedsRiffWaveAndFmtInPlace)
{
    Bytes chunks;
    Chunk(chunks, "fmt ", Fmt(1, 1, 22050, 8), 16);
    const Bytes good = Riff(chunks);
    EXPECT_TRUE(HasWaveHeader(good));

    for (std::size_t at : {0u, 8u, 12u}) {
        Bytes bad = good;
        bad[at + 3] ^= 0x20;
        EXPECT_FALSE(HasWaveHeader(bad)) << "byte " << at + 3;
    }
    EXPECT_FALSE(HasWaveHeader(Bytes(good.begin(), good.begin() + 15)));
    EXPECT_FALSE(HasWaveHeader({}));
}

TEST(WaveImage, DecodesSamplesSkippingOtherChunksAndPadding)
{
    Bytes chunks;
    Chunk(chunks, "fmt ", Fmt(1, 1, 22050, 8), 16);
    Chunk(chunks, "odd ", {1, 2, 3}, 3); // padded to 4: the next chunk must still be found
    Chunk(chunks, "data", {128, 200, 56}, 3);
    Chunk(chunks, "LIST", {'I', 'N', 'F', 'O'}, 4);

    const auto pcm = DecodeWave(Riff(chunks));
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->SampleRate, 22050);
    EXPECT_EQ(pcm->Channels, 1);
    EXPECT_EQ(pcm->BitsPerSample, 8);
    EXPECT_EQ(pcm->Samples, (Bytes{128, 200, 56}));
}

TEST(WaveImage, OverlongDataChunkIsCutToTheImageAndToWholeFrames)
{
    Bytes chunks;
    Chunk(chunks, "fmt ", Fmt(1, 2, 44100, 16), 16);
    Chunk(chunks, "data", {1, 2, 3, 4, 5, 6, 7}, 0xFFFFFFF0u); // claims nearly 4 GB, holds 7 bytes + pad
    const auto pcm = DecodeWave(Riff(chunks));
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->Samples, (Bytes{1, 2, 3, 4, 5, 6, 7, 0})); // two stereo 16-bit frames
}

TEST(WaveImage, RefusesWhatItCannotPlay)
{
    struct Case {
        const char* what;
        Bytes image;
    };
    auto with = [](const Bytes& fmt) {
        Bytes chunks;
        Chunk(chunks, "fmt ", fmt, static_cast<unsigned>(fmt.size()));
        Chunk(chunks, "data", {128, 128}, 2);
        return Riff(chunks);
    };
    Bytes badAlign = Fmt(1, 1, 22050, 8);
    badAlign[12] = 2;
    Bytes shortFmt = Fmt(1, 1, 22050, 8);
    shortFmt.resize(14);
    Bytes noData;
    Chunk(noData, "fmt ", Fmt(1, 1, 22050, 8), 16);

    const Case cases[] = {
        {"float samples", with(Fmt(3, 1, 22050, 32))},
        {"compressed", with(Fmt(2, 1, 22050, 4))},
        {"24 bit", with(Fmt(1, 1, 22050, 24))},
        {"no channels", with(Fmt(1, 0, 22050, 8))},
        {"zero rate", with(Fmt(1, 1, 0, 8))},
        {"block align", with(badAlign)},
        {"short fmt", with(shortFmt)},
        {"no data", Riff(noData)},
        {"bad header", Bytes(16, 0)},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(DecodeWave(c.image)) << c.what;
}
