#pragma once

#include <array>

#include "window/screen.h"

class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;

// The master screen (編集): the names of the seven evaluation items and the
// four ownership items, and the display-order list whose entries are moved by
// dragging and then written back as the catalogue's order. The new-start group
// at its lower left belongs to the title commands.
class MasterScreen : public Screen {
    Q_OBJECT
public:
    explicit MasterScreen(frmMain& window);

    void cmdHyoukaHozon_Click();
    void lblSyoyuHozon_Click();
    // The pressed entry of the display-order list, and the entry released on
    // (-1: no entry).
    void lstBicho_MouseDown(int row);
    void lstBicho_MouseUp(int row);
    void cmdSortCng2_Click();

protected:
    void Fill() override;
    QString HelpText() const override;
    bool RefillsWhenShown() const override { return true; }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildEvaluationGroup();
    void buildOwnershipGroup();
    void buildDisplayOrderArea();
    // At start-up the boxes take the names the masters held; afterwards they
    // keep what was typed, saved or not.
    void ShowNamesInBoxes();
    // The typed names in the form the file keeps; false after the warning box
    // when one cannot be stored.
    template <size_t N>
    bool AcceptNames(const std::array<QLineEdit*, N>& boxes, std::array<QString, N>& names);
    bool Confirmed(const QString& question, const QString& title);
    // The apply button's colour: light orange while moves wait to be applied.
    void MarkPendingMoves(bool pending);

    std::array<QLineEdit*, 8> txtHyouka_{};  // 1..7
    std::array<QLineEdit*, 5> txtSyoyu_{};   // 1..4
    QPushButton* cmdHyoukaHozon_ = nullptr;
    QPushButton* lblSyoyuHozon_ = nullptr;
    QListView* lstBicho_ = nullptr;
    QStringListModel* bicho_ = nullptr;
    QPushButton* cmdSortCng2_ = nullptr;
    int dragRow_ = -1;
};
