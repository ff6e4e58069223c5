#pragma once

#include <QDialog>
#include <QObject>
#include <array>

#include "logic/csv_import.h"

class frmMain;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class ImportPreviewModel;

// The mapping dialog: for every field of a title the file's column, the
// optional viewing columns, the preview of what will be stored and the counts.
class frmCsvImport : public QDialog {
    Q_OBJECT
public:
    frmCsvImport(frmMain& window, const logic::CsvTable& table, const QString& fileName);
    ~frmCsvImport() override;

    const logic::ImportPlan& plan() const { return plan_; }

private:
    QGridLayout* addFieldColumns(QGroupBox* fields, const QStringList& names);
    QGroupBox* buildViewingColumns();
    void addSideTextColumns(QGroupBox* fields, QGridLayout* grid);
    QHBoxLayout* buildOptionBoxes();
    QLabel* buildPreview(const QStringList& names);
    QHBoxLayout* buildButtons();
    QComboBox* columnCombo(const QString& name);
    void Replan();
    void cmdImportOk_Click();

    frmMain& w;
    const logic::CsvTable& table_;
    logic::ImportMapping mapping_;
    logic::ImportPlan plan_;
    std::array<QComboBox*, logic::kImportFields> cboMap_{};
    QComboBox* cboMapDate_ = nullptr;
    QComboBox* cboMapKind_ = nullptr;
    QLineEdit* txtImportKind_ = nullptr;
    std::array<QComboBox*, 3> cboMapText_{};  // キャスト, あらすじ, メモ
    QCheckBox* chkImportFullWidth_ = nullptr;
    QCheckBox* chkImportYearSuffix_ = nullptr;
    QTableView* grdImportPreview_ = nullptr;
    ImportPreviewModel* preview_ = nullptr;
    QLabel* lblImportCount_ = nullptr;
};

// The button "CSVから取り込む" of the master screen's data-management area and
// what it starts: the file dialog, the mapping dialog, the commit.
class CsvImport : public QObject {
    Q_OBJECT
public:
    explicit CsvImport(frmMain& window);

    void cmdCsvIn_Click();

private:
    frmMain& w;
};
