#pragma once

// The ranking grid every frequency ranking is shown in, and the area around
// it: a caption (or a label that switches the ranking when clicked), the grid,
// and three options ordering it by count, largest first; by count, smallest
// first; by label.

#include <QFrame>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "window/grid.h"

class QButtonGroup;
class QLabel;
class QRadioButton;

// Three columns: "順" (the row's place from the top), the label, "数".
class RankingGrid : public Grid {
    Q_OBJECT
public:
    enum class Order { MostFirst, FewestFirst, ByLabel };

    struct Layout {
        QString labelHeader;
        int placeTwips = 450;
        int labelTwips = 0;
        int countTwips = 450;
        Alignment labelAlignment = Alignment::General;
    };

    explicit RankingGrid(const Layout& layout, QWidget* parent = nullptr);

    // Clears the grid down to its header row and lays out its three columns.
    void Setup();
    // One body row per label, in the order given, with its count.
    void Build(std::vector<QString> labels, std::vector<int> counts);
    // Sorts every body row (stable for equal keys) and numbers the rows 1..N
    // from the top.
    void Reorder(Order order);

private:
    class Body;

    Layout layout_;
    // The rows as built, shown through the grid's model until a cell is
    // written to; then the grid's own texts take over.
    std::shared_ptr<Body> body_;
};

// One ranking's area: a container with a caption, the grid and its three
// mutually exclusive options. An option acts only when it becomes selected.
class RankingArea : public QFrame {
    Q_OBJECT
public:
    struct Names {
        QString area;     // the container
        QString caption;  // the caption label
        QString grid;
        QString options;  // prefix: option k is prefix + k
    };

    RankingArea(const Names& names, const RankingGrid::Layout& layout,
                const std::array<QString, 3>& optionCaptions, QWidget* parent);

    RankingGrid* grid() const { return grid_; }
    QRadioButton* option(int k) const { return options_[k - 1]; }
    QLabel* caption() const { return caption_; }

    // What a switchable ranking counts by.
    enum class Period { Months, Years };
    // Makes the caption a switch between a ranking by months and one by years,
    // captioned as given: a click on it raises captionClicked(). show fills
    // the grid for a period.
    void MakePeriodSwitch(const QString& monthsCaption, const QString& yearsCaption,
                          std::function<void(Period)> show);
    // Captions the area for the period and fills it.
    void ShowPeriod(Period period);
    // Deselects the options, clears the grid and shows the other period.
    void SwitchPeriod();
    Period period() const { return period_; }

    // Deselects the first two options (the third keeps its state).
    void DeselectOptions();
    // Fills the grid and selects the first option, which orders it by count,
    // largest first.
    void Show(std::vector<QString> labels, std::vector<int> counts);
    // The narrowest width that shows the grid's columns and the options whole.
    int NaturalWidth() const;
    // Places the caption, grid and options inside an area of this size.
    void Arrange(int width, int height);

signals:
    void captionClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    int GridWidth() const;
    void NameGrid();

    QLabel* caption_;
    RankingGrid* grid_;
    QButtonGroup* group_;
    std::array<QRadioButton*, 3> options_{};
    // The period shown, and the captions and filling of a period switch.
    Period period_ = Period::Months;
    std::array<QString, 2> periodCaptions_;
    std::function<void(Period)> showPeriod_;
};
