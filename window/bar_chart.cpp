#include "window/bar_chart.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace {

const QColor kBar(70, 120, 180);
const QColor kGrid(220, 220, 220);
const QColor kAxis(90, 90, 90);
constexpr int kMargin = 10;
// Rows are never taller than this many line heights.
constexpr double kRowLines = 1.7;

}  // namespace

BarChart::BarChart(Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void BarChart::SetTitle(const QString& title) {
    title_ = title;
    update();
}

void BarChart::SetBars(std::vector<QString> labels, std::vector<int> counts,
                       std::vector<QString> tickLabels) {
    labels_ = std::move(labels);
    counts_ = std::move(counts);
    ticks_ = std::move(tickLabels);
    largest_ = counts_.empty() ? 0 : *std::max_element(counts_.begin(), counts_.end());
    update();
}

// A round axis top with four to ten grid steps of 1, 2 or 5 times a power of ten.
BarChart::Scale BarChart::ScaleFor(int largest) {
    if (largest <= 0) return {1, 1};
    int step = 1;
    for (int unit = 1;; unit *= 10) {
        for (int m : {1, 2, 5}) {
            step = m * unit;
            if (largest / step < 8) return {(largest + step - 1) / step * step, step};
        }
    }
}

QRect BarChart::PlotArea() const {
    const QFontMetrics fm(font());
    const int line = fm.height();
    QRect r = rect().adjusted(kMargin, kMargin + line + kMargin, -kMargin, -kMargin);
    if (orientation_ == Orientation::Columns) {
        const Scale s = ScaleFor(largest_);
        r.setLeft(r.left() + fm.horizontalAdvance(QString::number(s.top)) + 14);
        r.setBottom(r.bottom() - line - 6);
    } else {
        int widest = 0;
        for (const QString& l : labels_) widest = std::max(widest, fm.horizontalAdvance(l));
        r.setLeft(r.left() + std::min(widest, width() * 2 / 5) + 8);
        r.setRight(r.right() - fm.horizontalAdvance(QString::number(largest_)) - 6);
        r.setBottom(r.bottom() - line - 4);
    }
    return r;
}

void BarChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics fm(font());
    p.drawText(QRect(kMargin, kMargin, width() - 2 * kMargin, fm.height()), Qt::AlignCenter,
               title_);
    if (counts_.empty()) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("データがありません"));
        return;
    }
    const QRect plot = PlotArea();
    if (plot.width() < 10 || plot.height() < 10) return;
    if (orientation_ == Orientation::Columns) {
        PaintColumns(p, plot);
    } else {
        PaintRows(p, plot);
    }
}

void BarChart::PaintColumns(QPainter& p, const QRect& plot) {
    const QFontMetrics fm(font());
    const Scale s = ScaleFor(largest_);
    const auto yOf = [&](int v) {
        return plot.bottom() - static_cast<int>(static_cast<qint64>(v) * plot.height() / s.top);
    };
    // Grid lines with their values.
    for (int v = 0; v <= s.top; v += s.step) {
        const int y = yOf(v);
        p.setPen(v == 0 ? kAxis : kGrid);
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRect(kMargin, y - fm.height() / 2, plot.left() - kMargin - 8, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
    }
    const int n = BarCount();
    const double pitch = static_cast<double>(plot.width()) / n;
    if (pitch >= 1.0) {
        const double gap = pitch >= 4.0 ? pitch * 0.2 : 0.0;
        for (int i = 0; i < n; ++i) {
            if (counts_[i] <= 0) continue;
            const double x = plot.left() + i * pitch + gap / 2;
            const int top = yOf(counts_[i]);
            p.fillRect(QRectF(x, top, std::max(1.0, pitch - gap), plot.bottom() - top), kBar);
        }
    } else {
        // One pixel column per run of bars, as tall as the largest of them.
        for (int c = 0; c < plot.width(); ++c) {
            const int from = static_cast<int>(static_cast<qint64>(c) * n / plot.width());
            const int to = static_cast<int>(static_cast<qint64>(c + 1) * n / plot.width());
            const int most =
                *std::max_element(counts_.begin() + from, counts_.begin() + std::max(to, from + 1));
            if (most > 0)
                p.fillRect(QRect(plot.left() + c, yOf(most), 1, plot.bottom() - yOf(most) + 1),
                           kBar);
        }
    }
    // Tick labels under their columns, each only where it clears the last one.
    p.setPen(palette().color(QPalette::WindowText));
    int clear = plot.left() - 1000;
    for (int i = 0; i < static_cast<int>(ticks_.size()) && i < n; ++i) {
        if (ticks_[i].isEmpty()) continue;
        const int centre = plot.left() + static_cast<int>((i + 0.5) * pitch);
        const int w = fm.horizontalAdvance(ticks_[i]);
        const int left = std::max(centre - w / 2, 0);
        if (left < clear || left + w > width()) continue;
        p.setPen(kAxis);
        p.drawLine(centre, plot.bottom(), centre, plot.bottom() + 3);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRect(left, plot.bottom() + 5, w, fm.height()), Qt::AlignCenter, ticks_[i]);
        clear = left + w + fm.horizontalAdvance(QStringLiteral("　"));
    }
}

void BarChart::PaintRows(QPainter& p, const QRect& plot) {
    const QFontMetrics fm(font());
    const Scale s = ScaleFor(largest_);
    const int n = BarCount();
    const double row = std::min(static_cast<double>(plot.height()) / n, fm.height() * kRowLines);
    const auto xOf = [&](int v) {
        return plot.left() + static_cast<int>(static_cast<qint64>(v) * plot.width() / s.top);
    };
    const int bottom = plot.top() + static_cast<int>(row * n);
    for (int v = 0; v <= s.top; v += s.step) {
        const int x = xOf(v);
        p.setPen(v == 0 ? kAxis : kGrid);
        p.drawLine(x, plot.top(), x, bottom);
        p.setPen(palette().color(QPalette::WindowText));
        const int w = fm.horizontalAdvance(QString::number(v));
        p.drawText(QRect(x - w / 2, bottom + 4, w, fm.height()), Qt::AlignCenter,
                   QString::number(v));
    }
    const int labelWidth = plot.left() - kMargin - 8;
    for (int i = 0; i < n; ++i) {
        const QRectF band(plot.left(), plot.top() + i * row, plot.width(), row);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRectF(kMargin, band.top(), labelWidth, row), Qt::AlignRight | Qt::AlignVCenter,
                   fm.elidedText(labels_[i], Qt::ElideRight, labelWidth));
        const int end = xOf(counts_[i]);
        p.fillRect(QRectF(plot.left() + 1, band.top() + row * 0.15, end - plot.left(), row * 0.7),
                   kBar);
        p.drawText(QRectF(end + 4, band.top(), width() - end - 4, row),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::number(counts_[i]));
    }
}

int BarChart::BarAt(const QPoint& at) const {
    const QRect plot = PlotArea();
    const int n = BarCount();
    if (n == 0 || plot.width() <= 0 || plot.height() <= 0) return -1;
    if (orientation_ == Orientation::Columns) {
        if (at.x() < plot.left() || at.x() > plot.right() || at.y() > plot.bottom()) return -1;
        return std::min(
            n - 1, static_cast<int>(static_cast<qint64>(at.x() - plot.left()) * n / plot.width()));
    }
    const QFontMetrics fm(font());
    const double row = std::min(static_cast<double>(plot.height()) / n, fm.height() * kRowLines);
    if (at.y() < plot.top()) return -1;
    const int i = static_cast<int>((at.y() - plot.top()) / row);
    return i < n ? i : -1;
}

bool BarChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int i = BarAt(help->pos());
        if (i >= 0) {
            QToolTip::showText(help->globalPos(),
                               QStringLiteral("%1　%2").arg(labels_[i]).arg(counts_[i]), this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

ChartWindow::ChartWindow(QWidget* owner, const QString& objectName, QSize size)
    : QWidget(owner, Qt::Window) {
    setObjectName(objectName);
    resize(size);
    owner->window()->installEventFilter(this);
}

void ChartWindow::Present() {
    show();
    raise();
    activateWindow();
}

bool ChartWindow::eventFilter(QObject* watched, QEvent* event) {
    // Closing the owner hides it; minimising (a spontaneous hide) does not.
    if (watched == parentWidget()->window() && event->type() == QEvent::Hide &&
        !event->spontaneous())
        hide();
    return QWidget::eventFilter(watched, event);
}
