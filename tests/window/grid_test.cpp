#include "window/grid.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "tests/window/app_fixture.h"
#include "window/twips.h"

namespace {

class GridTest : public ::testing::Test {
protected:
    // Before any member widget of a derived fixture is made.
    GridTest() { EnsureApplication(); }

    // A grid of one header row and the given body rows, with as many columns as
    // the widest row.
    static void Fill(Grid& grid, const std::vector<QStringList>& rows) {
        qsizetype cols = 1;
        for (const QStringList& row : rows) cols = std::max(cols, row.size());
        grid.SetCols(static_cast<int>(cols));
        grid.SetRows(static_cast<int>(rows.size()));
        for (size_t r = 0; r < rows.size(); ++r) {
            for (qsizetype c = 0; c < rows[r].size(); ++c) {
                grid.SetTextMatrix(static_cast<int>(r), static_cast<int>(c), rows[r][c]);
            }
        }
    }

    static QStringList Column(const Grid& grid, int col) {
        QStringList texts;
        for (int r = 0; r < grid.Rows(); ++r) texts << grid.TextMatrix(r, col);
        return texts;
    }

    static QModelIndex Cell(const Grid& grid, int row, int col) {
        return grid.model()->index(row - 1, col);
    }
};

// Model faults the tester reports come as warnings; each one fails the test.
QStringList* modelFaults = nullptr;

void RecordModelFault(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg && modelFaults) modelFaults->append(message);
}

TEST_F(GridTest, ModelStaysConsistentThroughFillSortResizeAndClear) {
    QStringList faults;
    modelFaults = &faults;
    const QtMessageHandler previous = qInstallMessageHandler(RecordModelFault);
    {
        Grid grid;
        grid.resize(400, 300);
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
        grid.SetRows(10);
        grid.SetRows(1);
        grid.SetRows(30);
        grid.SetCols(5);
        grid.SetCols(2);
        grid.SetText(QStringLiteral("変更"));
        grid.Clear();
        grid.SetBodyRows({{"a", "b"}, {"c", "d"}});
        grid.Sort(Grid::SortTextDescending);
        QApplication::processEvents();
    }
    qInstallMessageHandler(previous);
    modelFaults = nullptr;
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
}

TEST_F(GridTest, NumberSortsCompareValuesNotText) {
    Grid grid;
    Fill(grid, {{"名", "点"}, {"a", "100"}, {"b", "10"}, {"c", "9"}, {"d", "-3"}});
    grid.SetCol(1);

    grid.Sort(Grid::SortNumberDescending);
    EXPECT_EQ(Column(grid, 1), QStringList({"点", "100", "10", "9", "-3"}));
    EXPECT_EQ(Column(grid, 0), QStringList({"名", "a", "b", "c", "d"}));

    grid.Sort(Grid::SortNumberAscending);
    EXPECT_EQ(Column(grid, 1), QStringList({"点", "-3", "9", "10", "100"}));
    // Whole rows move together.
    EXPECT_EQ(Column(grid, 0), QStringList({"名", "d", "c", "b", "a"}));

    // The same cells as text.
    grid.Sort(Grid::SortTextAscending);
    EXPECT_EQ(Column(grid, 1), QStringList({"点", "-3", "10", "100", "9"}));
}

TEST_F(GridTest, NumberSortCountsEmptyAndNonNumericCellsAsZero) {
    Grid grid;
    Fill(grid, {{"名", "点"}, {"a", "5"}, {"b", ""}, {"c", "-1"}, {"d", "abc"}, {"e", "0"}});
    grid.SetCol(1);
    grid.Sort(Grid::SortNumberAscending);
    EXPECT_EQ(Column(grid, 0), QStringList({"名", "c", "b", "d", "e", "a"}));
    grid.Sort(Grid::SortNumberDescending);
    EXPECT_EQ(Column(grid, 0), QStringList({"名", "a", "b", "d", "e", "c"}));
}

TEST_F(GridTest, TextSortsAreBinaryAndCaseSensitive) {
    Grid grid;
    Fill(grid, {{"名"}, {"a"}, {"B"}, {"b"}, {"A"}, {"あ"}, {"ア"}, {""}});
    grid.SetCol(0);
    grid.Sort(Grid::SortTextAscending);
    EXPECT_EQ(Column(grid, 0), QStringList({"名", "", "A", "B", "a", "b", "あ", "ア"}));
    grid.Sort(Grid::SortTextDescending);
    EXPECT_EQ(Column(grid, 0), QStringList({"名", "ア", "あ", "b", "a", "B", "A", ""}));
}

TEST_F(GridTest, SortsKeepTheOrderOfEqualKeysBothWays) {
    Grid grid;
    Fill(grid, {{"順", "数"}, {"1", "2"}, {"2", "5"}, {"3", "2"}, {"4", "5"}, {"5", "2"}});
    grid.SetCol(1);
    grid.Sort(Grid::SortNumberDescending);
    EXPECT_EQ(Column(grid, 0), QStringList({"順", "2", "4", "1", "3", "5"}));
    grid.Sort(Grid::SortNumberAscending);
    EXPECT_EQ(Column(grid, 0), QStringList({"順", "1", "3", "5", "2", "4"}));
    grid.Sort(Grid::SortTextDescending);
    EXPECT_EQ(Column(grid, 0), QStringList({"順", "2", "4", "1", "3", "5"}));

    // Enough rows that an unstable sort would show.
    std::vector<QStringList> rows{{"順", "数"}};
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
}

TEST_F(GridTest, SortLeavesTheHeaderRowAndTheCurrentCellInPlace) {
    Grid grid;
    Fill(grid, {{"z", "a"}, {"b", "b"}, {"a", "c"}});
    grid.SetRow(0);
    grid.SetCol(0);
    grid.SetCellBackColor(QColor(255, 192, 192));
    grid.SetRow(2);
    grid.SetCellBackColor(QColor(1, 2, 3));

    grid.Sort(Grid::SortTextAscending);
    EXPECT_EQ(Column(grid, 0), QStringList({"z", "a", "b"}));
    EXPECT_EQ(Column(grid, 1), QStringList({"a", "c", "b"}));
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 0);
    // Colours are cell properties and travel with their rows; the header's stays.
    EXPECT_EQ(grid.TextMatrix(1, 0), "a");
    EXPECT_EQ(grid.Model()->BackColor(1, 0), QColor(1, 2, 3));
    EXPECT_FALSE(grid.CellBackColor().isValid());
    EXPECT_EQ(grid.Model()->BackColor(0, 0), QColor(255, 192, 192));

    grid.Sort(Grid::SortTextDescending);
    EXPECT_EQ(Column(grid, 0), QStringList({"z", "b", "a"}));
}

TEST_F(GridTest, SortWithoutBodyRowsOrWithAnUnknownKindChangesNothing) {
    Grid grid;
    Fill(grid, {{"b", "a"}});
    ASSERT_EQ(grid.Rows(), 1);
    QSignalSpy layouts(grid.model(), &QAbstractItemModel::layoutChanged);
    QSignalSpy resets(grid.model(), &QAbstractItemModel::modelReset);
    for (int kind : {3, 4, 7, 8}) grid.Sort(kind);
    EXPECT_EQ(Column(grid, 0), QStringList({"b"}));
    EXPECT_EQ(Column(grid, 1), QStringList({"a"}));

    Fill(grid, {{"h"}, {"2"}, {"1"}});
    layouts.clear();
    grid.Sort(1);
    EXPECT_EQ(Column(grid, 0), QStringList({"h", "2", "1"}));
    EXPECT_EQ(layouts.count(), 0);
    EXPECT_EQ(resets.count(), 2);  // only the two resizes of the second fill
}

TEST_F(GridTest, RowsAndColsResizeTheTable) {
    Grid grid;
    Fill(grid, {{"見出し1", "見出し2"}, {"a", "b"}, {"c", "d"}});

    grid.SetRows(1);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.model()->rowCount(), 0);
    EXPECT_EQ(grid.TextMatrix(0, 0), "見出し1");
    EXPECT_EQ(grid.TextMatrix(0, 1), "見出し2");

    // Rows that come back are empty, not the old ones.
    grid.SetRows(4);
    EXPECT_EQ(grid.model()->rowCount(), 3);
    for (int r = 1; r < 4; ++r) {
        EXPECT_EQ(grid.TextMatrix(r, 0), "");
        EXPECT_EQ(grid.TextMatrix(r, 1), "");
    }

    grid.SetTextMatrix(1, 1, "x");
    grid.SetCols(1);
    grid.SetCols(2);
    EXPECT_EQ(grid.TextMatrix(0, 1), "");
    EXPECT_EQ(grid.TextMatrix(1, 1), "");

    // Neither size goes below one.
    grid.SetRows(0);
    grid.SetCols(0);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Cols(), 1);
}

TEST_F(GridTest, ClearEmptiesTextsAndKeepsTheLayout) {
    Grid grid;
    Fill(grid, {{"タイトル名", "国"}, {"七人の侍", "日本"}, {"123", "x"}});
    grid.SetColWidth(0, 3000);
    grid.SetColWidth(1, 0);
    grid.SetColAlignment(0, Grid::Alignment::Centre);
    grid.SetHeaderAlignment(0, Grid::Alignment::Centre);

    grid.Clear();
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Cols(), 2);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 2; ++c) EXPECT_EQ(grid.TextMatrix(r, c), "") << r << "," << c;
    }
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), "");
    EXPECT_EQ(grid.ColWidth(0), 3000);
    EXPECT_EQ(grid.ColWidth(1), 0);
    EXPECT_TRUE(grid.isColumnHidden(1));
    EXPECT_EQ(grid.ColAlignment(0), Grid::Alignment::Centre);
    EXPECT_EQ(grid.HeaderAlignment(0), Grid::Alignment::Centre);
}

TEST_F(GridTest, ColumnWidthsAreTwipsAndZeroHides) {
    Grid grid;
    grid.SetCols(3);
    grid.SetRows(3);
    grid.SetColWidth(0, 3000);
    grid.SetColWidth(1, 0);
    EXPECT_EQ(grid.ColWidth(0), 3000);
    EXPECT_EQ(grid.columnWidth(0), TwipsToPixels(3000));
    EXPECT_EQ(grid.ColWidth(1), 0);
    EXPECT_TRUE(grid.isColumnHidden(1));
    EXPECT_FALSE(grid.isColumnHidden(2));
    EXPECT_GT(grid.ColWidth(2), 0);

    // Widths survive resizing and refills.
    grid.SetRows(10);
    grid.SetCols(4);
    grid.SetBodyRows({{"a", "b", "c", "d"}});
    EXPECT_EQ(grid.columnWidth(0), TwipsToPixels(3000));
    EXPECT_TRUE(grid.isColumnHidden(1));

    grid.SetColWidth(1, 1500);
    EXPECT_FALSE(grid.isColumnHidden(1));
    EXPECT_EQ(grid.columnWidth(1), 100);
}

TEST_F(GridTest, AlignmentsOfBodyAndHeader) {
    Grid grid;
    Fill(grid, {{"見出し", "x"}, {"123", "テキスト"}, {"-4.5", ""}});
    const auto body = [&grid](int row, int col) {
        return grid.model()->data(Cell(grid, row, col), Qt::TextAlignmentRole).toInt() &
               Qt::AlignHorizontal_Mask;
    };
    // The default: numbers right, text left.
    EXPECT_EQ(body(1, 0), Qt::AlignRight);
    EXPECT_EQ(body(2, 0), Qt::AlignRight);
    EXPECT_EQ(body(1, 1), Qt::AlignLeft);

    grid.SetColAlignment(0, Grid::Alignment::Left);
    grid.SetColAlignment(1, Grid::Alignment::Right);
    EXPECT_EQ(body(1, 0), Qt::AlignLeft);
    EXPECT_EQ(body(1, 1), Qt::AlignRight);
    grid.SetColAlignment(1, Grid::Alignment::Centre);
    EXPECT_EQ(body(1, 1), Qt::AlignHCenter);

    // The header has an alignment of its own.
    grid.SetHeaderAlignment(1, Grid::Alignment::Centre);
    const int header = grid.model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt();
    EXPECT_EQ(header & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(grid.ColAlignment(0), Grid::Alignment::Left);
}

TEST_F(GridTest, CurrentCellTextAndTextMatrix) {
    Grid grid;
    Fill(grid, {{"h0", "h1"}, {"a", "b"}, {"c", "d"}});
    grid.SetRow(2);
    grid.SetCol(1);
    EXPECT_EQ(grid.Text(), "d");

    // TextMatrix reads and writes anywhere without moving the current cell.
    grid.SetTextMatrix(1, 0, "新");
    EXPECT_EQ(grid.TextMatrix(1, 0), "新");
    EXPECT_EQ(grid.TextMatrix(0, 1), "h1");
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.currentIndex(), Cell(grid, 2, 1));

    grid.SetText("変");
    EXPECT_EQ(grid.TextMatrix(2, 1), "変");

    // Row 0 is the header; its texts are the header's captions.
    grid.SetRow(0);
    grid.SetCol(0);
    grid.SetText("タイトル名");
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), "タイトル名");
    EXPECT_FALSE(grid.currentIndex().isValid());

    // A shrinking table pulls the current cell in; bad positions are clamped.
    grid.SetRow(2);
    grid.SetCol(1);
    grid.SetRows(2);
    EXPECT_EQ(grid.Row(), 1);
    grid.SetCols(1);
    EXPECT_EQ(grid.Col(), 0);
    grid.SetRow(99);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.TextMatrix(5, 5), "");
}

TEST_F(GridTest, HeaderBackgroundColourOfTheCurrentCell) {
    Grid grid;
    grid.SetCols(3);
    grid.SetRows(2);
    grid.SetRow(0);
    grid.SetCol(2);
    grid.SetCellBackColor(QColor(192, 255, 255));
    EXPECT_EQ(grid.CellBackColor(), QColor(192, 255, 255));
    EXPECT_EQ(grid.model()->headerData(2, Qt::Horizontal, Qt::BackgroundRole).value<QColor>(),
              QColor(192, 255, 255));
    EXPECT_FALSE(grid.model()->headerData(1, Qt::Horizontal, Qt::BackgroundRole).isValid());
    grid.Clear();
    EXPECT_EQ(grid.CellBackColor(), QColor(192, 255, 255));
}

TEST_F(GridTest, FillsPublishOnceAtTheEnd) {
    Grid grid;
    QSignalSpy resets(grid.model(), &QAbstractItemModel::modelReset);
    QSignalSpy cells(grid.model(), &QAbstractItemModel::dataChanged);
    QSignalSpy headers(grid.model(), &QAbstractItemModel::headerDataChanged);
    QSignalSpy inserts(grid.model(), &QAbstractItemModel::rowsInserted);

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
    // The view still sees the table as it was.
    EXPECT_EQ(grid.model()->rowCount(), 1);
    grid.EndFill();

    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(cells.count(), 0);
    EXPECT_EQ(headers.count(), 0);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(grid.model()->rowCount(), 1000);
    EXPECT_EQ(grid.model()->columnCount(), 6);
    EXPECT_EQ(grid.TextMatrix(1000, 5), "1000");
    EXPECT_EQ(grid.model()->headerData(5, Qt::Horizontal).toString(), "見出し5");
    EXPECT_EQ(grid.columnWidth(3), TwipsToPixels(1200));

    // The one-step fill replaces the body and keeps the header.
    resets.clear();
    grid.SetBodyRows({{"a", "b"}, {"c", "d", "e", "f", "g", "h", "past the last column"}});
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 0), "見出し0");
    EXPECT_EQ(grid.TextMatrix(1, 1), "b");
    EXPECT_EQ(grid.TextMatrix(1, 2), "");
    EXPECT_EQ(grid.TextMatrix(2, 5), "h");
    grid.SetCols(7);
    EXPECT_EQ(grid.TextMatrix(2, 6), "");
}

class ShownGridTest : public GridTest {
protected:
    void SetUp() override {
        grid.setFont(QFont("IPAGothic", 9));
        grid.resize(500, 300);
        grid.BeginFill();
        grid.SetCols(3);
        grid.SetRows(101);
        for (int c = 0; c < 3; ++c) grid.SetTextMatrix(0, c, QString("列%1").arg(c));
        for (int r = 1; r < 101; ++r) {
            for (int c = 0; c < 3; ++c) grid.SetTextMatrix(r, c, QString("%1-%2").arg(r).arg(c));
        }
        grid.EndFill();
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    QPoint CentreOf(int row, int col) const {
        return grid.visualRect(Cell(grid, row, col)).center();
    }

    Grid grid;
};

TEST_F(ShownGridTest, ClickAndDoubleClickMakeTheCellCurrentFirst) {
    std::vector<std::pair<int, int>> clicks;
    std::vector<std::pair<int, int>> doubleClicks;
    QObject::connect(&grid, &Grid::Click, [&] { clicks.emplace_back(grid.Row(), grid.Col()); });
    QObject::connect(&grid, &Grid::DblClick,
                     [&] { doubleClicks.emplace_back(grid.Row(), grid.Col()); });

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CentreOf(3, 2));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_pair(3, 2));
    EXPECT_EQ(grid.Text(), "3-2");
    EXPECT_TRUE(doubleClicks.empty());

    clicks.clear();
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, CentreOf(5, 1));
    ASSERT_EQ(doubleClicks.size(), 1u);
    EXPECT_EQ(doubleClicks[0], std::make_pair(5, 1));
    for (const auto& click : clicks) EXPECT_EQ(click, std::make_pair(5, 1));
    EXPECT_LE(clicks.size(), 1u);

    // Other buttons, and the empty space past the last column, are no clicks.
    clicks.clear();
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, CentreOf(2, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      QPoint(grid.viewport()->width() - 2, CentreOf(2, 0).y()));
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(grid.Row(), 5);
    EXPECT_EQ(grid.Col(), 1);
}

TEST_F(ShownGridTest, AClickOnTheHeaderMakesItsCellCurrent) {
    std::vector<std::pair<int, int>> clicks;
    QObject::connect(&grid, &Grid::Click, [&] { clicks.emplace_back(grid.Row(), grid.Col()); });
    QHeaderView* header = grid.horizontalHeader();
    const QPoint point(header->sectionViewportPosition(2) + header->sectionSize(2) / 2,
                       header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_pair(0, 2));
    EXPECT_EQ(grid.Text(), "列2");
    EXPECT_FALSE(grid.selectionModel()->hasSelection());
}

TEST_F(ShownGridTest, TopRowScrollsTheBodyUnderAFixedHeader) {
    EXPECT_EQ(grid.TopRow(), 1);
    grid.SetTopRow(40);
    EXPECT_EQ(grid.TopRow(), 40);
    EXPECT_EQ(grid.rowAt(0), 39);
    EXPECT_TRUE(grid.horizontalHeader()->isVisible());
    EXPECT_EQ(grid.horizontalHeader()->geometry().top(),
              grid.viewport()->geometry().top() - grid.horizontalHeader()->height());

    // The last row cannot be first in view; it ends up in view at the bottom.
    grid.SetTopRow(100);
    EXPECT_GT(grid.TopRow(), 40);
    EXPECT_LE(grid.TopRow(), 100);
    EXPECT_GE(grid.rowAt(grid.viewport()->height() - 1), 0);
    EXPECT_EQ(grid.verticalScrollBar()->value(), grid.verticalScrollBar()->maximum());

    // Straight after a fill, before any layout has run.
    grid.SetBodyRows(std::vector<QStringList>(200, QStringList{"x"}));
    grid.SetTopRow(150);
    EXPECT_EQ(grid.TopRow(), 150);
}

TEST_F(ShownGridTest, RowsAreCompactButFitTheFont) {
    const int fontHeight = QFontMetrics(grid.font()).height();
    const int rowHeight = grid.rowHeight(0);
    EXPECT_GE(rowHeight, fontHeight);
    EXPECT_LE(rowHeight, fontHeight + 6);
    EXPECT_GE(grid.horizontalHeader()->height(), fontHeight);
    EXPECT_EQ(grid.rowHeight(99), rowHeight);
}

}  // namespace
