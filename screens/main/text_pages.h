#pragma once

#include <QObject>

class MainScreen;

// The save buttons of the cast, synopsis and memo pages.
class TextPages : public QObject {
    Q_OBJECT
public:
    explicit TextPages(MainScreen& screen);

private:
    MainScreen& s;
};
