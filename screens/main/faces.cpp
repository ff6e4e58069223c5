#include "screens/main/faces.h"

#include <QPainter>
#include <QPainterPath>

QPixmap FacePicture(int face, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    static const QColor fills[] = {QColor(255, 196, 64), QColor(255, 224, 128),
                                   QColor(190, 214, 240), QColor(226, 226, 226)};
    p.setPen(QPen(QColor(90, 70, 40), s / 24));
    p.setBrush(fills[face]);
    p.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));

    p.setBrush(QColor(60, 45, 30));
    p.setPen(Qt::NoPen);
    const qreal eyeY = s * 0.38, eye = s * 0.09;
    if (face == 0) {
        // Delight: closed, upturned eyes.
        p.setPen(QPen(QColor(60, 45, 30), s / 18, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(s * 0.26, eyeY - eye / 2, eye * 1.6, eye * 1.4), 0, 180 * 16);
        p.drawArc(QRectF(s * 0.60, eyeY - eye / 2, eye * 1.6, eye * 1.4), 0, 180 * 16);
    } else {
        p.drawEllipse(QRectF(s * 0.30, eyeY - eye / 2, eye, eye * 1.2));
        p.drawEllipse(QRectF(s * 0.61, eyeY - eye / 2, eye, eye * 1.2));
    }
    p.setPen(QPen(QColor(60, 45, 30), s / 18, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF mouth(s * 0.28, s * 0.44, s * 0.44, s * 0.32);
    switch (face) {
        case 0: {
            QPainterPath smile;
            smile.moveTo(s * 0.27, s * 0.58);
            smile.quadTo(s * 0.5, s * 0.92, s * 0.73, s * 0.58);
            smile.closeSubpath();
            p.setBrush(QColor(200, 60, 60));
            p.drawPath(smile);
            break;
        }
        case 1:
            p.drawArc(mouth, 200 * 16, 140 * 16);
            break;
        case 2:
            p.drawLine(QPointF(s * 0.34, s * 0.68), QPointF(s * 0.66, s * 0.68));
            break;
        default: {
            QFont f = p.font();
            f.setPixelSize(int(s * 0.3));
            p.setFont(f);
            p.setPen(QColor(120, 120, 120));
            p.drawText(QRectF(0, s * 0.5, s, s * 0.36), Qt::AlignCenter, QStringLiteral("？"));
            break;
        }
    }
    return pm;
}
