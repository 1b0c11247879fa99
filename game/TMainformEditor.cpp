// SPDX-License-Identifier: GPL-3.0-or-later
// Making a Quarvel: the board is lent to the editor, with the same hands on the
// pieces as in play, a line under it that says whether the figure may be saved,
// and the save into the player's own collection. Closing it puts the game back.
#include "game/TMainform.h"

#include "game/EditorSession.h"
#include "platform/canvas/CanvasWidget.h"

#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPolygonF>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

namespace zq {

namespace {
constexpr int EditorBarMargin = 4;
} // namespace

bool TMainform::Editing() const { return editor_ != nullptr; }

int TMainform::EditorBarHeight() const
{
    if (!editor_)
        return 0;
    // A long reason wraps in a narrow window rather than being cut off.
    const EditorSession& s = *editor_;
    const int buttons = s.save->sizeHint().width() + s.close->sizeHint().width() + s.progress->width() + 40;
    const int text = s.line->heightForWidth(std::max(50, width() - 2 * EditorBarMargin - buttons));
    return std::max(s.save->sizeHint().height(), text) + 8;
}

void TMainform::OpenEditor(int ownIndex)
{
    // A save goes into the collection as it is on disk, never over it unread.
    if (const QString message = State.LoadOwnOnce(); !message.isEmpty())
        ShowError(message);
    if (ownIndex < 0 || ownIndex > State.Own.Count())
        return;
    if (!editor_) {
        editor_ = std::make_unique<EditorSession>();
        EditorSession& s = *editor_;
        s.game = Engine;
        s.gameHistory = History;
        s.gameLastLifted = lastLifted_;
        s.tipEnabled = TipBtn->isEnabled();
        MakeEditorBar();
        connect(&s.check, &EditorCheck::Progress, this, [this](int percent) {
            editor_->progress->setValue(percent);
            SetEditorLine(QString::fromStdString(FigureRules::CheckingLine(State.German(), percent)));
        });
        connect(&s.check, &EditorCheck::Finished, this, [this](const FigureRules::Verdict& v) {
            editor_->checked.emplace(Engine.Placements, v);
            ShowVerdict(v);
        });
    }
    EditorSession& s = *editor_;
    s.ownIndex = ownIndex;
    s.saved.reset();
    s.checked.reset();

    BoardEngine& e = Engine;
    e.Board = Grid{};
    e.SelectedPiece = 0;
    e.DragMode = BoardEngine::NoDrag;
    e.PlayState = BoardEngine::Playing;
    if (ownIndex == 0) {
        for (int j = 1; j <= PieceCount; ++j)
            e.ParkPiece(j, randomOrientation_);
    } else {
        e.Placements = s.opened = State.Own.Record(ownIndex);
        for (int j = 1; j <= PieceCount; ++j)
            e.StampPiece(j);
    }
    History.Clear();
    lastLifted_ = 0;
    // No help and no solve test while the figure is only being made.
    TipBtn->setEnabled(false);
    s.start = e.Placements;
    formResize();
    EditorFigureChanged();
}

bool TMainform::EditorMayGo()
{
    if (!editor_)
        return true;
    const EditorSession& s = *editor_;
    if (Engine.Placements == (s.saved ? *s.saved : s.start))
        return true;
    const bool german = State.German();
    const QString question = german ? QStringLiteral("Die Figur, die Du baust, ist nicht gespeichert. Verwerfen?")
                                    : QStringLiteral("The figure you are making is not saved. Discard it?");
    return QMessageBox::question(this, QStringLiteral("Zibble Quarvel"), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void TMainform::CloseEditor()
{
    if (!editor_)
        return;
    EditorSession& s = *editor_;
    s.check.Cancel();
    const int cellWidth = Engine.CellWidth, cellHeight = Engine.CellHeight;
    Engine = s.game;
    Engine.CellWidth = cellWidth;
    Engine.CellHeight = cellHeight;
    History = s.gameHistory;
    lastLifted_ = s.gameLastLifted;
    TipBtn->setEnabled(s.tipEnabled);
    const bool setUpAnew = s.replacedCurrent;
    delete s.bar;
    editor_.reset();
    if (setUpAnew) {
        SetupPuzzle();
        RepaintPattern();
    }
    formResize();
    box->setFocus();
}

void TMainform::ToggleEditor()
{
    if (editor_) {
        if (EditorMayGo())
            CloseEditor();
    } else
        OpenEditor(0);
}

void TMainform::MakeEditorBar()
{
    EditorSession& s = *editor_;
    s.bar = new QWidget(this);
    s.bar->setObjectName(QStringLiteral("editorBar"));
    s.bar->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(s.bar);
    row->setContentsMargins(6, 2, 2, 2);
    s.line = new QLabel(s.bar);
    s.line->setObjectName(QStringLiteral("editorLine"));
    s.line->setWordWrap(true);
    s.line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    s.progress = new QProgressBar(s.bar);
    s.progress->setRange(0, 100);
    s.progress->setTextVisible(false);
    s.progress->setFixedWidth(60);
    s.save = new QPushButton(s.bar);
    s.save->setObjectName(QStringLiteral("editorSave"));
    s.close = new QPushButton(s.bar);
    s.close->setObjectName(QStringLiteral("editorClose"));
    // The board keeps the keys; the buttons have their shortcuts.
    for (QPushButton* b : {s.save, s.close})
        b->setFocusPolicy(Qt::NoFocus);
    row->addWidget(s.line, 1);
    row->addWidget(s.progress);
    row->addWidget(s.save);
    row->addWidget(s.close);
    connect(s.save, &QPushButton::clicked, this, [this] { SaveFigure(); });
    connect(s.close, &QPushButton::clicked, this, [this] {
        if (EditorMayGo())
            CloseEditor();
    });
    UpdateEditorTexts();
    s.bar->show();
}

void TMainform::UpdateEditorTexts()
{
    if (!editor_)
        return;
    EditorSession& s = *editor_;
    const bool german = State.German();
    s.save->setText(german ? QStringLiteral("Speichern…") : QStringLiteral("Save…"));
    s.save->setToolTip(german ? QStringLiteral("Die Figur zu Deinen Quarvels legen (Strg+Eingabe)")
                              : QStringLiteral("Put the figure among your Quarvels (Ctrl+Enter)"));
    s.close->setText(german ? QStringLiteral("Schließen") : QStringLiteral("Close"));
    s.close->setToolTip(german ? QStringLiteral("Zurück zum Spiel (Strg+E)") : QStringLiteral("Back to the game (Ctrl+E)"));
    if (s.check.Running())
        SetEditorLine(QString::fromStdString(FigureRules::CheckingLine(german, s.progress->value())));
    else
        ShowVerdict(s.verdict);
}

void TMainform::PlaceEditorBar()
{
    if (!editor_)
        return;
    // Across the foot of the window, under the board's frame.
    const int h = EditorBarHeight();
    editor_->bar->setGeometry(EditorBarMargin, height() - h, width() - 2 * EditorBarMargin, h - 4);
}

std::vector<FigureRules::Reference> TMainform::EditorReferences() const
{
    std::vector<FigureRules::Reference> refs;
    const PuzzleLibrary& shipped = State.ShippedLibrary();
    for (int n = 1; n <= shipped.PuzzleCount; ++n)
        refs.push_back({shipped[n], n, false, {}});
    for (int i = 1; i <= State.Own.Count(); ++i)
        if (i != editor_->ownIndex)
            refs.push_back({State.Own.Record(i), i, true, State.Own.Name(i).toStdString()});
    return refs;
}

void TMainform::EditorFigureChanged()
{
    if (!editor_)
        return;
    EditorSession& s = *editor_;
    const PuzzleRecord& figure = Engine.Placements;
    const FigureRules::Verdict quick = FigureRules::Quick(figure, Engine.SelectedPiece);
    if (!quick.Ok() || (s.checked && s.checked->first == figure)) {
        // Nothing slow to wait for: a quick reason, or the figure the last verdict was about.
        s.check.Cancel();
        ShowVerdict(quick.Ok() ? s.checked->second : quick);
        return;
    }
    s.checked.reset();
    s.check.Start(figure, EditorReferences());
    s.progress->setValue(0);
    s.progress->show();
    s.save->setEnabled(false);
    SetEditorLine(QString::fromStdString(FigureRules::CheckingLine(State.German(), 0)));
}

void TMainform::SetEditorLine(const QString& text)
{
    const int before = EditorBarHeight();
    editor_->line->setText(text);
    // One line more or less: the board makes room.
    if (EditorBarHeight() != before)
        formResize();
}

void TMainform::ShowVerdict(const FigureRules::Verdict& verdict)
{
    EditorSession& s = *editor_;
    s.verdict = verdict;
    s.progress->hide();
    const bool german = State.German();
    const bool unchanged = s.saved && *s.saved == Engine.Placements;
    QString text = QString::fromStdString(verdict.Line(german));
    if (unchanged && s.savedAs > 0)
        text = german ? QStringLiteral("Als Dein Quarvel %1 gespeichert.").arg(s.savedAs)
                      : QStringLiteral("Saved as your Quarvel %1.").arg(s.savedAs);
    SetEditorLine(text);
    s.save->setEnabled(verdict.Ok() && !unchanged);
    box->update(); // the piece the line names is marked on the board
}

void TMainform::SaveFigure()
{
    if (!editor_ || editor_->check.Running() || !editor_->verdict.Ok() || Engine.SelectedPiece != 0 ||
        (editor_->saved && *editor_->saved == Engine.Placements))
        return;
    EditorSession& s = *editor_;
    const bool german = State.German();
    const std::optional<PuzzleRecord> centred = FigureRules::Centred(Engine.Placements);
    if (!centred)
        return;
    // The figure moves to the middle before the player names it, to be seen where it will stand.
    for (int j = 1; j <= PieceCount; ++j)
        Engine.UnstampPiece(j);
    Engine.Placements = *centred;
    for (int j = 1; j <= PieceCount; ++j)
        Engine.StampPiece(j);
    History.Clear();
    lastLifted_ = 0;
    s.checked.emplace(*centred, s.verdict); // the verdict does not depend on where the figure lies
    box->Repaint();

    bool ok = false;
    const QString current = s.ownIndex > 0 && s.ownIndex <= State.Own.Count() ? State.Own.Name(s.ownIndex) : QString();
    QString name = QInputDialog::getText(this, german ? QStringLiteral("Quarvel speichern") : QStringLiteral("Save the Quarvel"),
                                         german ? QStringLiteral("Name (darf leer bleiben):")
                                                : QStringLiteral("Name (may stay empty):"),
                                         QLineEdit::Normal, current, &ok);
    if (!ok || !editor_)
        return;
    name = OwnCollection::CleanName(name);
    // The collection may have been edited meanwhile: a figure no longer in its place is not overwritten.
    if (s.ownIndex > 0 && (s.ownIndex > State.Own.Count() || State.Own.Record(s.ownIndex) != s.opened))
        s.ownIndex = 0;
    QString error;
    const bool stored = s.ownIndex > 0 ? State.Own.Replace(s.ownIndex, *centred, name, german, &error)
                                       : State.Own.Append(*centred, name, german, &error);
    if (!stored) {
        ShowError(error);
        return;
    }
    s.saved = s.opened = *centred;
    s.savedAs = s.ownIndex > 0 ? s.ownIndex : State.Own.Count();
    // Played from the own Quarvels, the library follows the collection.
    if (State.Playing == ProgramState::Collection::Own) {
        s.replacedCurrent = s.replacedCurrent || s.savedAs == State.CurrentPuzzle;
        State.OwnChanged();
    }
    ShowVerdict(s.verdict);
}

void TMainform::PaintEditorOverlay(QPainter& painter)
{
    const FigureRules::Verdict& v = editor_->verdict;
    if (Engine.SelectedPiece != 0 || editor_->check.Running())
        return;
    for (const int j : {v.piece, v.other}) {
        if (j == 0)
            continue;
        QPolygonF triangle;
        for (const CanvasPoint& p : Triangle(j))
            triangle << QPointF(p.x + 0.5, p.y + 0.5);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(220, 0, 0), 3, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolygon(triangle);
    }
}

} // namespace zq
