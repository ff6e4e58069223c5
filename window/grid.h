#pragma once

// The table control behind every grid of the window: a text table whose row 0
// is a fixed header row, with a current cell that clicks move, per-column
// widths in twips and alignments, and sorting of the body rows.

#include <QTableView>
#include <vector>

#include "window/grid_model.h"

class Grid : public QTableView {
    Q_OBJECT

public:
    using Alignment = GridAlignment;
    using SortKind = GridModel::SortKind;
    // (`using enum` here breaks GCC 12 inside templates.)
    static constexpr SortKind SortNumberAscending = GridModel::SortNumberAscending;
    static constexpr SortKind SortNumberDescending = GridModel::SortNumberDescending;
    static constexpr SortKind SortTextAscending = GridModel::SortTextAscending;
    static constexpr SortKind SortTextDescending = GridModel::SortTextDescending;

    explicit Grid(QWidget* parent = nullptr);

    // The table size, header row included: Rows() == 1 is a grid with only its header.
    int Rows() const { return model_->Rows(); }
    void SetRows(int rows);
    int Cols() const { return model_->Cols(); }
    void SetCols(int cols);
    // Empties every cell text, headers included; sizes, widths, alignments and
    // colours stay.
    void Clear();

    // Widths are in twips; 0 hides the column.
    int ColWidth(int col) const;
    void SetColWidth(int col, int twips);
    Alignment ColAlignment(int col) const { return model_->Alignment(col); }
    void SetColAlignment(int col, Alignment alignment);
    Alignment HeaderAlignment(int col) const { return model_->HeaderAlignment(col); }
    void SetHeaderAlignment(int col, Alignment alignment);

    // The current cell; row 0 is the header. Out-of-range values are clamped.
    // Setting it does not scroll.
    int Row() const { return row_; }
    void SetRow(int row);
    int Col() const { return col_; }
    void SetCol(int col);
    QString Text() const { return model_->Text(row_, col_); }
    void SetText(const QString& text) { model_->SetText(row_, col_, text); }
    QColor CellBackColor() const { return model_->BackColor(row_, col_); }
    void SetCellBackColor(const QColor& colour) { model_->SetBackColor(row_, col_, colour); }

    // Any cell, without moving the current one.
    QString TextMatrix(int row, int col) const { return model_->Text(row, col); }
    void SetTextMatrix(int row, int col, const QString& text) { model_->SetText(row, col, text); }

    // The first body row in view (1 when there is none). Asked for during a
    // fill, it is applied when the fill ends.
    int TopRow() const;
    void SetTopRow(int row);

    // Sorts rows 1..Rows()-1 by the current column (kinds in SortKind). Whole rows
    // move, equal keys keep their order, the current cell keeps its row number.
    // A number sort reads each cell as a decimal number; empty and non-numeric
    // cells count as 0.
    void Sort(int kind);

    // Brackets a fill: sizes and texts change without a signal per cell, and the
    // view is refreshed once at the end. Pairs may nest.
    void BeginFill() { model_->BeginFill(); }
    void EndFill();
    // One-step fill of the body rows (the header row stays).
    void SetBodyRows(std::vector<QStringList> rows);
    // The body rows of a source (see GridModel::SetBodySource).
    void SetBodySource(std::shared_ptr<const GridModel::BodySource> source);

    GridModel* Model() const { return model_; }

signals:
    // Raised after a mouse press made the clicked cell current.
    void Click();
    // Also raised by Return on a body row: the keyboard's double-click.
    void DblClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void AfterReset();
    void ApplyColumnLayout();
    void ApplyRowHeight();
    void ClampCurrent();
    void ShowCurrent();
    void PressCell(int row, int col);

    GridModel* model_;
    std::vector<int> widths_;  // twips; -1 for the default width
    int row_ = 1;
    int col_ = 0;
    bool pressed_ = false;        // a press on a cell awaits its release
    bool doubleClicked_ = false;  // the release after a double-click is no click
    bool showingCurrent_ = false;
    int pendingTopRow_ = 0;  // asked for during a fill
};
