#pragma once

// The table control behind every grid of the window: a text table whose row 0
// is a fixed header row, with a current cell that clicks move, per-column
// widths in twips and alignments, and sorting of the body rows.

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QStringList>
#include <QTableView>
#include <memory>
#include <vector>

// How a column places its text. General puts numbers right and other text left.
enum class GridAlignment { General, Left, Centre, Right };

// The cells of a grid. Row numbers given to its own functions count the header
// as row 0; to the item views it offers the body rows as rows 0.. and row 0 as
// the horizontal header.
//
// Between BeginFill() and EndFill() every change is silent and the views keep
// seeing the table as it was; EndFill() publishes everything with one reset.
class GridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Body rows kept elsewhere whose texts are asked for as they are needed,
    // for long tables that would cost more to copy in than to work out (the
    // rankings). A source's cells have no colours.
    class BodySource {
    public:
        virtual ~BodySource() = default;
        virtual int BodyRows() const = 0;
        // row 1..BodyRows(); columns past the source's own are empty.
        virtual QString BodyText(int row, int col) const = 0;
    };

    explicit GridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int Rows() const { return source_ ? 1 + source_->BodyRows() : static_cast<int>(lines_.size()); }
    int Cols() const { return cols_; }
    // Both at least 1. New rows are empty; texts of dropped rows and columns are gone.
    void Resize(int rows, int cols);

    QString Text(int row, int col) const;
    void SetText(int row, int col, const QString& text);
    // An invalid colour means the view's own background.
    QColor BackColor(int row, int col) const;
    void SetBackColor(int row, int col, const QColor& colour);

    GridAlignment Alignment(int col) const;
    void SetAlignment(int col, GridAlignment alignment);
    GridAlignment HeaderAlignment(int col) const;
    void SetHeaderAlignment(int col, GridAlignment alignment);

    // Empties every text, the header's too; colours, sizes and alignments stay.
    void ClearTexts();
    // Replaces the body rows; the header row stays. Texts past the last column are dropped.
    void SetBody(std::vector<QStringList> rows);
    // Replaces the body rows by those of the source; given again, shows the
    // source's rows as they are now. Any change to a body cell, a resize or a
    // sort first copies the rows in as texts and lets go of the source.
    void SetBodySource(std::shared_ptr<const BodySource> source);
    const BodySource* Source() const { return source_.get(); }
    // Sorts rows 1.. by the column; false when the kind is unknown or nothing moved.
    bool Sort(int col, int kind);

    void BeginFill();
    void EndFill();
    bool IsFilling() const { return fillDepth_ > 0; }

private:
    struct Line {
        QStringList texts;      // may be shorter than Cols(): missing cells are empty
        QList<QColor> colours;  // likewise, usually empty
    };

    void Publish();
    // Copies a source's rows in as texts (the first `rows` rows at most).
    void TakeSourceRows(int rows = -1);
    // A cell of lines_ without a copy; valid while the line stays.
    QStringView StoredText(int row, int col) const;
    void NotifyCell(int row, int col, int role);
    void NotifyColumn(int col, bool header);
    template <typename Less>
    void SortBody(const Less& less);

    std::vector<Line> lines_;  // lines_[0] is the header row; only that while there is a source
    std::shared_ptr<const BodySource> source_;
    int cols_ = 2;
    std::vector<GridAlignment> alignments_;
    std::vector<GridAlignment> headerAlignments_;
    int fillDepth_ = 0;
    // The size the views were last told of.
    int shownBodyRows_ = 1;
    int shownCols_ = 2;
};

class Grid : public QTableView {
    Q_OBJECT

public:
    using Alignment = GridAlignment;
    enum SortKind {
        SortNumberAscending = 3,
        SortNumberDescending = 4,
        SortTextAscending = 7,
        SortTextDescending = 8,
    };

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
