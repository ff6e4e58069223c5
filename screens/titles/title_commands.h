#pragma once

#include <QObject>
#include <QString>
#include <optional>

class frmMain;

// Adding a title (新規) and deleting the title on show (削除).
class TitleCommands : public QObject {
    Q_OBJECT
public:
    explicit TitleCommands(frmMain& window);

    void cmdNew_Click();
    void cmdDel_Click();

private:
    // Asks until a name is acceptable; nothing when the user gives up.
    std::optional<QString> AskNewTitleName();

    frmMain& w;
};
