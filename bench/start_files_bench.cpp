// SPDX-License-Identifier: GPL-3.0-or-later
// Making the main window, as at every start, beside files that grew or were
// damaged: a settings file crowded by other programs with a save value of a
// megabyte, game files of many megabytes or gigabytes, a data file of a
// gigabyte. Each must cost about as much as an ordinary start, never the time
// to read the whole file; quitting writes the crowded settings file back.
#include "resources/ArtResources.h"
#include "state/ProgramState.h"
#include "platform/services/TApplication.h"
#include "platform/settings/TIniStore.h"
#include "game/TMainform.h"
#include "tests/platform/settings/CrowdedSettingsText.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

using namespace zq;

namespace {

enum class Files { Ordinary, CrowdedSettings, BigGameFile, HugeNamedGameFile, HugeDataFile };

struct Folder {
    QTemporaryDir dir;
    QString gameFile; // named as on the command line

    explicit Folder(Files files)
    {
        const std::filesystem::path data = std::filesystem::path(ZQ_SOURCE_DIR) / "resources" / "zqvl2.dat";
        if (files == Files::HugeDataFile)
            Sparse(Path("zqvl2.dat"), off_t{1} << 30);
        else
            std::filesystem::copy_file(data, Path("zqvl2.dat").toStdString());
        if (files == Files::CrowdedSettings) {
            std::ofstream(Path("settings.reg").toStdString(), std::ios::binary) << test::CrowdedSettingsText();
            // A path of a megabyte: no file system takes it, so it reads as a game file that is gone.
            TIniStore(SettingsFile())
                .WriteString("common", "save", dir.path().toStdString() + "/" + std::string(1 << 20, 'm') + ".zqv");
        }
        if (files == Files::BigGameFile) {
            QFile big(Path("big.zqv"));
            if (big.open(QIODevice::WriteOnly))
                big.write(QByteArray(64 << 20, '\x03'));
            TIniStore(SettingsFile()).WriteString("common", "save", Path("big.zqv").toStdString());
        }
        if (files == Files::HugeNamedGameFile) {
            Sparse(Path("huge.zqv"), off_t{1} << 32);
            gameFile = Path("huge.zqv");
        }
        TIniStore(SettingsFile()).WriteInteger("common", "tongue", 0);
    }

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    std::filesystem::path SettingsFile() const { return Path("settings.reg").toStdString(); }

    static void Sparse(const QString& path, off_t size)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || ::ftruncate(file.handle(), size) != 0)
            throw std::runtime_error("cannot make " + path.toStdString());
    }

    std::unique_ptr<TMainform> Start(ProgramState& state) const
    {
        TMainform::Environment env;
        env.ProgramDir = dir.path() + QLatin1Char('/');
        env.SettingsFile = SettingsFile();
        env.Seed = 1;
        env.GameFile = gameFile;
        return std::make_unique<TMainform>(state, std::move(env));
    }
};

void Start(benchmark::State& s, Files files)
{
    const Folder folder(files);
    for (auto _ : s) {
        ProgramState state;
        const auto form = folder.Start(state);
        if (form->Aborted())
            s.SkipWithError("the start was aborted");
        benchmark::DoNotOptimize(state.CurrentPuzzle);
    }
}
BENCHMARK_CAPTURE(Start, ordinary files, Files::Ordinary)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Start, crowded settings and a 1 MiB save value, Files::CrowdedSettings)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Start, stored game file of 64 MiB, Files::BigGameFile)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Start, sparse game file of 4 GiB named, Files::HugeNamedGameFile)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Start, sparse data file of 1 GiB, Files::HugeDataFile)->Unit(benchmark::kMillisecond);

// The shutdown writes four settings into the crowded file.
void Quit(benchmark::State& s)
{
    const Folder folder(Files::CrowdedSettings);
    ProgramState state;
    const auto form = folder.Start(state);
    for (auto _ : s)
        form->formClose();
}
BENCHMARK(Quit)->Name("Quit/crowded settings and a 1 MiB save value")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    initArtResources();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
