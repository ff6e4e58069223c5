#include "store/help_document.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>

#include "tests/support/folder_helpers.h"

namespace {

// The folder's copy only when it is there and newer; the installed copy
// otherwise; the folder's name when there is neither.
TEST(HelpDocument, TheFoldersCopyOnlyWhenNewer) {
    testsupport::TempFolder f;
    const QString mine = f.file("mine.html"), installed = f.file("installed.html");
    const QString none = f.file("none.html");
    auto stamp = [](const QString& path, int secondsAgo) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo),
                                     QFileDevice::FileModificationTime));
    };
    f.write("mine.html", "<p>");
    f.write("installed.html", "<p>");
    stamp(mine, 10);
    stamp(installed, 100);
    EXPECT_EQ(store::ChooseHelpDocument(mine, installed), mine);
    stamp(mine, 100);  // as old: the installed one
    EXPECT_EQ(store::ChooseHelpDocument(mine, installed), installed);
    stamp(mine, 1000);
    EXPECT_EQ(store::ChooseHelpDocument(mine, installed), installed);
    EXPECT_EQ(store::ChooseHelpDocument(none, installed), installed);
    EXPECT_EQ(store::ChooseHelpDocument(mine, QString()), mine);
    EXPECT_EQ(store::ChooseHelpDocument(none, none), none);
}

}  // namespace
