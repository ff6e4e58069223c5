#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "history/history.h"
#include "store/catalogue.h"
#include "store/working_folder.h"

namespace history_test {

// CP932 bytes of the texts the fixtures use.
inline const QByteArray kHoshi("\x90\xAF\x82\xCC\x97\xB7");          // 星の旅
inline const QByteArray kFurui("\x8C\xC3\x82\xA2\x89\x66\x89\xE6");  // 古い映画
inline const QByteArray kEigakan("\x89\x66\x89\xE6\x8A\xD9");        // 映画館
inline const QByteArray kTerebi("\x83\x65\x83\x8C\x83\x72");         // テレビ
inline const QByteArray kBideo("\x83\x72\x83\x66\x83\x49");          // ビデオ

// One history line as the file holds it.
inline QByteArray Line(const QByteArray& date, const QByteArray& title, const QByteArray& content) {
    return "\"" + date + "\",\"" + title + "\",\"" + content + "\"\r\n";
}

// Four viewings, two on the same day; contents first seen in a non-sorted order.
inline QByteArray FourViewings() {
    return Line("2004/01/10", kHoshi, kEigakan) + Line("2004/03/05", kFurui, kTerebi) +
           Line("2004/03/05", kHoshi, kEigakan) + Line("2005/02/01", kFurui, kBideo);
}

// A fresh working folder per test, reached through the store's folder layer.
class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString path(const QString& name) const { return dir_.filePath(name); }

    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QByteArray readFile(const QString& name) const {
        QFile f(path(name));
        if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
        return f.readAll();
    }

    QStringList entries() const {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // The history file under whichever spelling it has on disk.
    QByteArray historyBytes() const {
        const QStringList names = entries();
        for (const QString& n : names) {
            if (n.compare(history::kHistoryFile, Qt::CaseInsensitive) == 0) return readFile(n);
        }
        return QByteArray("<missing>");
    }

    QTemporaryDir dir_;
    store::WorkingFolder folder_{dir_.path()};
    history::History h_;
};

}  // namespace history_test
