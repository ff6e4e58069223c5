#include "screens/lists/list_screens.h"

#include <QDir>
#include <QFrame>
#include <QPushButton>

#include "logic/csv_export.h"
#include "logic/list_rows.h"
#include "logic/reorder.h"
#include "store/file_ops.h"
#include "store/marks.h"
#include "window/accessible.h"
#include "window/frm_main.h"
#include "window/grid.h"
#include "window/screen.h"

namespace {

const QString kCrLf = store::marks::kLineEnd.toString();

struct Column {
    int width;  // twips
    GridAlignment alignment;
    QColor header;
};

const QColor kRed(255, 192, 192);
const QColor kOrange(255, 224, 192);
const QColor kYellow(255, 255, 192);
const QColor kGreen(192, 255, 192);
const QColor kCyan(192, 255, 255);
const QColor kBlue(192, 192, 255);

using A = GridAlignment;

const std::vector<Column> kMainColumns = {
    {3000, A::Left, kRed},     {1970, A::Left, kOrange},  {1970, A::Left, kYellow},
    {1200, A::Centre, kGreen}, {1400, A::General, kCyan}, {1530, A::Left, kBlue},
};

const std::vector<Column> kEvaluationColumns = {
    {3000, A::Left, kRed},    {430, A::Centre, kOrange}, {1000, A::Right, kYellow},
    {1000, A::Right, kGreen}, {1000, A::Right, kGreen},  {1000, A::Right, kGreen},
    {1000, A::Right, kGreen}, {1000, A::Right, kGreen},  {1000, A::Right, kGreen},
    {590, A::Right, kCyan},
};

const std::vector<Column> kOwnershipColumns = {
    {3000, A::Left, kRed},      {1150, A::Centre, kOrange}, {1150, A::Centre, kOrange},
    {1150, A::Centre, kOrange}, {1150, A::Centre, kOrange}, {1150, A::Centre, kYellow},
    {1140, A::Centre, kGreen},  {1140, A::Centre, kCyan},
};

void SetupGrid(Grid& g, int titleCount, const std::vector<Column>& columns,
               const QStringList& headers) {
    g.Clear();
    g.SetCols(static_cast<int>(columns.size()));
    g.SetRows(titleCount + 1);
    g.SetRow(0);
    for (int c = 0; c < g.Cols(); ++c) {
        const Column& column = columns[static_cast<size_t>(c)];
        g.SetColWidth(c, column.width);
        g.SetTextMatrix(0, c, headers.value(c));
        g.SetHeaderAlignment(c, A::Centre);
        g.SetColAlignment(c, column.alignment);
        g.SetCol(c);
        g.SetCellBackColor(column.header);
    }
    g.SetCol(0);
}

const QString& SortLines() {
    static const QString text =
        QStringLiteral("各種データ毎に並び替え表示ができます。") + kCrLf + kCrLf +
        QStringLiteral("並び替えたい列をクリックする度に「昇順」「降順」で並び替えます。") + kCrLf;
    return text;
}

const QString& JumpLines() {
    static const QString text =
        QStringLiteral(
            "タイトルをダブルクリックするとそのタイトルでメイン画面を表示することができます。") +
        kCrLf + kCrLf;
    return text;
}

const QString kMainHelp =
    QStringLiteral("それぞれのタイトルにおける各種データを一覧表示しています。") + kCrLf + kCrLf +
    SortLines() +
    QStringLiteral("タイトルを並び替えたい場合は「タイトルボタン」をクリックしてください。") +
    kCrLf + kCrLf + JumpLines() +
    QStringLiteral("「メインに反映ボタン」を押すと並び替えた順番でメインの順番も入れ替わります。") +
    kCrLf + kCrLf;

const QString kEvaluationHelp = QStringLiteral("それぞれのタイトルの評価を一覧表示しています。") +
                                kCrLf + kCrLf + SortLines() + JumpLines();

const QString kOwnershipHelp =
    QStringLiteral(
        "それぞれのタイトルの所有状況とキャスト、あらすじ、メモの有無を一覧表示しています。") +
    kCrLf + kCrLf + SortLines() + JumpLines();

const QString kApplyQuestion =
    QStringLiteral("現在表示中の順番でメインのデータも並び替えますか？") + kCrLf + kCrLf +
    QStringLiteral("良かったらＯＫボタンを押してください");

// The table's place on each list screen, and the buttons beside it.
const QRect kGridPlace(8, 8, 762, 534);

}  // namespace

// A list screen in the window's row of screens; the tables it shows belong to
// ListScreens, which fills them.
class ListScreens::Page : public Screen {
public:
    Page(ListScreens& lists, Table table, const char* frame, const char* button, QString help)
        : Screen(lists.w, frame, button), lists_(lists), table_(table), help_(std::move(help)) {}

protected:
    void Fill() override { lists_.Fill(table_); }
    QString HelpText() const override { return help_; }

private:
    ListScreens& lists_;
    Table table_;
    QString help_;
};

ListScreens::ListScreens(frmMain& window) : QObject(&window), w(window) {
    build();
    new Page(*this, Table::Main, "fraIchiran", "cmdIchiran", kMainHelp);
    new Page(*this, Table::Evaluation, "fraIchiran2", "cmdIchiran2", kEvaluationHelp);
    new Page(*this, Table::Ownership, "fraIchiran3", "cmdIchiran3", kOwnershipHelp);
}

void ListScreens::build() {
    auto makeGrid = [this](const char* frame, const char* name, const QString& readName) {
        auto* g = new Grid(w.frame(frame));
        g->setObjectName(name);
        NameControl(g, readName);
        g->setGeometry(kGridPlace);
        return g;
    };
    msgIchiran = makeGrid("fraIchiran", "msgIchiran", QStringLiteral("一覧"));
    msgIchiran2 = makeGrid("fraIchiran2", "msgIchiran2", QStringLiteral("評価の一覧"));
    msgIchiran3 = makeGrid("fraIchiran3", "msgIchiran3", QStringLiteral("所有の一覧"));
    connect(msgIchiran, &Grid::Click, this, &ListScreens::msgIchiran_Click);
    connect(msgIchiran2, &Grid::Click, this, &ListScreens::msgIchiran2_Click);
    connect(msgIchiran3, &Grid::Click, this, &ListScreens::msgIchiran3_Click);
    connect(msgIchiran, &Grid::DblClick, this, &ListScreens::msgIchiran_DblClick);
    connect(msgIchiran2, &Grid::DblClick, this, &ListScreens::msgIchiran2_DblClick);
    connect(msgIchiran3, &Grid::DblClick, this, &ListScreens::msgIchiran3_DblClick);

    QFrame* fraIchiran = w.frame("fraIchiran");
    const int x = kGridPlace.right() + 14;
    cmdSort1_0 = new QPushButton(QStringLiteral("タイトル"), fraIchiran);
    cmdSort1_0->setObjectName("cmdSort1_0");
    cmdSort1_0->setGeometry(x, kGridPlace.top(), 120, 30);
    cmdSortCng1 = new QPushButton(QStringLiteral("メインに反映"), fraIchiran);
    cmdSortCng1->setObjectName("cmdSortCng1");
    cmdSortCng1->setGeometry(x, kGridPlace.top() + 44, 120, 30);
    connect(cmdSort1_0, &QPushButton::clicked, this, [this] { cmdSort1_Click(0); });
    connect(cmdSortCng1, &QPushButton::clicked, this, &ListScreens::cmdSortCng1_Click);

    auto makeCsvButton = [&](const char* frame, const char* name, int y) {
        auto* b = new QPushButton(QStringLiteral("CSV出力"), w.frame(frame));
        b->setObjectName(name);
        b->setGeometry(x, y, 120, 30);
        return b;
    };
    cmdCsvOut1 = makeCsvButton("fraIchiran", "cmdCsvOut1", kGridPlace.top() + 88);
    cmdCsvOut2 = makeCsvButton("fraIchiran2", "cmdCsvOut2", kGridPlace.top());
    cmdCsvOut3 = makeCsvButton("fraIchiran3", "cmdCsvOut3", kGridPlace.top());
    connect(cmdCsvOut1, &QPushButton::clicked, this, &ListScreens::cmdCsvOut1_Click);
    connect(cmdCsvOut2, &QPushButton::clicked, this, &ListScreens::cmdCsvOut2_Click);
    connect(cmdCsvOut3, &QPushButton::clicked, this, &ListScreens::cmdCsvOut3_Click);
}

void ListScreens::SetupListGrids() {
    const int n = w.catalogue.TitleCount;
    SetupGrid(*msgIchiran, n, kMainColumns,
              {QStringLiteral("タイトル名"), QStringLiteral("監督"), QStringLiteral("主演"),
               QStringLiteral("公開日"), QStringLiteral("国"), QStringLiteral("ジャンル")});

    QStringList evaluation = {QStringLiteral("タイトル名"), QStringLiteral("評")};
    for (int k = 1; k <= 7; ++k) evaluation << w.masters.strHyoukaKoumoku[k];
    evaluation << QStringLiteral("得点");
    SetupGrid(*msgIchiran2, n, kEvaluationColumns, evaluation);

    QStringList ownership = {QStringLiteral("タイトル名")};
    for (int k = 1; k <= 4; ++k) ownership << w.masters.strSyoyuKoumoku[k];
    ownership << QStringLiteral("キャスト") << QStringLiteral("あらすじ")
              << QStringLiteral("感想・メモ");
    SetupGrid(*msgIchiran3, n, kOwnershipColumns, ownership);
}

void ListScreens::Fill(Table table) {
    Grid* grids[] = {msgIchiran, msgIchiran2, msgIchiran3};
    Grid* shown = grids[static_cast<int>(table)];
    // The views see the tables once, filled.
    for (Grid* g : grids) g->BeginFill();
    SetupListGrids();
    Platform& p = w.platform();
    p.SetWaitPointer(true);
    p.ProcessPendingEvents();
    switch (table) {
        case Table::Main:
            shown->SetBodyRows(logic::MainListRows(w.catalogue));
            break;
        case Table::Evaluation:
            shown->SetBodyRows(logic::EvaluationListRows(w.catalogue));
            break;
        case Table::Ownership:
            shown->SetBodyRows(logic::OwnershipListRows(w.catalogue, w.folder));
            break;
    }
    for (Grid* g : grids) g->EndFill();
    shown->SetTopRow(1);
    p.SetWaitPointer(false);
}

template <size_t N>
void ListScreens::SortByClick(Grid& grid, std::array<bool, N>& sortedDown, bool numberColumns) {
    const int c = grid.Col();
    // The title column is sorted by its button only: a double-click on a
    // title stays free for the jump.
    if (c <= 0 || static_cast<size_t>(c) >= N) return;
    const bool number = numberColumns && c >= 2;
    bool& down = sortedDown[static_cast<size_t>(c)];
    if (!down) {
        grid.Sort(number ? Grid::SortNumberDescending : Grid::SortTextDescending);
    } else {
        grid.Sort(number ? Grid::SortNumberAscending : Grid::SortTextAscending);
    }
    down = !down;
}

void ListScreens::msgIchiran_Click() {
    SortByClick(*msgIchiran, SortedDown1, false);
}
void ListScreens::msgIchiran2_Click() {
    SortByClick(*msgIchiran2, SortedDown2, true);
}
void ListScreens::msgIchiran3_Click() {
    SortByClick(*msgIchiran3, SortedDown3, false);
}

void ListScreens::JumpFrom(Grid& grid) {
    // Only a title cell jumps; the header row is no title.
    if (grid.Row() < 1 || grid.Col() != 0) return;
    w.JumpToTitle(grid.TextMatrix(grid.Row(), 0));
}

void ListScreens::msgIchiran_DblClick() {
    JumpFrom(*msgIchiran);
}
void ListScreens::msgIchiran2_DblClick() {
    JumpFrom(*msgIchiran2);
}
void ListScreens::msgIchiran3_DblClick() {
    JumpFrom(*msgIchiran3);
}

void ListScreens::cmdSort1_Click(int Index) {
    const auto k = static_cast<size_t>(Index);
    if (k >= TitleSortedDown.size()) return;
    msgIchiran->SetCol(Index);
    msgIchiran->Sort(TitleSortedDown[k] ? Grid::SortTextAscending : Grid::SortTextDescending);
    TitleSortedDown[k] = !TitleSortedDown[k];
}

void ListScreens::cmdSortCng1_Click() {
    Grid& g = *msgIchiran;
    if (g.Rows() <= 1) return;
    Platform& p = w.platform();
    if (p.MessageBox(kApplyQuestion, QStringLiteral("メイン並び替え確認"), Platform::Icon::Warning,
                     Platform::Buttons::OkCancel) != Platform::Answer::Ok) {
        return;
    }
    QStringList names;
    names.reserve(g.Rows() - 1);
    for (int r = 1; r < g.Rows(); ++r) names << g.TextMatrix(r, 0);
    // Written only when the rows hold every title exactly once.
    const std::vector<int> order = logic::TitlesOfRows(w.catalogue, names);
    if (!w.TitlesReordered(logic::ReorderTitles(w.catalogue, w.folder, order))) return;
    p.MessageBox(QStringLiteral("並び替えた順番をメインの順番に反映させました。"),
                 QStringLiteral("並び替え完了"), Platform::Icon::Information);
}

void ListScreens::WriteCsv(const Grid& grid, const QString& screenName) {
    Platform& p = w.platform();
    const auto path =
        p.SaveFileName(QStringLiteral("CSV出力"),
                       QDir(QDir::homePath()).filePath(logic::CsvFileName(screenName, p.Today())),
                       QStringLiteral("CSV ファイル (*.csv)"));
    if (!path || path->isEmpty()) return;
    p.SetWaitPointer(true);
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(grid.Rows()));
    for (int r = 0; r < grid.Rows(); ++r) {
        QStringList cells;
        cells.reserve(grid.Cols());
        for (int c = 0; c < grid.Cols(); ++c) cells << grid.TextMatrix(r, c);
        rows.push_back(std::move(cells));
    }
    // Written whole or not at all: a failed write leaves no half file.
    const store::Status written = store::WriteFileAtomically(*path, logic::CsvBytes(rows));
    p.SetWaitPointer(false);
    w.Report(written);
}

void ListScreens::cmdCsvOut1_Click() {
    WriteCsv(*msgIchiran, QStringLiteral("主一覧"));
}
void ListScreens::cmdCsvOut2_Click() {
    WriteCsv(*msgIchiran2, QStringLiteral("評価"));
}
void ListScreens::cmdCsvOut3_Click() {
    WriteCsv(*msgIchiran3, QStringLiteral("所有"));
}
