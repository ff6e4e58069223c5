#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

// One window per catalogue folder, for one user on one machine: a lock and a
// local socket in the runtime folder (never in the catalogue folder), both
// named from the folder's canonical path.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        First,       // this process holds the folder; raise() hears later starts
        HandedOver,  // a running copy has it and came to the front
        Unanswered,  // a running copy has it and did not answer in time
    };

    SingleInstance(const QString& folderPath, std::function<void()> raise,
                   QObject* parent = nullptr);

    // A lock left by a process that is gone is taken over.
    Claim claim(int answerMilliseconds = 2000);

    // The name of the socket and of the lock (without ".lock") for a folder.
    static QString keyFor(const QString& folderPath);

private:
    void answer();

    QString key_;
    std::function<void()> raise_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};
