// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/BoardEngine.h"
#include "engine/MoveHistory.h"
#include "platform/canvas/Canvas.h"
#include "state/ProgramState.h"
#include "platform/sound/SoundOutput.h"
#include "platform/settings/TIniStore.h"
#include "platform/sound/TWaveList.h"
#include "engine/figures/FigureRules.h"

#include <QCursor>
#include <QImage>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <random>

class QFileDialog;
class QPainter;
class QTimer;
class QTextBrowser;
class QToolButton;

namespace zq {

class CanvasWidget;
struct EditorSession;
class TFormPlacement;
class TLinkLabel;
class TPatForm;
class TSelectDlg;
class TSplash;
class TStatDlg;
class TTongueDlg;
class TYesNoDlg;
class TAboutDlg;

// The main window: the toolbar, the board and everything the player does on
// it. It owns the board engine, the settings store and the sound bank; the
// other windows are created after it and handed to it by the program entry.
class TMainform : public QWidget {
    Q_OBJECT
public:
    // What the outside world provides; tests replace each part.
    struct Environment {
        QString ProgramDir;                       // with a trailing separator; empty: the program's own folder
        std::filesystem::path SettingsFile;        // empty: the player's settings file
        std::unique_ptr<SoundOutput> SoundOutput_; // null: the system's audio output
        std::optional<std::uint32_t> Seed;         // none: seeded from the clock
        QString GameFile;                          // named on the command line, opened instead of the stored game
        std::filesystem::path RecoveryFile;        // where an unsaved game is kept when the session ends; empty: nowhere
        QString CollectionFile;                    // a collection file to play read-only (--collection)
    };

    TMainform(ProgramState& state, Environment environment);
    ~TMainform() override;

    // Set when creation ended the program (no data file, unreadable game file):
    // the window must not be shown and no setting is written.
    bool Aborted() const { return aborted_; }

    // The forms created after this one.
    TSplash* Splash = nullptr;
    TPatForm* PatForm = nullptr;
    TSelectDlg* SelectDlg = nullptr;
    TStatDlg* StatDlg = nullptr;
    TYesNoDlg* YesNoDlg = nullptr;
    TAboutDlg* AboutDlg = nullptr;
    TTongueDlg* TongueDlg = nullptr;

    ProgramState& State;
    BoardEngine Engine;
    MoveHistory History; // the moves of the Quarvel on the board since its set-up or the last help step
    bool FirstActivation = true;
    bool Modified = false;
    TIniStore ini;
    TWaveList waves;
    std::unique_ptr<TFormPlacement> FormPlacement1;

    QWidget* toolPanel = nullptr;
    QToolButton* NewgameBtn = nullptr;
    QToolButton* LoadBtn = nullptr;
    QToolButton* SaveBtn = nullptr;
    QToolButton* StatBtn = nullptr;
    QToolButton* ExitBtn = nullptr;
    QToolButton* SelectBtn = nullptr;
    QToolButton* UpBtn = nullptr;
    QToolButton* DownBtn = nullptr;
    QToolButton* TipBtn = nullptr;
    QToolButton* SoundBtn = nullptr;
    QToolButton* TongueBtn = nullptr;
    QToolButton* RulesBtn = nullptr;
    QToolButton* InfoBtn = nullptr;
    QToolButton* ZibbleBtn = nullptr;
    CanvasWidget* box = nullptr;
    TLinkLabel* WebLabel = nullptr;
    QFileDialog* OpenDlg = nullptr; // made when first used
    QFileDialog* SaveDlg = nullptr;
    QTextBrowser* HelpViewer = nullptr;
    QString HelpFile;

    static constexpr int ToolPanelHeight = 33;
    static constexpr int DesignedWidth = 464;
    static constexpr int DesignedHeight = 386;

    // Board drawing (TMainformBoardDrawing.cpp).
    void formResize();
    void FormPaint(Canvas& canvas);
    void boxPaint(Canvas& canvas);
    void DrawPieceOutline(int j, Colour colour, bool xorMode);
    void DrawPiece(int j, Colour fillColour, Colour outlineColour);
    void DrawPieces(Colour fillColour, Colour outlineColour);
    // The lifted piece: its XOR outline and, inside it, a see-through XOR tint
    // (clLiftTint). Hiding takes off exactly what was shown last, so every pixel
    // beneath comes back.
    void ShowLifted();
    void HideLifted();
    // Whether the short sign of a refused put-down is showing now.
    bool RefusalShowing() const { return refusalTicks_ > 0 && refusalTicks_ % 2 == 0; }
    const Canvas& FormCanvas() const { return formCanvas_; }

    // Piece handling (TMainformPieces.cpp).
    void boxMousedown(Qt::MouseButton button, int X, int Y);
    void boxMouseMove(bool leftHeld, int X, int Y);
    void PickPiece(int X, int Y);
    void MoveSelectedPiece(int x, int y);
    void LiftPiece(int j);
    // Puts the lifted piece down where it is, if it fits; runs the solve test.
    bool PutDownSelected();
    bool TurnSelectedPiece(Orientation turned, bool withSound);

    // Keys, wheel, undo and redo (TMainformKeys.cpp).
    // Returns whether the key belongs to the board.
    bool boxKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void boxWheel(int angleDelta);
    void CancelLift();
    void Undo();
    void Redo();

    // Help, progress and navigation (TMainformHelpNavigation.cpp).
    void SetupPuzzle();
    void TipBtnClick();
    void QuarvelSolved();
    void UpBtnClick();
    void DownBtnClick();
    void SelectBtnClick();
    void StatBtnClick();

    // Game files (TMainformGameFiles.cpp).
    bool WriteGameFile(const QString& path);
    bool ReadGameFile(const QString& path);
    void SaveGameAs();
    void SaveIfModified();
    void SaveBtnClick();
    void LoadBtnClick();
    void NewgameBtnClick();
    void LoadChosenFile(const QString& name);
    void UpdateTitle();

    // Language, hints, help, about, web page (TMainformStartup.cpp).
    void UpdateHints();
    void TongueBtnClick();
    void rules();
    void info();
    void ZibbleBtnClick();

    // Start-up and shutdown (TMainformStartup.cpp).
    void formActivate();
    bool formCloseQuery();
    void formClose();
    void ExitBtnClick();
    // The session ends (a signal, the session manager): what a quit does,
    // without its question or any other; a modified game that cannot go to its
    // file goes to RecoveryFile, offered at the next start.
    void EndSession();
    void OfferRecovery();
    static std::filesystem::path DefaultRecoveryFile();
    std::filesystem::path RecoveryFile;
    // Another start of the game handed over: come to the front and open the
    // file it was given, if any, as the load button would.
    void BringToFront(const QString& file);

    // Own Quarvels and collection files (TMainformCollections.cpp).
    // A help step or a solution changed the progress: the shipped game is then
    // modified, an own Quarvel's progress goes to its file at once.
    void ProgressChanged();
    // Plays a collection file read-only; a damaged or unreadable one is reported by name.
    void OpenCollectionFile(const QString& file);
    bool PlayCollectionFile(const QString& file); // the same without setting up the board
    // What a running game is handed, before the file name, to play a collection file.
    static constexpr const char* CollectionRequest = "collection:";
    void ReadCollectionSettings(const QString& collectionFile);
    void WriteCollectionSettings();
    QString CollectionTitle() const;

    void PlayWave(int n);
    void RepaintPattern();
    // Asks the window to close as the exit button does; ignored while a close is under way.
    void RequestClose();

    // The editor (TMainformEditor.cpp): the board lent to making a Quarvel. 0 starts a new
    // figure from the parked pieces, i (1..State.Own.Count()) opens own Quarvel i, which a
    // save then replaces. Leaving it puts back the game that was on the board.
    void OpenEditor(int ownIndex = 0);
    void CloseEditor();
    void ToggleEditor();
    bool Editing() const;
    // Whether the figure being made may be left: asks first when it holds work not
    // saved. Everything that ends the editor at the player's word asks this.
    bool EditorMayGo();
    // Centres the figure, asks for a name and stores it, when every rule holds.
    void SaveFigure();

signals:
    // The window has closed: the run is over, whatever other windows are open.
    void Closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void formCreate(Environment& environment);
    void CreateToolbar();
    void CreateShortcuts();
    void ShowLaidDown(int j);
    void ShowRelaid(int j, const PiecePlacement& left);
    QRect PieceRect(const PiecePlacement& p) const;
    QToolButton* AddButton(const char* name, const char* icon);
    void ShowError(const QString& text);
    QFileDialog& FileDialog(QFileDialog*& dialog, bool save);
    // Where the file dialogs start without a game file: the player's documents (or home)
    // unless the game runs from a writable folder of its own.
    QString GameFolder() const;
    std::array<CanvasPoint, 3> Triangle(int j) const;
    void SetBoxCursor(int zone);
    void ToggleLifted(const PiecePlacement& at);
    void SignalRefused();
    void PaintOverlay(QPainter& painter);
    bool ReadProgressFrom(const QString& path);
    // The built-in sounds, read and decoded when sound is first readied or played, not before the first paint.
    void ReadSounds();
    // What identifies the game file's contents on disk; all zero when there is none.
    struct DiskStamp {
        long long device = 0, inode = 0, size = 0, seconds = 0, nanoseconds = 0;
        friend bool operator==(const DiskStamp&, const DiskStamp&) = default;
    };
    static DiskStamp StampOf(const QString& path);
    bool ChangedOnDisk() const;
    bool MayOverwriteGameFile();
    void StampGameFile(const QString& path);
    QString stampedFile_;     // the game file as last read or written here
    DiskStamp gameFileStamp_; // and what it was then
    bool sessionEnded_ = false;

    Canvas& BoardCanvas();

    Canvas formCanvas_;
    Canvas* paintTarget_ = nullptr;
    QImage back;
    QCursor moveCursor_;
    QCursor turnCursor_;
    std::mt19937 random_;
    OrientationSource randomOrientation_;
    bool aborted_ = false;
    bool closing_ = false;
    bool placementRestored_ = false;
    bool soundPrepared_ = false;
    int lastLifted_ = 0;     // where Tab goes on from
    int wheelRemainder_ = 0; // eighths of a degree not yet a whole notch
    std::optional<PiecePlacement> liftedShown_; // where the board canvas shows the lifted piece
    QTimer* refusalTimer_ = nullptr;
    int refusalTicks_ = 0; // counts down; the sign shows on even ticks

    std::unique_ptr<EditorSession> editor_;
    int EditorBarHeight() const;
    void MakeEditorBar();
    void PlaceEditorBar();
    void UpdateEditorTexts();
    void SetEditorLine(const QString& text);
    // The pieces lie or are lifted anew: tell the line, start or call off the slow check.
    void EditorFigureChanged();
    void ShowVerdict(const FigureRules::Verdict& verdict);
    std::vector<FigureRules::Reference> EditorReferences() const;
    void PaintEditorOverlay(QPainter& painter);
};

} // namespace zq
