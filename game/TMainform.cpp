// SPDX-License-Identifier: GPL-3.0-or-later
// The main window put together: its toolbar, its board widget, the services it owns.
#include "game/TMainform.h"

#include "game/EditorSession.h"

#include "platform/canvas/CanvasWidget.h"
#include "platform/placement/TFormPlacement.h"
#include "platform/services/Glyphs.h"
#include "platform/services/RawPicture.h"
#include "platform/services/TApplication.h"
#include "platform/services/TLinkLabel.h"
#include "platform/sound/LazySoundOutput.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QMessageBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace zq {

TMainform::TMainform(ProgramState& state, Environment environment)
    : State(state),
      ini(environment.SettingsFile.empty() ? TIniStore() : TIniStore(environment.SettingsFile)),
      waves(environment.SoundOutput_ ? std::move(environment.SoundOutput_)
                                    : std::unique_ptr<SoundOutput>(std::make_unique<LazySoundOutput>(
                                          LazySoundOutput::ModulePathsFor(QCoreApplication::applicationDirPath()))))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zibble Quarvel"));
    setWindowIcon(GameIcon());
    resize(DesignedWidth, DesignedHeight);
    CreateToolbar();
    // One cell of at least one pixel, so the board never divides by a cell size
    // of 0, and room for every toolbar button side by side.
    setMinimumSize(std::max(93, toolPanel->layout()->minimumSize().width()), ToolPanelHeight + 63);

    box = new CanvasWidget(this);
    box->setObjectName(QStringLiteral("box"));
    box->setMouseTracking(true);
    box->setCursor(Qt::PointingHandCursor);
    box->OnPaint = [this](Canvas& c) { boxPaint(c); };
    box->OnOverlay = [this](QPainter& painter) { PaintOverlay(painter); };
    box->OnMouseDown = [this](QMouseEvent* e) {
        boxMousedown(e->button(), static_cast<int>(std::floor(e->position().x())),
                     static_cast<int>(std::floor(e->position().y())));
    };
    box->OnMouseMove = [this](QMouseEvent* e) {
        boxMouseMove((e->buttons() & Qt::LeftButton) != 0, static_cast<int>(std::floor(e->position().x())),
                     static_cast<int>(std::floor(e->position().y())));
    };
    // The board takes the keys; the toolbar never holds the focus.
    box->setFocusPolicy(Qt::StrongFocus);
    box->OnKeyDown = [this](QKeyEvent* e) { return boxKeyDown(e->key(), e->modifiers()); };
    box->OnWheel = [this](QWheelEvent* e) { boxWheel(e->angleDelta().y()); };
    box->setFocus();
    CreateShortcuts();

    WebLabel = new TLinkLabel(this);
    WebLabel->Jump = QStringLiteral("https://zibble-quarvel.example.org/");

    back = ReadRawPicture(QStringLiteral(":/art/back.pix")).convertToFormat(QImage::Format_RGB32);
    moveCursor_ = QCursor(QPixmap::fromImage(ReadRawPicture(QStringLiteral(":/art/crmove1.pix"))), 16, 16);
    turnCursor_ = QCursor(QPixmap::fromImage(ReadRawPicture(QStringLiteral(":/art/crturn2.pix"))), 16, 16);

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
    b->setIcon(BitmapIcon(QStringLiteral(":/glyphs/%1").arg(QString::fromLatin1(icon))));
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


void TMainform::ShowError(const QString& text)
{
    QMessageBox::critical(isVisible() ? this : nullptr, QStringLiteral("Zibble Quarvel"), text);
}

} // namespace zq
