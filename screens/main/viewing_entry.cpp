#include "screens/main/viewing_entry.h"

#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "screens/main/main_screen.h"
#include "window/grid.h"

ViewingEntry::ViewingEntry(MainScreen& screen) : QObject(&screen), s(screen) {
    connect(s.msgKansyou, &Grid::DblClick, this, [this] { msgKansyou_DblClick(); });
    // The grid reports double-clicks on its cells only; the empty space below
    // the rows opens the panel too.
    s.msgKansyou->viewport()->installEventFilter(this);
    // Return or Space opens it from the keyboard, rows or none.
    s.msgKansyou->installEventFilter(this);
    connect(s.cmdRirekiHozon, &QAbstractButton::clicked, this, [this] { cmdRirekiHozon_Click(); });
    connect(s.cmdYame1, &QAbstractButton::clicked, this, [this] { cmdYame1_Click(); });
}

bool ViewingEntry::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == s.msgKansyou) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            msgKansyou_DblClick();
            return true;
        }
    }
    // The type first: the filter also hears the viewport's last events while
    // the grid is being destroyed, when the grid may no longer be asked.
    if (event->type() == QEvent::MouseButtonDblClick && watched == s.msgKansyou->viewport()) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            !s.msgKansyou->indexAt(mouse->position().toPoint()).isValid()) {
            msgKansyou_DblClick();
        }
    }
    return QObject::eventFilter(watched, event);
}

void ViewingEntry::msgKansyou_DblClick() {
    // A viewing belongs to a title; with none there is nothing to record.
    if (s.w.catalogue.TitleCount == 0) return;
    s.txtKansyoubi->setText(s.w.platform().Today().toString(QStringLiteral("yyyy/MM/dd")));
    s.fraRirekiHozon->show();
    s.fraRirekiHozon->raise();
}

void ViewingEntry::cmdRirekiHozon_Click() {
    const QString date = s.txtKansyoubi->text();
    if (auto refusal = history::History::CheckEntry(date, s.cboKansyou->currentText())) {
        s.w.platform().MessageBox(refusal->message, refusal->title, Platform::Icon::Warning);
        return;
    }
    const QString title = s.ShownName();
    if (s.w.AcceptTitleName(title) == 0) return;
    QString content;
    if (!s.w.AcceptRecordText(s.cboKansyou->currentText(), content)) return;
    // A failed write leaves the file and the panel as they were, so the user
    // can try again.
    if (!s.w.Report(s.w.history.RecordViewing(s.w.folder, date, title, content))) return;
    s.w.HistoryChanged();
    s.ShowTitleHistory();
    s.fraRirekiHozon->hide();
}

void ViewingEntry::cmdYame1_Click() {
    s.fraRirekiHozon->hide();
}
