#include "window/grid.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "window/twips.h"

namespace {

// Columns nobody sized are 64 pixels wide.
constexpr int kDefaultColumnTwips = 960;
// Room above and below the text of a row.
constexpr int kRowPadding = 2;

}  // namespace

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
