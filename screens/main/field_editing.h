#pragma once

#include <QObject>

#include "store/catalogue.h"

class MainScreen;
class QComboBox;

// The attribute fields, the rating, the scores and the ownership boxes, edited in place.
// Every pick, Enter or tick stores the value of the title on show and rewrites
// the data file; showing a title never does.
class FieldEditing : public QObject {
    Q_OBJECT
public:
    explicit FieldEditing(MainScreen& screen);

    // The key code of Enter, as the key handlers receive it.
    static constexpr int kEnter = 13;

    void cboKantoku_Click(int index) { PickValue(store::Catalogue::PickField::Kantoku, index); }
    void cboSyuen_Click(int index) { PickValue(store::Catalogue::PickField::Syuen, index); }
    void cboKuni_Click(int index) { PickValue(store::Catalogue::PickField::Kuni, index); }
    void cboJanru_Click(int index) { PickValue(store::Catalogue::PickField::Janru, index); }

    void cboKantoku_KeyPress(int keyAscii) {
        TypedValue(store::Catalogue::PickField::Kantoku, keyAscii);
    }
    void cboSyuen_KeyPress(int keyAscii) {
        TypedValue(store::Catalogue::PickField::Syuen, keyAscii);
    }
    void cboKuni_KeyPress(int keyAscii) { TypedValue(store::Catalogue::PickField::Kuni, keyAscii); }
    void cboJanru_KeyPress(int keyAscii) {
        TypedValue(store::Catalogue::PickField::Janru, keyAscii);
    }
    void txtNengetu_KeyPress(int keyAscii);

    void cboName_Click(int index);
    void cboHyouka_Click();
    void cboHyouka1_Click(int Index);
    void chkSyoyu_Click(int Index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PickValue(store::Catalogue::PickField f, int index);
    void TypedValue(store::Catalogue::PickField f, int keyAscii);
    // Stores the value at the slot and rewrites the data file; when the file
    // could not be written the slot gets its old value back, so that memory
    // holds what the disk holds.
    template <class T>
    bool Store(T& slot, const T& value);
    // Which key handler a watched control belongs to (-1: none; 4: the release field).
    int KeyFieldOf(QObject* watched) const;
    void KeyPress(int field, int keyAscii);
    int Current() const;

    MainScreen& s;
};
