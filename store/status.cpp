#include "store/status.h"

#include <QFile>
#include <cerrno>
#include <cstring>

namespace store {

QString StoreError::message() const {
    if (written) {
        return QStringLiteral(
                   "ファイル「%1」：変更は書き込みましたが、"
                   "まだディスクに確実には保存されていないおそれがあります（%2）")
            .arg(file, reason);
    }
    if (line > 0) {
        return QStringLiteral("ファイル「%1」の %2 行目：%3").arg(file).arg(line).arg(reason);
    }
    return QStringLiteral("ファイル「%1」：%2").arg(file, reason);
}

QString SystemReason(int err) {
    switch (err) {
        case ENOSPC:
            return QStringLiteral("ディスクの空き容量が足りません");
        case EDQUOT:
            return QStringLiteral("ディスクの使用量の上限（クォータ）を超えています");
        case EACCES:
        case EPERM:
            return QStringLiteral("アクセスが許可されていません");
        case EROFS:
            return QStringLiteral("読み取り専用のディスクです");
        case EIO:
            return QStringLiteral("ディスクの読み書きでエラーが起きました");
        case ENAMETOOLONG:
            return QStringLiteral("ファイル名が長すぎます");
        case ENOENT:
            return QStringLiteral("ファイルまたはフォルダがありません");
    }
    return QString::fromLocal8Bit(std::strerror(err));
}

}  // namespace store
