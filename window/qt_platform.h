#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTextBrowser>

#include "window/platform.h"

// The platform seam on Qt: QMessageBox and QInputDialog (the window title is
// the box's title), QFileDialog for saving, the system beep, a steady clock, and a QTextBrowser
// window for the help document.
class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    Answer MessageBox(const QString& text, const QString& title, Icon icon, Buttons buttons,
                      std::optional<Answer> defaultButton) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    void Beep() override;
    void SetWaitPointer(bool on) override;
    void ProcessPendingEvents() override;
    qint64 ElapsedMilliseconds() override;
    void WaitMilliseconds(qint64 ms) override;
    QDate Today() override;
    QDateTime CurrentTime() override;
    std::optional<QString> SaveFileName(const QString& title, const QString& defaultPath,
                                        const QString& filter) override;
    void ShowHelp(const QString& filePath, QWidget* owner) override;
    void CloseHelp() override;

    // --- bringing a CSV file in ---
    std::optional<QString> OpenFileName(const QString& title, const QString& startDir,
                                        const QString& filter) override;

    // The viewer window, while it is open.
    QTextBrowser* helpViewer() const { return viewer_; }

private:
    QElapsedTimer clock_;
    QPointer<QTextBrowser> viewer_;
};
