#pragma once

// The cells behind a grid: a text table whose row 0 is a fixed header row,
// with per-column alignments and sorting of the body rows. The view that
// shows it and keeps the current cell is Grid (window/grid.h).

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QStringList>
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

    // The orders Sort knows, numbered as the grid's callers pass them.
    enum SortKind {
        SortNumberAscending = 3,
        SortNumberDescending = 4,
        SortTextAscending = 7,
        SortTextDescending = 8,
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
    bool HasCell(int row, int col) const;
    // A cell about to change, its row in lines_ (a source's rows are copied in
    // first); false, with a warning, when there is no such cell.
    bool TakeCell(int row, int col);
    // A cell of lines_ without a copy; valid while the line stays.
    QStringView StoredText(int row, int col) const;
    void NotifyCell(int row, int col, int role);
    void NotifyColumn(int col, bool header);
    // A number sort reads each cell as a decimal number, 0 when it is none.
    void SortByNumber(int col, bool ascending);
    void SortByText(int col, bool ascending);
    // Orders the body rows stably by `less` over row numbers.
    template <typename Less>
    void SortBody(const Less& less);
    // Puts the body rows in the order given (old row numbers, first to last).
    void MoveRows(const std::vector<int>& order);
    // Indexes the views hold follow their rows to the new places.
    void FollowPersistentIndexes(const std::vector<int>& order);

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
