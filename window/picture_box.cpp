#include "window/picture_box.h"

#include <QPainter>
#include <algorithm>

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
}

QSize PictureBox::FittedSize(QSize picture, QSize box) {
    if (picture.isEmpty() || box.isEmpty()) return {};
    // Rounded, not cut: a thumbnail's rounded sides then still give the
    // picture's own shape.
    const qint64 w = picture.width(), h = picture.height();
    if (w * box.height() >= h * box.width()) {
        return QSize(box.width(), std::max(1, int((2 * box.width() * h + w) / (2 * w))));
    }
    return QSize(std::max(1, int((2 * box.height() * w + h) / (2 * h))), box.height());
}

void PictureBox::SetPicture(const QImage& picture) {
    picture_ = picture;
    Fit();
}

QRect PictureBox::PictureRect() const {
    if (pixmap().isNull()) return {};
    const QSize shown = FittedSize(picture_.size(), size());
    return QRect(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

// The picture scaled once to its place in device pixels; painting then copies it.
void PictureBox::Fit() {
    if (picture_.isNull()) {
        clear();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QSize device = FittedSize(picture_.size(), size() * ratio);
    QPixmap pm = QPixmap::fromImage(
        picture_.size() == device
            ? picture_
            : picture_.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pm.setDevicePixelRatio(ratio);
    setPixmap(pm);
}

void PictureBox::paintEvent(QPaintEvent*) {
    // Moved to a screen of another pixel ratio: scaled again for it.
    if (!picture_.isNull() && pixmap().devicePixelRatio() != devicePixelRatioF()) Fit();
    QPainter p(this);
    drawFrame(&p);
    if (!pixmap().isNull()) p.drawPixmap(PictureRect(), pixmap());
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (!picture_.isNull()) Fit();
}
