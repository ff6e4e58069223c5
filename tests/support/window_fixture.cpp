#include "tests/support/window_fixture.h"

#include <QDir>
#include <QFile>

#include "screens/screens.h"
#include "tests/support/gui_app.h"

void WindowTest::SetUp() {
    EnsureGuiApplication();
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(cacheDir.isValid());
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cacheDir.path()));
}

void WindowTest::TearDown() {
    window.reset();
    fake.reset();
}

QString WindowTest::Path(const QString& name) const {
    return QDir(dir.path()).filePath(name);
}

void WindowTest::WriteFile(const QString& name, const QByteArray& bytes) const {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray WindowTest::ReadFile(const QString& name) const {
    QFile f(Path(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

bool WindowTest::Exists(const QString& name) const {
    return QFile::exists(Path(name));
}

void WindowTest::WriteMasters(bool helpTour) const {
    WriteFile(QStringLiteral("評価マスタ.txt"), sjis::kEvaluationMaster);
    WriteFile(QStringLiteral("所有マスタ.txt"), sjis::kOwnershipMaster);
    WriteFile(QStringLiteral("設定.TXT"), helpTour ? sjis::kSettingsOn : sjis::kSettingsOff);
}

frmMain& WindowTest::Start() {
    window = std::make_unique<frmMain>(*fake, dir.path());
    AttachScreens(*window);
    loaded = window->Form_Load();
    return *window;
}

frmMain& WindowTest::Restart() {
    window.reset();
    return Start();
}
