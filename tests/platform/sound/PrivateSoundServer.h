// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A private PulseAudio daemon with a null sink, for the sound tests and the
// sound bench: started by the constructor, ended with the object.

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <sys/prctl.h>

#include <csignal>
#include <optional>

namespace zq::test {

// Runs pulseaudio with a null sink in a private runtime folder and points
// every client of this process (Qt and pactl) at it.
class PrivateSoundServer {
public:
    PrivateSoundServer()
    {
        if (!dir_.isValid()) {
            error_ = "no temporary folder";
            return;
        }
        const QString runtime = dir_.path() + "/runtime";
        const QString home = dir_.path() + "/home";
        QDir().mkpath(runtime);
        QDir().mkpath(home);
        socket_ = runtime + "/pulse/native";
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        qputenv("PULSE_SERVER", ("unix:" + socket_).toLocal8Bit());

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home); // its cookie and state stay in our folder
        env.remove("PULSE_SERVER");
        daemon_.setProcessEnvironment(env);
        daemon_.setProcessChannelMode(QProcess::MergedChannels);
        // Goes when we go, even if this process is killed; an idle timeout backs that up.
        daemon_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        // -n: no default script, so only the two modules we need; root must
        // ask for a per-user daemon explicitly.
        daemon_.start("pulseaudio", {"-n", "--daemonize=no", "--system=false", "--exit-idle-time=30",
                                     "--disallow-exit", "--use-pid-file=no", "--log-target=stderr",
                                     "--load=module-null-sink sink_name=zq_null",
                                     "--load=module-native-protocol-unix"});
        if (!daemon_.waitForStarted(10000)) {
            error_ = "cannot run pulseaudio: " + daemon_.errorString();
            return;
        }
        QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired()) {
            if (daemon_.state() != QProcess::Running)
                break;
            if (QFile::exists(socket_) && Pactl({"info"}).has_value())
                return;
            QThread::msleep(50);
        }
        daemon_.waitForReadyRead(100);
        error_ = "pulseaudio did not come up: " + QString::fromLocal8Bit(daemon_.readAll());
    }

    ~PrivateSoundServer()
    {
        if (daemon_.state() == QProcess::NotRunning)
            return;
        daemon_.terminate();
        if (!daemon_.waitForFinished(5000)) {
            daemon_.kill();
            daemon_.waitForFinished(5000);
        }
    }

    bool Ok() const { return error_.isEmpty(); }
    const QString& Error() const { return error_; }

    static std::optional<QString> Pactl(const QStringList& args)
    {
        QProcess pactl;
        pactl.start("pactl", args);
        if (!pactl.waitForFinished(5000) || pactl.exitStatus() != QProcess::NormalExit || pactl.exitCode() != 0)
            return std::nullopt;
        return QString::fromLocal8Bit(pactl.readAllStandardOutput());
    }

    // The indices of the streams the server plays now, as the server sees them.
    static QStringList SinkInputs()
    {
        QStringList ids;
        const auto out = Pactl({"list", "short", "sink-inputs"});
        if (!out)
            return {"pactl failed"};
        for (const QString& line : out->split('\n', Qt::SkipEmptyParts))
            ids << line.section('\t', 0, 0);
        return ids;
    }

private:
    QTemporaryDir dir_;
    QString socket_;
    QProcess daemon_;
    QString error_;
};

} // namespace zq::test
