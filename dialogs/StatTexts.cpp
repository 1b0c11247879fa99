// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/StatTexts.h"

#include <QFileInfo>

namespace zq {

namespace {

// One phrase per count: none, one, or many with the number at "%1".
struct Forms {
    const char* none;
    const char* one;
    const char* many;
};

QString Pick(const Forms& f, int count)
{
    if (count <= 0)
        return QString::fromUtf8(f.none);
    if (count == 1)
        return QString::fromUtf8(f.one);
    return QString::fromUtf8(f.many).arg(count);
}

constexpr Forms GermanLevel[5] = {
    {"kein Quarvel keine, ", "ein Quarvel keine, ", "%1 Quarvels keine, "},
    {"für kein Quarvel wenig, ", "für ein Quarvel wenig, ", "für %1 Quarvele wenig, "},
    {"für kein Quarvel etwas mehr ", "für ein Quarvel etwas mehr ", "für %1 Quarvele etwas mehr "},
    {"und für kein Quarvel viel", "und für ein Quarvel viel", "und für %1 Quarvele viel"},
    {"Du hast kein Quarvel aufgegeben.", "Ein Quarvel hast Du aufgegeben.", "Du hast %1 Quarvele aufgegeben."},
};

// The German "für" in the English level-3 phrase for one Quarvel is kept: it is the text players know.
constexpr Forms EnglishLevel[5] = {
    {"For no Quarvel you didn't need any help. ", "For one Quarvel you didn't need any help. ",
     "For %1 Quarvels you didn't need any help. "},
    {"For no Quarvel you needed little, ", "For one Quarvel you needed little, ", "For %1 Quarvels you needed little, "},
    {"for no Quarvel some more ", "for one Quarvel some more ", "for %1 Quarvels some more "},
    {"and for no Quarvel much help. ", "and für one Quarvel much help. ", "and for %1 Quarvels much help. "},
    {"You dropped no Quarvel.", "You dropped one Quarvel.", "You dropped %1 Quarvels."},
};

} // namespace

QString StatTexts::GameName(const QString& gameFileName)
{
    QString name = QFileInfo(gameFileName).fileName();
    name.chop(4);
    return name;
}

QString StatTexts::Caption(bool german, const QString& gameName)
{
    QString s = german ? QStringLiteral("Quarvel Statistik") : QStringLiteral("Quarvel statistics");
    if (!gameName.isEmpty())
        s += (german ? QString::fromUtf8(" für Spiel ") : QStringLiteral(" for game ")) + gameName;
    return s;
}

QString StatTexts::FinishedLine(bool german, const StatCounts& c, int N)
{
    const int F = c.FinishedCount;
    if (german) {
        if (F == 0)
            return QString::fromUtf8("Bisher wurde noch kein Quarvel gelöst !!!");
        if (F == 1)
            return QString::fromUtf8("Bisher wurde eines von insgesamt %1 Quarvelen gelöst.").arg(N);
        return QString::fromUtf8("Bisher wurden %1 von insgesamt %2 Quarvelen gelöst.").arg(F).arg(N);
    }
    if (F == 0)
        return QStringLiteral("Until now no Quarvel was solved !!!");
    if (F == 1)
        return QStringLiteral("Until now one out of total %1 Quarvels was solved.").arg(N);
    return QStringLiteral("Until now %1 out of total %2 Quarvels were solved.").arg(F).arg(N);
}

QString StatTexts::HelpLine(bool german, const StatCounts& c)
{
    QString s;
    if (german) {
        s = QString::fromUtf8("Du hast für ");
        for (std::size_t h = 0; h < 4; ++h)
            s += Pick(GermanLevel[h], c.LevelCount[h]);
        s += QString::fromUtf8(" Hilfe benötigt. ");
        s += Pick(GermanLevel[4], c.LevelCount[4]);
        return s;
    }
    for (std::size_t h = 0; h < 5; ++h)
        s += Pick(EnglishLevel[h], c.LevelCount[h]);
    return s;
}

QString StatTexts::PointsLine(bool german, const StatCounts& c, int N)
{
    const int F = c.FinishedCount;
    const int P = c.Points;
    const int M = 4 * N;
    if (F < N) {
        if (P > 0)
            return german ? QString::fromUtf8("Du hast bisher %1 von %2 möglichen Punkten erreicht.").arg(P).arg(M)
                          : QStringLiteral("Until now you've reached %1 out of %2 possible points.").arg(P).arg(M);
        return german ? QString::fromUtf8("Du hast bisher leider keine Punkte erreicht.")
                      : QStringLiteral("Sorry, until now you've reached no points.");
    }
    if (P == M)
        return german ? QString::fromUtf8("Hurra, Du hast alle möglichen Punkte erreicht.")
                      : QStringLiteral("Hurrah, you reached all possible points.");
    if (P > 0)
        return german ? QString::fromUtf8("Du hast %1 von %2 möglichen Punkten erreicht.").arg(P).arg(M)
                      : QStringLiteral("You reached %1 out of %2 possible points.").arg(P).arg(M);
    return german ? QString::fromUtf8("Du hast leider keinen einzigen Punkt erreicht.")
                  : QStringLiteral("Sorry, you reached no points.");
}

} // namespace zq
