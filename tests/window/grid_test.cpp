#include "window/grid.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

#include "tests/support/gui_app.h"
#include "window/twips.h"

namespace {

using Cells = std::vector<QStringList>;
using Place = std::pair<int, int>;

class GridTest : public ::testing::Test {
protected:
    // Row 0 of the cells is the header.
    static void Fill(Grid& grid, const Cells& rows) {
        grid.SetCols(static_cast<int>(rows[0].size()));
        grid.SetRows(static_cast<int>(rows.size()));
        for (size_t r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < rows[r].size(); ++c) {
                grid.SetTextMatrix(static_cast<int>(r), c, rows[r][c]);
            }
        }
    }

    static QStringList Column(const Grid& grid, int col) {
        QStringList texts;
        for (int r = 0; r < grid.Rows(); ++r) texts << grid.TextMatrix(r, col);
        return texts;
    }

    QApplication* app = EnsureGuiApplication();  // before the grid
    Grid grid;
};

QStringList* modelFaults = nullptr;

void RecordModelFault(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg && modelFaults) modelFaults->append(message);
}

// Collects every warning Qt's model tester raises while it lives, and fails
// the test with them at its end.
class ModelFaultWatch {
public:
    ModelFaultWatch() : previous_(qInstallMessageHandler(RecordModelFault)) {
        modelFaults = &faults_;
    }
    ~ModelFaultWatch() {
        qInstallMessageHandler(previous_);
        modelFaults = nullptr;
        EXPECT_TRUE(faults_.isEmpty()) << faults_.join('\n').toStdString();
    }

private:
    QStringList faults_;
    QtMessageHandler previous_;
};

TEST_F(GridTest, ModelStaysConsistentThroughFillSortResizeAndClear) {
    ModelFaultWatch watch;
    {
        grid.show();
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        grid.BeginFill();
        grid.SetCols(3);
        grid.SetRows(51);
        for (int r = 0; r < 51; ++r) {
            for (int c = 0; c < 3; ++c) grid.SetTextMatrix(r, c, QString::number(r * 7 % 13));
        }
        grid.EndFill();
        grid.SetRow(20);
        grid.SetCol(1);
        grid.Sort(Grid::SortNumberDescending);
        grid.Sort(Grid::SortTextAscending);
        for (int rows : {10, 1, 30}) grid.SetRows(rows);
        grid.SetCols(5);
        grid.SetCols(2);
        grid.SetText("変更");
        grid.Clear();
        grid.SetBodyRows({{"a", "b"}, {"c", "d"}});
        grid.Sort(Grid::SortTextDescending);
        QApplication::processEvents();
    }
}

TEST_F(GridTest, NumberSortsCompareValuesAndCountOtherCellsAsZero) {
    Fill(grid, {{"名", "点"}, {"a", "100"}, {"b", "10"}, {"c", "9"}, {"d", "-3"}});
    grid.SetCol(1);
    grid.Sort(Grid::SortNumberDescending);
    EXPECT_EQ(Column(grid, 1), QStringList({"点", "100", "10", "9", "-3"}));
    grid.Sort(Grid::SortNumberAscending);
    EXPECT_EQ(Column(grid, 1), QStringList({"点", "-3", "9", "10", "100"}));
    EXPECT_EQ(Column(grid, 0), QStringList({"名", "d", "c", "b", "a"}));  // whole rows move
    grid.Sort(Grid::SortTextAscending);
    EXPECT_EQ(Column(grid, 1), QStringList({"点", "-3", "10", "100", "9"}));

    Fill(grid, {{"名", "点"}, {"a", "5"}, {"b", ""}, {"c", "-1"}, {"d", "abc"}, {"e", "0"}});
    grid.Sort(Grid::SortNumberAscending);
    EXPECT_EQ(Column(grid, 0), QStringList({"名", "c", "b", "d", "e", "a"}));
}

// Short integers are read without the full parser; what they and every
// other text read as stays the same.
TEST_F(GridTest, NumberSortsReadSignsExponentsAndSpacesLikeTheParser) {
    Fill(grid, {{"名", "点"},
                {"a", "1e1"},
                {"b", "007"},
                {"c", "-"},
                {"d", "+2"},
                {"e", " 3"},
                {"f", "2.5"},
                {"g", "12-"},
                {"h", "1234567890123"},
                {"i", "-11"},
                {"j", "--1"}});
    grid.SetCol(1);
    grid.Sort(Grid::SortNumberAscending);
    EXPECT_EQ(Column(grid, 0),
              QStringList({"名", "i", "c", "g", "j", "d", "f", "e", "b", "a", "h"}));
    const auto align = [this](int row) {
        return grid.model()->data(grid.model()->index(row, 1), Qt::TextAlignmentRole).toInt() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(align(0), Qt::AlignRight);  // -11
    EXPECT_EQ(align(1), Qt::AlignLeft);   // -
    EXPECT_EQ(align(5), Qt::AlignRight);  // 2.5
}

TEST_F(GridTest, TextSortsAreBinaryAndCaseSensitive) {
    Fill(grid, {{"名"}, {"a"}, {"B"}, {"b"}, {"A"}, {"あ"}, {"ア"}, {""}});
    grid.SetCol(0);
    grid.Sort(Grid::SortTextAscending);
    EXPECT_EQ(Column(grid, 0), QStringList({"名", "", "A", "B", "a", "b", "あ", "ア"}));
    grid.Sort(Grid::SortTextDescending);
    EXPECT_EQ(Column(grid, 0), QStringList({"名", "ア", "あ", "b", "a", "B", "A", ""}));
}

TEST_F(GridTest, SortsKeepTheOrderOfEqualKeysBothWays) {
    // Enough rows that an unstable sort would show.
    Cells rows{{"順", "数"}};
    for (int i = 1; i <= 200; ++i) rows.push_back({QString::number(i), QString::number(i % 3)});
    Fill(grid, rows);
    grid.SetCol(1);
    for (int kind : {4, 3, 8, 7}) {
        grid.Sort(kind);
        for (int r = 2; r <= 200; ++r) {
            if (grid.TextMatrix(r, 1) != grid.TextMatrix(r - 1, 1)) continue;
            EXPECT_LT(grid.TextMatrix(r - 1, 0).toInt(), grid.TextMatrix(r, 0).toInt())
                << "kind " << kind << " row " << r;
        }
    }
    EXPECT_EQ(grid.TextMatrix(1, 1), "0");
}

TEST_F(GridTest, SortLeavesTheHeaderAndTheCurrentCellInPlace) {
    Fill(grid, {{"z", "a"}, {"b", "b"}, {"a", "c"}});
    grid.SetRow(0);
    grid.SetCol(0);
    grid.SetCellBackColor(QColor(255, 192, 192));
    grid.SetRow(2);
    grid.SetCellBackColor(QColor(1, 2, 3));

    grid.Sort(Grid::SortTextAscending);
    EXPECT_EQ(Column(grid, 0), QStringList({"z", "a", "b"}));
    EXPECT_EQ(Column(grid, 1), QStringList({"a", "c", "b"}));
    EXPECT_EQ(Place(grid.Row(), grid.Col()), Place(2, 0));
    // Colours belong to cells and travel with their rows; the header's stays.
    EXPECT_EQ(grid.Model()->BackColor(1, 0), QColor(1, 2, 3));
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal, Qt::BackgroundRole).value<QColor>(),
              QColor(255, 192, 192));
    EXPECT_FALSE(grid.model()->headerData(1, Qt::Horizontal, Qt::BackgroundRole).isValid());
}

TEST_F(GridTest, SortWithoutBodyRowsOrOfAnUnknownKindChangesNothing) {
    Fill(grid, {{"b", "a"}});
    QSignalSpy layouts(grid.model(), &QAbstractItemModel::layoutChanged);
    for (int kind : {3, 4, 7, 8}) grid.Sort(kind);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.TextMatrix(0, 0), "b");
    Fill(grid, {{"h"}, {"2"}, {"1"}});
    grid.Sort(1);
    EXPECT_EQ(Column(grid, 0), QStringList({"h", "2", "1"}));
    EXPECT_EQ(layouts.count(), 0);
}

TEST_F(GridTest, RowsColsAndClearKeepWhatTheyShould) {
    Fill(grid, {{"タイトル名", "国"}, {"七人の侍", "日本"}, {"123", "x"}});
    grid.SetColWidth(0, 3000);
    grid.SetColWidth(1, 0);
    grid.SetColAlignment(0, Grid::Alignment::Centre);

    grid.Clear();
    EXPECT_EQ(Place(grid.Rows(), grid.Cols()), Place(3, 2));
    EXPECT_EQ(Column(grid, 0), QStringList({"", "", ""}));
    EXPECT_EQ(Column(grid, 1), QStringList({"", "", ""}));
    EXPECT_EQ(grid.ColWidth(0), 3000);
    EXPECT_EQ(grid.ColAlignment(0), Grid::Alignment::Centre);

    Fill(grid, {{"見出し1", "見出し2"}, {"a", "b"}, {"c", "d"}});
    grid.SetRows(1);
    EXPECT_EQ(grid.model()->rowCount(), 0);
    EXPECT_EQ(grid.TextMatrix(0, 1), "見出し2");
    // Widths and hidden columns survive resizing the rows and refills.
    grid.SetRows(3);
    EXPECT_EQ(Column(grid, 0), QStringList({"見出し1", "", ""}));
    grid.SetBodyRows({{"a", "b", "past the last column"}, {"c", "d"}});
    EXPECT_EQ(grid.columnWidth(0), TwipsToPixels(3000));
    EXPECT_TRUE(grid.isColumnHidden(1));
    // Rows and columns that come back are new: empty, default width, shown.
    grid.SetCols(1);
    grid.SetCols(3);
    EXPECT_EQ(Column(grid, 0), QStringList({"見出し1", "a", "c"}));
    EXPECT_EQ(Column(grid, 1), QStringList({"", "", ""}));
    EXPECT_EQ(Column(grid, 2), QStringList({"", "", ""}));
    EXPECT_FALSE(grid.isColumnHidden(1));
    EXPECT_EQ(grid.ColWidth(1), grid.ColWidth(2));
    grid.SetColWidth(1, 1500);
    EXPECT_EQ(grid.columnWidth(1), 100);
}

TEST_F(GridTest, CurrentCellTextAndTextMatrix) {
    Fill(grid, {{"h0", "h1"}, {"a", "123"}, {"c", "d"}});
    grid.SetRow(2);
    grid.SetCol(1);
    EXPECT_EQ(grid.Text(), "d");
    grid.SetTextMatrix(1, 0, "新");
    EXPECT_EQ(grid.TextMatrix(1, 0), "新");
    EXPECT_EQ(Place(grid.Row(), grid.Col()), Place(2, 1));
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(1, 1));

    // Row 0 is the header and shows no highlight.
    grid.SetRow(0);
    grid.SetText("タイトル名");
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), "タイトル名");
    EXPECT_FALSE(grid.selectionModel()->hasSelection());

    // The default alignment puts numbers right and text left.
    const auto align = [this](int row) {
        return grid.model()->data(grid.model()->index(row, 1), Qt::TextAlignmentRole).toInt() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(align(0), Qt::AlignRight);
    EXPECT_EQ(align(1), Qt::AlignLeft);

    // A shrinking table pulls the current cell in.
    grid.SetRow(2);
    grid.SetRows(2);
    grid.SetCols(1);
    EXPECT_EQ(Place(grid.Row(), grid.Col()), Place(1, 0));
}

TEST_F(GridTest, FillsPublishOnceAtTheEnd) {
    QSignalSpy resets(grid.model(), &QAbstractItemModel::modelReset);
    QSignalSpy cells(grid.model(), &QAbstractItemModel::dataChanged);
    QSignalSpy headers(grid.model(), &QAbstractItemModel::headerDataChanged);
    grid.BeginFill();
    grid.SetCols(6);
    grid.SetRows(1001);
    grid.SetRow(0);
    grid.SetColWidth(3, 1200);
    for (int c = 0; c < 6; ++c) {
        grid.SetCol(c);
        grid.SetText(QString("見出し%1").arg(c));
        grid.SetCellBackColor(QColor(255, 192, 192));
    }
    for (int r = 1; r < 1001; ++r) {
        for (int c = 0; c < 6; ++c) grid.SetTextMatrix(r, c, QString::number(r));
    }
    EXPECT_EQ(grid.model()->rowCount(), 1);  // the view still sees the old table
    grid.EndFill();

    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(cells.count() + headers.count(), 0);
    EXPECT_EQ(grid.model()->rowCount(), 1000);
    EXPECT_EQ(grid.model()->headerData(5, Qt::Horizontal).toString(), "見出し5");
    EXPECT_EQ(grid.columnWidth(3), TwipsToPixels(1200));

    grid.SetBodyRows({{"a"}, {"b"}});
    EXPECT_EQ(resets.count(), 2);
    EXPECT_EQ(Column(grid, 0), QStringList({"見出し0", "a", "b"}));
}

// Body rows worked out from their row and column, as a ranking supplies them.
class CountingSource : public GridModel::BodySource {
public:
    explicit CountingSource(int rows) : rows_(rows) {}
    int BodyRows() const override { return rows_; }
    QString BodyText(int row, int col) const override {
        return col < 2 ? QString("%1-%2").arg(row).arg(col) : QString();
    }

private:
    int rows_;
};

TEST_F(GridTest, ASourceShowsItsRowsUntilACellIsWritten) {
    ModelFaultWatch watch;
    {
        grid.show();
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        Fill(grid, {{"h0", "h1", "h2"}});
        auto source = std::make_shared<CountingSource>(4);
        grid.SetBodySource(source);
        EXPECT_EQ(grid.Rows(), 5);
        EXPECT_EQ(grid.model()->rowCount(), 4);
        EXPECT_EQ(Column(grid, 1), QStringList({"h1", "1-1", "2-1", "3-1", "4-1"}));
        EXPECT_EQ(grid.model()->data(grid.model()->index(3, 0)).toString(), "4-0");
        EXPECT_EQ(grid.TextMatrix(2, 2), "");
        EXPECT_FALSE(grid.Model()->BackColor(2, 0).isValid());
        // The header is the grid's own.
        grid.SetTextMatrix(0, 1, "見出し");
        EXPECT_EQ(grid.Model()->Source(), source.get());

        // A written cell: the rows become the grid's texts, that cell changed.
        grid.SetTextMatrix(2, 1, "新");
        EXPECT_EQ(grid.Model()->Source(), nullptr);
        EXPECT_EQ(Column(grid, 1), QStringList({"見出し", "1-1", "新", "3-1", "4-1"}));
        EXPECT_EQ(Column(grid, 0), QStringList({"h0", "1-0", "2-0", "3-0", "4-0"}));

        // So does a colour, a sort, a resize and a clear.
        grid.SetBodySource(source);
        grid.SetRow(3);
        grid.SetCol(0);
        grid.SetCellBackColor(QColor(1, 2, 3));
        EXPECT_EQ(grid.Model()->BackColor(3, 0), QColor(1, 2, 3));
        EXPECT_EQ(Column(grid, 0), QStringList({"h0", "1-0", "2-0", "3-0", "4-0"}));
        grid.SetBodySource(source);
        grid.Sort(Grid::SortTextDescending);
        EXPECT_EQ(Column(grid, 0), QStringList({"h0", "4-0", "3-0", "2-0", "1-0"}));
        grid.SetBodySource(source);
        grid.SetRows(3);
        EXPECT_EQ(Column(grid, 1), QStringList({"見出し", "1-1", "2-1"}));
        grid.SetBodySource(source);
        grid.Clear();
        EXPECT_EQ(grid.Rows(), 5);
        EXPECT_EQ(Column(grid, 0), QStringList({"", "", "", "", ""}));
        grid.SetBodySource(source);
        grid.SetRows(1);
        EXPECT_EQ(grid.Model()->Source(), nullptr);
        EXPECT_EQ(grid.model()->rowCount(), 0);
        grid.SetBodySource(source);
        grid.SetBodyRows({{"a"}});
        EXPECT_EQ(Column(grid, 0), QStringList({"", "a"}));
        QApplication::processEvents();
    }
}

// What a widget receives from a real double-click: press, release, press,
// double-click, release.
void DoubleClick(QWidget* widget, QPoint point) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, point);
    QTest::mousePress(widget, Qt::LeftButton, {}, point);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, point);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, point);
}

class ShownGridTest : public GridTest {
protected:
    void SetUp() override {
        grid.setFont(QFont("IPAGothic", 9));
        grid.resize(500, 300);
        Cells rows{{"列0", "列1", "列2"}};
        for (int r = 1; r <= 100; ++r) {
            rows.push_back(
                {QString("%1-0").arg(r), QString("%1-1").arg(r), QString("%1-2").arg(r)});
        }
        grid.BeginFill();
        Fill(grid, rows);
        grid.EndFill();
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        QObject::connect(&grid, &Grid::Click,
                         [this] { clicks.emplace_back(grid.Row(), grid.Col()); });
        QObject::connect(&grid, &Grid::DblClick,
                         [this] { doubleClicks.emplace_back(grid.Row(), grid.Col()); });
    }

    QPoint CentreOf(int row, int col) const {
        return grid.visualRect(grid.model()->index(row - 1, col)).center();
    }

    std::vector<Place> clicks;
    std::vector<Place> doubleClicks;
};

TEST_F(ShownGridTest, ClicksMakeTheCellCurrentBeforeTheyAreRaised) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CentreOf(3, 2));
    EXPECT_EQ(clicks, std::vector<Place>({{3, 2}}));
    EXPECT_EQ(grid.Text(), "3-2");

    // A double-click is one click, then the double-click.
    clicks.clear();
    DoubleClick(grid.viewport(), CentreOf(5, 1));
    EXPECT_EQ(clicks, std::vector<Place>({{5, 1}}));
    EXPECT_EQ(doubleClicks, std::vector<Place>({{5, 1}}));

    // The header's cells are row 0.
    QHeaderView* header = grid.horizontalHeader();
    DoubleClick(header->viewport(), {header->sectionViewportPosition(2) + 5, header->height() / 2});
    EXPECT_EQ(clicks.back(), Place(0, 2));
    EXPECT_EQ(doubleClicks.back(), Place(0, 2));
    EXPECT_EQ(grid.Text(), "列2");

    // Other buttons, space past the last column and keys raise no clicks.
    clicks.clear();
    grid.SetRow(5);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, CentreOf(2, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, {grid.viewport()->width() - 2, 5});
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(Place(grid.Row(), grid.Col()), Place(6, 2));
}

TEST_F(ShownGridTest, TopRowScrollsTheBodyUnderAFixedHeader) {
    grid.SetTopRow(40);
    EXPECT_EQ(grid.TopRow(), 40);
    EXPECT_EQ(grid.rowAt(0), 39);
    grid.SetRow(3);  // moving the current cell does not scroll
    EXPECT_EQ(grid.TopRow(), 40);
    EXPECT_EQ(grid.horizontalHeader()->geometry().bottom() + 1, grid.viewport()->geometry().top());

    // The last row cannot come first; the body scrolls to its end instead.
    grid.SetTopRow(100);
    EXPECT_EQ(grid.verticalScrollBar()->value(), grid.verticalScrollBar()->maximum());
    EXPECT_GT(grid.TopRow(), 40);

    // Straight after a fill, before any layout has run, and inside one.
    grid.SetBodyRows(Cells(200, QStringList{"x"}));
    grid.SetTopRow(150);
    EXPECT_EQ(grid.TopRow(), 150);
    grid.BeginFill();
    grid.SetRows(301);
    grid.SetTopRow(250);
    grid.EndFill();
    EXPECT_EQ(grid.TopRow(), 250);
    // Rows stay compact but fit the font.
    EXPECT_GE(grid.rowHeight(0), QFontMetrics(grid.font()).height());
    EXPECT_LE(grid.rowHeight(0), QFontMetrics(grid.font()).height() + 6);
}

}  // namespace
