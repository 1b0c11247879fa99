// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: every window is made once, in a fixed order, the main window
// first; they are freed in the reverse order, the main window last.
#include "app/CommandLine.h"
#include "resources/ArtResources.h"
#include "state/ProgramState.h"
#include "dialogs/TAboutDlg.h"
#include "platform/services/FirstPaintReport.h"
#include "platform/services/TApplication.h"
#include "game/TMainform.h"
#include "dialogs/TPatForm.h"
#include "dialogs/TSelectDlg.h"
#include "dialogs/TSplash.h"
#include "dialogs/TStatDlg.h"
#include "dialogs/TTongueDlg.h"
#include "dialogs/TYesNoDlg.h"

#include <QEvent>
#include <QTimer>

#include <memory>

namespace {
// For start-up measurements: ends the run once the main window has painted,
// after reporting that moment to the measuring tool.
class QuitAfterFirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, [] {
                zq::ReportFirstPaint();
                QCoreApplication::exit(0);
            });
        return false;
    }
};
} // namespace

int main(int argc, char** argv)
{
    const zq::CommandLine command = zq::ParseCommandLine(argc, argv);
    if (command.ExitCode)
        return *command.ExitCode;
    zq::TApplication app(argc, argv);
    zq::initArtResources();
    // The pattern window stays open all the time; closing the main window alone ends the run.
    app.setQuitOnLastWindowClosed(false);

    zq::ProgramState state;
    zq::TMainform::Environment environment;
    environment.GameFile = command.GameFile;
    auto MainForm = std::make_unique<zq::TMainform>(state, std::move(environment));
    if (MainForm->Aborted())
        return 1;
    auto Splash = std::make_unique<zq::TSplash>();
    auto PatForm = std::make_unique<zq::TPatForm>(state, MainForm->ini, MainForm.get());
    auto SelectDlg = std::make_unique<zq::TSelectDlg>(state, MainForm.get());
    auto StatDlg = std::make_unique<zq::TStatDlg>(state, MainForm.get());
    auto YesNoDlg = std::make_unique<zq::TYesNoDlg>(state, MainForm.get());
    auto AboutDlg = std::make_unique<zq::TAboutDlg>(state, MainForm.get());
    auto TongueDlg = std::make_unique<zq::TTongueDlg>(state, MainForm.get());
    MainForm->Splash = Splash.get();
    MainForm->PatForm = PatForm.get();
    MainForm->SelectDlg = SelectDlg.get();
    MainForm->StatDlg = StatDlg.get();
    MainForm->YesNoDlg = YesNoDlg.get();
    MainForm->AboutDlg = AboutDlg.get();
    MainForm->TongueDlg = TongueDlg.get();

    QuitAfterFirstPaint quitAfterFirstPaint;
    if (qEnvironmentVariableIsSet("ZQ_QUIT_AFTER_FIRST_PAINT"))
        MainForm->installEventFilter(&quitAfterFirstPaint);
    QObject::connect(MainForm.get(), &zq::TMainform::Closed, &app, [] { QCoreApplication::exit(0); });
    MainForm->show();
    const int result = app.exec();

    TongueDlg.reset();
    AboutDlg.reset();
    YesNoDlg.reset();
    StatDlg.reset();
    SelectDlg.reset();
    PatForm.reset();
    Splash.reset();
    MainForm.reset();
    return result;
}
