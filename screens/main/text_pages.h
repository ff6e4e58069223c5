#pragma once

#include <QObject>
#include <QString>

class MainScreen;

// The save buttons of the cast, synopsis and memo pages. A page is written
// only by its own button; showing another title drops what was not saved.
class TextPages : public QObject {
    Q_OBJECT
public:
    explicit TextPages(MainScreen& screen);

    void cmdSubData1_Click() { SavePage(1); }
    void cmdSubData2_Click() { SavePage(2); }
    void cmdSubData3_Click() { SavePage(3); }

private:
    // Writes page k (1 cast, 2 synopsis, 3 memo) to the side file of the title
    // named in the title box; an empty page deletes the file.
    void SavePage(int k);
    bool UnchangedSinceShown(int k, const QString& title, const QString& file) const;

    MainScreen& s;
};
