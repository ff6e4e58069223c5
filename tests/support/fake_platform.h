#pragma once

#include <QDate>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "window/platform.h"

// A scripted platform: every dialog must have been announced with an answer;
// an unannounced one fails the test. Every call is recorded with its texts.
class FakePlatform : public Platform {
public:
    struct Dialog {
        bool input = false;
        QString text;  // message, or the input box's prompt
        QString title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        std::optional<Answer> defaultButton;
        QString defaultText;  // input box
    };

    ~FakePlatform() override;

    // The answer to the next message box.
    void Answer(Platform::Answer a = Platform::Answer::Ok) { answers_.push_back(a); }
    // The answer to the next input box (nothing: cancel).
    void Input(std::optional<QString> text) { inputs_.push_back(std::move(text)); }
    // The path the next save dialog returns (nothing: cancel).
    void SaveAs(std::optional<QString> path) { saves_.push_back(std::move(path)); }
    // Every announced answer was taken.
    bool AllAnswered() const { return answers_.empty() && inputs_.empty() && saves_.empty(); }

    std::vector<Dialog> dialogs;
    int beeps = 0;
    int waitPointerDepth = 0;
    qint64 now = 0;
    // Milliseconds each call of the start-up wait asked for.
    std::vector<qint64> waits;
    // Runs at each wait, before the clock moves (to look at the window then).
    std::function<void()> onWait;
    // Runs at each dialog, before it is answered.
    std::function<void(const Dialog&)> onDialog;
    // Milliseconds the clock moves at each look (work takes time).
    qint64 tick = 0;
    QDate today{2026, 12, 8};
    QDateTime currentTime{QDate(2026, 12, 8), QTime(10, 30, 0)};
    struct SaveDialog {
        QString title;
        QString defaultPath;
        QString filter;
    };
    std::vector<SaveDialog> saveDialogs;
    std::vector<QString> helpShown;
    int helpClosed = 0;

    Platform::Answer MessageBox(const QString& text, const QString& title, Icon icon,
                                Buttons buttons,
                                std::optional<Platform::Answer> defaultButton) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    void Beep() override { ++beeps; }
    void SetWaitPointer(bool on) override { waitPointerDepth += on ? 1 : -1; }
    void ProcessPendingEvents() override {}
    qint64 ElapsedMilliseconds() override { return now += tick; }
    void WaitMilliseconds(qint64 ms) override;
    QDate Today() override { return today; }
    QDateTime CurrentTime() override { return currentTime; }
    std::optional<QString> SaveFileName(const QString& title, const QString& defaultPath,
                                        const QString& filter) override;
    void ShowHelp(const QString& filePath, QWidget*) override { helpShown.push_back(filePath); }
    void CloseHelp() override { ++helpClosed; }

    // --- bringing a CSV file in ---
    // The path the next open dialog returns (nothing: cancel).
    void OpenAs(std::optional<QString> path) { opens_.push_back(std::move(path)); }
    std::vector<SaveDialog> openDialogs;  // title, start folder, filter
    // Plays the user of a dialog of the program (sets its controls, clicks a
    // button); without it a dialog fails the test.
    std::function<void(QDialog&)> onExecDialog;
    std::optional<QString> OpenFileName(const QString& title, const QString& startDir,
                                        const QString& filter) override;
    int ExecDialog(QDialog& dialog) override;

private:
    std::deque<Platform::Answer> answers_;
    std::deque<std::optional<QString>> inputs_;
    std::deque<std::optional<QString>> saves_;
    std::deque<std::optional<QString>> opens_;
};
