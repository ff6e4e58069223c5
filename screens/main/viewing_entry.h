#pragma once

#include <QObject>

class MainScreen;

// The viewing entry panel opened from the title's history grid.
class ViewingEntry : public QObject {
    Q_OBJECT
public:
    explicit ViewingEntry(MainScreen& screen);

private:
    MainScreen& s;
};
