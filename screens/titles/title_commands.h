#pragma once

#include <QObject>
#include <QString>
#include <optional>

class MainScreen;

// Adding a title (新規) and deleting the title on show (削除).
class TitleCommands : public QObject {
    Q_OBJECT
public:
    explicit TitleCommands(MainScreen& screen);

    void cmdNew_Click();
    void cmdDel_Click();

private:
    // Asks until a name is acceptable; nothing when the user gives up.
    std::optional<QString> AskNewTitleName();
    // The title number on show after title k of n was deleted.
    void ShowAfterDeletion(int k, int n);

    MainScreen& s;
};
