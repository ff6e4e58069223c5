#include "screens/main/field_editing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

#include "screens/main/main_screen.h"
#include "store/dates.h"
#include "store/marks.h"
#include "window/pick_list_model.h"

namespace {

using PickField = store::Catalogue::PickField;

constexpr PickField kPickFields[] = {PickField::Kantoku, PickField::Syuen, PickField::Kuni,
                                     PickField::Janru};
constexpr int kReleaseField = 4;

const QString kOwned = store::marks::kOwned.toString();

}  // namespace

FieldEditing::FieldEditing(MainScreen& screen) : QObject(&screen), s(screen) {
    for (PickField f : kPickFields) {
        QComboBox* combo = s.comboOf(f);
        connect(combo, &QComboBox::activated, this, [this, f](int index) { PickValue(f, index); });
        // Keys reach the combo when it has the focus, its line edit when sent there.
        combo->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
    }
    s.txtNengetu->installEventFilter(this);

    connect(s.cboName, &QComboBox::activated, this, &FieldEditing::cboName_Click);
    connect(s.cboHyouka, &QComboBox::activated, this, &FieldEditing::cboHyouka_Click);
    for (int k = 1; k <= 7; ++k) {
        connect(s.cboHyouka1[k], &QComboBox::activated, this, [this, k] { cboHyouka1_Click(k); });
    }
    for (int k = 1; k <= 4; ++k) {
        connect(s.chkSyoyu[k], &QCheckBox::clicked, this, [this, k] { chkSyoyu_Click(k); });
    }
}

int FieldEditing::Current() const {
    return s.hsbData->value();
}

template <class T>
bool FieldEditing::Store(T& slot, const T& value) {
    frmMain& w = s.w;
    const T old = slot;
    slot = value;
    if (w.Report(w.catalogue.SaveTitleData(w.folder))) return true;
    slot = old;
    return false;
}

void FieldEditing::PickValue(PickField f, int index) {
    frmMain& w = s.w;
    if (w.catalogue.TitleCount == 0 || index < 0) return;
    QComboBox* combo = s.comboOf(f);
    QString& slot = w.catalogue.values(f)[Current()];
    if (!Store(slot, combo->itemText(index))) combo->setEditText(slot);
}

void FieldEditing::TypedValue(PickField f, int keyAscii) {
    frmMain& w = s.w;
    if (keyAscii != kEnter || w.catalogue.TitleCount == 0) return;
    QComboBox* combo = s.comboOf(f);
    const QString typed = combo->currentText();
    if (typed.isEmpty()) return;
    QString text;
    if (!w.AcceptRecordText(typed, text)) return;
    if (text != typed) combo->setEditText(text);
    // The list learns the value only once it is on disk.
    if (!Store(w.catalogue.values(f)[Current()], text)) return;
    const int row = w.catalogue.AddPickValue(f, text);
    if (row >= 0) {
        s.modelOf(f)->Inserted(row);
        // A first entry becomes the combo's current one; keep the typed text.
        if (combo->currentText() != text) combo->setEditText(text);
    }
    w.platform().Beep();
}

void FieldEditing::txtNengetu_KeyPress(int keyAscii) {
    frmMain& w = s.w;
    if (keyAscii != kEnter) return;
    const QString typed = s.txtNengetu->text();
    if (typed.isEmpty()) return;
    if (!store::IsReleaseDate(typed)) {
        w.platform().MessageBox(QStringLiteral("日付の形式ではありません"),
                                QStringLiteral("日付入力違い"), Platform::Icon::Warning,
                                Platform::Buttons::Ok);
        return;
    }
    if (w.catalogue.TitleCount == 0) return;
    QString text;
    if (!w.AcceptRecordText(typed, text)) return;
    if (text != typed) s.txtNengetu->setText(text);
    if (!Store(w.catalogue.strNengetu[Current()], text)) return;
    // The month list keeps its order of first appearance: a new month goes last.
    w.catalogue.AddReleaseMonth(text);
    w.catalogue.AddReleaseYear(text);
    w.platform().Beep();
}

void FieldEditing::cboName_Click(int index) {
    if (index >= 0) s.hsbData->setValue(index + 1);
}

void FieldEditing::cboHyouka_Click() {
    store::Catalogue& c = s.w.catalogue;
    if (c.TitleCount == 0) return;
    QString& slot = c.strHyouka[Current()];
    Store(slot, s.cboHyouka->currentText());
    s.cboHyouka->setCurrentIndex(s.cboHyouka->findText(slot));
    s.ShowFace(slot);
}

void FieldEditing::cboHyouka1_Click(int Index) {
    store::Catalogue& c = s.w.catalogue;
    if (c.TitleCount == 0) return;
    Store(c.intTensu[Current()][Index], qint16(s.cboHyouka1[Index]->currentText().toInt()));
    s.ShowScores();
}

void FieldEditing::chkSyoyu_Click(int Index) {
    if (s.IsShowingOwnership) return;
    store::Catalogue& c = s.w.catalogue;
    if (c.TitleCount == 0) return;
    const QString mark = s.chkSyoyu[Index]->isChecked() ? kOwned : QString();
    if (Store(c.strSyoyu[Current()][Index], mark)) return;
    // The box shows again what the file holds.
    s.IsShowingOwnership = true;
    s.ShowOwnership();
    s.IsShowingOwnership = false;
}

int FieldEditing::KeyFieldOf(QObject* watched) const {
    for (PickField f : kPickFields) {
        QComboBox* combo = s.comboOf(f);
        if (watched == combo || watched == combo->lineEdit()) return int(f);
    }
    return watched == s.txtNengetu ? kReleaseField : -1;
}

void FieldEditing::KeyPress(int field, int keyAscii) {
    switch (field) {
        case int(PickField::Kantoku):
            cboKantoku_KeyPress(keyAscii);
            break;
        case int(PickField::Syuen):
            cboSyuen_KeyPress(keyAscii);
            break;
        case int(PickField::Kuni):
            cboKuni_KeyPress(keyAscii);
            break;
        case int(PickField::Janru):
            cboJanru_KeyPress(keyAscii);
            break;
        case kReleaseField:
            txtNengetu_KeyPress(keyAscii);
            break;
        default:
            break;
    }
}

bool FieldEditing::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    const int field = KeyFieldOf(watched);
    if (field < 0) return false;
    // Enter is ours alone: the combo would otherwise act on it as well.
    KeyPress(field, kEnter);
    return true;
}
