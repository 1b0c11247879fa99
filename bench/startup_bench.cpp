// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-process start-up to first paint and peak memory of the game, beside
// minimal Qt programs that show a window of the same size: the yardstick draws
// one line of text in the system font, as the game must; a second, text-less
// window, if given, shows what the fonts alone cost. On the offscreen platform
// and on a real X server (a private Xvfb unless --use-display).
// The programs take turns run by run, after one warm-up run each, so that a
// change of load on the machine falls on all of them alike; medians of wall
// and CPU time and of peak resident memory are printed with their ratios,
// first against the text window, then against the text-less one.
// Times run from the start of the process to its first paint, as the program
// reports it on a pipe (ZQ_FIRST_PAINT_FD); a program that does not report is
// timed to its end.
//
//   startup_measure [--runs N] [--platforms offscreen,xcb] [--use-display]
//                   [--before OLD_GAME] GAME TEXT_WINDOW [TEXTLESS_WINDOW] [RUNS]
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run {
    double wallMs = 0;
    double cpuMs = 0;
    double peakMb = 0;
    double exitMs = 0; // to the end of the process
    bool ok = false;
};

struct Program {
    std::string label;
    std::string path;
    std::vector<Run> runs;
};

struct Target {
    std::string platform; // QT_QPA_PLATFORM
    std::string display;  // for xcb
};

double Ms(const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; }

Run Start(const std::string& program, const std::string& home, const Target& target)
{
    int report[2];
    if (pipe(report) != 0)
        return {};
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(report[0]);
        setenv("ZQ_FIRST_PAINT_FD", std::to_string(report[1]).c_str(), 1);
        setenv("QT_QPA_PLATFORM", target.platform.c_str(), 1);
        if (!target.display.empty())
            setenv("DISPLAY", target.display.c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        setenv("ZQ_QUIT_AFTER_FIRST_PAINT", "1", 1);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        if (!std::freopen("/dev/null", "w", stderr))
            _exit(126);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(report[1]);
    std::string line;
    char c = 0;
    while (read(report[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(report[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run r;
    r.exitMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    r.wallMs = r.exitMs;
    r.cpuMs = Ms(usage.ru_utime) + Ms(usage.ru_stime);
    r.peakMb = usage.ru_maxrss / 1024.0;
    long long paintNs = 0;
    long long cpuUs = 0;
    long peakKb = 0;
    if (std::sscanf(line.c_str(), "%lld %lld %ld", &paintNs, &cpuUs, &peakKb) == 3) {
        const auto startNs = std::chrono::duration_cast<std::chrono::nanoseconds>(t0.time_since_epoch()).count();
        r.wallMs = static_cast<double>(paintNs - startNs) / 1e6;
        r.cpuMs = static_cast<double>(cpuUs) / 1000.0;
        r.peakMb = static_cast<double>(peakKb) / 1024.0;
    }
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!r.ok)
        std::fprintf(stderr, "%s ended with status %d\n", program.c_str(), status);
    return r;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

template <typename F>
double MedianOf(const std::vector<Run>& runs, F field)
{
    std::vector<double> v;
    for (const Run& r : runs)
        v.push_back(field(r));
    return Median(v);
}

std::string LoadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// A private X server; -displayfd tells us its number once it accepts clients.
class PrivateXServer {
public:
    PrivateXServer()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            if (!std::freopen("/dev/null", "w", stderr))
                _exit(126);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!number.empty())
            display_ = ":" + number;
    }
    ~PrivateXServer()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

double WallOf(const Program& p) { return MedianOf(p.runs, [](const Run& r) { return r.wallMs; }); }
double CpuOf(const Program& p) { return MedianOf(p.runs, [](const Run& r) { return r.cpuMs; }); }
double PeakOf(const Program& p) { return MedianOf(p.runs, [](const Run& r) { return r.peakMb; }); }

// The games come first in programs, then the yardsticks, the text window first.
void Report(const std::string& title, const std::vector<Program>& programs, std::size_t games, int runs)
{
    std::printf("%s: medians of %d alternating runs\n", title.c_str(), runs);
    std::printf("  %-22s %9s %9s %9s %12s\n", "program", "wall ms", "CPU ms", "peak MB", "to exit ms");
    for (const Program& p : programs)
        std::printf("  %-22s %9.1f %9.1f %9.1f %12.1f\n", p.label.c_str(), WallOf(p), CpuOf(p), PeakOf(p),
                    MedianOf(p.runs, [](const Run& r) { return r.exitMs; }));
    for (std::size_t i = 0; i < games; ++i) {
        const Program& p = programs[i];
        for (std::size_t k = games; k < programs.size(); ++k) {
            const Program& yardstick = programs[k];
            std::printf("  %-22s wall %.2f, CPU %.2f times the %s, memory %+.1f MB\n",
                        k == games ? p.label.c_str() : "", WallOf(p) / WallOf(yardstick), CpuOf(p) / CpuOf(yardstick),
                        yardstick.label.c_str(), PeakOf(p) - PeakOf(yardstick));
        }
    }
}

// Warm-up, then rounds in which every program runs once, the order turning
// round by round so that none always follows the same one.
bool Measure(std::vector<Program>& programs, int runs, const std::string& home, const Target& target)
{
    bool ok = true;
    for (const Program& p : programs)
        ok = Start(p.path, home, target).ok && ok;
    const std::size_t n = programs.size();
    for (int round = 0; round < runs; ++round) {
        for (std::size_t k = 0; k < n; ++k) {
            Program& p = programs[(k + static_cast<std::size_t>(round)) % n];
            const Run r = Start(p.path, home, target);
            ok = r.ok && ok;
            p.runs.push_back(r);
        }
    }
    return ok;
}

int Usage(const char* self)
{
    std::fprintf(stderr,
                 "usage: %s [--runs N] [--platforms offscreen,xcb] [--use-display] [--before OLD_GAME] GAME TEXT_WINDOW "
                 "[TEXTLESS_WINDOW] [RUNS]\n",
                 self);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 15;
    std::vector<std::string> platforms{"offscreen", "xcb"};
    bool useDisplay = false;
    std::string before;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else if (arg == "--platforms" && i + 1 < argc) {
            platforms.clear();
            std::stringstream list(argv[++i]);
            for (std::string p; std::getline(list, p, ',');)
                platforms.push_back(p);
        } else if (arg == "--use-display") {
            useDisplay = true;
        } else if (arg == "--before" && i + 1 < argc) {
            before = argv[++i];
        } else if (arg.starts_with("--")) {
            return Usage(argv[0]);
        } else {
            positional.push_back(arg);
        }
    }
    // A trailing number is the count of runs.
    if (!positional.empty() && positional.back().find_first_not_of("0123456789") == std::string::npos) {
        runs = std::atoi(positional.back().c_str());
        positional.pop_back();
    }
    if (positional.size() < 2 || positional.size() > 3)
        return Usage(argv[0]);
    if (runs < 1)
        return Usage(argv[0]);

    char home[] = "/tmp/zq-startup-XXXXXX";
    if (!mkdtemp(home))
        return 1;
    // A returning player: the language is stored, so no language dialog comes up.
    const std::string settingsDir = std::string(home) + "/config/zibble-quarvel";
    if (std::system(("mkdir -p " + settingsDir).c_str()) != 0)
        return 1;
    if (FILE* f = std::fopen((settingsDir + "/settings.reg").c_str(), "w")) {
        std::fputs("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZibbleGames\\ZibbleQuarvel\\V2\\common]\n"
                   "\"tongue\"=\"0\"\n",
                   f);
        std::fclose(f);
    }

    bool ok = true;
    std::printf("start-up to first paint, returning player; load average before: %s\n", LoadAverage().c_str());
    for (const std::string& platform : platforms) {
        std::vector<Program> programs;
        if (!before.empty())
            programs.push_back({"game before", before, {}});
        programs.push_back({"game", positional[0], {}});
        const std::size_t games = programs.size();
        programs.push_back({"text window", positional[1], {}});
        if (positional.size() == 3)
            programs.push_back({"text-less window", positional[2], {}});
        Target target{platform, {}};
        std::optional<PrivateXServer> server;
        std::string title = platform;
        if (platform == "xcb") {
            const char* display = std::getenv("DISPLAY");
            if (useDisplay && display && *display) {
                target.display = display;
                title += " on " + target.display;
            } else {
                server.emplace();
                if (server->Display().empty()) {
                    std::fprintf(stderr, "cannot start Xvfb\n");
                    ok = false;
                    continue;
                }
                target.display = server->Display();
                title += " on a private Xvfb " + target.display;
            }
        }
        ok = Measure(programs, runs, home, target) && ok;
        Report(title, programs, games, runs);
    }
    std::printf("load average after: %s\n", LoadAverage().c_str());
    const std::string rm = std::string("rm -rf ") + home;
    return std::system(rm.c_str()) == 0 && ok ? 0 : 1;
}
