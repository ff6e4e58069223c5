#pragma once

#include <QApplication>

#include "window/platform.h"

// The platform of the benchmarks: OK on every box, a name never given before
// in every input box, no waiting.
class QuietPlatform : public Platform {
public:
    Answer MessageBox(const QString&, const QString&, Icon, Buttons,
                      std::optional<Answer> d) override {
        return d.value_or(Answer::Ok);
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
        return QStringLiteral("新しい作品%1").arg(++names_);
    }
    void Beep() override { ++beeps; }
    void SetWaitPointer(bool) override {}
    void ProcessPendingEvents() override { QApplication::processEvents(); }
    qint64 ElapsedMilliseconds() override { return 0; }
    void WaitMilliseconds(qint64) override {}
    QDate Today() override { return QDate(2026, 12, 8); }
    void ShowHelp(const QString&, QWidget*) override {}
    void CloseHelp() override {}

    int beeps = 0;

private:
    int names_ = 0;
};
