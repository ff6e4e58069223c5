#pragma once

#include <QString>
#include <array>

#include "store/status.h"
#include "store/working_folder.h"

namespace store {

inline const QString kEvaluationMasterFile = QStringLiteral("評価マスタ.txt");
inline const QString kOwnershipMasterFile = QStringLiteral("所有マスタ.txt");
inline const QString kSettingsFileRead = QStringLiteral("設定.txt");
inline const QString kSettingsFileWrite = QStringLiteral("設定.TXT");

// The item names that label the scores and ownership marks, and the help-tour
// switch.
struct Masters {
    std::array<QString, 8> strHyoukaKoumoku;  // 1..7
    std::array<QString, 5> strSyoyuKoumoku;   // 1..4
    int hyoukaRead = 0;                       // how many evaluation names the master held (0..7)
    int syoyuRead = 0;                        // how many ownership names the master held (0..4)
    qint16 intHelpTour = 1;
};

// The defaults a missing master is created with.
std::array<QString, 8> DefaultEvaluationItems();
std::array<QString, 5> DefaultOwnershipItems();

// Read the master into the names; records beyond 7 (or 4) are not read. A
// missing master is created with the defaults first.
Status LoadEvaluationMaster(WorkingFolder& folder, Masters& m);
Status LoadOwnershipMaster(WorkingFolder& folder, Masters& m);
// Reads "設定.txt" into intHelpTour; a missing file is created with the tour on.
Status LoadSettings(WorkingFolder& folder, Masters& m);

// Write the full number of records.
Status SaveEvaluationMaster(WorkingFolder& folder, const std::array<QString, 8>& names);
Status SaveOwnershipMaster(WorkingFolder& folder, const std::array<QString, 5>& names);
// Writes `"ヘルプツアー",n` to "設定.TXT".
Status SaveSettings(WorkingFolder& folder, qint16 intHelpTour);

}  // namespace store
