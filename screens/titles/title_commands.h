#pragma once

#include <QObject>

class MainScreen;

// Adding a title (新規) and deleting the title on show (削除).
class TitleCommands : public QObject {
    Q_OBJECT
public:
    explicit TitleCommands(MainScreen& screen);

private:
    MainScreen& s;
};
