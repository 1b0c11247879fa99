// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: every window is made once, in a fixed order, the main window
// first; they are freed in the reverse order, the main window last.
#include "app/CommandLine.h"
#include "resources/ArtResources.h"
#include "state/ProgramState.h"
#include "dialogs/TAboutDlg.h"
#include "platform/services/FileNames.h"
#include "platform/services/FirstPaintReport.h"
#include "platform/services/QuitSignals.h"
#include "platform/services/SingleInstance.h"
#include "platform/services/TApplication.h"
#include "game/TMainform.h"
#include "dialogs/TPatForm.h"
#include "dialogs/TSelectDlg.h"
#include "dialogs/TSplash.h"
#include "dialogs/TStatDlg.h"
#include "dialogs/TTongueDlg.h"
#include "dialogs/TYesNoDlg.h"

#include <QEvent>
#include <QFile>
#include <QSessionManager>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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
// While the application object is made: the toolkit ends the program with a
// screenful of advice when it cannot reach the window system; one line says
// what happened instead, and the exit status is 1. Its notes on the way there
// are kept back, and shown only when the start goes on.
QtMessageHandler toolkitHandler = nullptr;
QByteArray displayName;
QStringList heldNotes;

void StartupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        if (displayName.isEmpty())
            std::fputs("zibble-quarvel: cannot open a display (DISPLAY is not set)\n", stderr);
        else
            std::fprintf(stderr, "zibble-quarvel: cannot open display '%s'\n", displayName.constData());
        std::_Exit(1);
    }
    if (context.category && std::strncmp(context.category, "qt.qpa.", 7) == 0)
        heldNotes << message;
    else if (toolkitHandler)
        toolkitHandler(type, context, message);
}
} // namespace

int main(int argc, char** argv)
{
    const zq::CommandLine command = zq::ParseCommandLine(argc, argv);
    if (command.ExitCode)
        return *command.ExitCode;
    displayName = command.Display.isEmpty() ? qgetenv("DISPLAY") : zq::EncodeFileName(command.Display);
    toolkitHandler = qInstallMessageHandler(StartupMessages);
    zq::TApplication app(argc, argv);
    qInstallMessageHandler(toolkitHandler);
    for (const QString& note : std::as_const(heldNotes))
        qWarning("%s", qPrintable(note));

    // A game that runs already takes over: it comes to the front and opens the file named here.
    zq::SingleInstance instance(QFile::decodeName(zq::TIniStore::DefaultFileName().c_str()));
    QByteArray fileToHand =
        command.GameFile.isEmpty() ? QByteArray() : zq::EncodeFileName(zq::AbsoluteFileName(command.GameFile));
    if (!command.CollectionFile.isEmpty())
        fileToHand = QByteArray(zq::TMainform::CollectionRequest) +
                     zq::EncodeFileName(zq::AbsoluteFileName(command.CollectionFile));
    if (instance.Claim(fileToHand) == zq::SingleInstance::Outcome::HandedOver)
        return 0;
    // The session may end while the main window is still being made (a message
    // about a damaged file is up): the start is then cut short once it is made.
    zq::QuitSignals quitSignals;
    bool endedEarly = false;
    QObject::connect(&quitSignals, &zq::QuitSignals::Received, &app, [&endedEarly] {
        endedEarly = true;
        QCoreApplication::exit(0);
    });
    // Requests that come while the main window is still being made wait for it.
    QByteArrayList earlyRequests;
    QObject::connect(&instance, &zq::SingleInstance::Requested, &app,
                     [&earlyRequests](const QByteArray& file) { earlyRequests << file; });

    zq::initArtResources();
    // The pattern window stays open all the time; closing the main window alone ends the run.
    app.setQuitOnLastWindowClosed(false);

    zq::ProgramState state;
    zq::TMainform::Environment environment;
    environment.GameFile = command.GameFile;
    environment.CollectionFile = command.CollectionFile;
    environment.RecoveryFile = zq::TMainform::DefaultRecoveryFile();
    auto MainForm = std::make_unique<zq::TMainform>(state, std::move(environment));
    if (MainForm->Aborted())
        return 1;
    QObject::disconnect(&quitSignals, &zq::QuitSignals::Received, &app, nullptr);
    if (endedEarly) {
        MainForm->EndSession();
        return 0;
    }
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

    zq::TMainform* const form = MainForm.get();
    QObject::disconnect(&instance, &zq::SingleInstance::Requested, &app, nullptr);
    QObject::connect(&instance, &zq::SingleInstance::Requested, form,
                     [form](const QByteArray& file) { form->BringToFront(zq::DecodeFileName(file)); });
    for (const QByteArray& file : std::as_const(earlyRequests))
        QTimer::singleShot(0, form, [form, file] { form->BringToFront(zq::DecodeFileName(file)); });

    // The end of the session (a signal, the session manager's request) quits
    // without the quit question, saving what a quit saves.
    const auto endSession = [form] {
        form->EndSession();
        QCoreApplication::exit(0);
    };
    QObject::connect(&quitSignals, &zq::QuitSignals::Received, form, endSession);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, form, [endSession](QSessionManager&) { endSession(); });

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
