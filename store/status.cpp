#include "store/status.h"

namespace store {

QString StoreError::message() const {
    if (line > 0) {
        return QStringLiteral("ファイル「%1」の %2 行目：%3").arg(file).arg(line).arg(reason);
    }
    return QStringLiteral("ファイル「%1」：%2").arg(file, reason);
}

}  // namespace store
