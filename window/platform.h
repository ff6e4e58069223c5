#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

class QDialog;
class QWidget;

// Everything modal or environmental the window needs, behind one seam so that
// tests can script it.
class Platform {
public:
    enum class Icon { None, Information, Warning, Question, Critical };
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Platform() = default;

    // A modal message box; returns the button pressed. The default button is
    // the first of the buttons unless given.
    virtual Answer MessageBox(const QString& text, const QString& title, Icon icon,
                              Buttons buttons = Buttons::Ok,
                              std::optional<Answer> defaultButton = std::nullopt) = 0;
    // A modal input box; nothing when cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    virtual void Beep() = 0;
    virtual void SetWaitPointer(bool on) = 0;
    virtual void ProcessPendingEvents() = 0;
    // Milliseconds of a steady clock, and the sleep used for the start-up floor.
    virtual qint64 ElapsedMilliseconds() = 0;
    virtual void WaitMilliseconds(qint64 ms) = 0;
    virtual QDate Today() = 0;
    // The date and time now (names of backup folders).
    virtual QDateTime CurrentTime() { return QDateTime::currentDateTime(); }
    // A modal save dialog starting at the default path, offering the filter
    // (e.g. "CSV ファイル (*.csv)"); the chosen path, nothing when cancelled.
    virtual std::optional<QString> SaveFileName(const QString& title, const QString& defaultPath,
                                                const QString& filter) {
        (void)title;
        (void)defaultPath;
        (void)filter;
        return std::nullopt;
    }
    // Opens the help document (an HTML file) in the program's viewer; closes it.
    virtual void ShowHelp(const QString& filePath, QWidget* owner) = 0;
    virtual void CloseHelp() = 0;

    // --- bringing a CSV file in ---
    // A modal open dialog starting in the folder, offering the filter; the
    // chosen path, nothing when cancelled.
    virtual std::optional<QString> OpenFileName(const QString& title, const QString& startDir,
                                                const QString& filter) {
        (void)title;
        (void)startDir;
        (void)filter;
        return std::nullopt;
    }
    // Runs a dialog of the program modally; its result (QDialog::Accepted or
    // Rejected).
    virtual int ExecDialog(QDialog& dialog);
};
