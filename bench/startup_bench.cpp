// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-process start-up to first paint and peak memory of the game, beside a
// minimal Qt program that shows a window of the same size: each is started
// a number of times on the offscreen platform; medians and the largest peak
// resident set are printed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
struct Run {
    double seconds = 0;
    long peakKb = 0;
};

Run Start(const std::string& program, const std::string& home)
{
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("ZQ_QUIT_AFTER_FIRST_PAINT", "1", 1);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        std::freopen("/dev/null", "w", stderr);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run r;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.peakKb = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "%s ended with status %d\n", program.c_str(), status);
    return r;
}

Run Measure(const std::string& program, int runs, const std::string& home)
{
    std::vector<double> times;
    long peak = 0;
    Start(program, home); // warm the file cache
    for (int i = 0; i < runs; ++i) {
        const Run r = Start(program, home);
        times.push_back(r.seconds);
        peak = std::max(peak, r.peakKb);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], peak};
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s GAME MINIMAL [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
    char home[] = "/tmp/zq-startup-XXXXXX";
    if (!mkdtemp(home))
        return 1;
    // A returning player: the language is stored, so no language dialog comes up.
    const std::string settingsDir = std::string(home) + "/config/zibble-quarvel";
    std::system(("mkdir -p " + settingsDir).c_str());
    if (FILE* f = std::fopen((settingsDir + "/settings.reg").c_str(), "w")) {
        std::fputs("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZibbleGames\\ZibbleQuarvel\\V2\\common]\n"
                   "\"tongue\"=\"0\"\n",
                   f);
        std::fclose(f);
    }
    const Run game = Measure(argv[1], runs, home);
    const Run minimal = Measure(argv[2], runs, home);
    std::printf("start-up to first paint, median of %d: game %.1f ms, minimal Qt window %.1f ms, ratio %.2f\n", runs,
                game.seconds * 1000, minimal.seconds * 1000, game.seconds / minimal.seconds);
    std::printf("peak resident memory: game %.1f MB, minimal Qt window %.1f MB, difference %.1f MB\n",
                game.peakKb / 1024.0, minimal.peakKb / 1024.0, (game.peakKb - minimal.peakKb) / 1024.0);
    std::string rm = std::string("rm -rf ") + home;
    return std::system(rm.c_str()) == 0 ? 0 : 1;
}
