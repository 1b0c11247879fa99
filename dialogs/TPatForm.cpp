// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TPatForm.h"

#include "dialogs/NameTips.h"
#include "engine/Geometry.h"
#include "engine/ProgressByte.h"
#include "platform/placement/TFormPlacement.h"
#include "platform/settings/SettingsError.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <array>
#include <limits>

namespace zq {

namespace {

constexpr const char* Section = "common";
constexpr int PixelsPerCell = 2;

// A settings failure is told to the player and the window goes on without it.
void Report(const SettingsError& error)
{
    if (QApplication::instance())
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Zibble Quarvel"), QString::fromUtf8(error.what()));
}

// The colours of an active caption bar.
const QColor CaptionColour(0, 0, 128);
const QColor CaptionTextColour(255, 255, 255);
constexpr int CaptionPadding = 4;

// The longest caption there can be: the highest number, the longest suffix.
const QString LongestCaption = QStringLiteral("Quarvel 1000 - aufgegeben");

// Every paint draws the silhouette afresh, so whatever repaint comes next
// shows the Quarvel of the moment.
class PatternPicture : public CanvasWidget {
public:
    using CanvasWidget::CanvasWidget;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (OnPaint)
            OnPaint(Canvas());
        CanvasWidget::paintEvent(event);
    }
};

// A bold caption font, made smaller only where the system's font would not
// show the longest caption whole.
QFont FittingCaptionFont(QFont font)
{
    font.setBold(true);
    for (int pixels = 12; pixels > 6; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(LongestCaption) <= TPatForm::ClientWidth - 2 * CaptionPadding)
            break;
    }
    return font;
}

} // namespace

TPatForm::TPatForm(ProgramState& state, TIniStore& ini, QWidget* owner)
    : state_(state), ini_(ini), client_(new PatternPicture(this)), captionFont_(FittingCaptionFont(font()))
{
    // It takes no input: the keys stay with the main window, even after a drag.
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    client_->setFocusPolicy(Qt::NoFocus);
    setFixedSize(ClientWidth + 2 * BorderWidth, CaptionHeight + ClientHeight + 2 * BorderWidth);
    client_->setGeometry(BorderWidth, BorderWidth + CaptionHeight, ClientWidth, ClientHeight);
    client_->OnPaint = [this](zq::Canvas& canvas) { FormPaint(canvas); };
    // The window is never the active one, so its name tip must not wait to be.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    new NameTips(this, [this](const QPoint&) { return state_.QuarvelName(state_.CurrentPuzzle); });
    FormCreate();
    if (owner) {
        // Belonging to the main window, it is minimised and restored with it
        // instead of being left alone on the desktop. The window system learns
        // this when the window is shown, so both must exist by then; made after
        // the move, so that the stored position stays the frame's.
        owner->winId();
        winId();
        windowHandle()->setTransientParent(owner->windowHandle());
        // Shown before the owner is, the window manager could not tie it to the
        // owner, and it would have to be hidden and shown again: it waits instead.
        owner_ = owner;
        owner->installEventFilter(this);
        return;
    }
    show();
}

bool TPatForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == owner_ && event->type() == QEvent::Show && !isVisible()) {
        // Should the owner never be activated, the target still comes into view.
        QTimer::singleShot(1500, this, [this] { ShowByOwner(); });
    } else if (watched == owner_ && event->type() == QEvent::WindowActivate) {
        ShowByOwner();
    }
    return QWidget::eventFilter(watched, event);
}

void TPatForm::ShowByOwner()
{
    if (isVisible() || !owner_)
        return;
    // By the owner's activation the window manager has framed and placed it.
    if (!placeStored_) {
        const QScreen* screen = owner_->screen() ? owner_->screen() : QGuiApplication::primaryScreen();
        // The frame from the window's margins: the widget's own frame rectangle
        // may still be out of date this early.
        const QMargins frame = owner_->windowHandle() ? owner_->windowHandle()->frameMargins() : QMargins();
        if (screen)
            move(BesidePlace(owner_->geometry().marginsAdded(frame), frameSize(), screen->availableGeometry()));
    }
    place_ = pos();
    show();
}

QPoint TPatForm::BesidePlace(const QRect& owner, QSize size, const QRect& screen)
{
    constexpr int Gap = 4;
    const auto inside = [&](QPoint at) {
        const int x = std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - size.width()));
        const int y = std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()));
        return QPoint(x, y);
    };
    const std::array<QPoint, 8> candidates{
        inside({owner.right() + 1 + Gap, owner.top()}),
        inside({owner.left() - Gap - size.width(), owner.top()}),
        inside({owner.left(), owner.bottom() + 1 + Gap}),
        inside({owner.left(), owner.top() - Gap - size.height()}),
        inside({screen.right(), screen.top()}),
        inside({screen.left(), screen.top()}),
        inside({screen.right(), screen.bottom()}),
        inside({screen.left(), screen.bottom()}),
    };
    QPoint best = candidates[0];
    long long bestCover = -1;
    for (const QPoint at : candidates) {
        const QRect covered = QRect(at, size).intersected(owner);
        const long long cover = covered.isEmpty() ? 0 : (long long)covered.width() * covered.height();
        if (bestCover < 0 || cover < bestCover) {
            best = at;
            bestCover = cover;
        }
        if (cover == 0)
            break;
    }
    return best;
}

void TPatForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // A window manager that activates it anyway (on a press on its caption) hands
    // the keys straight back to the owner, or to the dialog the owner has open.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && owner_) {
        QWidget* modal = QApplication::activeModalWidget();
        (modal ? modal : owner_)->activateWindow();
    }
}

TPatForm::~TPatForm() { FormDestroy(); }

void TPatForm::FormCreate()
{
    move(DefaultLeft, DefaultTop);
    try {
        constexpr int None = std::numeric_limits<std::int32_t>::min();
        const int left = ini_.ReadInteger(Section, "pleft", None);
        const int top = ini_.ReadInteger(Section, "ptop", None);
        // Without a stored place the owner decides where it goes once it is placed itself.
        placeStored_ = left != None || top != None;
        // Anywhere the player likes, as long as some of it shows on the screen.
        if (placeStored_)
            move(OnScreen(QPoint(left != None ? left : DefaultLeft, top != None ? top : DefaultTop), frameSize()));
    } catch (const SettingsError& error) {
        Report(error);
    }
    place_ = pos();
}

void TPatForm::FormDestroy()
{
    // A destructor must not throw: a position that cannot be stored is reported and lost.
    try {
        // A hidden window's moves reach it only at its next showing.
        const QPoint at = isVisible() ? place_ : pos();
        ini_.WriteInteger(Section, "pleft", at.x());
        ini_.WriteInteger(Section, "ptop", at.y());
    } catch (const SettingsError& error) {
        Report(error);
    }
}

QString TPatForm::Caption() const
{
    QString caption = QStringLiteral("Quarvel %1").arg(state_.CurrentPuzzle);
    const int n = state_.CurrentPuzzle;
    if (n < 0 || n > PuzzleLibrary::MaxPuzzles)
        return caption;
    const std::uint8_t progress = state_.Progress(n);
    if (!IsFinished(progress))
        return caption;
    const bool german = state_.Language == 1;
    if (EffectiveHelpLevel(progress) == 4)
        caption += german ? QStringLiteral(" - aufgegeben") : QStringLiteral(" - dropped");
    else
        caption += german ? QStringLiteral(" - gelöst") : QStringLiteral(" - solved");
    return caption;
}

void TPatForm::FormPaint(zq::Canvas& canvas)
{
    canvas.PenVisible = true;
    canvas.PenMode_ = zq::Canvas::PenMode::Copy;
    canvas.PenWidth = 1;
    canvas.PenColour = clBlack;
    canvas.BrushSolid = true;
    canvas.BrushColour = clSilver;
    canvas.FillRect(0, 0, ClientWidth, ClientHeight);

    // The solution itself, from the working copy: all pieces black, so overlaps need no care.
    canvas.BrushColour = clBlack;
    const PuzzleRecord& record = state_.Library[0];
    for (int j = 1; j <= PieceCount; ++j) {
        const PiecePlacement& p = record[j];
        const auto o = static_cast<std::size_t>(p.o.value());
        std::array<CanvasPoint, 3> points;
        for (std::size_t k = 0; k < 3; ++k)
            points[k] = {PixelsPerCell * (p.x + VertexX[k][o]), PixelsPerCell * (p.y + VertexY[k][o])};
        canvas.Polygon(points);
    }

    ShowCaption(Caption());
}

void TPatForm::ShowCaption(const QString& caption)
{
    // The title stays the window's name for task lists and window tools.
    setWindowTitle(caption);
    if (caption != caption_) {
        caption_ = caption;
        update(CaptionRect());
    }
}

void TPatForm::Repaint()
{
    client_->Repaint();
    repaint();
}

// The caption is worked out at every paint, so it follows the Quarvel's state
// and the language at whatever repaint comes next.
void TPatForm::paintEvent(QPaintEvent*)
{
    caption_ = Caption();
    setWindowTitle(caption_);
    QPainter p(this);
    p.setPen(QColor(0, 0, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, width() - 1, height() - 1);
    p.fillRect(CaptionRect(), CaptionColour);
    p.setFont(captionFont_);
    p.setPen(CaptionTextColour);
    p.drawText(CaptionRect().adjusted(CaptionPadding, 0, -CaptionPadding, 0), Qt::AlignLeft | Qt::AlignVCenter, caption_);
}

// A press on the caption bar drags the window. The window system carries the
// drag where it can, so that it keeps the window on the screen as it likes.
void TPatForm::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !CaptionRect().contains(event->position().toPoint()))
        return;
    carried_ = true;
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragGrip_ = event->globalPosition().toPoint() - pos();
}

void TPatForm::mouseMoveEvent(QMouseEvent* event)
{
    if (dragGrip_ && event->buttons().testFlag(Qt::LeftButton))
        move(event->globalPosition().toPoint() - *dragGrip_);
}

void TPatForm::mouseReleaseEvent(QMouseEvent*) { dragGrip_.reset(); }

void TPatForm::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Frameless, the window's inside stands where its frame does.
    if (!event->spontaneous() || carried_) {
        place_ = event->pos();
        return;
    }
    // A move the window system reports unasked, before the player ever carried
    // the window, can be a place it never stood at: reported while the window
    // manager was still framing it (the screen's corner). The game's own place
    // holds, and is asked for once more, so that the window system's answer
    // puts the game right about where the window is: a drag starts from there.
    if (event->pos() != place_ && !placeAskedAgain_) {
        placeAskedAgain_ = true;
        QTimer::singleShot(0, this, [this] { move(place_); });
    }
}

void TPatForm::closeEvent(QCloseEvent* event) { event->ignore(); }

} // namespace zq
