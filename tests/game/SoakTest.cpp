// SPDX-License-Identifier: GPL-3.0-or-later
// A long random session on a small window: presses, drags, turns, keys, the
// wheel, undo, redo and every toolbar action, with each modal window answered at random. After every event
// the board must equal the pieces lying on it and the picture a fresh paint.
// ZQ_SOAK_EVENTS sets the length (a short run by default), ZQ_SOAK_SEED the
// seed; the seed is printed so that a failure can be replayed.
#include "MainformFixture.h"

#include "dialogs/TSelectDlg.h"
#include "dialogs/TStatDlg.h"

#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>

using namespace zq;
using namespace zq::test;

namespace {

unsigned long EnvNumber(const char* name, unsigned long fallback)
{
    const char* text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    const unsigned long v = std::strtoul(text, &end, 10);
    return end && *end == '\0' ? v : fallback;
}

// Answers whatever modal window is up, at random, from inside its own event
// loop. The timer never fires outside a modal loop, since the session itself
// sends its events directly.
class RandomAnswers : public QObject {
public:
    RandomAnswers(std::uint32_t seed, QString folder) : rng_(seed), folder_(std::move(folder))
    {
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start(0);
    }
    std::map<std::string, long> Counts;

private:
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    // To the dialog itself: keyboard focus comes late or never on a virtual screen.
    static void Key(QWidget* w, int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }
    QString In(const char* name) const { return folder_ + QLatin1Char('/') + QString::fromLatin1(name); }

    void Poll()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || QThread::currentThread()->loopLevel() <= baseLevel_)
            return;
        if (auto* d = qobject_cast<QFileDialog*>(w))
            AnswerFile(d);
        else if (auto* m = qobject_cast<QMessageBox*>(w))
            AnswerMessage(m);
        else if (auto* y = qobject_cast<TYesNoDlg*>(w))
            AnswerPage(y);
        else if (auto* s = qobject_cast<TSelectDlg*>(w))
            AnswerGallery(s);
        else if (qobject_cast<TStatDlg*>(w)) {
            ++Counts["statistics"];
            Key(w, Pick(2) ? Qt::Key_Return : Qt::Key_Escape);
        } else {
            ++Counts[std::string("unexpected ") + w->metaObject()->className()];
            static_cast<QDialog*>(w)->reject();
        }
    }

    void AnswerFile(QFileDialog* d)
    {
        const bool save = d->acceptMode() == QFileDialog::AcceptSave;
        ++Counts[save ? "save dialog" : "open dialog"];
        if (Pick(4) == 0) {
            d->reject();
            return;
        }
        // Two games to swap between, a name without the extension, and names that fail.
        static constexpr std::array<const char*, 5> names{"soak-a.zqv", "soak-b.zqv", "soak-a", "nothere.zqv",
                                                          "nofolder/x.zqv"};
        d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(In(names[static_cast<std::size_t>(Pick(5))]));
        QMetaObject::invokeMethod(d, "accept");
    }

    void AnswerMessage(QMessageBox* m)
    {
        if (m->button(QMessageBox::Yes)) {
            ++Counts["overwrite question"];
            m->button(Pick(2) ? QMessageBox::Yes : QMessageBox::No)->click();
        } else {
            ++Counts["error message"];
            m->button(QMessageBox::Ok)->click();
        }
    }

    void AnswerPage(TYesNoDlg* y)
    {
        // Quitting is never agreed to: the session goes on after a failed save or load.
        const int page = y->ActivePage();
        ++Counts[page == TYesNoDlg::endgame ? "quit question" : page == TYesNoDlg::giveup ? "new game page" : "other page"];
        Key(y, page == TYesNoDlg::endgame || (page == TYesNoDlg::giveup && Pick(2)) ? Qt::Key_Escape
                                                                                          : Qt::Key_Return);
    }

    void AnswerGallery(TSelectDlg* s)
    {
        ++Counts["gallery step"];
        switch (Pick(5)) {
        case 0:
        case 1:
            s->boxMouseDown(Pick(s->box()->width() + 20) - 10, Pick(s->box()->height() + 20) - 10);
            break;
        case 2:
            s->NextBtnClick();
            break;
        case 3:
            s->PrevBtnClick();
            break;
        default:
            s->reject();
        }
    }

    std::mt19937 rng_; // its own, so that the session's events never depend on how often it polls
    QString folder_;
    int baseLevel_ = QThread::currentThread()->loopLevel();
    QTimer timer_;
};

struct Soak : MainformFixture {
    std::unique_ptr<TSelectDlg> select;
    std::unique_ptr<TStatDlg> stat;

    void TearDown() override
    {
        form->SelectDlg = nullptr;
        form->StatDlg = nullptr;
        select.reset();
        stat.reset();
        MainformFixture::TearDown();
    }
};
} // namespace

TEST_F(Soak, RandomSessionKeepsBoardAndPictureConsistent)
{
    const unsigned long events = EnvNumber("ZQ_SOAK_EVENTS", 4000);
    const auto seed = static_cast<std::uint32_t>(EnvNumber("ZQ_SOAK_SEED", 20261207));
    std::cout << "[ soak     ] ZQ_SOAK_SEED=" << seed << " ZQ_SOAK_EVENTS=" << events << std::endl;
    Start(14, seed);
    select = std::make_unique<TSelectDlg>(state, form.get());
    stat = std::make_unique<TStatDlg>(state, form.get());
    form->SelectDlg = select.get();
    form->StatDlg = stat.get();
    // Two-pixel cells: a repaint is cheap enough to compare after every event.
    form->resize(200, 160);
    form->formResize();
    ASSERT_EQ(Cell(), 2);

    std::mt19937 rng(seed);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    RandomAnswers answers(seed + 1, dir.path());
    std::map<std::string, long> done;
    std::map<std::string, double> toolMs;
    const int w = form->box->width(), h = form->box->height();
    // A pixel on piece j: a few random tries near it are far cheaper than searching its whole area.
    const auto onPiece = [&](int j, QPoint otherwise) {
        const PiecePlacement& p = form->Engine.Placements[j];
        for (int tries = 0; tries < 24; ++tries) {
            const QPoint near((p.x - 6) * Cell() + pick(12 * Cell() + 1), (p.y - 6) * Cell() + pick(12 * Cell() + 1));
            if (form->Engine.HitTestPiece(near.x(), near.y(), j) > 0)
                return near;
        }
        return otherwise;
    };
    auto lastState = form->Engine.PlayState;
    const auto start = std::chrono::steady_clock::now();

    for (unsigned long event = 0; event < events; ++event) {
        const int kind = pick(1000);
        QPoint at(pick(w + 10) - 5, pick(h + 10) - 5);
        // Aim at a piece, so that lifts, turns and put-downs all happen.
        if (kind < 950 && pick(2) == 0)
            at = onPiece(1 + pick(8), at);
        if (kind < 40 && form->Engine.PlayState == BoardEngine::Playing) {
            // Lifts a piece by a press, carries it to its place in the solution as a
            // perfect drag would, and puts it down by a press beside all pieces: so
            // Quarvels also get solved and the won page comes up.
            ++done["carry home"];
            if (form->Engine.SelectedPiece == 0) {
                const QPoint on = onPiece(1 + pick(8), QPoint(-1, -1));
                Press(on.x(), on.y());
            }
            if (const int j = form->Engine.SelectedPiece) {
                form->HideLifted();
                form->Engine.Placements[j] = state.Library[state.CurrentPuzzle][j];
                form->ShowLifted();
                const QPoint free = FreePixel();
                Press(free.x(), free.y());
            }
        } else if (kind < 120) {
            // The keyboard, the wheel, undo and redo, as a player without a mouse would.
            static constexpr std::array<int, 11> keys{Qt::Key_Tab,   Qt::Key_Backtab, Qt::Key_Left,   Qt::Key_Right,
                                                      Qt::Key_Up,    Qt::Key_Down,    Qt::Key_Q,      Qt::Key_E,
                                                      Qt::Key_Space, Qt::Key_Return,  Qt::Key_Escape};
            const int what = pick(16);
            if (what < 11) {
                ++done["key"];
                form->boxKeyDown(keys[static_cast<std::size_t>(what)], pick(3) ? Qt::NoModifier : Qt::ShiftModifier);
            } else if (what < 13) {
                ++done["wheel"];
                form->boxWheel((pick(2) ? 1 : -1) * (pick(2) ? 120 : 60));
            } else if (what < 15) {
                ++done[what == 13 ? "undo" : "redo"];
                if (what == 13)
                    form->Undo();
                else
                    form->Redo();
            } else {
                ++done["undo and redo back"];
                ASSERT_TRUE(UndoRedoExcursion(1 + pick(6))) << "event " << event << ", seed " << seed;
            }
        } else if (kind < 520) {
            const bool right = pick(5) == 0;
            ++done[right ? "right press" : "left press"];
            Press(at.x(), at.y(), right ? Qt::RightButton : Qt::LeftButton);
        } else if (kind < 950) {
            ++done["move"];
            Move(at.x(), at.y(), pick(4) != 0);
        } else {
            const int tool = pick(100);
            QToolButton* button = tool < 30   ? form->TipBtn
                                  : tool < 45 ? form->UpBtn
                                  : tool < 60 ? form->DownBtn
                                  : tool < 70 ? form->SelectBtn
                                  : tool < 74 ? form->StatBtn
                                  : tool < 78 ? form->NewgameBtn
                                  : tool < 92 ? form->SaveBtn
                                  : tool < 96 ? form->LoadBtn
                                              : form->SoundBtn;
            // Most saves go straight to a known file; the rest ask for a name.
            if (button == form->SaveBtn && pick(4) != 0)
                state.GameFileName = dir.path() + (pick(2) ? QStringLiteral("/soak-a.zqv") : QStringLiteral("/soak-b.zqv"));
            ++done[button->objectName().toStdString()];
            const auto t0 = std::chrono::steady_clock::now();
            button->click();
            toolMs[button->objectName().toStdString()] +=
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        }
        if (form->Engine.PlayState != lastState) {
            lastState = form->Engine.PlayState;
            ++done[lastState == BoardEngine::Solved ? "solved" : lastState == BoardEngine::Revealed ? "revealed" : "playing again"];
        }
        ASSERT_EQ(form->Engine.Board, SumOfMasksExceptLifted()) << "event " << event << ", seed " << seed;
        ASSERT_TRUE(CanvasMatchesAFreshPaint()) << "event " << event << ", seed " << seed;
        ASSERT_LE(form->Engine.SelectedPiece, 8);
        ASSERT_GE(state.CurrentPuzzle, 1);
        ASSERT_LE(state.CurrentPuzzle, state.Library.PuzzleCount);
        if (event % 1024 == 0)
            sounds.Events.clear(); // the recording output keeps every sound otherwise
    }

    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    std::cout << "[ soak     ] " << events << " events in " << ms << " ms;";
    for (const auto& [name, count] : done)
        std::cout << ' ' << name << ' ' << count << ';';
    std::cout << "\n[ soak     ] ms in toolbar actions:";
    for (const auto& [name, spent] : toolMs)
        std::cout << ' ' << name << ' ' << static_cast<long>(spent) << ';';
    std::cout << "\n[ soak     ] modal answers:";
    for (const auto& [name, count] : answers.Counts)
        std::cout << ' ' << name << ' ' << count << ';';
    std::cout << std::endl;
    for (const auto& [name, count] : answers.Counts)
        EXPECT_EQ(name.rfind("unexpected", 0), std::string::npos) << name;
}
