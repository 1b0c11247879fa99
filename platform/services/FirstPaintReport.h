// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// For start-up measurements: tells the measuring tool, on the pipe named by
// ZQ_FIRST_PAINT_FD, the clock, the CPU time and the peak memory at the first
// paint, so that shutdown is not counted. The game and the minimal window it is
// measured against report the same way. Does nothing outside a measurement.
#include <QtGlobal>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace zq {

inline void ReportFirstPaint()
{
    bool ok = false;
    const int fd = qEnvironmentVariableIntValue("ZQ_FIRST_PAINT_FD", &ok);
    if (!ok)
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    char line[128];
    const int n = std::snprintf(line, sizeof line, "%lld %lld %ld\n",
                                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                                static_cast<long long>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                                    usage.ru_utime.tv_usec + usage.ru_stime.tv_usec,
                                usage.ru_maxrss);
    if (n > 0 && write(fd, line, static_cast<std::size_t>(n)) < 0)
        return;
}

} // namespace zq
