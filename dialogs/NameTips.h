// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace zq {

// Shows the name of a designed Quarvel as a tooltip, worked out when the
// tooltip is asked for. Installed as an event filter on the widget whose
// tooltip it gives: nameAt(point) names the Quarvel under the point (empty
// for none), and a name goes on the first line above the widget's own
// tooltip, which otherwise shows unchanged.
class NameTips : public QObject {
    Q_OBJECT
public:
    using NameAt = std::function<QString(const QPoint&)>;

    NameTips(QWidget* widget, NameAt nameAt);

    // The text the tooltip shows at the point.
    QString TextAt(const QPoint& point) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* widget_;
    NameAt nameAt_;
};

} // namespace zq
