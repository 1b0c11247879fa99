// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/NameTips.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace zq {

NameTips::NameTips(QWidget* widget, NameAt nameAt) : QObject(widget), widget_(widget), nameAt_(std::move(nameAt))
{
    widget->installEventFilter(this);
}

QString NameTips::TextAt(const QPoint& point) const
{
    const QString name = nameAt_(point);
    const QString own = widget_->toolTip();
    if (name.isEmpty())
        return own;
    return own.isEmpty() ? name : name + QLatin1Char('\n') + own;
}

bool NameTips::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != widget_ || event->type() != QEvent::ToolTip)
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = TextAt(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, widget_);
    }
    return true;
}

} // namespace zq
