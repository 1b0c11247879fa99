// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/TMainform.h"

#include "platform/services/AtomicFile.h"
#include "engine/BoardLayout.h"
#include "platform/canvas/CanvasWidget.h"
#include "platform/services/DataDir.h"
#include "engine/GameFile.h"
#include "engine/Geometry.h"
#include "engine/ProgressByte.h"
#include "platform/sound/QtSoundOutput.h"
#include "platform/settings/SettingsError.h"
#include "dialogs/TAboutDlg.h"
#include "platform/services/TApplication.h"
#include "platform/placement/TFormPlacement.h"
#include "platform/services/TLinkLabel.h"
#include "dialogs/TPatForm.h"
#include "dialogs/TSelectDlg.h"
#include "dialogs/TSplash.h"
#include "dialogs/TStatDlg.h"
#include "dialogs/TTongueDlg.h"
#include "dialogs/TYesNoDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBrowser>
#include <QToolButton>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace zq {

namespace {
constexpr const char* Common = "common";

// No file system takes a name of more than 255 bytes, so a longer one comes
// from a damaged setting; it is cut short, since laying out a message or title
// of a megabyte takes seconds.
QString FileNameOf(const QString& path)
{
    constexpr qsizetype Longest = 255;
    const QString name = QFileInfo(path).fileName();
    return name.size() > Longest ? name.left(Longest) + QChar(0x2026) : name;
}

struct Hint {
    const char* german;
    const char* english;
};
} // namespace

TMainform::TMainform(ProgramState& state, Environment environment)
    : State(state),
      ini(environment.SettingsFile.empty() ? TIniStore() : TIniStore(environment.SettingsFile)),
      waves(environment.SoundOutput_ ? std::move(environment.SoundOutput_)
                                    : std::unique_ptr<SoundOutput>(std::make_unique<QtSoundOutput>()))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zibble Quarvel"));
    setWindowIcon(QIcon(QStringLiteral(":/art/icon.svg")));
    resize(DesignedWidth, DesignedHeight);
    waves.LoadBuiltInSounds();
    CreateToolbar();
    // One cell of at least one pixel, so the board never divides by a cell size
    // of 0, and room for every toolbar button side by side.
    setMinimumSize(std::max(93, toolPanel->layout()->minimumSize().width()), ToolPanelHeight + 63);

    box = new CanvasWidget(this);
    box->setObjectName(QStringLiteral("box"));
    box->setMouseTracking(true);
    box->setCursor(Qt::PointingHandCursor);
    box->OnPaint = [this](Canvas& c) { boxPaint(c); };
    box->OnMouseDown = [this](QMouseEvent* e) {
        boxMousedown(e->button(), static_cast<int>(std::floor(e->position().x())),
                     static_cast<int>(std::floor(e->position().y())));
    };
    box->OnMouseMove = [this](QMouseEvent* e) {
        boxMouseMove((e->buttons() & Qt::LeftButton) != 0, static_cast<int>(std::floor(e->position().x())),
                     static_cast<int>(std::floor(e->position().y())));
    };

    WebLabel = new TLinkLabel(this);
    WebLabel->Jump = QStringLiteral("https://zibble-quarvel.example.org/");

    back = QImage(QStringLiteral(":/art/back.png")).convertToFormat(QImage::Format_RGB32);
    moveCursor_ = QCursor(QPixmap(QStringLiteral(":/art/crmove1.png")), 16, 16);
    turnCursor_ = QCursor(QPixmap(QStringLiteral(":/art/crturn2.png")), 16, 16);

    FormPlacement1 = std::make_unique<TFormPlacement>(*this, ini);
    formCreate(environment);
}

TMainform::~TMainform()
{
    // The placement is saved when the window goes, as long as it was ever shown.
    if (!aborted_ && placementRestored_) {
        try {
            FormPlacement1->Save();
        } catch (const std::exception& error) {
            TApplication::ShowException(error);
        }
    }
    waves.Stop();
}

QToolButton* TMainform::AddButton(const char* name, const char* icon)
{
    auto* b = new QToolButton(toolPanel);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoRaise(true);
    b->setIcon(QIcon(QStringLiteral(":/art/%1.svg").arg(QString::fromLatin1(icon))));
    b->setIconSize(QSize(22, 22));
    b->setFixedSize(29, 29);
    b->setFocusPolicy(Qt::NoFocus);
    toolPanel->layout()->addWidget(b);
    return b;
}

void TMainform::CreateToolbar()
{
    toolPanel = new QWidget(this);
    toolPanel->setObjectName(QStringLiteral("toolPanel"));
    toolPanel->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(toolPanel);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    NewgameBtn = AddButton("NewgameBtn", "newgame");
    LoadBtn = AddButton("LoadBtn", "load");
    SaveBtn = AddButton("SaveBtn", "save");
    StatBtn = AddButton("StatBtn", "stat");
    ExitBtn = AddButton("ExitBtn", "exit");
    SelectBtn = AddButton("SelectBtn", "select");
    UpBtn = AddButton("UpBtn", "up");
    DownBtn = AddButton("DownBtn", "down");
    TipBtn = AddButton("TipBtn", "tip");
    SoundBtn = AddButton("SoundBtn", "sound");
    SoundBtn->setCheckable(true);
    SoundBtn->setChecked(true);
    TongueBtn = AddButton("TongueBtn", "tongue");
    RulesBtn = AddButton("RulesBtn", "rules");
    InfoBtn = AddButton("InfoBtn", "info");
    ZibbleBtn = AddButton("ZibbleBtn", "zibble");
    row->addStretch(1);

    connect(NewgameBtn, &QToolButton::clicked, this, [this] { NewgameBtnClick(); });
    connect(LoadBtn, &QToolButton::clicked, this, [this] { LoadBtnClick(); });
    connect(SaveBtn, &QToolButton::clicked, this, [this] { SaveBtnClick(); });
    connect(StatBtn, &QToolButton::clicked, this, [this] { StatBtnClick(); });
    connect(ExitBtn, &QToolButton::clicked, this, [this] { ExitBtnClick(); });
    connect(SelectBtn, &QToolButton::clicked, this, [this] { SelectBtnClick(); });
    connect(UpBtn, &QToolButton::clicked, this, [this] { UpBtnClick(); });
    connect(DownBtn, &QToolButton::clicked, this, [this] { DownBtnClick(); });
    connect(TipBtn, &QToolButton::clicked, this, [this] { TipBtnClick(); });
    connect(TongueBtn, &QToolButton::clicked, this, [this] { TongueBtnClick(); });
    connect(RulesBtn, &QToolButton::clicked, this, [this] { rules(); });
    connect(InfoBtn, &QToolButton::clicked, this, [this] { info(); });
    connect(ZibbleBtn, &QToolButton::clicked, this, [this] { ZibbleBtnClick(); });
}

QFileDialog& TMainform::FileDialog(QFileDialog*& dialog, bool save)
{
    // A new dialog for every use, made only then (it costs more than the rest of the
    // window): one kept from an earlier use can bring its old pick back over a typed name.
    delete dialog;
    dialog = new QFileDialog(this);
    dialog->setObjectName(save ? QStringLiteral("SaveDlg") : QStringLiteral("OpenDlg"));
    dialog->setNameFilter(QStringLiteral("Zibble Quarvel (*.zqv)"));
    dialog->setDefaultSuffix(QStringLiteral("zqv"));
    // Our own dialog everywhere, so that it behaves alike on every desktop and in tests.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog->setOption(QFileDialog::DontConfirmOverwrite); // asked after the extension is forced
    else
        dialog->setFileMode(QFileDialog::AnyFile); // a typed name that does not exist is reported on loading
    return *dialog;
}

void TMainform::ShowError(const QString& text)
{
    QMessageBox::critical(isVisible() ? this : nullptr, QStringLiteral("Zibble Quarvel"), text);
}

// ---------------------------------------------------------------- start-up

void TMainform::formCreate(Environment& environment)
{
    FirstActivation = true;
    // Beside the program in the build tree, else ../share/zibble-quarvel/ of an installation.
    const QByteArray programFolder = QFile::encodeName(QCoreApplication::applicationDirPath());
    State.ProgramDir = environment.ProgramDir.isEmpty() ? QFile::decodeName(DataDirFor(programFolder.constData()).c_str())
                                                       : environment.ProgramDir;
    random_.seed(environment.Seed ? *environment.Seed
                                  : static_cast<std::uint32_t>(
                                        std::chrono::steady_clock::now().time_since_epoch().count() ^
                                        std::chrono::system_clock::now().time_since_epoch().count()));
    randomOrientation_ = [this] { return static_cast<int>(random_() % 16); };

    // A damaged settings value is reported and its default used; the rest of
    // the start-up goes on, so the game never starts without its library.
    const auto guarded = [](auto read, auto fallback) {
        try {
            return read();
        } catch (const SettingsError& error) {
            TApplication::ShowException(error);
            return fallback;
        }
    };

    State.Language = guarded([&] { return ini.ReadInteger(Common, "tongue", -1); }, -1);

    const auto loaded = State.Library.LoadPuzzleLibrary(std::filesystem::path(
        (State.ProgramDir + QStringLiteral("zqvl2.dat")).toStdString()));
    if (loaded != PuzzleLibrary::LoadResult::Ok) {
        ShowError(State.German() ? QStringLiteral("Datei ZQVL2.DAT konnte nicht gefunden werden. Programm wird abgebrochen.")
                                 : QStringLiteral("Can't find file ZQVL2.DAT. Program aborted."));
        aborted_ = true;
        return;
    }

    HelpFile = State.ProgramDir + QStringLiteral("ZQVL2.HLP");
    SoundBtn->setChecked(guarded([&] { return ini.ReadBool(Common, "sound", true); }, true));
    State.CurrentPuzzle = guarded([&] { return ini.ReadInteger(Common, "level", 1); }, 1);
    // A stored number outside the library (a smaller data file, a damaged value) starts at the first.
    if (State.CurrentPuzzle < 1 || State.CurrentPuzzle > State.Library.PuzzleCount)
        State.CurrentPuzzle = 1;
    State.GameFileName =
        QString::fromStdString(guarded([&] { return ini.ReadString(Common, "save", std::string()); }, std::string()));
    State.ProgressBytes.fill(0);

    if (!State.GameFileName.isEmpty() && QFileInfo::exists(State.GameFileName)) {
        if (!ReadProgressFrom(State.GameFileName)) {
            ShowError(State.German() ? QStringLiteral("Fehler beim Laden des Spiels ") + State.GameFileName + QStringLiteral("!")
                                     : QStringLiteral("Error occured while loading file ") + State.GameFileName +
                                           QStringLiteral("!"));
            aborted_ = true;
            return;
        }
    }
    Modified = false;
    SetupPuzzle();
}

bool TMainform::ReadProgressFrom(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // Never more than the library needs, however large the file is.
    const QByteArray bytes = f.read(State.Library.PuzzleCount);
    if (f.error() != QFileDevice::NoError)
        return false;
    ReadProgress(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())),
                 State.Library.PuzzleCount, State.ProgressBytes);
    return true;
}

void TMainform::showEvent(QShowEvent* event)
{
    if (!placementRestored_) {
        placementRestored_ = true;
        FormPlacement1->Restore();
    }
    QWidget::showEvent(event);
}

void TMainform::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && FirstActivation)
        formActivate();
}

void TMainform::formActivate()
{
    if (!FirstActivation)
        return;
    FirstActivation = false;
    if (PatForm && PatForm->isVisible()) {
        // The pattern window appeared before this one, when the window manager
        // could not yet tie it to this window (to minimise them together).
        // Shown again now, it is tied.
        PatForm->hide();
        PatForm->show();
    }
    if (Splash)
        Splash->ShowModal();
    if (State.Language == -1 && TongueDlg)
        TongueDlg->ShowModal();
    UpdateHints();
}

// ---------------------------------------------------------------- shutdown

void TMainform::closeEvent(QCloseEvent* event)
{
    if (closing_) {
        // A close asked for from inside the shutdown (a failed automatic save) changes nothing.
        event->ignore();
        return;
    }
    if (!formCloseQuery()) {
        event->ignore();
        return;
    }
    closing_ = true;
    try {
        formClose();
    } catch (const std::exception& error) {
        // Settings that cannot be written are reported, but never keep the player from quitting.
        TApplication::ShowException(error);
    }
    closing_ = false;
    event->accept();
    emit Closed();
}

bool TMainform::formCloseQuery()
{
    if (!YesNoDlg)
        return true;
    return YesNoDlg->ShowModal(TYesNoDlg::endgame) == 6;
}

void TMainform::formClose()
{
    if (HelpViewer)
        HelpViewer->close();
    SaveIfModified();
    ini.WriteBool(Common, "sound", SoundBtn->isChecked());
    ini.WriteInteger(Common, "level", State.CurrentPuzzle);
    ini.WriteInteger(Common, "tongue", State.Language);
    ini.WriteString(Common, "save", State.GameFileName.toStdString());
}

void TMainform::ExitBtnClick() { RequestClose(); }

void TMainform::RequestClose()
{
    if (closing_)
        return;
    close();
}

// ---------------------------------------------------------------- drawing

void TMainform::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    formResize();
}

void TMainform::formResize()
{
    toolPanel->setGeometry(0, 0, width(), ToolPanelHeight);
    const BoardLayout l = BoardLayout::For(width(), height(), ToolPanelHeight);
    Engine.CellWidth = Engine.CellHeight = l.CellSize;
    box->setGeometry(l.Left, l.Top, l.Width, l.Height);
    formCanvas_.Resize(width(), height());
    FormPaint(formCanvas_);
    box->Repaint();
    update();
}

void TMainform::paintEvent(QPaintEvent*)
{
    if (formCanvas_.Width() != width() || formCanvas_.Height() != height()) {
        formCanvas_.Resize(width(), height());
        FormPaint(formCanvas_);
    }
    QPainter p(this);
    p.drawImage(QPoint(0, 0), formCanvas_.Image());
}

void TMainform::FormPaint(Canvas& c)
{
    if (!back.isNull())
        for (int x = 0; x <= c.Width() + 96; x += 96)
            for (int y = 0; y <= c.Height() + 96; y += 96)
                c.Draw(x, y, back);
    c.BrushSolid = false;
    c.PenVisible = true;
    c.PenMode_ = Canvas::PenMode::Copy;
    c.PenColour = clBlack;
    const int L = box->x(), T = box->y(), W = box->width(), H = box->height();
    c.PenWidth = 3;
    c.Rectangle(L - 4, T - 4, L + W + 4, T + H + 4);
    c.PenWidth = 1;
    c.Rectangle(L - 7, T - 7, L + W + 7, T + H + 7);
    c.Rectangle(L - 1, T - 1, L + W + 1, T + H + 1);
    c.Rectangle(0, ToolPanelHeight, c.Width(), c.Height());
    c.BrushSolid = true;
}

void TMainform::boxPaint(Canvas& c)
{
    // The pieces go onto the canvas being painted, which is the board's own except in checks.
    paintTarget_ = &c;
    c.PenMode_ = Canvas::PenMode::Copy;
    c.PenVisible = true;
    c.PenWidth = 1;
    c.BrushSolid = true;
    c.BrushColour = clSilver;
    c.PenColour = clSilver;
    c.Rectangle(0, 0, Engine.CellWidth * 91 + 1, Engine.CellHeight * 61 + 1);
    const Colour fill = Engine.PlayState == BoardEngine::Solved     ? clGreen
                        : Engine.PlayState == BoardEngine::Revealed ? clRed
                                                                    : clBlack;
    DrawPieces(fill, clGrey);
    if (Engine.SelectedPiece != 0)
        DrawPieceOutline(Engine.SelectedPiece, clYellow, true);
    paintTarget_ = nullptr;
}

Canvas& TMainform::BoardCanvas() { return paintTarget_ ? *paintTarget_ : box->Canvas(); }

std::array<CanvasPoint, 3> TMainform::Triangle(int j) const
{
    const PiecePlacement& p = Engine.Placements[j];
    const auto o = static_cast<std::size_t>(p.o.value());
    std::array<CanvasPoint, 3> t;
    for (std::size_t k = 0; k < 3; ++k)
        t[k] = {(VertexX[k][o] + p.x) * Engine.CellWidth, (VertexY[k][o] + p.y) * Engine.CellHeight};
    return t;
}

void TMainform::DrawPieceOutline(int j, Colour colour, bool xorMode)
{
    Canvas& c = BoardCanvas();
    c.PenVisible = true;
    c.PenWidth = 1;
    c.PenColour = colour;
    c.PenMode_ = xorMode ? Canvas::PenMode::Xor : Canvas::PenMode::Copy;
    const auto t = Triangle(j);
    const std::array<CanvasPoint, 4> ring{t[0], t[1], t[2], t[0]};
    c.Polyline(ring);
    c.PenMode_ = Canvas::PenMode::Copy;
    box->update();
}

void TMainform::DrawPiece(int j, Colour fillColour, Colour outlineColour)
{
    Canvas& c = BoardCanvas();
    c.PenVisible = true;
    c.PenWidth = 1;
    c.PenMode_ = Canvas::PenMode::Copy;
    c.PenColour = outlineColour;
    c.BrushSolid = true;
    c.BrushColour = fillColour;
    const auto t = Triangle(j);
    c.Polygon(t);
    box->update();
}

void TMainform::DrawPieces(Colour fillColour, Colour outlineColour)
{
    for (int j = 1; j <= PieceCount; ++j)
        if (j != Engine.SelectedPiece)
            DrawPiece(j, fillColour, outlineColour);
}

// ---------------------------------------------------------------- pieces

void TMainform::SetBoxCursor(int zone)
{
    if (zone == BoardEngine::MoveZone)
        box->setCursor(moveCursor_);
    else if (zone == BoardEngine::TurnZone)
        box->setCursor(turnCursor_);
    else
        box->setCursor(Qt::PointingHandCursor);
}

void TMainform::boxMousedown(Qt::MouseButton button, int X, int Y)
{
    BoardEngine& e = Engine;
    if (e.PlayState != BoardEngine::Playing)
        return;
    if (button == Qt::RightButton) {
        if (e.SelectedPiece == 0)
            return;
        PiecePlacement& p = e.Placements[e.SelectedPiece];
        const Orientation turned = p.o + 1;
        if (BoardEngine::PieceInBounds(p.x, p.y, turned)) {
            DrawPieceOutline(e.SelectedPiece, clYellow, true);
            p.o = turned;
            DrawPieceOutline(e.SelectedPiece, clYellow, true);
        }
        return;
    }
    if (e.CellWidth <= 0 || e.CellHeight <= 0)
        return;
    const int column = X / e.CellWidth;
    const int row = Y / e.CellHeight;
    if (column < 0 || column > BoardWidth - 1 || row < 0 || row > BoardHeight - 1)
        return;

    const auto grab = [&](int j) {
        const PiecePlacement& p = e.Placements[j];
        if (e.DragMode == BoardEngine::Moving) {
            e.DragOffsetX = p.x - column;
            e.DragOffsetY = p.y - row;
        } else if (e.DragMode == BoardEngine::Turning) {
            e.TurnReference = e.AngleStep(X, Y, j) + p.o.value();
        }
    };

    if (e.SelectedPiece != 0) {
        const int j = e.SelectedPiece;
        e.DragMode = static_cast<std::uint8_t>(e.HitTestPiece(X, Y, j));
        if (e.DragMode != BoardEngine::NoDrag) {
            grab(j);
        } else {
            const PiecePlacement p = e.Placements[j];
            if (e.PieceFits(p.x, p.y, p.o)) {
                PlayWave(2);
                e.StampPiece(j);
                e.SelectedPiece = 0;
                DrawPiece(j, clBlack, clGrey);
                // Pieces with higher numbers lie on top of it, as a full repaint shows them.
                for (int k = j + 1; k <= PieceCount; ++k)
                    DrawPiece(k, clBlack, clGrey);
                if (e.PlayState == BoardEngine::Playing && e.CheckSolved())
                    QuarvelSolved();
            } else {
                PlayWave(6);
            }
        }
    }

    if (e.PlayState == BoardEngine::Playing && e.SelectedPiece == 0) {
        PickPiece(X, Y);
        if (e.SelectedPiece != 0) {
            e.DragMode = static_cast<std::uint8_t>(e.HitTestPiece(X, Y, e.SelectedPiece));
            grab(e.SelectedPiece);
        }
    }
}

void TMainform::PickPiece(int X, int Y)
{
    BoardEngine& e = Engine;
    e.SelectedPiece = 0;
    for (int j = 1; j <= PieceCount; ++j)
        if (e.HitTestPiece(X, Y, j) > 0)
            e.SelectedPiece = static_cast<std::uint8_t>(j);
    if (e.SelectedPiece == 0)
        return;
    const int j = e.SelectedPiece;
    PlayWave(1);
    e.UnstampPiece(j);
    DrawPiece(j, clSilver, clSilver);
    DrawPieces(clBlack, clGrey);
    DrawPieceOutline(j, clYellow, true);
}

void TMainform::boxMouseMove(bool leftHeld, int X, int Y)
{
    BoardEngine& e = Engine;
    if (e.SelectedPiece == 0)
        return;
    SetBoxCursor(e.HitTestPiece(X, Y, e.SelectedPiece));
    if (!leftHeld || e.CellWidth <= 0 || e.CellHeight <= 0)
        return;
    if (e.DragMode == BoardEngine::Moving) {
        MoveSelectedPiece(X / e.CellWidth + e.DragOffsetX, Y / e.CellHeight + e.DragOffsetY);
    } else if (e.DragMode == BoardEngine::Turning) {
        const int s = e.AngleStep(X, Y, e.SelectedPiece);
        int t = e.TurnReference - s;
        while (t < 0)
            t += 16;
        const Orientation turned(t % 16);
        PiecePlacement& p = e.Placements[e.SelectedPiece];
        if (BoardEngine::PieceInBounds(p.x, p.y, turned) && turned != p.o) {
            PlayWave(3);
            DrawPieceOutline(e.SelectedPiece, clYellow, true);
            p.o = turned;
            DrawPieceOutline(e.SelectedPiece, clYellow, true);
        }
    }
}

void TMainform::MoveSelectedPiece(int x, int y)
{
    BoardEngine& e = Engine;
    if (e.SelectedPiece == 0)
        return;
    PiecePlacement& p = e.Placements[e.SelectedPiece];
    if (!BoardEngine::PieceInBounds(x, y, p.o))
        return;
    if (x == p.x && y == p.y)
        return;
    PlayWave(4);
    DrawPieceOutline(e.SelectedPiece, clYellow, true);
    p.x = static_cast<std::uint8_t>(x);
    p.y = static_cast<std::uint8_t>(y);
    DrawPieceOutline(e.SelectedPiece, clYellow, true);
}

void TMainform::PlayWave(int n)
{
    if (!SoundBtn->isChecked())
        return;
    waves.Play(n - 1);
}

// ---------------------------------------------------------------- help and navigation

void TMainform::SetupPuzzle()
{
    const bool tip = Engine.SetupPuzzle(State.Library, State.CurrentPuzzle, State.Progress(State.CurrentPuzzle),
                                        randomOrientation_);
    TipBtn->setEnabled(tip);
}

void TMainform::RepaintPattern()
{
    if (PatForm)
        PatForm->Repaint();
}

void TMainform::TipBtnClick()
{
    BoardEngine& e = Engine;
    if (e.PlayState != BoardEngine::Playing)
        return;
    for (int j = 1; j <= PieceCount; ++j)
        if (j != e.SelectedPiece)
            e.UnstampPiece(j);
    e.SelectedPiece = 0;
    DrawPieces(clSilver, clSilver);
    for (int j = 1; j <= PieceCount; ++j)
        e.ParkPiece(j, randomOrientation_);
    std::uint8_t& progress = State.Progress(State.CurrentPuzzle);
    // Levels 5 to 7 come only from damaged files; they count as the level that reveals all.
    int level = EffectiveHelpLevel(progress);
    if (level < 4)
        ++level;
    if (level == 4) {
        progress = 4 + FinishedBit;
        e.PlayState = BoardEngine::Revealed;
    } else {
        progress = static_cast<std::uint8_t>(level);
    }
    e.LayHelpPieces(State.Library[State.CurrentPuzzle], 2 * level);
    DrawPieces(level == 4 ? clRed : clBlack, clGrey);
    Modified = true;
}

void TMainform::QuarvelSolved()
{
    Engine.PlayState = BoardEngine::Solved;
    DrawPieces(clGreen, clGrey);
    std::uint8_t& progress = State.Progress(State.CurrentPuzzle);
    if (!IsFinished(progress)) {
        progress = static_cast<std::uint8_t>(progress | FinishedBit);
        Modified = true;
    }
    PlayWave(5);
    if (YesNoDlg)
        YesNoDlg->ShowModal(TYesNoDlg::won);
    RepaintPattern();
}

void TMainform::UpBtnClick()
{
    if (State.CurrentPuzzle < State.Library.PuzzleCount)
        ++State.CurrentPuzzle;
    SetupPuzzle();
    box->Repaint();
    update();
    RepaintPattern();
}

void TMainform::DownBtnClick()
{
    if (State.CurrentPuzzle > 1)
        --State.CurrentPuzzle;
    SetupPuzzle();
    box->Repaint();
    update();
    RepaintPattern();
}

void TMainform::SelectBtnClick()
{
    if (!SelectDlg || SelectDlg->ShowModal() != 1)
        return;
    SetupPuzzle();
    box->Repaint();
    update();
    RepaintPattern();
}

void TMainform::StatBtnClick()
{
    if (StatDlg)
        StatDlg->ShowModal();
}

// ---------------------------------------------------------------- game files

bool TMainform::WriteGameFile(const QString& path)
{
    const auto* first = State.ProgressBytes.data() + 1;
    const bool ok = WriteFileAtomically(std::filesystem::path(path.toStdString()),
                                        std::span(first, static_cast<std::size_t>(State.Library.PuzzleCount)));
    if (!ok) {
        ShowError(State.German() ? QStringLiteral("Kann Spiel ") + FileNameOf(path) +
                                       QStringLiteral(" nicht speichern. Datenträger voll oder nicht beschreibbar.")
                                 : QStringLiteral("Cannot save game ") + FileNameOf(path) +
                                       QStringLiteral(". Drive full or not writable."));
        RequestClose();
        return false;
    }
    return true;
}

bool TMainform::ReadGameFile(const QString& path)
{
    if (!ReadProgressFrom(path)) {
        ShowError(State.German() ? QStringLiteral("Fehler beim Laden des Spiels ") + FileNameOf(path) + QStringLiteral("!")
                                 : QStringLiteral("Error occured while loading file ") + FileNameOf(path) +
                                       QStringLiteral("!"));
        RequestClose();
        return false;
    }
    return true;
}

void TMainform::SaveGameAs()
{
    QFileDialog& SaveDialog = FileDialog(SaveDlg, true);
    if (State.GameFileName.isEmpty()) {
        // The program's folder only while the game runs from where it was built; an
        // installed game's data folder is not the player's, even where it is writable.
        const bool besideProgram = QDir(State.ProgramDir) == QDir(QCoreApplication::applicationDirPath());
        SaveDialog.setDirectory(besideProgram && QFileInfo(State.ProgramDir).isWritable() ? State.ProgramDir
                                                                                          : QDir::homePath());
        SaveDialog.selectFile(QString());
    } else {
        SaveDialog.setDirectory(QFileInfo(State.GameFileName).absolutePath());
        SaveDialog.selectFile(State.GameFileName);
    }
    for (;;) {
        if (SaveDialog.exec() != QDialog::Accepted || SaveDialog.selectedFiles().isEmpty())
            return;
        const QFileInfo chosen(SaveDialog.selectedFiles().constFirst());
        const QString name = chosen.absolutePath() + QLatin1Char('/') + chosen.completeBaseName() + QStringLiteral(".zqv");
        if (QFileInfo::exists(name)) {
            const QString question =
                State.German() ? QStringLiteral("Spiel ") + FileNameOf(name) + QStringLiteral(" existiert bereits. Überschreiben?")
                               : QStringLiteral("Game ") + FileNameOf(name) + QStringLiteral(" already exists. Overwrite?");
            if (QMessageBox::warning(this, QStringLiteral("Zibble Quarvel"), question, QMessageBox::Yes | QMessageBox::No) !=
                QMessageBox::Yes)
                continue;
        }
        if (WriteGameFile(name)) {
            Modified = false;
            State.GameFileName = name;
            UpdateTitle();
        }
        return;
    }
}

void TMainform::SaveIfModified()
{
    if (!Modified)
        return;
    if (State.GameFileName.isEmpty())
        SaveGameAs();
    else
        WriteGameFile(State.GameFileName);
}

void TMainform::SaveBtnClick()
{
    if (State.GameFileName.isEmpty())
        SaveGameAs();
    else
        WriteGameFile(State.GameFileName);
}

void TMainform::LoadBtnClick()
{
    QFileDialog& OpenDialog = FileDialog(OpenDlg, false);
    if (!State.GameFileName.isEmpty())
        OpenDialog.setDirectory(QFileInfo(State.GameFileName).absolutePath());
    if (OpenDialog.exec() != QDialog::Accepted)
        return;
    const QString name = OpenDialog.selectedFiles().isEmpty() ? QString() : OpenDialog.selectedFiles().constFirst();
    SaveIfModified();
    if (!name.isEmpty() && ReadGameFile(name)) {
        SetupPuzzle();
        Modified = false;
        State.GameFileName = name;
        box->Repaint();
        update();
        RepaintPattern();
        UpdateTitle();
    }
}

void TMainform::NewgameBtnClick()
{
    if (!YesNoDlg || YesNoDlg->ShowModal(TYesNoDlg::giveup) != 6)
        return;
    SaveIfModified();
    for (int i = 1; i <= State.Library.PuzzleCount; ++i)
        State.Progress(i) = 0;
    SetupPuzzle();
    Modified = false;
    State.GameFileName.clear();
    box->Repaint();
    update();
    RepaintPattern();
    UpdateTitle();
}

void TMainform::UpdateTitle()
{
    QString title = QStringLiteral("Zibble Quarvel");
    if (!State.GameFileName.isEmpty())
        title += (State.German() ? QStringLiteral(" - Spiel ") : QStringLiteral(" - Game ")) + FileNameOf(State.GameFileName);
    setWindowTitle(title);
}

// ---------------------------------------------------------------- language, help, about, web

void TMainform::UpdateHints()
{
    static constexpr std::array<Hint, 14> hints{{
        {"Ich fang ein neues Spiel an.", "I want to play a new game."},
        {"Ich hol mir einen alten Spielstand.", "I want to continue an old game."},
        {"Einmal zu oft gesichert ist besser als einmal zuwenig", "Save often, save always."},
        {"Mal sehen, was ich bisher schon geschafft habe.", "Let me see, what I've solved until now."},
        {"Ich hab genug!", "I have enough!"},
        {"Ich probier ein anderes Quarvel.", "I try another Quarvel."},
        {"Ich nehm' das nächste Quarvel.", "I take the next Quarvel."},
        {"Ich nehm' das vorige Quarvel.", "I take the previous Quarvel."},
        {"Ich lass mir unter die Arme greifen.", "I need a little help."},
        {"Die Geräusche mag ich nicht immer.", "I dont like the sound always."},
        {"I don't speak german.", "Ich spreche nicht englisch."},
        {"Worum geht's da eigentlich?", "What's to do here?"},
        {"Wer hat dieses Spiel nur verbrochen?", "Who did this ZIBBLE GAME?"},
        {"Hurra, es gibt noch mehr Zibble Games.", "Hurrah, there are more ZIBBLE GAMES."},
    }};
    const std::array<QToolButton*, 14> buttons{NewgameBtn, LoadBtn, SaveBtn, StatBtn,  ExitBtn,   SelectBtn, UpBtn,
                                               DownBtn,    TipBtn,  SoundBtn, TongueBtn, RulesBtn, InfoBtn,   ZibbleBtn};
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setToolTip(QString::fromUtf8(State.German() ? hints[i].german : hints[i].english));
    UpdateTitle();
}

void TMainform::TongueBtnClick()
{
    if (TongueDlg)
        TongueDlg->ShowModal();
    UpdateHints();
}

void TMainform::rules()
{
    if (!HelpViewer) {
        HelpViewer = new QTextBrowser(this);
        HelpViewer->setObjectName(QStringLiteral("HelpViewer"));
        HelpViewer->setWindowFlag(Qt::Window);
        HelpViewer->resize(560, 520);
        HelpViewer->setOpenExternalLinks(true);
    }
    const QString topic = State.German() ? QStringLiteral("Das_Spiel") : QStringLiteral("The_game");
    HelpViewer->setWindowTitle(State.German() ? QStringLiteral("Zibble Quarvel - Spielregeln")
                                              : QStringLiteral("Zibble Quarvel - Rules"));
    QFile f(HelpFile);
    if (!f.open(QIODevice::ReadOnly)) {
        // An empty viewer would leave the player guessing what went wrong.
        ShowError(State.German() ? QStringLiteral("Die Hilfedatei ") + HelpFile + QStringLiteral(" konnte nicht geöffnet werden.")
                                 : QStringLiteral("Can't open the help file ") + HelpFile + QStringLiteral("."));
        return;
    }
    HelpViewer->setHtml(QString::fromUtf8(f.readAll()));
    HelpViewer->show();
    HelpViewer->raise();
    HelpViewer->scrollToAnchor(topic);
}

void TMainform::info()
{
    if (AboutDlg)
        AboutDlg->ShowModal();
    UpdateHints();
    RepaintPattern();
}

void TMainform::ZibbleBtnClick() { WebLabel->Click(); }

} // namespace zq
