// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeSoundOutput.h"
#include "platform/sound/LazySoundOutput.h"
#include "platform/sound/TWaveList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace zq;
using zq::test::FakeSoundOutput;
using zq::test::SoundLog;

namespace {
using Events = std::vector<std::string>;

std::uint32_t Read32(std::span<const std::uint8_t> b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Read16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

bool TagAt(std::span<const std::uint8_t> b, std::size_t at, const char* tag)
{
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

std::unique_ptr<TWaveList> BuiltInBank(SoundLog& log)
{
    auto bank = std::make_unique<TWaveList>(std::make_unique<FakeSoundOutput>(log));
    bank->LoadBuiltInSounds();
    return bank;
}
} // namespace

TEST(TWaveList, BuiltInSoundsHaveTheirSizesAndFormat)
{
    SoundLog log;
    auto bank = BuiltInBank(log);
    ASSERT_EQ(bank->Count(), 6);

    const std::size_t imageBytes[] = {2386, 2980, 766, 1316, 50880, 5556};
    const std::size_t sampleBytes[] = {2226, 2820, 606, 1156, 50752, 5512};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE("sound " + std::to_string(i + 1));
        const TWaveListItem& item = bank->Item(i);
        EXPECT_EQ(item.Ident, i);
        EXPECT_TRUE(item.Description.empty());
        const auto image = item.Image();
        ASSERT_EQ(image.size(), imageBytes[i]);
        EXPECT_TRUE(TagAt(image, 0, "RIFF"));
        EXPECT_EQ(Read32(image, 4), image.size() - 8);
        EXPECT_TRUE(TagAt(image, 8, "WAVE"));
        EXPECT_TRUE(TagAt(image, 12, "fmt "));
        EXPECT_EQ(Read32(image, 16), 16u);
        EXPECT_EQ(Read16(image, 20), 1);        // PCM
        EXPECT_EQ(Read16(image, 22), 1);        // mono
        EXPECT_EQ(Read32(image, 24), 22050u);   // samples per second
        EXPECT_EQ(Read32(image, 28), 22050u);   // bytes per second
        EXPECT_EQ(Read16(image, 32), 1);        // block align
        EXPECT_EQ(Read16(image, 34), 8);        // bits
        EXPECT_TRUE(TagAt(image, 36, "data"));
        EXPECT_EQ(Read32(image, 40), sampleBytes[i]);

        const Pcm& pcm = item.Sound();
        EXPECT_EQ(pcm.SampleRate, 22050);
        EXPECT_EQ(pcm.Channels, 1);
        EXPECT_EQ(pcm.BitsPerSample, 8);
        ASSERT_EQ(pcm.Samples.size(), sampleBytes[i]);
        // Fades in and out from silence, and stays well clear of full scale.
        EXPECT_NEAR(pcm.Samples.front(), 128, 1);
        EXPECT_NEAR(pcm.Samples.back(), 128, 1);
        const auto [lo, hi] = std::minmax_element(pcm.Samples.begin(), pcm.Samples.end());
        EXPECT_GE(*lo, 128 - 100);
        EXPECT_LE(*hi, 128 + 100);
        EXPECT_GE(*hi - *lo, 40) << "audible";
    }
}

TEST(TWaveList, ImageFailingTheHeaderCheckMakesAnEmptyItemThatDoesNotPlay)
{
    SoundLog log;
    auto bank = BuiltInBank(log);
    std::vector<std::uint8_t> good(bank->Item(2).Image().begin(), bank->Item(2).Image().end());

    for (std::size_t at : {0u, 8u, 12u}) {
        auto bad = good;
        bad[at] = 'X';
        TWaveListItem& item = bank->Add(100 + static_cast<int>(at), bad);
        EXPECT_TRUE(item.IsEmpty()) << "byte " << at;
        EXPECT_TRUE(item.Sound().Empty());
        EXPECT_FALSE(bank->Play(bank->Count() - 1));
    }
    EXPECT_TRUE(bank->Add(200, {}).IsEmpty());
    EXPECT_FALSE(bank->Play(bank->Count() - 1));
    EXPECT_TRUE(log.Events.empty());
}

TEST(TWaveList, ImagePassingTheCheckButNotPlayableIsKeptAndRefused)
{
    SoundLog log;
    auto bank = BuiltInBank(log);
    std::vector<std::uint8_t> image(bank->Item(2).Image().begin(), bank->Item(2).Image().end());
    image[20] = 3; // floating-point samples
    TWaveListItem& item = bank->Add(7, image);
    EXPECT_FALSE(item.IsEmpty());
    EXPECT_FALSE(item.Play());
    EXPECT_TRUE(log.Events.empty());
}

TEST(TWaveList, WithoutDeviceNothingPlays)
{
    SoundLog log;
    log.Device = false;
    auto bank = BuiltInBank(log);
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(bank->Play(i));
    EXPECT_TRUE(log.Events.empty());
}

// A game installed without its sound module behaves as one without a sound card.
TEST(LazySoundOutput, WithoutItsModuleNothingPlaysAndNothingBreaks)
{
    auto owned = std::make_unique<LazySoundOutput>(QStringList{QStringLiteral("/nonexistent/zq-sound-qt.so"),
                                                               QStringLiteral(ZQ_NOT_A_MODULE)});
    LazySoundOutput& out = *owned;
    TWaveList bank(std::move(owned));
    bank.LoadBuiltInSounds();
    out.Prepare();
    EXPECT_FALSE(out.Loaded());
    EXPECT_FALSE(out.HasDevice());
    for (int i = 0; i < TWaveList::BuiltInCount; ++i)
        EXPECT_FALSE(bank.Play(i)) << i;
    EXPECT_FALSE(out.IsPlaying());
    EXPECT_EQ(out.Source(), nullptr);
    bank.Stop();
}

// Beside the program in a build tree, then where an installation puts it.
TEST(LazySoundOutput, ModuleIsLookedForBesideTheProgramThenInItsLibFolder)
{
    EXPECT_EQ(LazySoundOutput::ModulePathsFor(QStringLiteral("/opt/zq/bin")),
              (QStringList{QStringLiteral("/opt/zq/bin/zq-sound-qt.so"),
                           QStringLiteral("/opt/zq/bin/../lib/zibble-quarvel/zq-sound-qt.so")}));
}

TEST(TWaveList, PositionsOutsideTheListDoNotPlay)
{
    SoundLog log;
    auto bank = BuiltInBank(log);
    EXPECT_FALSE(bank->Play(-1));
    EXPECT_FALSE(bank->Play(6));
    EXPECT_TRUE(log.Events.empty());
}

TEST(TWaveList, NewSoundCutsOffTheOneThatPlays)
{
    SoundLog log;
    auto bank = BuiltInBank(log);
    EXPECT_TRUE(bank->Play(4));
    EXPECT_TRUE(bank->Play(3));
    EXPECT_TRUE(bank->Play(3)); // a move step restarts its own sound
    EXPECT_EQ(log.Events, (Events{"start 50752", "stop 50752", "start 1156", "stop 1156", "start 1156"}));
    EXPECT_EQ(log.Playing, &bank->Item(3).Sound());
    bank->Stop();
    EXPECT_EQ(log.Playing, nullptr);
}

TEST(TWaveList, ItemStopsOnlyItsOwnSound)
{
    SoundLog log;
    auto bank = BuiltInBank(log);
    ASSERT_TRUE(bank->Play(4));
    bank->Item(0).Stop();
    EXPECT_EQ(log.Playing, &bank->Item(4).Sound());
    bank->Item(4).Stop();
    EXPECT_EQ(log.Playing, nullptr);
}

TEST(TWaveList, SoundIsStoppedBeforeItsSamplesAreReplacedOrFreed)
{
    SoundLog log;
    auto bank = BuiltInBank(log);
    const std::vector<std::uint8_t> tick(bank->Item(2).Image().begin(), bank->Item(2).Image().end());

    // Replacing another item leaves the playing sound alone.
    ASSERT_TRUE(bank->Play(4));
    bank->Item(0).SetImage(tick);
    EXPECT_EQ(log.Events, (Events{"start 50752"}));

    // Replacing the playing one stops it first, with its samples still intact.
    bank->Item(4).SetImage(tick);
    EXPECT_EQ(log.Events, (Events{"start 50752", "stop 50752"}));
    EXPECT_EQ(bank->Item(4).Sound().Samples.size(), 606u);

    ASSERT_TRUE(bank->Play(5));
    bank->Clear();
    EXPECT_EQ(bank->Count(), 0);
    EXPECT_EQ(log.Events.back(), "stop 5512");

    bank->LoadBuiltInSounds();
    ASSERT_TRUE(bank->Play(4));
    bank->LoadBuiltInSounds(); // reloading frees the old items
    EXPECT_EQ(log.Events.back(), "stop 50752");
    EXPECT_EQ(log.Playing, nullptr);
}

TEST(TWaveList, DestroyingTheBankStopsTheSound)
{
    SoundLog log;
    {
        auto bank = BuiltInBank(log);
        ASSERT_TRUE(bank->Play(4));
    }
    EXPECT_EQ(log.Events, (Events{"start 50752", "stop 50752"}));
    EXPECT_EQ(log.Playing, nullptr);
}
