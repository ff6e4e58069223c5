#include "screens/masters/master_screen.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QStringListModel>

#include "logic/display_order.h"
#include "logic/reorder.h"
#include "store/marks.h"
#include "store/masters.h"
#include "window/accessible.h"
#include "window/frm_main.h"

namespace {

const QString kCrLf = store::marks::kLineEnd.toString();
const QColor kPendingColour(255, 224, 192);

// The screen's fixed texts.
struct Texts {
    QString help = QStringLiteral("サンプルデータを削除して自分のデータとしてスタートさせたり") +
                   kCrLf + QStringLiteral("評価項目マスタや所有マスタの編集ができます。") + kCrLf +
                   kCrLf + QStringLiteral("またタイトルの表示順を変更することができます。") + kCrLf;
    QString hyoukaFirst =
        QStringLiteral("１～１００までの評価点数がつけられます。総合評価などの用途が有効です。");
    QString hyoukaRest =
        QStringLiteral("１～１０までの評価点数がつけられます。感覚的に採点できる項目に有効です。");
    QString hyoukaLength = QStringLiteral("※５文字以内に収めると　　体裁よく表示されます。");
    QStringList syoyu = {QStringLiteral("ＤＶＤやビデオなどの所有状況に使えます。"),
                         QStringLiteral("所有にこだわらず、貸し出し中の管理など"),
                         QStringLiteral("自由に使えます。")};
    QString okLine = kCrLf + kCrLf + QStringLiteral("良かったらＯＫボタンを押してください");
    QString hyoukaQuestion = QStringLiteral("表示中の評価項目で保存してよろしいですか？") + okLine;
    QString syoyuQuestion = QStringLiteral("表示中の所有項目で保存してよろしいですか？") + okLine;
    QString sortQuestion =
        QStringLiteral("表示順位微調整リストの順番でメインのデータも並び替えますか？") + okLine;
    QString sortDone = QStringLiteral("並び替えた順番をメインの順番に反映させました。");
};

const Texts& T() {
    static const Texts texts;
    return texts;
}

QLabel* Caption(const QString& text, QWidget* parent, const QRect& geometry) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

}  // namespace

MasterScreen::MasterScreen(frmMain& window) : Screen(window, "fraMaster", "cmdMaster") {
    buildEvaluationGroup();
    buildOwnershipGroup();
    buildDisplayOrderArea();
    // Only the start-up's announcement fills the boxes; after a save they
    // keep what was typed in the other group.
    connect(&w, &frmMain::itemMastersRenamed, this, [this] {
        if (w.IsLoading) ShowNamesInBoxes();
    });
}

// The left column holds the two master groups above the new-start group
// (y 484 to 546), which the title commands add to this frame.
void MasterScreen::buildEvaluationGroup() {
    auto* box = new QGroupBox(QStringLiteral("評価マスタ"), frame());
    box->setGeometry(8, 4, 568, 318);
    for (int k = 1; k <= 7; ++k) {
        txtHyouka_[k] = new QLineEdit(box);
        txtHyouka_[k]->setObjectName(QStringLiteral("txtHyouka_%1").arg(k));
        txtHyouka_[k]->setGeometry(14, 26 + (k - 1) * 34, 140, 26);
    }
    Caption(T().hyoukaFirst, box, QRect(168, 24, 380, 40));
    Caption(T().hyoukaRest, box, QRect(168, 62, 380, 40));
    Caption(T().hyoukaLength, box, QRect(168, 128, 150, 40));
    cmdHyoukaHozon_ = new QPushButton(QStringLiteral("保存する"), box);
    cmdHyoukaHozon_->setObjectName("cmdHyoukaHozon");
    cmdHyoukaHozon_->setGeometry(448, 268, 104, 32);
    connect(cmdHyoukaHozon_, &QPushButton::clicked, this, [this] { cmdHyoukaHozon_Click(); });
}

void MasterScreen::buildOwnershipGroup() {
    auto* box = new QGroupBox(QStringLiteral("所有マスタ"), frame());
    box->setGeometry(8, 328, 568, 150);
    for (int k = 1; k <= 4; ++k) {
        txtSyoyu_[k] = new QLineEdit(box);
        txtSyoyu_[k]->setObjectName(QStringLiteral("txtSyoyu_%1").arg(k));
        txtSyoyu_[k]->setGeometry(14, 24 + (k - 1) * 30, 140, 26);
    }
    Caption(T().syoyu[0], box, QRect(168, 26, 380, 22));
    Caption(T().syoyu[1], box, QRect(168, 56, 380, 22));
    Caption(T().syoyu[2], box, QRect(168, 78, 380, 22));
    lblSyoyuHozon_ = new QPushButton(QStringLiteral("保存する"), box);
    lblSyoyuHozon_->setObjectName("lblSyoyuHozon");
    lblSyoyuHozon_->setGeometry(448, 106, 104, 32);
    connect(lblSyoyuHozon_, &QPushButton::clicked, this, [this] { lblSyoyuHozon_Click(); });
}

void MasterScreen::buildDisplayOrderArea() {
    auto* caption = new QLabel(QStringLiteral("タイトルデータ　表示順位微調整"), frame());
    caption->setGeometry(590, 8, 392, 22);
    bicho_ = new QStringListModel(this);
    lstBicho_ = new QListView(frame());
    lstBicho_->setObjectName("lstBicho");
    NameControl(lstBicho_, QStringLiteral("表示順位微調整"));
    lstBicho_->setGeometry(590, 32, 392, 464);
    lstBicho_->setModel(bicho_);
    lstBicho_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstBicho_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstBicho_->setUniformItemSizes(true);  // a long list lays out at once
    lstBicho_->viewport()->installEventFilter(this);
    cmdSortCng2_ = new QPushButton(QStringLiteral("この順番でメインを並び替える"), frame());
    cmdSortCng2_->setObjectName("cmdSortCng2");
    cmdSortCng2_->setGeometry(590, 504, 392, 40);
    connect(cmdSortCng2_, &QPushButton::clicked, this, [this] { cmdSortCng2_Click(); });
}

void MasterScreen::ShowNamesInBoxes() {
    const store::Masters& m = w.masters;
    for (int k = 1; k <= m.hyoukaRead; ++k) txtHyouka_[k]->setText(m.strHyoukaKoumoku[k]);
    for (int k = 1; k <= m.syoyuRead; ++k) txtSyoyu_[k]->setText(m.strSyoyuKoumoku[k]);
}

void MasterScreen::Fill() {
    const store::Catalogue& c = w.catalogue;
    QStringList names;
    names.reserve(c.TitleCount);
    for (int i = 1; i <= c.TitleCount; ++i) names.append(c.strDaimei[static_cast<size_t>(i)]);
    bicho_->setStringList(names);
    dragRow_ = -1;
}

QString MasterScreen::HelpText() const {
    return T().help;
}

bool MasterScreen::Confirmed(const QString& question, const QString& title) {
    return w.platform().MessageBox(question, title, Platform::Icon::Warning,
                                   Platform::Buttons::OkCancel) == Platform::Answer::Ok;
}

template <size_t N>
bool MasterScreen::AcceptNames(const std::array<QLineEdit*, N>& boxes,
                               std::array<QString, N>& names) {
    for (size_t k = 1; k < N; ++k) {
        if (!w.AcceptRecordText(boxes[k]->text(), names[k])) return false;
    }
    return true;
}

void MasterScreen::cmdHyoukaHozon_Click() {
    std::array<QString, 8> names;
    if (!AcceptNames(txtHyouka_, names)) return;
    if (!Confirmed(T().hyoukaQuestion, QStringLiteral("評価項目変更確認"))) return;
    if (!w.Report(store::SaveEvaluationMaster(w.folder, names))) return;
    for (int k = 1; k <= 7; ++k) txtHyouka_[k]->setText(names[k]);
    w.masters.strHyoukaKoumoku = names;
    w.masters.hyoukaRead = 7;
    w.ItemMastersRenamed();
}

void MasterScreen::lblSyoyuHozon_Click() {
    std::array<QString, 5> names;
    if (!AcceptNames(txtSyoyu_, names)) return;
    if (!Confirmed(T().syoyuQuestion, QStringLiteral("所有項目変更確認"))) return;
    if (!w.Report(store::SaveOwnershipMaster(w.folder, names))) return;
    for (int k = 1; k <= 4; ++k) txtSyoyu_[k]->setText(names[k]);
    w.masters.strSyoyuKoumoku = names;
    w.masters.syoyuRead = 4;
    w.ItemMastersRenamed();
}

bool MasterScreen::eventFilter(QObject* watched, QEvent* event) {
    // The type first: the filter also hears the viewport's last events while
    // the list is being destroyed, when the list may no longer be asked.
    const auto type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) {
        if (watched == lstBicho_->viewport()) {
            const auto* me = static_cast<QMouseEvent*>(event);
            const int row = lstBicho_->indexAt(me->position().toPoint()).row();
            if (type == QEvent::MouseButtonPress) {
                lstBicho_MouseDown(row);
            } else {
                lstBicho_MouseUp(row);
            }
        }
    }
    return Screen::eventFilter(watched, event);
}

void MasterScreen::lstBicho_MouseDown(int row) {
    dragRow_ = row;
}

// Released past the last entry or outside the list, nothing moves: an entry
// is always dropped on another one.
void MasterScreen::lstBicho_MouseUp(int row) {
    const int from = dragRow_;
    dragRow_ = -1;
    const auto move = logic::DropOnto(from, row, bicho_->rowCount());
    if (!move) return;
    bicho_->moveRows(QModelIndex(), move->from, 1, QModelIndex(), move->before);
    lstBicho_->setCurrentIndex(bicho_->index(move->landsAt));
    MarkPendingMoves(true);
}

void MasterScreen::MarkPendingMoves(bool pending) {
    if (!pending) {
        cmdSortCng2_->setPalette(QPalette());
        return;
    }
    QPalette p = cmdSortCng2_->palette();
    p.setColor(QPalette::Button, kPendingColour);
    cmdSortCng2_->setPalette(p);
}

void MasterScreen::cmdSortCng2_Click() {
    if (!Confirmed(T().sortQuestion, QStringLiteral("メイン並び替え確認"))) return;
    const std::vector<int> order = logic::OrderOfNames(w.catalogue, bicho_->stringList());
    if (!w.TitlesReordered(logic::ReorderTitles(w.catalogue, w.folder, order))) return;
    MarkPendingMoves(false);
    w.platform().MessageBox(T().sortDone, QStringLiteral("並び替え完了"),
                            Platform::Icon::Information);
}
