// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/ProgramState.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace zq::test {

// A library of `count` Quarvels, all alike: piece 1 at (40, 30) in
// orientation 0, the other seven stacked at (80, 50) in orientation 4,
// well away from the number, the face and the probes of piece 1.
inline std::unique_ptr<ProgramState> GalleryState(int count)
{
    auto state = std::make_unique<ProgramState>();
    std::vector<std::uint8_t> bytes;
    for (int n = 1; n <= count; ++n) {
        bytes.insert(bytes.end(), {40, 30, 0});
        for (int j = 2; j <= 8; ++j)
            bytes.insert(bytes.end(), {80, 50, 4});
    }
    state->Library.LoadFromBytes(bytes);
    state->Language = 0;
    return state;
}

// Runs `act` once the dialog's modal loop is up and returns the dialog's
// answer. Should `act` leave the dialog open, a watchdog fails the test and
// closes it rather than hang.
inline int AnswerModal(QDialog& dialog, const std::function<int()>& showModal, std::function<void()> act)
{
    QTimer::singleShot(0, [&dialog, act = std::move(act)] {
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        act();
    });
    QPointer<QDialog> guard(&dialog);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [guard] {
        if (guard && guard->isVisible()) {
            ADD_FAILURE() << "dialog still open";
            guard->done(-1);
        }
    });
    watchdog.start(3000);
    return showModal();
}

} // namespace zq::test
