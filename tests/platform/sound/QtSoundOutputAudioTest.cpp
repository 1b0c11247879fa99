// SPDX-License-Identifier: GPL-3.0-or-later
// Plays through a real sound server: a private PulseAudio daemon with a null
// sink, started by this test and ended with it. Without a server the test
// fails, unless ZQ_AUDIO_TESTS_OPTIONAL=1 asks it to skip.
#include "platform/sound/LazySoundOutput.h"
#include "platform/sound/QtSoundOutput.h"
#include "platform/sound/TWaveList.h"
#include "tests/platform/sound/PrivateSoundServer.h"

#include <gtest/gtest.h>

#include <QAudioSink>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <sys/prctl.h>

#include <csignal>
#include <functional>
#include <memory>
#include <optional>

using namespace zq;
using zq::test::PrivateSoundServer;

namespace {

PrivateSoundServer* server = nullptr;

// Spins the event loop (the sink feeds the server from it) until the condition holds.
bool WaitFor(const std::function<bool()>& condition, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

class SoundServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (server->Ok())
            return;
        if (qEnvironmentVariableIntValue("ZQ_AUDIO_TESTS_OPTIONAL") == 1)
            GTEST_SKIP() << server->Error().toStdString();
        FAIL() << server->Error().toStdString();
    }
};

QtSoundOutput& OutputOf(TWaveList& bank) { return dynamic_cast<QtSoundOutput&>(bank.Output()); }

} // namespace

TEST_F(SoundServerTest, NewSoundCutsOffTheOneThatPlays)
{
    TWaveList bank;
    QtSoundOutput& out = OutputOf(bank);
    ASSERT_TRUE(out.HasDevice());

    ASSERT_TRUE(bank.Play(4)); // the 2.3 s tune
    ASSERT_NE(out.Sink(), nullptr);
    QSignalSpy tuneStates(out.Sink(), &QAudioSink::stateChanged);
    EXPECT_EQ(out.State(), QAudio::ActiveState);
    EXPECT_TRUE(WaitFor([&] { return out.Sink()->processedUSecs() > 0; })) << "the tune never reached the server";
    const QStringList tuneStream = PrivateSoundServer::SinkInputs();
    ASSERT_EQ(tuneStream.size(), 1) << tuneStream.join(',').toStdString();

    ASSERT_TRUE(bank.Play(3)); // a move step while the tune still plays
    // The tune's sink was stopped, not left to drain.
    ASSERT_FALSE(tuneStates.isEmpty());
    EXPECT_EQ(tuneStates.last().at(0).value<QAudio::State>(), QAudio::StoppedState);
    for (const auto& change : tuneStates)
        EXPECT_NE(change.at(0).value<QAudio::State>(), QAudio::IdleState) << "the tune ended by itself";

    EXPECT_EQ(out.Source(), &bank.Item(3).Sound());
    EXPECT_EQ(out.State(), QAudio::ActiveState);
    EXPECT_TRUE(WaitFor([&] { return out.Sink()->processedUSecs() > 0; })) << "the step sound never played";
    const QStringList stepStream = PrivateSoundServer::SinkInputs();
    ASSERT_EQ(stepStream.size(), 1) << stepStream.join(',').toStdString();
    EXPECT_NE(stepStream, tuneStream);

    bank.Stop();
    EXPECT_EQ(out.State(), QAudio::StoppedState);
    EXPECT_TRUE(WaitFor([] { return PrivateSoundServer::SinkInputs().isEmpty(); }));
}

// The game's output: the module is loaded by the first sound, which is not lost.
TEST_F(SoundServerTest, ModuleLoadsWhenFirstNeededAndTheFirstSoundPlays)
{
    auto owned = std::make_unique<LazySoundOutput>(
        QStringList{QStringLiteral("/nonexistent/zq-sound-qt.so"), QStringLiteral(ZQ_SOUND_MODULE_PATH)});
    LazySoundOutput& out = *owned;
    TWaveList bank(std::move(owned));
    bank.LoadBuiltInSounds();
    bank.Stop();
    EXPECT_FALSE(out.Loaded()) << "nothing to stop before anything played";
    ASSERT_TRUE(bank.Play(4));
    EXPECT_TRUE(out.Loaded());
    EXPECT_TRUE(out.IsPlaying());
    EXPECT_EQ(out.Source(), &bank.Item(4).Sound());
    EXPECT_TRUE(WaitFor([] { return PrivateSoundServer::SinkInputs().size() == 1; }));
    bank.Stop();
    EXPECT_FALSE(out.IsPlaying());
    EXPECT_TRUE(WaitFor([] { return PrivateSoundServer::SinkInputs().isEmpty(); }));
}

TEST_F(SoundServerTest, ClosingTheBankStopsTheSound)
{
    {
        TWaveList bank;
        ASSERT_TRUE(bank.Play(4));
        ASSERT_TRUE(WaitFor([] { return PrivateSoundServer::SinkInputs().size() == 1; }));
    }
    EXPECT_TRUE(WaitFor([] { return PrivateSoundServer::SinkInputs().isEmpty(); }));
}

// Without a server there is no device: nothing plays and nothing is reported.
// Checked in a child process, because Qt binds to the server once per process.
TEST(SoundWithoutServer, NothingPlays)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_SERVER", "unix:" + QDir::tempPath() + "/zq-no-such-server/native");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--play-without-server"});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
}

namespace {
int PlayWithoutServer()
{
    TWaveList bank;
    int played = bank.Output().HasDevice() ? 1 : 0;
    for (int i = 0; i < TWaveList::BuiltInCount; ++i)
        played += bank.Play(i) ? 1 : 0;
    return played == 0 ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 2 && QByteArray(argv[1]) == "--play-without-server")
        return PlayWithoutServer();
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as the build does to register them) needs no server.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    auto owned = std::make_unique<PrivateSoundServer>();
    server = owned.get();
    const int rc = RUN_ALL_TESTS();
    server = nullptr;
    return rc;
}
