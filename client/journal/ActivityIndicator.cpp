#include "ActivityIndicator.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimer>

namespace journal {

ActivityIndicator::ActivityIndicator(QWidget* parent)
    : QWidget(parent)
    , fTimer(new QTimer(this)) {
    // It lies over the grid; clicks go to the grid below it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    fTimer->setInterval(kStepMs);
    connect(fTimer, &QTimer::timeout, this, &ActivityIndicator::step);
    start();
}

void ActivityIndicator::start() {
    fTimer->start();
    update();
}

void ActivityIndicator::stop() {
    fTimer->stop();
    update();
}

bool ActivityIndicator::isAnimating() const {
    return fTimer->isActive();
}

void ActivityIndicator::step() {
    fFrame = (fFrame + 1) % kSectorCount;
    update();
}

void ActivityIndicator::paintEvent(QPaintEvent* /*event*/) {
    if (!isAnimating())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF outer = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal ringWidth = outer.width() * 0.22;
    const QRectF inner = outer.adjusted(ringWidth, ringWidth, -ringWidth, -ringWidth);
    constexpr qreal kSweep = 360.0 / kSectorCount;
    constexpr qreal kGap = 6.0;
    for (int sector = 0; sector < kSectorCount; ++sector) {
        // The lit sector is black; the ones behind it fade out along the ring.
        const int behind = (fFrame - sector + kSectorCount) % kSectorCount;
        painter.setBrush(QColor(0, 0, 0, 255 - behind * 200 / kSectorCount));
        const qreal start = 90.0 - sector * kSweep - kGap / 2;
        QPainterPath path;
        path.arcMoveTo(outer, start);
        path.arcTo(outer, start, -(kSweep - kGap));
        path.arcTo(inner, start - (kSweep - kGap), kSweep - kGap);
        path.closeSubpath();
        painter.drawPath(path);
    }
}

} // namespace journal
