#include "screens/main/main_screen.h"

// The main screen's controls and their places; what they show is in
// main_screen.cpp, the picture in title_picture.cpp.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "screens/main/faces.h"
#include "window/accessible.h"
#include "window/grid.h"
#include "window/pick_list_model.h"
#include "window/picture_box.h"
#include "window/twips.h"

namespace {

using store::Catalogue;

constexpr int kPictureX = 430;
constexpr int kPictureTop = 44;
constexpr int kPictureHeight = TwipsToPixels(MainScreen::kPictureHeightTwips);
constexpr int kBoxSize = 16;
constexpr int kFaceSize = 44;

QLabel* Caption(const QString& text, QWidget* parent, const QRect& r) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(r);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QComboBox* Combo(const QString& name, QWidget* parent, const QRect& r, bool editable) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(editable);
    c->setGeometry(r);
    c->setMaxVisibleItems(20);
    c->setInsertPolicy(QComboBox::NoInsert);
    if (editable) {
        c->setCompleter(nullptr);
        // The combo answers focus leaving the field by choosing the entry equal
        // to the typed text and raising activated: that is no pick.
        QObject::disconnect(c->lineEdit(), &QLineEdit::editingFinished, c, nullptr);
    }
    return c;
}

}  // namespace

void MainScreen::build() {
    fraMain = w.frame("fraMain");
    buildFields(fraMain);
    buildScores(fraMain);

    imgGazou = new PictureBox(fraMain);
    imgGazou->setObjectName("imgGazou");
    imgGazou->setGeometry(kPictureX, kPictureTop, TwipsToPixels(6165), kPictureHeight);
    imgGazou->setFrameShape(QFrame::StyledPanel);
    imgGazou->setFocusPolicy(Qt::StrongFocus);
    imgGazou->setCursor(Qt::PointingHandCursor);

    msgKansyou = new Grid(fraMain);
    msgKansyou->setObjectName("msgKansyou");
    NameControl(msgKansyou, QStringLiteral("鑑賞履歴"));
    msgKansyou->setToolTip(QStringLiteral("ダブルクリックまたは Enter キーで鑑賞履歴を入力します"));
    msgKansyou->setGeometry(852, kPictureTop, 132, kPictureHeight);

    auto* owned = new QGroupBox(QStringLiteral("ソフト所有"), fraMain);
    owned->setGeometry(kPictureX, 366, TwipsToPixels(6165), 78);
    for (int k = 1; k <= 4; ++k) {
        chkSyoyu[k] = new QCheckBox(owned);
        chkSyoyu[k]->setObjectName(QStringLiteral("chkSyoyu_%1").arg(k));
        chkSyoyu[k]->setGeometry(12 + ((k - 1) % 2) * 200, 22 + ((k - 1) / 2) * 26, 190, 24);
    }

    hsbData = new QScrollBar(Qt::Horizontal, fraMain);
    hsbData->setObjectName("hsbData");
    hsbData->setGeometry(8, 516, 820, 22);
    hsbData->setRange(1, 1);
    hsbData->setPageStep(1);
    hsbData->setToolTip(QStringLiteral("前後のタイトル（Alt+← / Alt+→、PageUp / PageDown）"));
    connect(hsbData, &QScrollBar::valueChanged, this, [this] { ShowTitle(); });

    lblKensu = new QLabel(fraMain);
    lblKensu->setObjectName("lblKensu");
    lblKensu->setGeometry(840, 514, 144, 26);
    lblKensu->setAlignment(Qt::AlignCenter);
    lblKensu->setFrameShape(QFrame::StyledPanel);

    buildPages(fraMain);
    buildEntryPanel(fraMain);

    // The picture import panel lies over the fields and scores, leaving the
    // title and the picture it previews in sight.
    fraPicget = new QFrame(fraMain);
    fraPicget->setObjectName("fraPicget");
    fraPicget->setGeometry(8, 44, 404, 452);
    fraPicget->setAutoFillBackground(true);
    fraPicget->setFrameShape(QFrame::StyledPanel);
    fraPicget->hide();
}

void MainScreen::buildFields(QWidget* parent) {
    Caption(QStringLiteral("タイトル"), parent, QRect(4, 8, 62, 26));
    cboName = Combo("cboName", parent, QRect(70, 8, 228, 26), true);
    cmdLookup = new QPushButton(QStringLiteral("ネットで調べる"), parent);
    cmdLookup->setObjectName("cmdLookup");
    cmdLookup->setGeometry(302, 8, 108, 26);
    NameControl(cboName, QStringLiteral("タイトル"));
    nameModel_ = new PickListModel(&w.catalogue.cboName, this);
    cboName->setModel(nameModel_);

    const std::pair<const char*, QString> fields[] = {
        {"cboKantoku", QStringLiteral("監督")},   {"cboSyuen", QStringLiteral("主演")},
        {"txtNengetu", QStringLiteral("公開日")}, {"cboKuni", QStringLiteral("国")},
        {"cboJanru", QStringLiteral("ジャンル")},
    };
    int y = 46;
    for (const auto& [name, label] : fields) {
        Caption(label, parent, QRect(4, y, 62, 26));
        if (QString(name) == "txtNengetu") {
            txtNengetu = new QLineEdit(parent);
            txtNengetu->setObjectName(name);
            txtNengetu->setGeometry(70, y, 140, 26);
            NameControl(txtNengetu, label);
        } else {
            NameControl(Combo(name, parent, QRect(70, y, 340, 26), true), label);
        }
        y += 32;
    }
    cboKantoku = parent->findChild<QComboBox*>("cboKantoku");
    cboSyuen = parent->findChild<QComboBox*>("cboSyuen");
    cboKuni = parent->findChild<QComboBox*>("cboKuni");
    cboJanru = parent->findChild<QComboBox*>("cboJanru");
    const Catalogue::PickField order[] = {Catalogue::PickField::Kantoku,
                                          Catalogue::PickField::Syuen, Catalogue::PickField::Kuni,
                                          Catalogue::PickField::Janru};
    for (Catalogue::PickField f : order) {
        auto* model = new PickListModel(&w.catalogue.pickList(f).items(), this);
        pickModels_[int(f)] = model;
        comboOf(f)->setModel(model);
    }

    Caption(QStringLiteral("評"), parent, QRect(4, y + 8, 62, 26));
    cboHyouka = Combo("cboHyouka", parent, QRect(70, y + 8, 64, 26), false);
    NameControl(cboHyouka, QStringLiteral("評価"));
    for (int k = 0; k < 4; ++k) {
        imgFace1[k] = new QLabel(parent);
        imgFace1[k]->setObjectName(QStringLiteral("imgFace1_%1").arg(k));
        imgFace1[k]->setGeometry(146, y - 1, kFaceSize, kFaceSize);
        imgFace1[k]->setPixmap(FacePicture(k, kFaceSize));
        imgFace1[k]->setVisible(k == 3);
    }
}

void MainScreen::buildScores(QWidget* parent) {
    auto* box = new QGroupBox(QStringLiteral("自己評価"), parent);
    box->setObjectName("fraHyouka");
    box->setGeometry(8, 270, 404, 226);
    for (int k = 1; k <= 7; ++k) {
        const int y = 24 + (k - 1) * 28;
        lblHyouka1[k] = new QLabel(box);
        lblHyouka1[k]->setObjectName(QStringLiteral("lblHyouka1_%1").arg(k));
        lblHyouka1[k]->setGeometry(8, y, 104, 24);
        cboHyouka1[k] =
            Combo(QStringLiteral("cboHyouka1_%1").arg(k), box, QRect(114, y, 64, 24), false);
        for (int b = 1; b <= 10; ++b) {
            auto* s = new QFrame(box);
            s->setObjectName(QStringLiteral("shpHyouka%1_%2").arg(k).arg(b));
            s->setGeometry(186 + (b - 1) * (kBoxSize + 4), y + 4, kBoxSize, kBoxSize);
            s->setFrameShape(QFrame::Box);
            s->setAutoFillBackground(true);
            shpHyouka[k][b] = s;
        }
    }
    ClearScoreBars();
}

void MainScreen::buildPages(QWidget* parent) {
    const QString captions[] = {{},
                                QStringLiteral("メイン"),
                                QStringLiteral("キャスト"),
                                QStringLiteral("あらすじ"),
                                QStringLiteral("感想　・　メモ")};
    for (int k = 1; k <= 4; ++k) {
        cmdHyouji[k] = new QPushButton(captions[k], parent);
        cmdHyouji[k]->setObjectName(QStringLiteral("cmdHyouji%1").arg(k));
        cmdHyouji[k]->setGeometry(kPictureX + (k - 1) * 124, 7, 120, 28);
        connect(cmdHyouji[k], &QPushButton::clicked, this, [this, k] { SelectPage(k); });
    }
    const QString saves[] = {{},
                             QStringLiteral("キャスト　保存"),
                             QStringLiteral("あらすじ　保存"),
                             QStringLiteral("感想・メモ　保存")};
    for (int k = 1; k <= 3; ++k) {
        fraSubGamen[k] = new QFrame(parent);
        fraSubGamen[k]->setObjectName(QStringLiteral("fraSubGamen_%1").arg(k));
        fraSubGamen[k]->setGeometry(4, 40, 984, 466);
        fraSubGamen[k]->setFrameShape(QFrame::StyledPanel);
        fraSubGamen[k]->setAutoFillBackground(true);
        txtSubData[k] = new QPlainTextEdit(fraSubGamen[k]);
        txtSubData[k]->setObjectName(QStringLiteral("txtSubData_%1").arg(k));
        txtSubData[k]->setGeometry(10, 10, 964, 402);
        NameControl(txtSubData[k], captions[k + 1]);
        cmdSubData[k] = new QPushButton(saves[k], fraSubGamen[k]);
        cmdSubData[k]->setObjectName(QStringLiteral("cmdSubData%1").arg(k));
        cmdSubData[k]->setGeometry(814, 422, 160, 32);
        fraSubGamen[k]->hide();
    }
}

void MainScreen::buildEntryPanel(QWidget* parent) {
    fraRirekiHozon = new QGroupBox(QStringLiteral("鑑賞履歴入力"), parent);
    fraRirekiHozon->setObjectName("fraRirekiHozon");
    fraRirekiHozon->setGeometry(8, 270, 404, 226);
    fraRirekiHozon->setAutoFillBackground(true);
    lblHyouka1[0] = new QLabel(QStringLiteral("鑑賞日"), fraRirekiHozon);
    lblHyouka1[0]->setObjectName("lblHyouka1_0");
    lblHyouka1[0]->setGeometry(16, 40, 80, 26);
    txtKansyoubi = new QLineEdit(fraRirekiHozon);
    txtKansyoubi->setObjectName("txtKansyoubi");
    txtKansyoubi->setGeometry(100, 40, 140, 26);
    NameControl(txtKansyoubi, QStringLiteral("鑑賞日"));
    lblHyouka1[8] = new QLabel(QStringLiteral("鑑賞内容"), fraRirekiHozon);
    lblHyouka1[8]->setObjectName("lblHyouka1_8");
    lblHyouka1[8]->setGeometry(16, 84, 80, 26);
    cboKansyou = Combo("cboKansyou", fraRirekiHozon, QRect(100, 84, 280, 26), true);
    contentModel_ = new PickListModel(&w.history.cboKansyou, this);
    cboKansyou->setModel(contentModel_);
    NameControl(cboKansyou, QStringLiteral("鑑賞内容"));
    cmdRirekiHozon = new QPushButton(QStringLiteral("保存"), fraRirekiHozon);
    cmdRirekiHozon->setObjectName("cmdRirekiHozon");
    cmdRirekiHozon->setGeometry(180, 160, 96, 32);
    cmdYame1 = new QPushButton(QStringLiteral("キャンセル"), fraRirekiHozon);
    cmdYame1->setObjectName("cmdYame1");
    cmdYame1->setGeometry(284, 160, 96, 32);
    fraRirekiHozon->hide();
}
