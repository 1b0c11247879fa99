// SPDX-License-Identifier: GPL-3.0-or-later
// How much later the first sound of a run starts than later ones: from the
// play call to the output reporting it active, on a private PulseAudio null
// sink (its recorded output is buffered too much to time). Each case runs in
// a fresh process, as Qt binds to the sound server once per process:
//   cold      the first play is the first thing that touches sound;
//   prepared  the output was prepared first, as the game does after its first paint.
// The output is the game's: the sound module, loaded when first needed.
// Run by make bench; the goal is at most one frame (16 ms) later.
#include "platform/sound/LazySoundOutput.h"
#include "platform/sound/TWaveList.h"
#include "tests/platform/sound/PrivateSoundServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <string_view>
#include <cstdio>
#include <vector>

using namespace zq;

namespace {

constexpr int LaterPlays = 15;
constexpr double Frame = 16.0;

void Spin(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
}

// Milliseconds from the play call until the output reports the sound active; negative if it never does.
double TimePlay(TWaveList& bank, SoundOutput& out)
{
    QElapsedTimer t;
    t.start();
    if (!bank.Play(0))
        return -1;
    while (!out.IsPlaying()) {
        if (t.elapsed() > 2000)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// Prints "first reached median-of-later".
int Child(bool prepared)
{
    TWaveList bank(std::make_unique<LazySoundOutput>(QStringList{QStringLiteral(ZQ_SOUND_MODULE_PATH)}));
    bank.LoadBuiltInSounds();
    SoundOutput& out = bank.Output();
    if (prepared) {
        out.Prepare();
        Spin(300); // the game's splash is up for far longer than this
    }
    const double first = TimePlay(bank, out);
    // Nothing lost: the first sound reaches the server as a stream.
    QElapsedTimer t;
    t.start();
    bool reached = false;
    while (!reached && t.elapsed() < 2000) {
        reached = !zq::test::PrivateSoundServer::SinkInputs().isEmpty();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    std::vector<double> later;
    for (int i = 0; i < LaterPlays; ++i) {
        Spin(150);
        later.push_back(TimePlay(bank, out));
    }
    std::sort(later.begin(), later.end());
    std::printf("%.2f %d %.2f\n", first, reached ? 1 : 0, later[later.size() / 2]);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return Child(QByteArray(argv[2]) == "prepared");

    zq::test::PrivateSoundServer server;
    if (!server.Ok()) {
        std::fprintf(stderr, "sound_latency: %s\n", qPrintable(server.Error()));
        return 1;
    }
    int failures = 0;
    for (const char* mode : {"cold", "prepared"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {"--child", mode});
        double first = 0, later = 0;
        int reached = 0;
        if (!child.waitForFinished(60000) ||
            std::sscanf(child.readAllStandardOutput().constData(), "%lf %d %lf", &first, &reached, &later) != 3) {
            std::printf("sound start, %s: no result\n", mode);
            ++failures;
            continue;
        }
        const bool ok = first >= 0 && reached && first - later <= Frame;
        std::printf("sound start, %-8s first %.2f ms, later (median of %d) %.2f ms, first %+.2f ms, %s, %s\n", mode,
                    first, LaterPlays, later, first - later, reached ? "reached the server" : "NOT HEARD",
                    first - later <= Frame ? "within a frame" : "MORE than a frame later");
        // The game prepares its output, so only that case must keep within a frame.
        if (std::string_view(mode) == "prepared" && !ok)
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
