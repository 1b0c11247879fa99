// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/engine/BoardFixtures.h"
#include "tests/platform/sound/FakeSoundOutput.h"
#include "resources/ArtResources.h"
#include "platform/canvas/CanvasWidget.h"
#include "state/ProgramState.h"
#include "game/TMainform.h"
#include "dialogs/TPatForm.h"
#include "dialogs/TYesNoDlg.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>
#include <functional>
#include <memory>

namespace zq::test {

// Writes a data file of `count` Quarvels, each a 20 by 20 square of four squares at its own place.
inline void WriteLibrary(const QString& dir, int count)
{
    std::ofstream out((dir + QStringLiteral("/zqvl2.dat")).toStdString(), std::ios::binary);
    for (int n = 1; n <= count; ++n) {
        const PuzzleRecord r = zq::testing::SquareOfSquares(30 + n % 7, 20 + n % 5);
        out.write(reinterpret_cast<const char*>(&r), sizeof r);
    }
}

// Answers modal dialogs in turn: each answer waits until a modal dialog is up
// that was not up when the previous answer was given (the same dialog shown
// again counts once it has gone away in between). Kept in a local of the test, so
// that a test which fails early cannot leave it answering the next test's dialogs.
class ModalScript : public QObject {
public:
    explicit ModalScript(std::vector<std::function<void(QWidget*)>> answers) : answers_(std::move(answers))
    {
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start(5);
    }
    bool Done() const { return next_ == answers_.size(); }
    std::size_t Answered() const { return next_; }

private:
    void Poll()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (w != last_)
            last_ = nullptr;
        // Only from inside the dialog's own event loop: an answer given while it is
        // still being shown would close it before its loop starts.
        if (!w || w == last_ || next_ == answers_.size() || !w->isVisible() ||
            QThread::currentThread()->loopLevel() <= baseLevel_)
            return;
        last_ = w;
        answers_[next_++](w);
    }
    std::vector<std::function<void(QWidget*)>> answers_;
    std::size_t next_ = 0;
    QWidget* last_ = nullptr;
    int baseLevel_ = QThread::currentThread()->loopLevel();
    QTimer timer_;
};

// The key goes to the dialog's focus. Until the window system has activated the
// dialog, the application's focus may still be on the board behind it, which
// takes keys of its own.
inline void PressKey(QWidget* w, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QWidget* focus = QApplication::focusWidget();
    if (!focus || (focus != w && !w->isAncestorOf(focus)))
        focus = w->focusWidget() ? w->focusWidget() : w;
    QApplication::sendEvent(focus, &press);
}

struct MainformFixture : ::testing::Test {
    QTemporaryDir dir;
    SoundLog sounds;
    ProgramState state;
    std::unique_ptr<TMainform> form;
    std::unique_ptr<TPatForm> pattern;
    std::unique_ptr<TYesNoDlg> yesNo;
    QString gameFile; // as named on the command line

    QString Path(const char* name) const { return dir.path() + QLatin1Char('/') + QString::fromLatin1(name); }
    std::filesystem::path SettingsPath() const { return Path("settings.reg").toStdString(); }

    void Start(int quarvels = 5, std::uint32_t seed = 7)
    {
        WriteLibrary(dir.path(), quarvels);
        Create(seed);
        ASSERT_FALSE(form->Aborted());
        pattern = std::make_unique<TPatForm>(state, form->ini);
        yesNo = std::make_unique<TYesNoDlg>(state, form.get());
        form->PatForm = pattern.get();
        form->YesNoDlg = yesNo.get();
        form->resize(945, 673); // 10-pixel cells
        form->formResize();
    }

    // Only the main window, as the program makes it first; the data file is not written.
    void Create(std::uint32_t seed = 7)
    {
        initArtResources();
        TMainform::Environment env;
        env.ProgramDir = dir.path() + QLatin1Char('/');
        env.SettingsFile = (dir.path() + QStringLiteral("/settings.reg")).toStdString();
        env.SoundOutput_ = std::make_unique<FakeSoundOutput>(sounds);
        env.Seed = seed;
        env.GameFile = gameFile;
        form = std::make_unique<TMainform>(state, std::move(env));
    }

    void TearDown() override
    {
        // As the program does: the other windows first, the main window last.
        yesNo.reset();
        pattern.reset();
        form.reset();
    }

    void Press(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(x, y), form->box->mapToGlobal(QPointF(x, y)), button, button,
                      Qt::NoModifier);
        QApplication::sendEvent(form->box, &e);
    }
    void Move(int x, int y, bool leftHeld = true)
    {
        const Qt::MouseButtons held = leftHeld ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent e(QEvent::MouseMove, QPointF(x, y), form->box->mapToGlobal(QPointF(x, y)), Qt::NoButton, held,
                      Qt::NoModifier);
        QApplication::sendEvent(form->box, &e);
    }

    int Cell() const { return form->Engine.CellWidth; }

    // Sounds started since the last call, by game number.
    std::vector<int> SoundsPlayed()
    {
        static const std::map<std::string, int> bySize{{"2226", 1}, {"2820", 2}, {"606", 3},
                                                       {"1156", 4}, {"50752", 5}, {"5512", 6}};
        std::vector<int> played;
        for (const std::string& e : sounds.Events)
            if (e.rfind("start ", 0) == 0)
                played.push_back(bySize.at(e.substr(6)));
        sounds.Events.clear();
        return played;
    }

    // A pixel of piece j in the given hit zone, nearest to its reference point.
    QPoint ZonePixel(int j, int zone) const
    {
        const PiecePlacement& p = form->Engine.Placements[j];
        const int c = Cell();
        QPoint best(-1, -1);
        long bestD = -1;
        for (int y = (p.y - 8) * c; y <= (p.y + 8) * c; ++y)
            for (int x = (p.x - 8) * c; x <= (p.x + 8) * c; ++x)
                if (form->Engine.HitTestPiece(x, y, j) == zone) {
                    const long d = long(x - p.x * c) * (x - p.x * c) + long(y - p.y * c) * (y - p.y * c);
                    if (bestD < 0 || d < bestD) {
                        bestD = d;
                        best = QPoint(x, y);
                    }
                }
        return best;
    }

    // A board pixel that lies on no piece.
    QPoint FreePixel() const
    {
        for (int y = 5; y < 600; y += 10)
            for (int x = 5; x < 900; x += 10) {
                bool free = true;
                for (int j = 1; j <= 8; ++j)
                    free = free && form->Engine.HitTestPiece(x, y, j) == 0;
                if (free)
                    return QPoint(x, y);
            }
        return QPoint(-1, -1);
    }

    Grid SumOfMasksExceptLifted() const
    {
        Grid g;
        for (int j = 1; j <= 8; ++j)
            if (j != form->Engine.SelectedPiece)
                StampInto(g, form->Engine.Placements[j], 1);
        return g;
    }

    bool CanvasMatchesAFreshPaint()
    {
        Canvas fresh(form->box->Canvas().Width(), form->box->Canvas().Height());
        form->boxPaint(fresh);
        return fresh.Image() == form->box->Canvas().Image();
    }

    // Every piece lying on the board fits where it lies, as a put-down would demand.
    bool EveryLyingPieceFits() const
    {
        for (int j = 1; j <= 8; ++j) {
            if (j == form->Engine.SelectedPiece)
                continue;
            BoardEngine without = form->Engine;
            without.UnstampPiece(j);
            const PiecePlacement& p = without.Placements[j];
            if (!without.PieceFits(p.x, p.y, p.o))
                return false;
        }
        return true;
    }

    // Undoes up to `count` times, then redoes as many moves as were undone: the
    // redos must pass back through exactly the states the undos went through, and
    // after every step the board, the picture and the fit of the pieces must hold.
    ::testing::AssertionResult UndoRedoExcursion(int count)
    {
        const auto whole = [&](const char* what, int step) -> ::testing::AssertionResult {
            if (form->Engine.Board != SumOfMasksExceptLifted())
                return ::testing::AssertionFailure() << what << ' ' << step << ": board differs from the masks";
            if (!CanvasMatchesAFreshPaint())
                return ::testing::AssertionFailure() << what << ' ' << step << ": picture differs from a fresh paint";
            if (!EveryLyingPieceFits())
                return ::testing::AssertionFailure() << what << ' ' << step << ": a piece lies where it could not be put";
            return ::testing::AssertionSuccess();
        };
        const BoardEngine& e = form->Engine;
        const bool playing = e.PlayState == BoardEngine::Playing;
        const PuzzleRecord before = e.Placements;
        std::vector<PuzzleRecord> trail;
        for (int i = 0; i < count; ++i) {
            const bool cancels = e.SelectedPiece != 0;
            const bool undoes = !cancels && form->History.CanUndo();
            if (!cancels && trail.empty())
                trail.push_back(e.Placements);
            form->Undo();
            if (auto r = whole("undo", i); !r)
                return r;
            if (!playing && e.Placements != before)
                return ::testing::AssertionFailure() << "undo changed a finished board";
            if (undoes)
                trail.push_back(e.Placements);
            else if (cancels)
                trail.assign(1, e.Placements);
        }
        for (std::size_t k = trail.size(); k-- > 1;) {
            form->Redo();
            if (auto r = whole("redo", static_cast<int>(k)); !r)
                return r;
            if (e.Placements != trail[k - 1])
                return ::testing::AssertionFailure() << "redo " << k << " did not return to the state its undo left";
        }
        return ::testing::AssertionSuccess();
    }
};

} // namespace zq::test
