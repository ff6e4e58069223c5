#pragma once

#include <QObject>
#include <array>

class frmMain;
class Grid;
class QPushButton;

// The three list screens: the main list (主一覧), the evaluation list (評価)
// and the ownership list (所有), each the whole catalogue as one sortable
// table; the main list can write its row order back as the catalogue order,
// and each list can be written to a CSV file as it is shown.
class ListScreens : public QObject {
    Q_OBJECT
public:
    explicit ListScreens(frmMain& window);

    // Empties all three tables and gives them their columns and headers, with
    // one (empty) row per title.
    void SetupListGrids();

    void msgIchiran_Click();
    void msgIchiran2_Click();
    void msgIchiran3_Click();
    void msgIchiran_DblClick();
    void msgIchiran2_DblClick();
    void msgIchiran3_DblClick();
    // Sorts the main list by the button's column (the title column).
    void cmdSort1_Click(int Index);
    // Makes the main list's row order the catalogue order.
    void cmdSortCng1_Click();
    // Write the list as shown to a CSV file the user chooses.
    void cmdCsvOut1_Click();
    void cmdCsvOut2_Click();
    void cmdCsvOut3_Click();

private:
    class Page;
    enum class Table { Main, Evaluation, Ownership };

    void build();
    void Fill(Table table);
    // A click sorts the clicked column, descending first, then alternating.
    template <size_t N>
    void SortByClick(Grid& grid, std::array<bool, N>& sortedDown, bool numberColumns);
    void JumpFrom(Grid& grid);
    void WriteCsv(const Grid& grid, const QString& screenName);

    frmMain& w;
    Grid* msgIchiran = nullptr;
    Grid* msgIchiran2 = nullptr;
    Grid* msgIchiran3 = nullptr;
    QPushButton* cmdSort1_0 = nullptr;
    QPushButton* cmdSortCng1 = nullptr;
    QPushButton* cmdCsvOut1 = nullptr;
    QPushButton* cmdCsvOut2 = nullptr;
    QPushButton* cmdCsvOut3 = nullptr;

    // Whether the last sort of a column went downwards; kept for as long as
    // the window lives, through every refill.
    std::array<bool, 9> SortedDown1{};
    std::array<bool, 10> SortedDown2{};
    std::array<bool, 9> SortedDown3{};
    std::array<bool, 9> TitleSortedDown{};
};
