#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>
#include <memory>

#include "tests/support/fake_platform.h"
#include "window/frm_main.h"

// CP932 bytes of texts the window tests use often.
namespace sjis {
inline const QByteArray kSettingsOff = "\"\x83\x77\x83\x8b\x83\x76\x83\x63\x83\x41\x81\x5b\",0\r\n";
inline const QByteArray kSettingsOn = "\"\x83\x77\x83\x8b\x83\x76\x83\x63\x83\x41\x81\x5b\",1\r\n";
// 総合 感動・涙 笑い ほのぼの スリル 恐怖戦慄 セクシー
inline const QByteArray kEvaluationMaster =
    "\"\x91\x8d\x8d\x87\"\r\n\"\x8a\xb4\x93\xae\x81\x45\x97\xdc\"\r\n\"\x8f\xce\x82\xa2\"\r\n"
    "\"\x82\xd9\x82\xcc\x82\xda\x82\xcc\"\r\n\"\x83\x58\x83\x8a\x83\x8b\"\r\n"
    "\"\x8b\xb0\x95\x7c\x90\xed\x9c\xc9\"\r\n\"\x83\x5a\x83\x4e\x83\x56\x81\x5b\"\r\n";
// ＤＶＤ ブルーレイ ビデオ 配信
inline const QByteArray kOwnershipMaster =
    "\"\x82\x63\x82\x75\x82\x63\"\r\n\"\x83\x75\x83\x8b\x81\x5b\x83\x8c\x83\x43\"\r\n"
    "\"\x83\x72\x83\x66\x83\x49\"\r\n\"\x94\x7a\x90\x4d\"\r\n";

// The record of a title with every other field empty.
inline QByteArray Title(const QByteArray& name) {
    return "\"" + name + "\",,,,,,,0,0,0,0,0,0,0,,,,\"\"\r\n";
}

// Titles "T1".."Tn".
inline QByteArray Titles(int n) {
    QByteArray bytes;
    for (int i = 1; i <= n; ++i) bytes += Title("T" + QByteArray::number(i));
    return bytes;
}
}  // namespace sjis

// A fresh working folder per test, the scripted platform, and the window made
// the way the program makes it. The desktop's thumbnails go to a cache folder
// of the test's own (XDG_CACHE_HOME), never to the user's.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString Path(const QString& name) const;
    void WriteFile(const QString& name, const QByteArray& bytes) const;
    QByteArray ReadFile(const QString& name) const;
    bool Exists(const QString& name) const;
    // The masters, and the settings with the help tour off (or on).
    void WriteMasters(bool helpTour = false) const;

    // Makes the window with every screen and runs the start-up; the start-up
    // boxes of the help tour must have been announced.
    frmMain& Start();
    // A second window on the same folder (a restart).
    frmMain& Restart();

    template <class T>
    T* Find(const QString& name) const {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << "no control " << name.toStdString();
        return found;
    }

    QTemporaryDir dir;
    QTemporaryDir cacheDir;
    std::unique_ptr<FakePlatform> fake = std::make_unique<FakePlatform>();
    std::unique_ptr<frmMain> window;
    bool loaded = false;
};
