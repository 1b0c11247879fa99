// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/quarvel-tool/ContactSheet.h"

#include "engine/Geometry.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QString>

#include <algorithm>

namespace zq::tool {

bool ContactSheet::Write(const std::vector<PuzzleRecord>& records, const std::filesystem::path& png, const Options& o)
{
    const int s = std::max(1, o.scale);
    const int first = std::max(1, o.first);
    std::vector<int> numbers;
    for (int n = first; n <= static_cast<int>(records.size()) && static_cast<int>(numbers.size()) < std::max(0, o.count); ++n)
        if (!o.namedOnly || (o.names && o.names->Find(n)))
            numbers.push_back(n);
    const int shown = static_cast<int>(numbers.size());
    const int columns = std::max(1, o.columns);
    const int rows = std::max(1, (shown + columns - 1) / columns);
    // The gallery's cell: a 90 by 75 frame with the board 15 below its top, and gaps of
    // 10; a line for the names below when there are names.
    const bool labels = o.names && o.names->Count() > 0;
    const int cellW = 100 * s, cellH = (labels ? 100 : 85) * s;
    QImage image(columns * cellW, rows * cellH, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(11 * s);
    painter.setFont(font);
    for (int i = 0; i < shown; ++i) {
        const int n = numbers[static_cast<std::size_t>(i)];
        const int x0 = (i % columns) * cellW, y0 = (i / columns) * cellH;
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor(192, 192, 192));
        painter.drawRect(x0, y0, 90 * s, 75 * s);
        painter.drawText(x0 + 3 * s, y0 + 12 * s, QString::number(n));
        painter.setBrush(Qt::black);
        painter.setClipRect(x0 + 1, y0 + 1, 90 * s - 1, 75 * s - 1);
        const PuzzleRecord& r = records[static_cast<std::size_t>(n - 1)];
        for (int j = 1; j <= PieceCount; ++j) {
            const std::size_t ori = static_cast<std::size_t>(r[j].o.value());
            QPolygon tri;
            for (std::size_t k = 0; k < 3; ++k)
                tri << QPoint(x0 + s * (r[j].x + VertexX[k][ori]), y0 + s * (15 + r[j].y + VertexY[k][ori]));
            painter.drawPolygon(tri);
        }
        painter.setClipping(false);
        if (labels) {
            if (const QuarvelNames::Entry* e = o.names->Find(n)) {
                painter.setPen(Qt::black);
                const QString text = QString::fromStdString(e->english) + QStringLiteral(" / ") + QString::fromStdString(e->german);
                painter.drawText(QRect(x0, y0 + 76 * s, 100 * s, 14 * s), Qt::AlignLeft | Qt::AlignVCenter,
                                 painter.fontMetrics().elidedText(text, Qt::ElideRight, 98 * s));
            }
        }
    }
    painter.end();
    return image.save(QString::fromStdString(png.string()), "PNG");
}

} // namespace zq::tool
