// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/StatCounts.h"

#include <QString>

namespace zq {

// The sentences of the statistics dialog, in German or English, each with
// the right form for none, one or many.
class StatTexts {
public:
    // The game file's name without folder and without its last four characters (".zqv").
    static QString GameName(const QString& gameFileName);
    static QString Caption(bool german, const QString& gameName);
    // N is the number of Quarvels in the library.
    static QString FinishedLine(bool german, const StatCounts& c, int N);
    static QString HelpLine(bool german, const StatCounts& c);
    static QString PointsLine(bool german, const StatCounts& c, int N);
};

} // namespace zq
