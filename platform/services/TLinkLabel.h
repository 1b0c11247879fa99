// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QString>
#include <QUrl>

#include <functional>

namespace zq {

// A hidden link that opens its address in the user's web browser. After the
// first failure it stays dead for the rest of the run.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    enum TJumpMode { jmNone, jmInternet };

    explicit TLinkLabel(QWidget* parent = nullptr);

    QString Jump;
    TJumpMode JumpMode = jmInternet;
    // How addresses are opened; the desktop's browser unless a test says otherwise.
    std::function<bool(const QUrl&)> Opener;

    void Click();
};

} // namespace zq
