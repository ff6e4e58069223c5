#include "screens/search/search_screen.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QStringListModel>
#include <algorithm>

#include "logic/search.h"
#include "store/marks.h"
#include "window/accessible.h"
#include "window/frm_main.h"
#include "window/pick_list_model.h"

namespace {

using store::Catalogue;
using store::SideText;

const QString kCrLf = store::marks::kLineEnd.toString();
const QString kPresent = QStringLiteral("有り");
const QString kAbsent = QStringLiteral("無し");

// The rows of the criteria box, top to bottom.
constexpr int kRowTop = 26;
constexpr int kRowStep = 36;
constexpr int kRowHeight = 26;
constexpr int kFieldX = 110;
constexpr int kFieldWidth = 300;
constexpr int kChoiceWidth = 44;

int RowY(int row) {
    return kRowTop + row * kRowStep;
}

// The place of a field's box on a row.
QRect FieldRect(int row) {
    return QRect(kFieldX, RowY(row), kFieldWidth, kRowHeight);
}

QLabel* Caption(const QString& text, QWidget* parent, int x, int y, int width = 90) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, width, kRowHeight);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

// A range combo keeps its entries in ascending text order.
std::vector<QString> SortedCopy(const std::vector<QString>& items) {
    std::vector<QString> sorted = items;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return sorted;
}

}  // namespace

SearchScreen::SearchScreen(frmMain& window) : Screen(window, "fraKensaku", "cmdKensaku") {
    build();
    connect(&w, &frmMain::itemMastersRenamed, this, [this] { ShowOwnershipItems(); });
}

void SearchScreen::build() {
    QFrame* f = frame();
    fraKensu_ = new QGroupBox(QStringLiteral("検索件数"), f);
    fraKensu_->setObjectName("fraKensu");
    fraKensu_->setGeometry(8, 6, 330, 538);
    lstDaimei_ = new QListView(fraKensu_);
    lstDaimei_->setObjectName("lstDaimei");
    NameControl(lstDaimei_, QStringLiteral("検索結果"));
    lstDaimei_->setGeometry(8, 22, 314, 508);
    lstDaimei_->setUniformItemSizes(true);
    lstDaimei_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    results_ = new QStringListModel(this);
    lstDaimei_->setModel(results_);
    // A double-click anywhere in the list jumps to the chosen entry's title.
    lstDaimei_->viewport()->installEventFilter(this);
    lstDaimei_->installEventFilter(this);

    auto* criteria = new QGroupBox(QStringLiteral("検索項目"), f);
    criteria->setObjectName("fraKenKoumoku");
    criteria->setGeometry(348, 6, 636, 538);
    buildCriteria(criteria);
}

QComboBox* SearchScreen::addCombo(const QString& name, QWidget* parent, const QRect& r) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setGeometry(r);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    c->setMaxVisibleItems(20);
    // Leaving the field is no choice: the combo would otherwise pick the entry
    // equal to the typed text and raise activated.
    QObject::disconnect(c->lineEdit(), &QLineEdit::editingFinished, c, nullptr);
    auto* model = new PickListModel(nullptr, c);
    models_.push_back(model);
    c->setModel(model);
    return c;
}

QListWidget* SearchScreen::addChoices(const QString& name, QWidget* parent, const QRect& r) {
    auto* l = new QListWidget(parent);
    l->setObjectName(name);
    l->setGeometry(r);
    l->setFlow(QListView::LeftToRight);
    l->setWrapping(false);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Each entry a cell of its own, side by side.
    l->setGridSize(QSize(kChoiceWidth, kRowHeight - 6));
    return l;
}

// The criteria top to bottom, each row made in tab order; then the
// accessible names and what each criterion does.
void SearchScreen::buildCriteria(QWidget* box) {
    buildFieldRows(box);
    buildSideTextRows(box);
    buildMarkRows(box);
    buildViewingRows(box);
    NameCriteria();
    connectCriteria();
}

// A "from ～ to" pair of combos on a row.
void SearchScreen::addRange(const QString& name, std::array<QComboBox*, 2>& combos, QWidget* box,
                            int row) {
    combos[0] =
        addCombo(name + QStringLiteral("_0"), box, QRect(kFieldX, RowY(row), 140, kRowHeight));
    auto* dash = new QLabel(QStringLiteral("～"), box);
    dash->setGeometry(kFieldX + 140, RowY(row), 20, kRowHeight);
    dash->setAlignment(Qt::AlignCenter);
    combos[1] = addCombo(name + QStringLiteral("_1"), box,
                         QRect(kFieldX + 160, RowY(row), 140, kRowHeight));
}

// Rows 0 to 5: the title, the four pick-list fields, the release range.
void SearchScreen::buildFieldRows(QWidget* box) {
    Caption(QStringLiteral("タイトル"), box, 12, RowY(0));
    txtNamae_ = new QLineEdit(box);
    txtNamae_->setObjectName("txtNamae");
    txtNamae_->setGeometry(FieldRect(0));

    const std::pair<const char*, QString> values[] = {{"cboKantoku2", QStringLiteral("監督")},
                                                      {"cboSyuen2", QStringLiteral("主演")},
                                                      {"cboKuni2", QStringLiteral("国")},
                                                      {"cboJanru2", QStringLiteral("ジャンル")}};
    for (int f = 0; f < 4; ++f) {
        Caption(values[f].second, box, 12, RowY(1 + f));
        valueCombos_[f] = addCombo(values[f].first, box, FieldRect(1 + f));
    }

    Caption(QStringLiteral("公開年月"), box, 12, RowY(5));
    addRange(QStringLiteral("cboKoukai2"), cboKoukai2_, box, 5);
}

// Rows 6 to 8: a word box and the present / absent choice of each side text.
void SearchScreen::buildSideTextRows(QWidget* box) {
    const std::tuple<const char*, const char*, QString, QLineEdit**, QListWidget**> texts[] = {
        {"txtCast", "lstCast", QStringLiteral("キャスト"), &txtCast_, &lstCast_},
        {"txtArasuji", "lstArasuji", QStringLiteral("あらすじ"), &txtArasuji_, &lstArasuji_},
        {"txtMemo", "lstMemo", QStringLiteral("メモ"), &txtMemo_, &lstMemo_}};
    int row = 6;
    for (const auto& [boxName, listName, label, edit, list] : texts) {
        Caption(label, box, 12, RowY(row));
        *edit = new QLineEdit(box);
        (*edit)->setObjectName(boxName);
        (*edit)->setGeometry(FieldRect(row));
        *list = addChoices(
            listName, box,
            QRect(kFieldX + kFieldWidth + 12, RowY(row), 2 * kChoiceWidth + 6, kRowHeight));
        ++row;
    }
}

// Rows 9 to 11: the rating, and the four ownership items two to a row.
void SearchScreen::buildMarkRows(QWidget* box) {
    Caption(QStringLiteral("評価"), box, 12, RowY(9));
    lstHyouka_ =
        addChoices("lstHyouka", box, QRect(kFieldX, RowY(9), 4 * kChoiceWidth + 6, kRowHeight));

    for (int k = 1; k <= 4; ++k) {
        const int y = RowY(10 + (k - 1) / 2);
        const int x = (k - 1) % 2 == 0 ? 12 : 240;
        lblSyoyu_[k] = Caption(QString(), box, x, y);
        lblSyoyu_[k]->setObjectName(QStringLiteral("lblSyoyu_%1").arg(k));
        lstSyoyu_[k] = addChoices(QStringLiteral("lstSyoyu_%1").arg(k), box,
                                  QRect(x + 98, y, 2 * kChoiceWidth + 6, kRowHeight));
    }
}

// Rows 12 and 13: the viewing range and the viewing content.
void SearchScreen::buildViewingRows(QWidget* box) {
    Caption(QStringLiteral("鑑賞年月"), box, 12, RowY(12));
    addRange(QStringLiteral("cboKansyou2"), cboKansyou2_, box, 12);

    Caption(QStringLiteral("鑑賞内容"), box, 12, RowY(13));
    cboKansyou3_ = addCombo("cboKansyou3", box, FieldRect(13));
}

void SearchScreen::connectCriteria() {
    // Searches run when an entry is chosen, never while text is typed.
    const Catalogue::PickField fields[] = {Catalogue::PickField::Kantoku,
                                           Catalogue::PickField::Syuen, Catalogue::PickField::Kuni,
                                           Catalogue::PickField::Janru};
    for (int f = 0; f < 4; ++f) {
        connect(valueCombos_[f], &QComboBox::activated, this,
                [this, f, fields] { SearchValue(fields[f], valueCombos_[f]); });
    }
    for (QComboBox* c : cboKoukai2_)
        connect(c, &QComboBox::activated, this, [this] { cboKoukai2_Click(); });
    for (QComboBox* c : cboKansyou2_)
        connect(c, &QComboBox::activated, this, [this] { cboKansyou2_Click(); });
    connect(cboKansyou3_, &QComboBox::activated, this, [this] { cboKansyou3_Click(); });

    auto onChoice = [this](QListWidget* list, auto handler) {
        connect(list, &QListWidget::itemClicked, this, handler);
        connect(list, &QListWidget::itemActivated, this, handler);
    };
    onChoice(lstHyouka_, [this] { lstHyouka_Click(); });
    for (int k = 1; k <= 4; ++k) onChoice(lstSyoyu_[k], [this, k] { lstSyoyu_Click(k); });
    onChoice(lstCast_, [this] { SearchPresence(SideText::Cast, lstCast_); });
    onChoice(lstArasuji_, [this] { SearchPresence(SideText::Synopsis, lstArasuji_); });
    onChoice(lstMemo_, [this] { SearchPresence(SideText::Memo, lstMemo_); });

    connect(txtNamae_, &QLineEdit::returnPressed, this, [this] { txtNamae_Enter(); });
    connect(txtCast_, &QLineEdit::returnPressed, this,
            [this] { SearchSideTexts(SideText::Cast, txtCast_); });
    connect(txtArasuji_, &QLineEdit::returnPressed, this,
            [this] { SearchSideTexts(SideText::Synopsis, txtArasuji_); });
    connect(txtMemo_, &QLineEdit::returnPressed, this,
            [this] { SearchSideTexts(SideText::Memo, txtMemo_); });
}

void SearchScreen::Fill() {
    const Catalogue& c = w.catalogue;
    const std::vector<QString>* sources[] = {&c.cboKantoku.items(), &c.cboSyuen.items(),
                                             &c.cboKuni.items(), &c.cboJanru.items()};
    auto show = [](QComboBox* combo, const std::vector<QString>* items) {
        static_cast<PickListModel*>(combo->model())->Reset(items);
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
    };
    for (int f = 0; f < 4; ++f) {
        valueLists_[f] = *sources[f];
        show(valueCombos_[f], &valueLists_[f]);
    }
    releaseMonths_ = SortedCopy(c.cboKoukai);
    for (QComboBox* combo : cboKoukai2_) show(combo, &releaseMonths_);
    viewingMonths_ = SortedCopy(w.history.cboKanbi);
    for (QComboBox* combo : cboKansyou2_) show(combo, &viewingMonths_);
    viewingContents_ = w.history.cboKansyou;
    show(cboKansyou3_, &viewingContents_);

    for (QListWidget* list : {lstCast_, lstArasuji_, lstMemo_, lstSyoyu_[1], lstSyoyu_[2],
                              lstSyoyu_[3], lstSyoyu_[4]}) {
        list->clear();
        list->addItems({kPresent, kAbsent});
    }
    lstHyouka_->clear();
    QStringList ratings;
    for (QStringView rating : store::marks::kRatings) ratings << rating.toString();
    lstHyouka_->addItems(ratings << QStringLiteral("未"));
}

QString SearchScreen::HelpText() const {
    return QStringLiteral(
               "タイトルに使われている「語句」や「監督名」、「主演」、「ジャンル」などの情報を使っ"
               "て") +
           kCrLf + QStringLiteral("タイトルの検索をすることができます。") + kCrLf + kCrLf +
           QStringLiteral(
               "「監督名」や「主演」など、コンボボックスになっているところはリストから選ぶと該当が"
               "表示されます。") +
           kCrLf +
           QStringLiteral(
               "「タイトル」や「キャスト」、「あらすじ」「メモ」などは任意の語句を入れてＥｎｔｅｒ"
               "キーを押します。") +
           kCrLf + QStringLiteral("入力した文字が含まれるタイトルを全て表示します。") + kCrLf +
           kCrLf +
           QStringLiteral(
               "「評価」では◎や△を、「所有状況」では有り、無しをクリックすることで該当を表示しま"
               "す。") +
           kCrLf + kCrLf +
           QStringLiteral(
               "※検索でリストアップされたタイトルをダブルクリックするとメイン表示に切り替わります"
               "。") +
           kCrLf + kCrLf;
}

void SearchScreen::ShowOwnershipItems() {
    for (int k = 1; k <= 4; ++k) {
        lblSyoyu_[k]->setText(w.masters.strSyoyuKoumoku[k]);
        NameControl(lstSyoyu_[k], w.masters.strSyoyuKoumoku[k] + QStringLiteral("の所有"));
    }
}

// Each field by its caption, not by the box around them all.
void SearchScreen::NameCriteria() {
    const QString from = QStringLiteral("（から）"), to = QStringLiteral("（まで）");
    const std::pair<QWidget*, QString> names[] = {
        {txtNamae_, QStringLiteral("タイトル")},
        {valueCombos_[0], QStringLiteral("監督")},
        {valueCombos_[1], QStringLiteral("主演")},
        {valueCombos_[2], QStringLiteral("国")},
        {valueCombos_[3], QStringLiteral("ジャンル")},
        {cboKoukai2_[0], QStringLiteral("公開年月") + from},
        {cboKoukai2_[1], QStringLiteral("公開年月") + to},
        {txtCast_, QStringLiteral("キャスト")},
        {lstCast_, QStringLiteral("キャストの有無")},
        {txtArasuji_, QStringLiteral("あらすじ")},
        {lstArasuji_, QStringLiteral("あらすじの有無")},
        {txtMemo_, QStringLiteral("メモ")},
        {lstMemo_, QStringLiteral("メモの有無")},
        {lstHyouka_, QStringLiteral("評価")},
        {cboKansyou2_[0], QStringLiteral("鑑賞年月") + from},
        {cboKansyou2_[1], QStringLiteral("鑑賞年月") + to},
        {cboKansyou3_, QStringLiteral("鑑賞内容")},
    };
    for (const auto& [control, name] : names) NameControl(control, name);
}

void SearchScreen::ShowResults(const QStringList& names) {
    results_->setStringList(names);
    fraKensu_->setTitle(QStringLiteral("検索件数　%1件").arg(names.size()));
}

void SearchScreen::SearchValue(Catalogue::PickField field, QComboBox* combo) {
    ShowResults(logic::TitlesWithValue(w.catalogue, field, combo->currentText()));
}

void SearchScreen::lstHyouka_Click() {
    const QListWidgetItem* chosen = lstHyouka_->currentItem();
    if (!chosen) return;
    ShowResults(logic::TitlesWithRating(w.catalogue, chosen->text()));
}

void SearchScreen::lstSyoyu_Click(int k) {
    const QListWidgetItem* chosen = lstSyoyu_[k]->currentItem();
    if (!chosen) return;
    ShowResults(logic::TitlesWithOwnership(w.catalogue, k, chosen->text() == kPresent));
}

void SearchScreen::cboKoukai2_Click() {
    const auto found = logic::TitlesReleasedBetween(w.catalogue, cboKoukai2_[0]->currentText(),
                                                    cboKoukai2_[1]->currentText());
    ShowResults(found ? *found : results_->stringList());
}

void SearchScreen::cboKansyou2_Click() {
    const auto found = logic::ViewingsBetween(w.history, cboKansyou2_[0]->currentText(),
                                              cboKansyou2_[1]->currentText());
    ShowResults(found ? *found : results_->stringList());
}

void SearchScreen::cboKansyou3_Click() {
    ShowResults(logic::ViewingsWithContent(w.history, cboKansyou3_->currentText()));
}

void SearchScreen::txtNamae_Enter() {
    if (txtNamae_->text().isEmpty()) return;
    ShowResults(logic::TitlesContaining(w.catalogue, txtNamae_->text()));
}

void SearchScreen::SearchSideTexts(SideText kind, QLineEdit* box) {
    if (box->text().isEmpty()) return;
    w.platform().SetWaitPointer(true);
    const QStringList found = logic::SideTextsContaining(w.folder, kind, box->text());
    w.platform().SetWaitPointer(false);
    ShowResults(found);
}

void SearchScreen::SearchPresence(SideText kind, QListWidget* list) {
    const QListWidgetItem* chosen = list->currentItem();
    if (!chosen) return;
    ShowResults(chosen->text() == kPresent
                    ? logic::TitlesWithSideText(w.folder, kind)
                    : logic::TitlesWithoutSideText(w.catalogue, w.folder, kind));
}

bool SearchScreen::eventFilter(QObject* watched, QEvent* event) {
    // The type first: the filter also hears the viewport's last events while
    // the list is being destroyed, when the list may no longer be asked.
    if (event->type() == QEvent::MouseButtonDblClick && watched == lstDaimei_->viewport()) {
        lstDaimei_DblClick();
        return true;
    }
    // Return on a result does what a double-click does.
    if (watched == lstDaimei_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            lstDaimei_->currentIndex().isValid()) {
            lstDaimei_DblClick();
            return true;
        }
    }
    return Screen::eventFilter(watched, event);
}

void SearchScreen::lstDaimei_DblClick() {
    const QModelIndex chosen = lstDaimei_->currentIndex();
    w.JumpToTitle(chosen.isValid() ? chosen.data().toString() : QString());
}
