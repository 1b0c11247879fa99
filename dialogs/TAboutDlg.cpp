// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TAboutDlg.h"

#include "state/ProgramState.h"
#include "platform/services/Glyphs.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zq {

TAboutDlg::TAboutDlg(ProgramState& state, QWidget* mainForm)
    : QDialog(mainForm), state_(state), mainForm_(mainForm), text_(new QLabel(this))
{
    setObjectName(QStringLiteral("AboutDlg"));
    setWindowTitle(QStringLiteral("Zibble Quarvel"));
    auto* icon = new QLabel(this);
    icon->setPixmap((mainForm_ && !mainForm_->windowIcon().isNull() ? mainForm_->windowIcon() : GameIcon()).pixmap(64, 64));
    text_->setTextFormat(Qt::RichText);
    text_->setWordWrap(true);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { done(1); });
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(text_, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addWidget(ok, 0, Qt::AlignRight);
    setFixedWidth(360);
}

int TAboutDlg::ShowModal()
{
    const bool german = state_.German();
    text_->setText(QStringLiteral("<b style='font-size:14pt'>Zibble Quarvel</b><br>") +
                   (german ? QStringLiteral("Version 2.5<br><br>Baue den Umriss aus acht Dreiecken nach.<br><br>"
                                            "Freie Software unter der GNU General Public License, Version 3 oder später.")
                           : QStringLiteral("Version 2.5<br><br>Rebuild the silhouette from eight triangles.<br><br>"
                                            "Free software under the GNU General Public License, version 3 or later.")));
    adjustSize();
    if (mainForm_)
        move(mainForm_->geometry().center() - rect().center());
    return exec();
}

} // namespace zq
