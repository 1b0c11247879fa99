// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TSplash.h"

#include "dialogs/CentreWindow.h"
#include "platform/services/RawPicture.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>

namespace zq {

TSplash::TSplash(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(200, 150);

    // The picture lets clicks through to the window, so a click anywhere closes it.
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(0, 0, 201, 151);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image_ = image;

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(Interval);
    connect(timer1_, &QTimer::timeout, this, &TSplash::Click);
    timer1_->start();
}

int TSplash::ShowModal() { return exec(); }

void TSplash::Click()
{
    if (isVisible())
        done(2);
}

void TSplash::showEvent(QShowEvent* event)
{
    // Read when first shown: made with the other windows, it is not wanted before the game is on screen.
    // A screen of scale above 1 gets the picture drawn in twice the pixels, not the small one blown up.
    if (image_->pixmap().isNull()) {
        const bool sharp = devicePixelRatioF() > 1.0;
        QPixmap picture = QPixmap::fromImage(
            ReadRawPicture(sharp ? QStringLiteral(":/art/splash@2x.pix") : QStringLiteral(":/art/splash.pix")));
        picture.setDevicePixelRatio(sharp ? 2.0 : 1.0);
        image_->setPixmap(picture);
    }
    CentreWindow(*this, nullptr);
    QDialog::showEvent(event);
}

void TSplash::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    Click();
}

// No key closes the splash; only a click or the timer does.
void TSplash::keyPressEvent(QKeyEvent* event) { event->accept(); }

} // namespace zq
