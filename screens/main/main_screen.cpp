#include "screens/main/main_screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "history/history.h"
#include "store/marks.h"
#include "store/side_files.h"
#include "window/accessible.h"
#include "window/grid.h"
#include "window/pick_list_model.h"

namespace {

using store::Catalogue;

// Filled colours of the seven bars.
const QColor kBarColours[8] = {{},
                               QColor(255, 128, 128),
                               QColor(255, 192, 128),
                               QColor(255, 255, 128),
                               QColor(128, 255, 128),
                               QColor(128, 255, 255),
                               QColor(128, 128, 255),
                               QColor(255, 128, 255)};
const QColor kPageColour(255, 224, 192);

void Paint(QFrame* box, const QColor& colour) {
    QPalette pal = box->palette();
    if (pal.color(QPalette::Window) == colour) return;
    pal.setColor(QPalette::Window, colour);
    box->setPalette(pal);
}

}  // namespace

MainScreen::MainScreen(frmMain& window) : QObject(&window), w(window) {
    build();
    w.AttachTitleScreen(this);
}

QComboBox* MainScreen::comboOf(Catalogue::PickField f) const {
    switch (f) {
        case Catalogue::PickField::Kantoku:
            return cboKantoku;
        case Catalogue::PickField::Syuen:
            return cboSyuen;
        case Catalogue::PickField::Kuni:
            return cboKuni;
        case Catalogue::PickField::Janru:
            return cboJanru;
    }
    return nullptr;
}

PickListModel* MainScreen::modelOf(Catalogue::PickField f) const {
    return pickModels_[int(f)];
}

void MainScreen::SetupTitleHistoryGrid() {
    Grid& g = *msgKansyou;
    g.SetRows(1);
    g.SetCols(3);
    g.SetColWidth(0, 400);
    g.SetColWidth(1, 1140);
    g.SetColWidth(2, 0);
    g.SetColAlignment(0, Grid::Alignment::Right);
    g.SetColAlignment(1, Grid::Alignment::Centre);
    g.SetColAlignment(2, Grid::Alignment::Left);
    g.SetTextMatrix(0, 0, QStringLiteral("回"));
    g.SetTextMatrix(0, 1, QStringLiteral("鑑賞日"));
    for (int c = 0; c < 3; ++c) g.SetHeaderAlignment(c, Grid::Alignment::Centre);
}

void MainScreen::SetTitleNumber(int i) {
    hsbData->setValue(i);
}
int MainScreen::TitleNumber() const {
    return hsbData->value();
}

void MainScreen::TitlesReloaded() {
    const QSignalBlocker block(hsbData);
    hsbData->setMaximum(w.catalogue.ScrollMaximum());
    cmdLookup->setEnabled(w.catalogue.TitleCount > 0);
    nameModel_->Reset(&w.catalogue.cboName);
    for (int f = 0; f < 4; ++f) {
        pickModels_[f]->Reset(&w.catalogue.pickList(Catalogue::PickField(f)).items());
    }
    // Titles added or removed: the total follows at once.
    ShowCounter();
}

void MainScreen::ShowCounter() {
    const int count = w.catalogue.TitleCount;
    lblKensu->setText(QStringLiteral("%1 / %2").arg(count > 0 ? hsbData->value() : 0).arg(count));
}

void MainScreen::HistoryReloaded() {
    contentModel_->Reset(&w.history.cboKansyou);
    cboKansyou->setEditText(QString());
}

QString MainScreen::ShownName() const {
    return cboName->currentText();
}

void MainScreen::ShowTitle() {
    const Catalogue& c = w.catalogue;
    const int i = hsbData->value();
    if (c.TitleCount > 0) {
        cboName->setEditText(c.strDaimei[i]);
        cboKantoku->setEditText(c.strKantoku[i]);
        cboSyuen->setEditText(c.strSyuen[i]);
        txtNengetu->setText(c.strNengetu[i]);
        cboKuni->setEditText(c.strKuni[i]);
        cboJanru->setEditText(c.strJanru[i]);
        cboHyouka->setCurrentIndex(cboHyouka->findText(c.strHyouka[i]));
        ShowFace(c.strHyouka[i]);
    } else {
        // The last title was deleted: its fields go with it.
        cboName->setEditText(QString());
        for (QComboBox* f : {cboKantoku, cboSyuen, cboKuni, cboJanru}) f->setEditText(QString());
        txtNengetu->clear();
        cboHyouka->setCurrentIndex(-1);
        ShowFace(QString());
    }
    ShowScores();
    ShowTitleHistory();
    IsShowingOwnership = true;
    ShowOwnership();
    IsShowingOwnership = false;
    LoadSideTexts();
    ShowCounter();
    ShowPicture();
}

void MainScreen::ShowTitleAt(int i) {
    {
        // One redraw below, whether or not the value moves.
        const QSignalBlocker block(hsbData);
        hsbData->setMaximum(w.catalogue.ScrollMaximum());
        hsbData->setValue(w.catalogue.TitleCount > 0 ? i : 1);
    }
    ShowTitle();
}

void MainScreen::ShowFace(const QString& rating) {
    int face = 3;
    if (rating == store::marks::kRatingBest) face = 0;
    if (rating == store::marks::kRatingGood) face = 1;
    if (rating == store::marks::kRatingFair) face = 2;
    for (int k = 0; k < 4; ++k) imgFace1[k]->setVisible(k == face);
}

void MainScreen::ClearScoreBars() {
    for (int k = 1; k <= 7; ++k) {
        for (int b = 1; b <= 10; ++b) Paint(shpHyouka[k][b], Qt::white);
    }
}

void MainScreen::ShowScores() {
    ClearScoreBars();
    const Catalogue& c = w.catalogue;
    if (c.TitleCount == 0) return;
    const int i = hsbData->value();
    for (int k = 1; k <= 7; ++k) {
        const int score = c.intTensu[i][k];
        cboHyouka1[k]->setCurrentIndex(cboHyouka1[k]->findText(QString::number(score)));
        const int filled = std::clamp(k == 1 ? score / 10 : score, 0, 10);
        for (int b = 1; b <= filled; ++b) Paint(shpHyouka[k][b], kBarColours[k]);
    }
}

void MainScreen::ShowOwnership() {
    const Catalogue& c = w.catalogue;
    if (c.TitleCount == 0) return;
    const int i = hsbData->value();
    for (int k = 1; k <= 4; ++k) chkSyoyu[k]->setChecked(c.strSyoyu[i][k] == store::marks::kOwned);
}

void MainScreen::LoadSideTexts() {
    const Catalogue& c = w.catalogue;
    if (c.TitleCount == 0) return;
    const QString& title = c.strDaimei[hsbData->value()];
    shownSideTitle = title;
    for (int k = 1; k <= 3; ++k) {
        shownSideFile[k] = w.folder.fingerprint(store::SideTextFileName(store::SideText(k), title));
        QString text;
        // An unreadable page shows empty; the folder then refuses to write over it.
        const store::Status st = store::LoadSideText(w.folder, store::SideText(k), title, text);
        if (!st) w.Report(st);
        txtSubData[k]->setPlainText(text);
    }
}

void MainScreen::ShowTitleHistory() {
    Grid& g = *msgKansyou;
    const std::vector<int> records = w.history.ViewingsOf(cboName->currentText());
    std::vector<QStringList> rows;
    rows.reserve(records.size());
    int n = 0;
    for (int r : records) {
        rows.push_back({QString::number(++n), history::ShortViewingDate(w.history.strKansyoubi[r]),
                        w.history.strKansyouNaiyou[r]});
    }
    g.SetBodyRows(rows);
}

void MainScreen::FillRatingLists() {
    cboHyouka->clear();
    QStringList ratings;
    for (QStringView rating : store::marks::kRatings) ratings << rating.toString();
    cboHyouka->addItems(ratings);
    for (int k = 1; k <= 7; ++k) {
        QStringList numbers;
        const int top = k == 1 ? 100 : 10;
        for (int n = 0; n <= top; ++n) numbers << QString::number(n);
        cboHyouka1[k]->clear();
        cboHyouka1[k]->addItems(numbers);
    }
    // The lists were empty when title 1 was shown; with no title they show
    // nothing rather than their first entry.
    const int i = hsbData->value();
    const bool any = w.catalogue.TitleCount > 0;
    cboHyouka->setCurrentIndex(any ? cboHyouka->findText(w.catalogue.strHyouka[i]) : -1);
    for (int k = 1; k <= 7; ++k) cboHyouka1[k]->setCurrentIndex(-1);
    ShowScores();
}

void MainScreen::ShowEvaluationItems() {
    for (int k = 1; k <= 7; ++k) {
        lblHyouka1[k]->setText(w.masters.strHyoukaKoumoku[k]);
        NameControl(cboHyouka1[k], w.masters.strHyoukaKoumoku[k] + QStringLiteral("の点数"));
    }
}

void MainScreen::ShowOwnershipItems() {
    for (int k = 1; k <= 4; ++k) {
        chkSyoyu[k]->setText(w.masters.strSyoyuKoumoku[k]);
        NameControl(chkSyoyu[k], w.masters.strSyoyuKoumoku[k] + QStringLiteral("を所有"));
    }
}

void MainScreen::ResetSubPages() {
    for (int k = 1; k <= 3; ++k) fraSubGamen[k]->hide();
    for (int k = 1; k <= 4; ++k) {
        cmdHyouji[k]->setAutoFillBackground(false);
        cmdHyouji[k]->setPalette(QPalette());
        cmdHyouji[k]->setStyleSheet(QString());
    }
}

void MainScreen::SelectPage(int k) {
    ResetSubPages();
    if (k >= 2) fraSubGamen[k - 1]->show();
    cmdHyouji[k]->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; }").arg(kPageColour.name()));
}

void MainScreen::SelectMainPage() {
    SelectPage(1);
}
