// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of drawing the board, of one drag step, and of a put-down, an undo and a
// redo, at a small and a 4K client.
#include "resources/ArtResources.h"
#include "platform/canvas/CanvasWidget.h"
#include "state/ProgramState.h"
#include "platform/services/TApplication.h"
#include "game/TMainform.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <QToolButton>

#include <cmath>
#include <fstream>
#include <memory>

using namespace zq;

namespace {
struct Game {
    QTemporaryDir dir;
    ProgramState state;
    std::unique_ptr<TMainform> form;

    Game(int width, int height)
    {
        initArtResources();
        // One Quarvel: a 20 by 20 square of four split squares.
        {
            std::ofstream out(dir.filePath(QStringLiteral("zqvl2.dat")).toStdString(), std::ios::binary);
            for (int sx = 0; sx < 2; ++sx)
                for (int sy = 0; sy < 2; ++sy) {
                    const char a[3] = {static_cast<char>(37 + 10 * sx), static_cast<char>(27 + 10 * sy), 0};
                    const char b[3] = {static_cast<char>(33 + 10 * sx), static_cast<char>(23 + 10 * sy), 8};
                    out.write(a, 3);
                    out.write(b, 3);
                }
        }
        TMainform::Environment env;
        env.ProgramDir = dir.path() + QLatin1Char('/');
        env.SettingsFile = dir.filePath(QStringLiteral("settings.reg")).toStdString();
        env.Seed = 1;
        form = std::make_unique<TMainform>(state, std::move(env));
        form->SoundBtn->setChecked(false); // sounds play asynchronously; measure the drawing
        form->resize(width, height);
        form->formResize();
    }

    // Lifts piece 1 with a press on its reference point; returns that pixel.
    std::pair<int, int> Lift()
    {
        const auto& p = form->Engine.Placements[1];
        const int c = form->Engine.CellWidth;
        form->boxMousedown(Qt::LeftButton, p.x * c, p.y * c);
        return {p.x * c, p.y * c};
    }
};

void BoxPaint(benchmark::State& s)
{
    Game g(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)));
    for (auto _ : s)
        g.form->boxPaint(g.form->box->Canvas());
}
BENCHMARK(BoxPaint)->Name("boxPaint")->Args({945, 673})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

// One move step: the outline drawn twice, old place and new.
void MoveStep(benchmark::State& s)
{
    Game g(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)));
    g.Lift();
    const auto& p = g.form->Engine.Placements[1];
    const int x = p.x, y = p.y;
    bool right = false;
    for (auto _ : s) {
        g.form->MoveSelectedPiece(right ? x + 1 : x, y);
        right = !right;
    }
}
BENCHMARK(MoveStep)->Name("move step")->Args({945, 673})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

// One mouse-move event while dragging: cursor, hit test and the step it causes.
void DragEvent(benchmark::State& s)
{
    Game g(3840, 2160);
    const auto [px, py] = g.Lift();
    const int c = g.form->Engine.CellWidth;
    const bool turning = s.range(0) != 0;
    if (turning) {
        // Grab a corner: the turn zone, then swing the pointer between two directions.
        g.form->Engine.DragMode = BoardEngine::Turning;
        g.form->Engine.TurnReference = g.form->Engine.AngleStep(px + 5 * c, py, 1) + g.form->Engine.Placements[1].o.value();
    }
    bool flip = false;
    for (auto _ : s) {
        if (turning)
            g.form->boxMouseMove(true, flip ? px + 5 * c : px + 5 * c, flip ? py : py - 3 * c);
        else
            g.form->boxMouseMove(true, flip ? px + c : px, py);
        flip = !flip;
    }
}
BENCHMARK(DragEvent)->Name("drag event 3840x2160/move")->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(DragEvent)->Name("drag event 3840x2160/turn")->Arg(1)->Unit(benchmark::kMicrosecond);

// A put-down by itself (fit test, stamp, drawing, solve test) against an undo and
// a redo of that move; the lift, or the opposite step, is left out of the timing.
enum class Step { PutDown, Undo, Redo };
template <Step step>
void LayStep(benchmark::State& s)
{
    Game g(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)));
    TMainform& f = *g.form;
    PiecePlacement home = f.Engine.Placements[1];
    PiecePlacement away = home;
    away.x = static_cast<std::uint8_t>(home.x + 1);
    if (s.range(2) != 0) {
        // Crowded: pieces 2 to 7 in the silhouette, piece 1 going between its place there and its parking place.
        for (int k = 2; k <= 7; ++k) {
            f.Engine.UnstampPiece(k);
            f.Engine.Placements[k] = g.state.Library[1][k];
            f.Engine.StampPiece(k);
        }
        away = g.state.Library[1][1];
        f.box->Repaint();
    }
    if (step != Step::PutDown) {
        g.Lift();
        f.Engine.Placements[1] = away;
        f.PutDownSelected();
    }
    bool there = true;
    for (auto _ : s) {
        if constexpr (step == Step::PutDown) {
            s.PauseTiming();
            f.History.Clear();
            f.LiftPiece(1);
            f.Engine.Placements[1] = there ? home : away;
            there = !there;
            s.ResumeTiming();
            f.PutDownSelected();
        } else if constexpr (step == Step::Undo) {
            f.Undo();
            s.PauseTiming();
            f.Redo();
            s.ResumeTiming();
        } else {
            s.PauseTiming();
            f.Undo();
            s.ResumeTiming();
            f.Redo();
        }
    }
    if (f.Engine.SelectedPiece != 0 || f.Engine.Board == Grid{})
        s.SkipWithError("the board is not as the steps should leave it");
}
BENCHMARK(LayStep<Step::PutDown>)->Name("put-down")->Args({945, 673, 0})->Args({3840, 2160, 0})->Args({3840, 2160, 1})->Unit(benchmark::kMicrosecond);
BENCHMARK(LayStep<Step::Undo>)->Name("undo")->Args({945, 673, 0})->Args({3840, 2160, 0})->Args({3840, 2160, 1})->Unit(benchmark::kMicrosecond);
BENCHMARK(LayStep<Step::Redo>)->Name("redo")->Args({945, 673, 0})->Args({3840, 2160, 0})->Args({3840, 2160, 1})->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
