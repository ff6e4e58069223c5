#include "window/ranking_grid.h"

#include <QButtonGroup>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <numeric>

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

// A ranking's rows as its keys' labels and counts and the order they are
// shown in: a sort moves numbers instead of texts, and no text is made for a
// row until it is shown. Column 0 is the row's place, which every sort
// renumbers from the top.
class RankingGrid::Body : public GridModel::BodySource {
public:
    Body(std::vector<QString> labels, std::vector<int> counts)
        : labels_(std::move(labels)), counts_(std::move(counts)), order_(labels_.size()) {
        std::iota(order_.begin(), order_.end(), 0);
    }

    int BodyRows() const override { return static_cast<int>(order_.size()); }

    QString BodyText(int row, int col) const override {
        const int key = order_[row - 1];
        switch (col) {
            case 0:
                return Decimal(row);
            case 1:
                return labels_[key];
            case 2:
                return Decimal(counts_[key]);
            default:
                return {};
        }
    }

    // Stable: equal keys keep their order. Labels compare as the grid's text
    // sort does, binary and case-sensitive.
    void Sort(Order order) {
        switch (order) {
            case Order::MostFirst:
                std::stable_sort(order_.begin(), order_.end(),
                                 [this](int a, int b) { return counts_[b] < counts_[a]; });
                break;
            case Order::FewestFirst:
                std::stable_sort(order_.begin(), order_.end(),
                                 [this](int a, int b) { return counts_[a] < counts_[b]; });
                break;
            case Order::ByLabel:
                std::stable_sort(order_.begin(), order_.end(), [this](int a, int b) {
                    return QString::compare(labels_[a], labels_[b], Qt::CaseSensitive) < 0;
                });
                break;
        }
    }

private:
    std::vector<QString> labels_;
    std::vector<int> counts_;
    std::vector<int> order_;  // the key shown in each body row
};

RankingGrid::RankingGrid(const Layout& layout, QWidget* parent) : Grid(parent), layout_(layout) {
    Setup();
}

void RankingGrid::Setup() {
    BeginFill();
    SetRows(1);
    body_.reset();
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

void RankingGrid::Build(std::vector<QString> labels, std::vector<int> counts) {
    counts.resize(labels.size());
    body_ = std::make_shared<Body>(std::move(labels), std::move(counts));
    SetBodySource(body_);
}

void RankingGrid::Reorder(Order order) {
    BeginFill();
    SetCol(order == Order::ByLabel ? 1 : 2);
    if (body_ && Model()->Source() == body_.get()) {
        body_->Sort(order);
        SetBodySource(body_);
        EndFill();
        return;
    }
    // Cells written since the build: sort the texts as they are.
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

void RankingArea::MakePeriodSwitch(const QString& monthsCaption, const QString& yearsCaption,
                                   std::function<void(Period)> show) {
    periodCaptions_ = {monthsCaption, yearsCaption};
    showPeriod_ = std::move(show);
    caption_->setToolTip(QStringLiteral("クリックすると年月と年を切り替えられます"));
    caption_->setCursor(Qt::PointingHandCursor);
    caption_->installEventFilter(this);
}

void RankingArea::ShowPeriod(Period period) {
    period_ = period;
    caption_->setText(periodCaptions_[period == Period::Months ? 0 : 1]);
    showPeriod_(period);
}

void RankingArea::SwitchPeriod() {
    DeselectOptions();
    grid_->Setup();
    ShowPeriod(period_ == Period::Months ? Period::Years : Period::Months);
}

bool RankingArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == caption_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit captionClicked();
        NameGrid();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void RankingArea::showEvent(QShowEvent* event) {
    NameGrid();
    QFrame::showEvent(event);
}

void RankingArea::NameGrid() {
    // Screen readers call the grid by the caption it has now.
    grid_->setAccessibleName(caption_->text());
}

void RankingArea::DeselectOptions() {
    // An exclusive group keeps one option selected; let go of it for the moment.
    group_->setExclusive(false);
    options_[0]->setChecked(false);
    options_[1]->setChecked(false);
    group_->setExclusive(true);
}

void RankingArea::Show(std::vector<QString> labels, std::vector<int> counts) {
    grid_->BeginFill();
    grid_->Build(std::move(labels), std::move(counts));
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
