#pragma once

// Bar charts drawn for the program's statistics, and the window they are
// shown in.

#include <QString>
#include <QWidget>
#include <vector>

// One series of bars with their labels: columns over time (left to right,
// zero counts left as gaps) or rows from the top (label on the left, count at
// the bar's end). More columns than pixels are drawn one pixel column each,
// the largest count of the columns it covers.
class BarChart : public QWidget {
    Q_OBJECT
public:
    enum class Orientation { Columns, Rows };

    explicit BarChart(Orientation orientation, QWidget* parent = nullptr);

    void SetTitle(const QString& title);
    // The bars in the order shown. tickLabels, when given, is parallel to the
    // bars: a non-empty text is written under its column where there is room.
    void SetBars(std::vector<QString> labels, std::vector<int> counts,
                 std::vector<QString> tickLabels = {});

    QString Title() const { return title_; }
    int BarCount() const { return static_cast<int>(counts_.size()); }
    const std::vector<QString>& Labels() const { return labels_; }
    const std::vector<int>& Counts() const { return counts_; }

    QSize sizeHint() const override { return {640, 420}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Scale {
        int top;   // the axis's largest value
        int step;  // between grid lines
    };
    static Scale ScaleFor(int largest);
    QRect PlotArea() const;
    void PaintColumns(class QPainter& p, const QRect& plot);
    void PaintRows(QPainter& p, const QRect& plot);
    // The bar under a point of the widget, or -1.
    int BarAt(const QPoint& at) const;

    Orientation orientation_;
    QString title_;
    std::vector<QString> labels_;
    std::vector<int> counts_;
    std::vector<QString> ticks_;
    int largest_ = 0;
};

// A modeless window of its own beside the owner's window (a top-level child
// of it): made once, shown and raised on each opening, hidden when the owner's
// window closes.
class ChartWindow : public QWidget {
    Q_OBJECT
public:
    ChartWindow(QWidget* owner, const QString& objectName, QSize size);

    // Shows the window (again) and brings it to the front.
    void Present();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
