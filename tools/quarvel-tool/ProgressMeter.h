// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

namespace zq::tool {

// A one-line count on stderr that rewrites itself, shown only when stderr is a
// terminal, so that logs and pipes stay clean.
class ProgressMeter {
public:
    explicit ProgressMeter(std::string label, std::FILE* out = stderr);
    ~ProgressMeter();
    ProgressMeter(const ProgressMeter&) = delete;
    ProgressMeter& operator=(const ProgressMeter&) = delete;

    void Update(int done, int total);
    bool Active() const { return active_; }

private:
    std::string label_;
    std::FILE* out_;
    bool active_;
    bool shown_ = false;
    int lastPercent_ = -1;
};

} // namespace zq::tool
