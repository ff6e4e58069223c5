#include "window/grid_model.h"

#include <QtDebug>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace {

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

bool GridModel::HasCell(int row, int col) const {
    return row >= 0 && row < Rows() && col >= 0 && col < cols_;
}

bool GridModel::TakeCell(int row, int col) {
    if (!HasCell(row, col)) {
        qWarning("Grid: no cell (%d, %d) in a %d x %d table", row, col, Rows(), cols_);
        return false;
    }
    if (row > 0 && source_) TakeSourceRows();
    return true;
}

QString GridModel::Text(int row, int col) const {
    if (!HasCell(row, col)) return {};
    if (row > 0 && source_) return source_->BodyText(row, col);
    const QStringList& texts = lines_[row].texts;
    return col < texts.size() ? texts[col] : QString();
}

void GridModel::SetText(int row, int col, const QString& text) {
    if (!TakeCell(row, col)) return;
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
    if (!HasCell(row, col) || (row > 0 && source_)) return {};
    const QList<QColor>& colours = lines_[row].colours;
    return col < colours.size() ? colours[col] : QColor();
}

void GridModel::SetBackColor(int row, int col, const QColor& colour) {
    if (!TakeCell(row, col)) return;
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

bool GridModel::Sort(int col, int kind) {
    if (Rows() < 3 || col < 0 || col >= cols_) return false;
    TakeSourceRows();
    switch (kind) {
        case SortNumberAscending:
        case SortNumberDescending:
            SortByNumber(col, kind == SortNumberAscending);
            return true;
        case SortTextAscending:
        case SortTextDescending:
            SortByText(col, kind == SortTextAscending);
            return true;
        default:
            qWarning("Grid: unknown sort kind %d", kind);
            return false;
    }
}

void GridModel::SortByNumber(int col, bool ascending) {
    std::vector<double> keys(Rows());
    for (int r = 1; r < Rows(); ++r) keys[r] = NumberKey(StoredText(r, col));
    if (ascending) {
        SortBody([&keys](int a, int b) { return keys[a] < keys[b]; });
    } else {
        SortBody([&keys](int a, int b) { return keys[b] < keys[a]; });
    }
}

void GridModel::SortByText(int col, bool ascending) {
    // Views of the texts, which stay where they are until the rows move.
    std::vector<QStringView> keys(Rows());
    for (int r = 1; r < Rows(); ++r) keys[r] = StoredText(r, col);
    const int sign = ascending ? 1 : -1;
    SortBody([&keys, sign](int a, int b) {
        return sign * keys[a].compare(keys[b], Qt::CaseSensitive) < 0;
    });
}

template <typename Less>
void GridModel::SortBody(const Less& less) {
    std::vector<int> order(Rows() - 1);
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), less);
    MoveRows(order);
}

void GridModel::MoveRows(const std::vector<int>& order) {
    const bool tellViews = !IsFilling();
    if (tellViews) emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Line> sorted;
    sorted.reserve(lines_.size());
    sorted.push_back(std::move(lines_[0]));
    for (int from : order) sorted.push_back(std::move(lines_[from]));
    lines_ = std::move(sorted);
    if (!tellViews) return;
    FollowPersistentIndexes(order);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void GridModel::FollowPersistentIndexes(const std::vector<int>& order) {
    const int bodyRows = static_cast<int>(order.size());
    std::vector<int> newPlace(bodyRows + 1);
    for (int to = 0; to < bodyRows; ++to) newPlace[order[to]] = to + 1;
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        after.append(index(newPlace[old.row() + 1] - 1, old.column()));
    }
    changePersistentIndexList(before, after);
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
