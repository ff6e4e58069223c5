#include "app/qt_japanese.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "tests/support/gui_app.h"
#include "window/qt_platform.h"

namespace {

// Shows a box through the real platform and returns the captions of its
// buttons in their order, pressing the last one.
QStringList ButtonCaptions(Platform::Buttons buttons) {
    QStringList captions;
    QTimer::singleShot(0, [&captions] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        const auto list = box->buttons();
        for (QAbstractButton* b : list) captions << b->text();
        list.back()->click();
    });
    QtPlatform platform;
    platform.MessageBox(QStringLiteral("本文"), QStringLiteral("題"), Platform::Icon::Question,
                        buttons, std::nullopt);
    return captions;
}

}  // namespace

TEST(QtJapanese, StandardTextsReadJapaneseOnceLoaded) {
    EnsureGuiApplication();
    QTemporaryDir empty;
    ASSERT_FALSE(InstallQtJapanese(*qApp, empty.path()));
    EXPECT_EQ(ButtonCaptions(Platform::Buttons::YesNo), (QStringList{"&Yes", "&No"}));

    ASSERT_TRUE(InstallQtJapanese(*qApp));
    // Shown as "はい(Y)" and "いいえ(N)", with the keys underlined.
    EXPECT_EQ(ButtonCaptions(Platform::Buttons::YesNo),
              (QStringList{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}));
    EXPECT_EQ(ButtonCaptions(Platform::Buttons::OkCancel),
              (QStringList{QStringLiteral("OK"), QStringLiteral("キャンセル")}));

    QLineEdit field;
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    ASSERT_FALSE(menu->actions().isEmpty());
    EXPECT_EQ(menu->actions().front()->text(), QStringLiteral("元に戻す(&U)\tCtrl+Z"));
}
