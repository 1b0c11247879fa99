// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's board while its figure is checked against the 1000 shipped Quarvels:
// every frame (a pointer move over the board, a full repaint of the window and the
// events that came in, among them the check's progress) is timed, and so are the
// put-down that starts a check and the lift that calls it off. The first check of
// an editor also works out the outlines of the shipped Quarvels, the slowest case.
// The same frames for as long with nothing checked show what the machine adds.
#include "game/TMainform.h"
#include "platform/canvas/CanvasWidget.h"
#include "resources/ArtResources.h"
#include "state/ProgramState.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>

#include <algorithm>
#include <chrono>
#include <memory>

using namespace zq;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A staircase of four split squares, which is no shipped Quarvel: the check runs to its end.
PuzzleRecord Staircase()
{
    const int steps[4][2] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}};
    PuzzleRecord r;
    for (int k = 0; k < 4; ++k) {
        r[2 * k + 1] = PiecePlacement{static_cast<std::uint8_t>(27 + 10 * steps[k][0]), static_cast<std::uint8_t>(22 + 10 * steps[k][1]), Orientation(0)};
        r[2 * k + 2] = PiecePlacement{static_cast<std::uint8_t>(23 + 10 * steps[k][0]), static_cast<std::uint8_t>(18 + 10 * steps[k][1]), Orientation(8)};
    }
    return r;
}

struct Frames {
    double max = 0, total = 0;
    int count = 0, over = 0;
    void Add(double ms)
    {
        over += ms > 16 ? 1 : 0;
        max = std::max(max, ms);
        total += ms;
        ++count;
    }
};

void EditorFramesWhileChecking(benchmark::State& st)
{
    initArtResources();
    QTemporaryDir own;
    ProgramState state;
    state.Own = OwnCollection(own.path().toStdString());
    TMainform::Environment env;
    env.ProgramDir = QStringLiteral(ZQ_SOURCE_DIR "/resources/");
    env.SettingsFile = (own.path() + QStringLiteral("/settings.reg")).toStdString();
    env.Seed = 1;
    TMainform form(state, std::move(env));
    form.SoundBtn->setChecked(false);
    form.resize(945, 673);
    form.show();
    form.formResize();
    QApplication::processEvents();

    const PuzzleRecord figure = Staircase();
    Frames frames, idle, moves;
    double checkMs = 0;
    int checks = 0;
    for (auto _ : st) {
        form.CloseEditor();
        form.OpenEditor(); // a fresh editor: the shipped outlines are worked out again
        for (int j = 1; j <= PieceCount; ++j) {
            form.LiftPiece(j);
            form.Engine.Placements[j] = figure[j];
            if (j < PieceCount)
                form.PutDownSelected();
        }
        auto* line = form.findChild<QLabel*>(QStringLiteral("editorLine"));
        const auto timed = [&](auto&& step) {
            const auto t0 = Clock::now();
            step();
            moves.Add(Ms(Clock::now() - t0));
        };
        const auto frame = [&](int k, Frames& into) {
            const auto t0 = Clock::now();
            form.boxMouseMove(false, 300 + k % 200, 300);
            form.repaint();
            QApplication::processEvents();
            into.Add(Ms(Clock::now() - t0));
        };
        // A check started and called off by the next lift, then one that runs to its end.
        timed([&] { form.PutDownSelected(); });
        for (int k = 0; k < 5; ++k)
            frame(k, frames);
        timed([&] { form.LiftPiece(PieceCount); });
        const auto start = Clock::now();
        timed([&] { form.PutDownSelected(); });
        for (int k = 0; line->text().contains(QLatin1Char('%')); ++k)
            frame(k, frames);
        const auto checked = Clock::now() - start;
        checkMs += Ms(checked);
        ++checks;
        if (!line->text().startsWith(QStringLiteral("The figure can be saved")))
            st.SkipWithError(line->text().toStdString().c_str());
        // As long again with nothing to check (the last piece in the hand), to compare on a busy machine.
        form.LiftPiece(PieceCount);
        for (const auto idleStart = Clock::now(); Clock::now() - idleStart < checked;)
            frame(0, idle);
    }
    st.counters["max_frame_ms"] = frames.max;
    st.counters["mean_frame_ms"] = frames.total / std::max(1, frames.count);
    st.counters["frames"] = frames.count;
    st.counters["frames_over_16ms"] = frames.over;
    st.counters["max_move_ms"] = moves.max;
    st.counters["idle_max_frame_ms"] = idle.max;
    st.counters["idle_frames"] = idle.count;
    st.counters["idle_frames_over_16ms"] = idle.over;
    st.counters["check_ms"] = checkMs / std::max(1, checks);
    form.CloseEditor();
}
BENCHMARK(EditorFramesWhileChecking)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
