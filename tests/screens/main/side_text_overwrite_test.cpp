// A side text changed by another program since the page showed it.
#include <QPlainTextEdit>
#include <QPushButton>

#include "tests/support/window_fixture.h"

TEST_F(WindowTest, ASideTextChangedOutsideIsOverwrittenOnlyWhenTheUserSaysYes) {
    WriteMasters();
    WriteFile(QStringLiteral("データ.TXT"), sjis::Title("T1"));
    // メモ_T1.TXT, spelled otherwise than the program would make it.
    const QString memo = QStringLiteral("メモ_T1.TXT");
    WriteFile(memo, "old\r\n");
    Start();
    ASSERT_TRUE(loaded);
    WriteFile(memo, "theirs\r\n");
    auto* page = Find<QPlainTextEdit>("txtSubData_3");
    page->setPlainText(QStringLiteral("mine"));

    fake->Answer(Platform::Answer::No);
    Find<QPushButton>("cmdSubData3")->click();
    ASSERT_EQ(fake->dialogs.size(), 1u);
    const FakePlatform::Dialog& asked = fake->dialogs[0];
    EXPECT_EQ(asked.text, QStringLiteral("「メモ_T1.TXT」はほかのプログラムで変更されています。"
                                         "上書きしますか？"));
    EXPECT_EQ(asked.buttons, Platform::Buttons::YesNo);
    EXPECT_EQ(asked.defaultButton, Platform::Answer::No);
    EXPECT_EQ(ReadFile(memo), "theirs\r\n");

    fake->Answer(Platform::Answer::Yes);
    Find<QPushButton>("cmdSubData3")->click();
    EXPECT_EQ(ReadFile(memo), "mine\r\n");
    // Written by the program itself: the next save asks nothing.
    page->setPlainText(QStringLiteral("again"));
    Find<QPushButton>("cmdSubData3")->click();
    EXPECT_EQ(fake->dialogs.size(), 2u);
    EXPECT_EQ(ReadFile(memo), "again\r\n");
}
