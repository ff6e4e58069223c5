// A second start of the program on a folder that a running copy has open.
#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

class SecondStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(runtime.isValid());
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // The help tour off: the program starts without a box.
        QFile settings(folder.filePath(QStringLiteral("設定.TXT")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("\"\x83\x77\x83\x8b\x83\x76\x83\x63\x83\x41\x81\x5b\",0\r\n");
    }
    void TearDown() override {
        for (QProcess* p : started) {
            p->kill();
            p->waitForFinished();
            delete p;
        }
    }

    QProcess* Launch() {
        auto* p = new QProcess;
        started.push_back(p);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        p->setProcessEnvironment(env);
        p->setWorkingDirectory(folder.path());
        p->start(QStringLiteral(HOSHINOTE_BINARY), {});
        EXPECT_TRUE(p->waitForStarted());
        return p;
    }

    // The running copy answers on its socket.
    bool Listening() {
        const QString key = SingleInstance::keyFor(folder.path());
        for (int i = 0; i < 100; ++i) {
            QLocalSocket s;
            s.connectToServer(runtime.path() + QLatin1Char('/') + key);
            if (s.waitForConnected(100)) return true;
            QThread::msleep(50);
        }
        return false;
    }

    QTemporaryDir folder, runtime;
    std::vector<QProcess*> started;
};

}  // namespace

TEST_F(SecondStartTest, HandsOverAndExitsWithStatusZeroAndAStaleLockIsTakenOver) {
    QProcess* first = Launch();
    ASSERT_TRUE(Listening());
    QProcess* second = Launch();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);

    // Killed: its lock stays behind, and the next start takes the folder.
    ::kill(static_cast<pid_t>(first->processId()), SIGKILL);
    ASSERT_TRUE(first->waitForFinished(10000));
    QProcess* third = Launch();
    ASSERT_TRUE(Listening());
    EXPECT_EQ(third->state(), QProcess::Running);
}
