// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/quarvel-tool/ProgressMeter.h"

#include <unistd.h>

namespace zq::tool {

ProgressMeter::ProgressMeter(std::string label, std::FILE* out)
    : label_(std::move(label)), out_(out), active_(isatty(fileno(out)) != 0)
{
}

ProgressMeter::~ProgressMeter()
{
    if (shown_)
        std::fputc('\n', out_);
}

void ProgressMeter::Update(int done, int total)
{
    if (!active_ || total <= 0)
        return;
    const int percent = done * 100 / total;
    if (percent == lastPercent_ && done != total)
        return;
    lastPercent_ = percent;
    constexpr int width = 30;
    const int filled = done * width / total;
    std::fprintf(out_, "\r%s [%.*s%*s] %d/%d", label_.c_str(), filled, "##############################", width - filled, "",
                 done, total);
    std::fflush(out_);
    shown_ = true;
}

} // namespace zq::tool
