// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for start-up: the least a Qt program does to show a window of
// the main window's designed size and paint it once with one line of text in
// the system font, as the game cannot paint its captions without the fonts.
#include "platform/services/FirstPaintReport.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {
class Window : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::lightGray);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Zibble Quarvel - first paint"));
        painter.end();
        QTimer::singleShot(0, qApp, [] {
            zq::ReportFirstPaint();
            QCoreApplication::quit();
        });
    }
};
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Window w;
    w.resize(464, 386);
    w.show();
    return app.exec();
}
