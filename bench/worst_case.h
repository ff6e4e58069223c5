#pragma once

#include <QString>

// The worst case of the store, written into a folder (created when missing):
// "データ.TXT" with 32766 titles whose directors, lead actors, countries,
// genres and release months are all distinct and every field is filled;
// "鑑賞履歴.TXT" with 32766 viewings (dates ascending, titles of the catalogue,
// contents all distinct); the two masters and "設定.TXT".
void WriteWorstCase(const QString& folderPath);

// Optional, for screens that read side files: the three side texts of every
// title of WriteWorstCase (98298 files), each a few realistic lines.
void WriteWorstCaseSideTexts(const QString& folderPath);

// The name of title i (1..32766) of the worst case.
QString WorstCaseTitle(int i);
