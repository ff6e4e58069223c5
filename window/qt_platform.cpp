#include "window/qt_platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTextBrowser>
#include <QThread>
#include <QUrl>
#include <algorithm>

namespace {

QMessageBox::StandardButton ToStandard(Platform::Answer a) {
    switch (a) {
        case Platform::Answer::Ok:
            return QMessageBox::Ok;
        case Platform::Answer::Cancel:
            return QMessageBox::Cancel;
        case Platform::Answer::Yes:
            return QMessageBox::Yes;
        case Platform::Answer::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon ToQtIcon(Platform::Icon icon) {
    switch (icon) {
        case Platform::Icon::None:
            return QMessageBox::NoIcon;
        case Platform::Icon::Information:
            return QMessageBox::Information;
        case Platform::Icon::Warning:
            return QMessageBox::Warning;
        case Platform::Icon::Question:
            return QMessageBox::Question;
        case Platform::Icon::Critical:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// The help viewer's place: its usual size, no larger than the screen's free
// area leaves room for (a title bar and borders), centred on the main window
// and kept within that area.
QRect HelpGeometry(const QRect& owner, const QRect& available) {
    const QSize room = available.size() - QSize(16, 48);
    const QSize size = QSize(720, 640).boundedTo(room);
    QRect place(QPoint(), size);
    place.moveCenter(owner.isValid() ? owner.center() : available.center());
    const QPoint top = available.topLeft() + QPoint(8, 40);
    place.moveLeft(std::clamp(place.left(), top.x(),
                              std::max(top.x(), top.x() + room.width() - size.width())));
    place.moveTop(std::clamp(place.top(), top.y(),
                             std::max(top.y(), top.y() + room.height() - size.height())));
    return place;
}

}  // namespace

QtPlatform::QtPlatform() {
    clock_.start();
}

QtPlatform::~QtPlatform() {
    CloseHelp();
}

Platform::Answer QtPlatform::MessageBox(const QString& text, const QString& title, Icon icon,
                                        Buttons buttons, std::optional<Answer> defaultButton) {
    QMessageBox box(ToQtIcon(icon), title, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    std::vector<Answer> answers;
    switch (buttons) {
        case Buttons::Ok:
            answers = {Answer::Ok};
            break;
        case Buttons::OkCancel:
            answers = {Answer::Ok, Answer::Cancel};
            break;
        case Buttons::YesNo:
            answers = {Answer::Yes, Answer::No};
            break;
    }
    for (Answer a : answers) box.addButton(ToStandard(a));
    box.setDefaultButton(ToStandard(defaultButton.value_or(answers.front())));
    // Closing the box with Escape or its frame counts as the last button.
    box.setEscapeButton(ToStandard(answers.back()));
    const int pressed = box.exec();
    for (Answer a : answers) {
        if (pressed == ToStandard(a)) return a;
    }
    return answers.back();
}

std::optional<QString> QtPlatform::InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

void QtPlatform::Beep() {
    QApplication::beep();
}

void QtPlatform::SetWaitPointer(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtPlatform::ProcessPendingEvents() {
    QApplication::processEvents();
}

qint64 QtPlatform::ElapsedMilliseconds() {
    return clock_.elapsed();
}

void QtPlatform::WaitMilliseconds(qint64 ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

QDate QtPlatform::Today() {
    return QDate::currentDate();
}

QDateTime QtPlatform::CurrentTime() {
    return QDateTime::currentDateTime();
}

std::optional<QString> QtPlatform::SaveFileName(const QString& title, const QString& defaultPath,
                                                const QString& filter) {
    // The dialog asks before it replaces a file.
    const QString path =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), title, defaultPath, filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

void QtPlatform::ShowHelp(const QString& filePath, QWidget* owner) {
    if (!viewer_) {
        viewer_ = new QTextBrowser(nullptr);
        viewer_->setObjectName("HelpViewer");
        viewer_->setAttribute(Qt::WA_DeleteOnClose);
        viewer_->setWindowTitle(QStringLiteral("ホシノートＷ　ヘルプ"));
        QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
        viewer_->setGeometry(HelpGeometry(owner ? owner->frameGeometry() : QRect(), available));
    }
    if (QFileInfo::exists(filePath)) {
        viewer_->setSource(QUrl::fromLocalFile(filePath));
    } else {
        viewer_->setHtml(
            QStringLiteral("<h2>ヘルプ</h2><p>ヘルプファイル「%1」が見つかりません。</p>"
                           "<p>プログラムを起動したフォルダにヘルプファイルを置いてください。</p>")
                .arg(QFileInfo(filePath).fileName().toHtmlEscaped()));
    }
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
}

void QtPlatform::CloseHelp() {
    if (viewer_) viewer_->close();
}

std::optional<QString> QtPlatform::OpenFileName(const QString& title, const QString& startDir,
                                                const QString& filter) {
    const QString path =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), title, startDir, filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}
