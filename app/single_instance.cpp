#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

const QByteArray kRaise = "raise\n";
const QByteArray kRaised = "ok\n";

}  // namespace

SingleInstance::SingleInstance(const QString& folderPath, std::function<void()> raise,
                               QObject* parent)
    : QObject(parent), key_(keyFor(folderPath)), raise_(std::move(raise)) {
    connect(&server_, &QLocalServer::newConnection, this, [this] { answer(); });
}

QString SingleInstance::keyFor(const QString& folderPath) {
    const QString canonical = QFileInfo(folderPath).canonicalFilePath();
    const QByteArray digest =
        QCryptographicHash::hash((canonical.isEmpty() ? folderPath : canonical).toUtf8(),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(32);
    return QStringLiteral("hoshinote-") + QString::fromLatin1(digest);
}

SingleInstance::Claim SingleInstance::claim(int answerMilliseconds) {
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) runtime = QDir::tempPath();
    const QString socket = runtime + QLatin1Char('/') + key_;
    lock_ = std::make_unique<QLockFile>(socket + QStringLiteral(".lock"));
    // Never stale by age: only a lock whose process is gone is taken over.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        // A socket left by a crashed copy would refuse the name.
        QLocalServer::removeServer(socket);
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        (void)server_.listen(socket);
        return Claim::First;
    }
    QLocalSocket running;
    running.connectToServer(socket);
    if (running.waitForConnected(answerMilliseconds)) {
        running.write(kRaise);
        if (running.waitForBytesWritten(answerMilliseconds)) {
            QByteArray reply;
            while (!reply.contains('\n') && running.waitForReadyRead(answerMilliseconds)) {
                reply += running.readAll();
            }
            if (reply == kRaised) return Claim::HandedOver;
        }
    }
    return Claim::Unanswered;
}

void SingleInstance::answer() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) return;
            if (socket->readLine() != kRaise) return;
            if (raise_) raise_();
            socket->write(kRaised);
            socket->flush();
        });
    }
}
