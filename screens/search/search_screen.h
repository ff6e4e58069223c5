#pragma once

#include <QStringList>
#include <array>
#include <vector>

#include "store/catalogue.h"
#include "store/side_files.h"
#include "window/screen.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QStringListModel;
class PickListModel;

// The search screen: one criterion at a time, the matching titles listed by
// name; a double-click on a name shows that title on the main screen.
class SearchScreen : public Screen {
    Q_OBJECT
public:
    explicit SearchScreen(frmMain& window);

protected:
    void Fill() override;  // cmdKensaku_Click
    QString HelpText() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void buildCriteria(QWidget* box);
    void buildFieldRows(QWidget* box);
    void buildSideTextRows(QWidget* box);
    void buildMarkRows(QWidget* box);
    void buildViewingRows(QWidget* box);
    void addRange(const QString& name, std::array<QComboBox*, 2>& combos, QWidget* box, int row);
    void connectCriteria();
    QComboBox* addCombo(const QString& name, QWidget* parent, const QRect& r);
    QListWidget* addChoices(const QString& name, QWidget* parent, const QRect& r);

    void ShowResults(const QStringList& names);
    void ShowOwnershipItems();
    void NameCriteria();

    // The criteria.
    void SearchValue(store::Catalogue::PickField field, QComboBox* combo);
    void lstHyouka_Click();
    void lstSyoyu_Click(int k);
    void cboKoukai2_Click();
    void cboKansyou2_Click();
    void cboKansyou3_Click();
    void txtNamae_Enter();
    void SearchSideTexts(store::SideText kind, QLineEdit* box);
    void SearchPresence(store::SideText kind, QListWidget* list);
    void lstDaimei_DblClick();

    QGroupBox* fraKensu_ = nullptr;
    QListView* lstDaimei_ = nullptr;
    QStringListModel* results_ = nullptr;
    QLineEdit *txtNamae_ = nullptr, *txtCast_ = nullptr, *txtArasuji_ = nullptr,
              *txtMemo_ = nullptr;
    QListWidget *lstCast_ = nullptr, *lstArasuji_ = nullptr, *lstMemo_ = nullptr;
    QListWidget* lstHyouka_ = nullptr;
    std::array<QListWidget*, 5> lstSyoyu_{};   // 1..4
    std::array<QLabel*, 5> lblSyoyu_{};        // 1..4
    std::array<QComboBox*, 4> valueCombos_{};  // cboKantoku2, cboSyuen2, cboKuni2, cboJanru2
    std::array<QComboBox*, 2> cboKoukai2_{}, cboKansyou2_{};
    QComboBox* cboKansyou3_ = nullptr;

    // What the combos show: copies of the source lists taken at each opening.
    std::array<std::vector<QString>, 4> valueLists_;
    std::vector<QString> releaseMonths_, viewingMonths_, viewingContents_;
    std::vector<PickListModel*> models_;
};
