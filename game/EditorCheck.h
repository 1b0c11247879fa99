// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/figures/FigureRules.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace zq {

// Runs the slow rules of a figure on a thread of its own, so the board never
// waits for them. A new figure calls off the one being checked; only the latest
// figure's verdict is ever reported. Signals come on the thread that made this.
class EditorCheck : public QObject {
    Q_OBJECT
public:
    explicit EditorCheck(QObject* parent = nullptr);
    ~EditorCheck() override;

    // Checks the figure against the references; calls off any check under way.
    void Start(const PuzzleRecord& figure, std::vector<FigureRules::Reference> references);
    // Calls off the check under way, if any; returns at once.
    void Cancel();
    bool Running() const { return running_; }

signals:
    void Progress(int percent);
    void Finished(const zq::FigureRules::Verdict& verdict);

private:
    struct Job {
        unsigned generation = 0;
        PuzzleRecord figure;
        std::vector<FigureRules::Reference> references;
    };
    void Work();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Job> next_;
    bool quit_ = false;
    std::atomic<unsigned> generation_{0};
    bool running_ = false; // on this object's thread: a verdict is awaited
    FigureRules::SlowCheck slow_; // the worker's alone
    std::thread worker_;
};

} // namespace zq
