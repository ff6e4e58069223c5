#include "window/grid.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QtDebug>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include "window/twips.h"

namespace {

// Columns nobody sized are 64 pixels wide.
constexpr int kDefaultColumnTwips = 960;
// Room above and below the text of a row.
constexpr int kRowPadding = 2;

// The number a cell reads as, if any. Most number cells are short decimal
// integers, read here without the full parser.
std::optional<double> ReadNumber(QStringView text) {
    const bool minus = text.startsWith(u'-');
    if (text.size() > qsizetype(minus) && text.size() <= 9) {
        int value = 0;
        qsizetype i = minus ? 1 : 0;
        for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            value = value * 10 + (text[i].unicode() - u'0');
        }
        if (i == text.size()) return minus ? -value : value;
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

bool LooksNumeric(const QString& text) {
    return ReadNumber(text).has_value();
}

// The key of a cell in a number sort: empty and non-numeric cells count as 0.
double NumberKey(QStringView text) {
    const std::optional<double> value = ReadNumber(text);
    return value && !std::isnan(*value) ? *value : 0.0;
}

Qt::Alignment ToQt(GridAlignment alignment, const QString& text) {
    switch (alignment) {
        case GridAlignment::Left:
            return Qt::AlignLeft | Qt::AlignVCenter;
        case GridAlignment::Centre:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case GridAlignment::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case GridAlignment::General:
            break;
    }
    return (LooksNumeric(text) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

}  // namespace

// ---- GridModel -----------------------------------------------------------

GridModel::GridModel(QObject* parent)
    : QAbstractTableModel(parent),
      lines_(2),
      alignments_(cols_, GridAlignment::General),
      headerAlignments_(cols_, GridAlignment::General) {}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownBodyRows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownCols_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row() + 1;
    const int col = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return Text(row, col);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(ToQt(Alignment(col), Text(row, col)));
        case Qt::BackgroundRole: {
            const QColor colour = BackColor(row, col);
            return colour.isValid() ? QVariant(colour) : QVariant();
        }
        default:
            return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    }
    if (section < 0 || section >= shownCols_) return {};
    switch (role) {
        case Qt::DisplayRole:
            return Text(0, section);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(ToQt(HeaderAlignment(section), Text(0, section)));
        case Qt::BackgroundRole: {
            const QColor colour = BackColor(0, section);
            return colour.isValid() ? QVariant(colour) : QVariant();
        }
        default:
            return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void GridModel::Publish() {
    shownBodyRows_ = Rows() - 1;
    shownCols_ = cols_;
}

void GridModel::Resize(int rows, int cols) {
    rows = std::max(rows, 1);
    cols = std::max(cols, 1);
    if (rows == Rows() && cols == cols_) return;
    if (!IsFilling()) beginResetModel();
    TakeSourceRows(rows - 1);
    lines_.resize(rows);
    if (cols < cols_) {
        for (Line& line : lines_) {
            if (line.texts.size() > cols) line.texts.resize(cols);
            if (line.colours.size() > cols) line.colours.resize(cols);
        }
    }
    cols_ = cols;
    alignments_.resize(cols, GridAlignment::General);
    headerAlignments_.resize(cols, GridAlignment::General);
    if (!IsFilling()) {
        Publish();
        endResetModel();
    }
}

QStringView GridModel::StoredText(int row, int col) const {
    const QStringList& texts = lines_[row].texts;
    return col < texts.size() ? QStringView(texts[col]) : QStringView();
}

QString GridModel::Text(int row, int col) const {
    if (row < 0 || row >= Rows() || col < 0 || col >= cols_) return {};
    if (row > 0 && source_) return source_->BodyText(row, col);
    const QStringList& texts = lines_[row].texts;
    return col < texts.size() ? texts[col] : QString();
}

void GridModel::SetText(int row, int col, const QString& text) {
    if (row < 0 || row >= Rows() || col < 0 || col >= cols_) {
        qWarning("Grid: no cell (%d, %d) in a %d x %d table", row, col, Rows(), cols_);
        return;
    }
    if (row > 0 && source_) TakeSourceRows();
    QStringList& texts = lines_[row].texts;
    if (texts.size() <= col) {
        if (text.isEmpty()) return;
        // Rows are mostly filled cell by cell from the left: one allocation each.
        if (texts.capacity() < cols_) texts.reserve(cols_);
        texts.resize(col + 1);
    }
    texts[col] = text;
    NotifyCell(row, col, Qt::DisplayRole);
}

QColor GridModel::BackColor(int row, int col) const {
    if (row < 0 || row >= Rows() || col < 0 || col >= cols_ || (row > 0 && source_)) return {};
    const QList<QColor>& colours = lines_[row].colours;
    return col < colours.size() ? colours[col] : QColor();
}

void GridModel::SetBackColor(int row, int col, const QColor& colour) {
    if (row < 0 || row >= Rows() || col < 0 || col >= cols_) {
        qWarning("Grid: no cell (%d, %d) in a %d x %d table", row, col, Rows(), cols_);
        return;
    }
    if (row > 0 && source_) TakeSourceRows();
    QList<QColor>& colours = lines_[row].colours;
    if (colours.size() <= col) colours.resize(col + 1);
    colours[col] = colour;
    NotifyCell(row, col, Qt::BackgroundRole);
}

void GridModel::NotifyCell(int row, int col, int role) {
    if (IsFilling()) return;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        const QModelIndex cell = index(row - 1, col);
        emit dataChanged(cell, cell, {role});
    }
}

void GridModel::NotifyColumn(int col, bool header) {
    if (IsFilling()) return;
    if (header) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else if (shownBodyRows_ > 0) {
        emit dataChanged(index(0, col), index(shownBodyRows_ - 1, col), {Qt::TextAlignmentRole});
    }
}

GridAlignment GridModel::Alignment(int col) const {
    return col >= 0 && col < cols_ ? alignments_[col] : GridAlignment::General;
}

void GridModel::SetAlignment(int col, GridAlignment alignment) {
    if (col < 0 || col >= cols_) return;
    alignments_[col] = alignment;
    NotifyColumn(col, false);
}

GridAlignment GridModel::HeaderAlignment(int col) const {
    return col >= 0 && col < cols_ ? headerAlignments_[col] : GridAlignment::General;
}

void GridModel::SetHeaderAlignment(int col, GridAlignment alignment) {
    if (col < 0 || col >= cols_) return;
    headerAlignments_[col] = alignment;
    NotifyColumn(col, true);
}

void GridModel::ClearTexts() {
    if (source_) {
        const int rows = Rows();
        source_.reset();
        lines_.resize(rows);
    }
    for (Line& line : lines_) line.texts.clear();
    if (IsFilling()) return;
    if (shownBodyRows_ > 0) {
        emit dataChanged(index(0, 0), index(shownBodyRows_ - 1, shownCols_ - 1),
                         {Qt::DisplayRole, Qt::TextAlignmentRole});
    }
    emit headerDataChanged(Qt::Horizontal, 0, shownCols_ - 1);
}

void GridModel::SetBody(std::vector<QStringList> rows) {
    if (!IsFilling()) beginResetModel();
    source_.reset();
    lines_.resize(1);
    lines_.reserve(rows.size() + 1);
    for (QStringList& texts : rows) {
        if (texts.size() > cols_) texts.resize(cols_);
        lines_.push_back(Line{std::move(texts), {}});
    }
    if (!IsFilling()) {
        Publish();
        endResetModel();
    }
}

void GridModel::SetBodySource(std::shared_ptr<const BodySource> source) {
    if (!IsFilling()) beginResetModel();
    lines_.resize(1);
    source_ = std::move(source);
    if (!IsFilling()) {
        Publish();
        endResetModel();
    }
}

void GridModel::TakeSourceRows(int rows) {
    if (!source_) return;
    const std::shared_ptr<const BodySource> source = std::move(source_);
    const int n = rows < 0 ? source->BodyRows() : std::min(rows, source->BodyRows());
    lines_.resize(1);
    lines_.reserve(static_cast<size_t>(n) + 1);
    for (int r = 1; r <= n; ++r) {
        QStringList texts;
        texts.reserve(cols_);
        for (int c = 0; c < cols_; ++c) texts.append(source->BodyText(r, c));
        lines_.push_back(Line{std::move(texts), {}});
    }
}

template <typename Less>
void GridModel::SortBody(const Less& less) {
    const int bodyRows = Rows() - 1;
    std::vector<int> order(bodyRows);
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), less);

    const bool tellViews = !IsFilling();
    if (tellViews) emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Line> sorted;
    sorted.reserve(lines_.size());
    sorted.push_back(std::move(lines_[0]));
    for (int from : order) sorted.push_back(std::move(lines_[from]));
    lines_ = std::move(sorted);
    if (!tellViews) return;

    // Indexes the views hold follow their rows to the new places.
    std::vector<int> newPlace(bodyRows + 1);
    for (int to = 0; to < bodyRows; ++to) newPlace[order[to]] = to + 1;
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        after.append(index(newPlace[old.row() + 1] - 1, old.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool GridModel::Sort(int col, int kind) {
    if (Rows() < 3 || col < 0 || col >= cols_) return false;
    TakeSourceRows();
    switch (kind) {
        case Grid::SortNumberAscending:
        case Grid::SortNumberDescending: {
            std::vector<double> keys(Rows());
            for (int r = 1; r < Rows(); ++r) keys[r] = NumberKey(StoredText(r, col));
            if (kind == Grid::SortNumberAscending) {
                SortBody([&keys](int a, int b) { return keys[a] < keys[b]; });
            } else {
                SortBody([&keys](int a, int b) { return keys[b] < keys[a]; });
            }
            return true;
        }
        case Grid::SortTextAscending:
        case Grid::SortTextDescending: {
            // Views of the texts, which stay where they are until the rows move.
            std::vector<QStringView> keys(Rows());
            for (int r = 1; r < Rows(); ++r) keys[r] = StoredText(r, col);
            const int sign = kind == Grid::SortTextAscending ? 1 : -1;
            SortBody([&keys, sign](int a, int b) {
                return sign * keys[a].compare(keys[b], Qt::CaseSensitive) < 0;
            });
            return true;
        }
        default:
            qWarning("Grid: unknown sort kind %d", kind);
            return false;
    }
}

void GridModel::BeginFill() {
    ++fillDepth_;
}

void GridModel::EndFill() {
    if (fillDepth_ == 0) return;
    if (--fillDepth_ > 0) return;
    beginResetModel();
    Publish();
    endResetModel();
}

// ---- Grid ----------------------------------------------------------------

Grid::Grid(QWidget* parent) : QTableView(parent), model_(new GridModel(this)) {
    setModel(model_);
    widths_.assign(Cols(), -1);
    connect(model_, &QAbstractItemModel::modelReset, this, &Grid::AfterReset);

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);

    QHeaderView* header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(0);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setDefaultSectionSize(TwipsToPixels(kDefaultColumnTwips));
    // Header presses are cells of row 0, not column selections.
    header->viewport()->installEventFilter(this);

    ApplyRowHeight();
    ApplyColumnLayout();
    ShowCurrent();
}

void Grid::SetRows(int rows) {
    model_->Resize(rows, Cols());
    ClampCurrent();
}

void Grid::SetCols(int cols) {
    model_->Resize(Rows(), cols);
    widths_.resize(Cols(), -1);
    ClampCurrent();
}

void Grid::Clear() {
    model_->ClearTexts();
}

int Grid::ColWidth(int col) const {
    if (col < 0 || col >= Cols()) return 0;
    const auto at = static_cast<size_t>(col);
    return at >= widths_.size() || widths_[at] < 0 ? kDefaultColumnTwips : widths_[at];
}

void Grid::SetColWidth(int col, int twips) {
    if (col < 0 || col >= Cols()) return;
    widths_[col] = std::max(twips, 0);
    if (model_->IsFilling()) return;
    setColumnHidden(col, twips <= 0);
    if (twips > 0) setColumnWidth(col, TwipsToPixels(twips));
}

void Grid::SetColAlignment(int col, Alignment alignment) {
    model_->SetAlignment(col, alignment);
}

void Grid::SetHeaderAlignment(int col, Alignment alignment) {
    model_->SetHeaderAlignment(col, alignment);
}

void Grid::SetRow(int row) {
    row_ = std::clamp(row, 0, Rows() - 1);
    ShowCurrent();
}

void Grid::SetCol(int col) {
    col_ = std::clamp(col, 0, Cols() - 1);
    ShowCurrent();
}

int Grid::TopRow() const {
    return verticalScrollBar()->value() + 1;
}

void Grid::SetTopRow(int row) {
    if (model_->IsFilling()) {
        pendingTopRow_ = row;
        return;
    }
    // A fill leaves the scroll range to a later layout; settle it now.
    executeDelayedItemsLayout();
    updateGeometries();
    verticalScrollBar()->setValue(std::max(row, 1) - 1);
}

void Grid::Sort(int kind) {
    if (model_->Sort(col_, kind)) ShowCurrent();
}

void Grid::EndFill() {
    model_->EndFill();
}

void Grid::SetBodyRows(std::vector<QStringList> rows) {
    model_->SetBody(std::move(rows));
    ClampCurrent();
}

void Grid::SetBodySource(std::shared_ptr<const GridModel::BodySource> source) {
    model_->SetBodySource(std::move(source));
    ClampCurrent();
}

void Grid::AfterReset() {
    widths_.resize(Cols(), -1);
    ClampCurrent();
    ApplyColumnLayout();
    ShowCurrent();
    if (pendingTopRow_ > 0) {
        const int row = pendingTopRow_;
        pendingTopRow_ = 0;
        SetTopRow(row);
    }
}

void Grid::ApplyColumnLayout() {
    for (int c = 0; c < Cols(); ++c) {
        const int twips = ColWidth(c);
        setColumnHidden(c, twips == 0);
        if (twips > 0) setColumnWidth(c, TwipsToPixels(twips));
    }
}

void Grid::ApplyRowHeight() {
    const int height = fontMetrics().height() + 2 * kRowPadding;
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height + 2);
}

void Grid::ClampCurrent() {
    row_ = std::clamp(row_, 0, Rows() - 1);
    col_ = std::clamp(col_, 0, Cols() - 1);
}

// Mirrors the current cell in the view: a body row is highlighted, the header
// row shows no highlight. Moving the current cell does not scroll; TopRow does.
void Grid::ShowCurrent() {
    if (model_->IsFilling()) return;
    QItemSelectionModel* selection = selectionModel();
    const int top = verticalScrollBar()->value();
    const int left = horizontalScrollBar()->value();
    showingCurrent_ = true;
    const QModelIndex cell = model_->index(row_ - 1, col_);
    if (cell.isValid()) {
        selection->setCurrentIndex(cell,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        selection->clear();
    }
    showingCurrent_ = false;
    verticalScrollBar()->setValue(top);
    horizontalScrollBar()->setValue(left);
}

void Grid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    // Keyboard moves change the current cell too.
    if (!showingCurrent_ && current.isValid() && !model_->IsFilling()) {
        row_ = current.row() + 1;
        col_ = current.column();
    }
}

void Grid::PressCell(int row, int col) {
    row_ = row;
    col_ = col;
    ShowCurrent();
    pressed_ = true;
    doubleClicked_ = false;
}

void Grid::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    pressed_ = false;
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (cell.isValid()) PressCell(cell.row() + 1, cell.column());
}

void Grid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (doubleClicked_) {
        doubleClicked_ = false;
        return;
    }
    emit Click();
}

void Grid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (!cell.isValid()) return;
    PressCell(cell.row() + 1, cell.column());
    doubleClicked_ = true;
    emit DblClick();
}

void Grid::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && row_ >= 1 &&
        row_ < Rows()) {
        emit DblClick();
        return;
    }
    QTableView::keyPressEvent(event);
}

void Grid::mouseMoveEvent(QMouseEvent*) {
    // No drag selection: the current cell moves only by clicks and keys.
}

bool Grid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != horizontalHeader()->viewport()) return QTableView::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            pressed_ = false;
            if (mouse->button() != Qt::LeftButton) return true;
            const int col = horizontalHeader()->logicalIndexAt(mouse->position().toPoint());
            if (col < 0) return true;
            setFocus(Qt::MouseFocusReason);
            PressCell(0, col);
            if (event->type() == QEvent::MouseButtonDblClick) {
                doubleClicked_ = true;
                emit DblClick();
            }
            return true;
        }
        case QEvent::MouseButtonRelease:
            mouseReleaseEvent(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            return true;
        default:
            return QTableView::eventFilter(watched, event);
    }
}

void Grid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) ApplyRowHeight();
}
