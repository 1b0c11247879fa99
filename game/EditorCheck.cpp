// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/EditorCheck.h"

#include <QMetaObject>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace zq {

EditorCheck::EditorCheck(QObject* parent) : QObject(parent)
{
    worker_ = std::thread([this] {
        // The board comes first when the processor is busy: the check yields to it.
        setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
        Work();
    });
}

EditorCheck::~EditorCheck()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        next_.reset();
    }
    ++generation_; // the check under way stops at its next look
    wake_.notify_one();
    worker_.join();
}

void EditorCheck::Start(const PuzzleRecord& figure, std::vector<FigureRules::Reference> references)
{
    const unsigned generation = ++generation_;
    {
        std::lock_guard lock(mutex_);
        next_ = Job{generation, figure, std::move(references)};
    }
    running_ = true;
    wake_.notify_one();
}

void EditorCheck::Cancel()
{
    ++generation_;
    std::lock_guard lock(mutex_);
    next_.reset();
    running_ = false;
}

void EditorCheck::Work()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || next_.has_value(); });
            if (quit_)
                return;
            job = std::move(*next_);
            next_.reset();
        }
        const unsigned generation = job.generation;
        const auto stale = [this, generation] { return generation_.load() != generation; };
        const auto progress = [this, stale](int percent) {
            // Queued: the slot runs on this object's thread, and only for the figure still wanted.
            QMetaObject::invokeMethod(this, [this, stale, percent] {
                if (!stale() && running_)
                    emit Progress(percent);
            }, Qt::QueuedConnection);
        };
        const FigureRules::Verdict verdict = slow_.Run(job.figure, job.references, stale, progress);
        if (verdict.reason == FigureRules::Reason::Stopped)
            continue;
        QMetaObject::invokeMethod(this, [this, stale, verdict] {
            if (stale() || !running_)
                return;
            running_ = false;
            emit Finished(verdict);
        }, Qt::QueuedConnection);
    }
}

} // namespace zq
