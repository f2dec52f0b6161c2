#include "KNScatterView.h"

#include <QPainter>

KNScatterView::KNScatterView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 180);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void KNScatterView::paintEvent(QPaintEvent*) {
    const double ratio = devicePixelRatioF();
    QImage image = _picture.image(size() * ratio, ratio);
    image.setDevicePixelRatio(ratio);
    QPainter painter(this);
    painter.drawImage(QPointF(0.0, 0.0), image);
}
