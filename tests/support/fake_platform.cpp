#include "tests/support/fake_platform.h"

#include <gtest/gtest.h>

#include <QDialog>

FakePlatform::~FakePlatform() {
    EXPECT_TRUE(answers_.empty()) << answers_.size()
                                  << " announced message box answer(s) were never asked for";
    EXPECT_TRUE(inputs_.empty()) << inputs_.size()
                                 << " announced input box answer(s) were never asked for";
    EXPECT_TRUE(saves_.empty()) << saves_.size()
                                << " announced save dialog answer(s) were never asked for";
    EXPECT_TRUE(opens_.empty()) << opens_.size()
                                << " announced open dialog answer(s) were never asked for";
}

Platform::Answer FakePlatform::MessageBox(const QString& text, const QString& title, Icon icon,
                                          Buttons buttons,
                                          std::optional<Platform::Answer> defaultButton) {
    dialogs.push_back({false, text, title, icon, buttons, defaultButton, {}});
    if (onDialog) onDialog(dialogs.back());
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box: " << title.toStdString() << " / "
                      << text.toStdString();
        return buttons == Buttons::YesNo ? Platform::Answer::No
                                         : (buttons == Buttons::OkCancel ? Platform::Answer::Cancel
                                                                         : Platform::Answer::Ok);
    }
    const Platform::Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

std::optional<QString> FakePlatform::InputBox(const QString& prompt, const QString& title,
                                              const QString& defaultText) {
    dialogs.push_back(
        {true, prompt, title, Icon::None, Buttons::OkCancel, std::nullopt, defaultText});
    if (onDialog) onDialog(dialogs.back());
    if (inputs_.empty()) {
        ADD_FAILURE() << "unexpected input box: " << title.toStdString() << " / "
                      << prompt.toStdString();
        return std::nullopt;
    }
    // Taken apart rather than copied whole: GCC's optimiser takes a copied
    // optional<QString> for uninitialised (-Wmaybe-uninitialized).
    const bool cancelled = !inputs_.front().has_value();
    QString text = cancelled ? QString() : *inputs_.front();
    inputs_.pop_front();
    if (cancelled) return std::nullopt;
    return text;
}

void FakePlatform::WaitMilliseconds(qint64 ms) {
    if (onWait) onWait();
    waits.push_back(ms);
    now += ms;
}

std::optional<QString> FakePlatform::SaveFileName(const QString& title, const QString& defaultPath,
                                                  const QString& filter) {
    saveDialogs.push_back({title, defaultPath, filter});
    if (saves_.empty()) {
        ADD_FAILURE() << "unexpected save dialog: " << title.toStdString();
        return std::nullopt;
    }
    const bool cancelled = !saves_.front().has_value();
    QString path = cancelled ? QString() : *saves_.front();
    saves_.pop_front();
    if (cancelled) return std::nullopt;
    return path;
}

std::optional<QString> FakePlatform::OpenFileName(const QString& title, const QString& startDir,
                                                  const QString& filter) {
    openDialogs.push_back({title, startDir, filter});
    if (opens_.empty()) {
        ADD_FAILURE() << "unexpected open dialog: " << title.toStdString();
        return std::nullopt;
    }
    const bool cancelled = !opens_.front().has_value();
    QString path = cancelled ? QString() : *opens_.front();
    opens_.pop_front();
    if (cancelled) return std::nullopt;
    return path;
}

int FakePlatform::ExecDialog(QDialog& dialog) {
    if (!onExecDialog) {
        ADD_FAILURE() << "unexpected dialog: " << dialog.objectName().toStdString();
        return QDialog::Rejected;
    }
    dialog.setResult(QDialog::Rejected);
    onExecDialog(dialog);
    return dialog.result();
}
