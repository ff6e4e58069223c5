#pragma once

#include <QObject>

class MainScreen;

// The viewing entry panel opened from the title's history grid.
class ViewingEntry : public QObject {
    Q_OBJECT
public:
    explicit ViewingEntry(MainScreen& screen);

    void msgKansyou_DblClick();
    void cmdRirekiHozon_Click();
    void cmdYame1_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainScreen& s;
};
