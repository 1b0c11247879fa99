// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services/Glyphs.h"

#include "platform/services/RawPicture.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <array>
#include <memory>

namespace zq {

namespace {

class LazyIconEngine final : public QIconEngine {
public:
    LazyIconEngine(QString file, QString disabledFile)
        : source_(std::make_shared<Source>(Source{std::move(file), std::move(disabledFile), {}, false}))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Real().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Real().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        // size is in device pixels here; the real icon wants it in logical ones.
        QPixmap p = Real().pixmap(size / scale, scale, mode, state);
        p.setDevicePixelRatio(1.0);
        return p;
    }
    // Asked in device pixels as well, so the real icon must not scale it a second time.
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Real().pixmap(size, 1.0, mode, state).size();
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Real().availableSizes(mode, state);
    }
    // Known without reading the file, so a button can ask before it is drawn.
    bool isNull() override { return source_->file.isEmpty(); }
    QString key() const override { return QStringLiteral("zq-lazy"); }
    QIconEngine* clone() const override { return new LazyIconEngine(*this); }

private:
    struct Source {
        QString file;
        QString disabledFile;
        QIcon real;
        bool loaded;
    };

    LazyIconEngine(const LazyIconEngine& other) = default;

    QIcon& Real()
    {
        Source& s = *source_;
        if (!s.loaded) {
            s.loaded = true;
            s.real = QIcon(s.file);
            if (!s.disabledFile.isEmpty())
                s.real.addFile(s.disabledFile, QSize(), QIcon::Disabled);
        }
        return s.real;
    }

    // Shared by the copies Qt makes, so the file is read once.
    std::shared_ptr<Source> source_;
};

// The game's icon: of its bitmaps, the smallest that is at least as large as
// asked for is read, once, and scaled down if need be. No sizes are listed,
// so the window system asks only for the few it uses instead of reading all.
class GameIconEngine final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size() * dpr, mode, state, dpr));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State, qreal) override
    {
        const int wanted = std::min(size.width(), size.height());
        if (wanted <= 0)
            return {};
        const std::size_t i = BitmapFor(wanted);
        QPixmap& bitmap = (*bitmaps_)[i];
        if (bitmap.isNull())
            bitmap = QPixmap::fromImage(ReadRawPicture(QStringLiteral(":/art/icon-%1.pix").arg(Sizes[i])));
        if (bitmap.isNull() || bitmap.width() <= wanted)
            return bitmap;
        return bitmap.scaled(wanted, wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min({size.width(), size.height(), Sizes.back()});
        return {side, side};
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("zq-game-icon"); }
    QIconEngine* clone() const override { return new GameIconEngine(*this); }

    GameIconEngine() = default;

private:
    static constexpr std::array<int, 6> Sizes{16, 32, 48, 64, 128, 256};

    GameIconEngine(const GameIconEngine& other) = default;

    static std::size_t BitmapFor(int wanted)
    {
        for (std::size_t i = 0; i < Sizes.size(); ++i)
            if (Sizes[i] >= wanted)
                return i;
        return Sizes.size() - 1;
    }

    // Shared by the copies Qt makes, so each bitmap is read once.
    std::shared_ptr<std::array<QPixmap, Sizes.size()>> bitmaps_ = std::make_shared<std::array<QPixmap, Sizes.size()>>();
};

} // namespace

QIcon LazyIcon(const QString& file, const QString& disabledFile)
{
    return QIcon(new LazyIconEngine(file, disabledFile));
}

QIcon BitmapIcon(const QString& base)
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(ReadRawPicture(base + QStringLiteral(".pix"))));
    // The sharper bitmap only where a screen can show it, as QIcon does for files.
    if (qApp && qApp->devicePixelRatio() > 1.0) {
        QPixmap sharp = QPixmap::fromImage(ReadRawPicture(base + QStringLiteral("@2x.pix")));
        sharp.setDevicePixelRatio(2.0);
        icon.addPixmap(sharp);
    }
    return icon;
}

QIcon GameIcon()
{
    return QIcon(new GameIconEngine);
}

} // namespace zq
