#include "window/ranking_grid.h"

#include <QButtonGroup>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>

#include "window/twips.h"

namespace {

constexpr int kMargin = 6;
constexpr int kCaptionHeight = 20;
constexpr int kOptionHeight = 22;
constexpr int kOptionGap = 6;

// The decimal texts of 0..32767, made once: places and counts are shared
// copies of them instead of a new string per cell.
QString Decimal(int n) {
    static const std::vector<QString> texts = [] {
        std::vector<QString> made(32768);
        for (int i = 0; i < 32768; ++i) made[i] = QString::number(i);
        return made;
    }();
    return n >= 0 && n < 32768 ? texts[n] : QString::number(n);
}

}  // namespace

// ---- RankingGrid ---------------------------------------------------------

RankingGrid::RankingGrid(const Layout& layout, QWidget* parent) : Grid(parent), layout_(layout) {
    Setup();
}

void RankingGrid::Setup() {
    BeginFill();
    SetRows(1);
    Clear();
    SetCols(3);
    const int widths[] = {layout_.placeTwips, layout_.labelTwips, layout_.countTwips};
    const QString headers[] = {QStringLiteral("順"), layout_.labelHeader, QStringLiteral("数")};
    for (int c = 0; c < 3; ++c) {
        SetColWidth(c, widths[c]);
        SetColAlignment(c, c == 1 ? layout_.labelAlignment : Alignment::General);
        SetHeaderAlignment(c, Alignment::Centre);
        SetTextMatrix(0, c, headers[c]);
    }
    EndFill();
}

void RankingGrid::Build(const std::vector<QString>& labels, const std::vector<int>& counts) {
    std::vector<QStringList> rows;
    rows.reserve(labels.size());
    for (size_t k = 0; k < labels.size(); ++k) {
        rows.push_back({Decimal(static_cast<int>(k) + 1), labels[k], Decimal(counts[k])});
    }
    SetBodyRows(std::move(rows));
}

void RankingGrid::Reorder(Order order) {
    BeginFill();
    SetCol(order == Order::ByLabel ? 1 : 2);
    switch (order) {
        case Order::MostFirst:
            Sort(SortNumberDescending);
            break;
        case Order::FewestFirst:
            Sort(SortNumberAscending);
            break;
        case Order::ByLabel:
            Sort(SortTextAscending);
            break;
    }
    for (int r = 1; r < Rows(); ++r) SetTextMatrix(r, 0, Decimal(r));
    EndFill();
}

// ---- RankingArea ---------------------------------------------------------

RankingArea::RankingArea(const Names& names, const RankingGrid::Layout& layout,
                         const std::array<QString, 3>& optionCaptions, QWidget* parent)
    : QFrame(parent),
      caption_(new QLabel(this)),
      grid_(new RankingGrid(layout, this)),
      group_(new QButtonGroup(this)) {
    setObjectName(names.area);
    setFrameShape(QFrame::StyledPanel);
    caption_->setObjectName(names.caption);
    grid_->setObjectName(names.grid);
    static constexpr RankingGrid::Order orders[] = {RankingGrid::Order::MostFirst,
                                                    RankingGrid::Order::FewestFirst,
                                                    RankingGrid::Order::ByLabel};
    for (int k = 1; k <= 3; ++k) {
        auto* option = new QRadioButton(optionCaptions[k - 1], this);
        option->setObjectName(names.options + QString::number(k));
        group_->addButton(option, k);
        options_[k - 1] = option;
        const RankingGrid::Order order = orders[k - 1];
        // Selected by a click or by the program alike; a deselection does nothing.
        connect(option, &QRadioButton::toggled, this, [this, order](bool on) {
            if (on) grid_->Reorder(order);
        });
    }
}

void RankingArea::MakeCaptionASwitch(const QString& toolTip) {
    caption_->setToolTip(toolTip);
    caption_->setCursor(Qt::PointingHandCursor);
    caption_->installEventFilter(this);
}

bool RankingArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == caption_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit captionClicked();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void RankingArea::DeselectOptions() {
    // An exclusive group keeps one option selected; let go of it for the moment.
    group_->setExclusive(false);
    options_[0]->setChecked(false);
    options_[1]->setChecked(false);
    group_->setExclusive(true);
}

void RankingArea::Show(const std::vector<QString>& labels, const std::vector<int>& counts) {
    grid_->BeginFill();
    grid_->Build(labels, counts);
    options_[0]->setChecked(true);
    grid_->EndFill();
}

int RankingArea::GridWidth() const {
    int width = grid_->frameWidth() * 2 + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int c = 0; c < grid_->Cols(); ++c) width += TwipsToPixels(grid_->ColWidth(c));
    return width;
}

int RankingArea::NaturalWidth() const {
    int options = -kOptionGap;
    for (QRadioButton* option : options_) options += option->sizeHint().width() + kOptionGap;
    return std::max(GridWidth(), options) + 2 * kMargin;
}

void RankingArea::Arrange(int width, int height) {
    resize(width, height);
    const int inner = width - 2 * kMargin;
    caption_->setGeometry(kMargin, 4, inner, kCaptionHeight);
    const int gridWidth = GridWidth();
    const int optionTop = height - kOptionHeight - 6;
    grid_->setGeometry(kMargin, 4 + kCaptionHeight + 2, std::min(gridWidth, inner),
                       optionTop - kCaptionHeight - 10);
    int x = kMargin;
    for (QRadioButton* option : options_) {
        const int w = option->sizeHint().width();
        option->setGeometry(x, optionTop, w, kOptionHeight);
        x += w + kOptionGap;
    }
}
