#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "online/tmdb.h"

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace online {

// Why a request gave nothing.
enum class Failure {
    None,
    Unauthorized,  // 401: the credential was refused
    NotFound,      // 404
    RateLimited,   // 429, also after waiting once for Retry-After
    Network,       // no connection, or another error of the transfer
    Timeout,       // nothing moved for the transfer time-out
    Server,        // another HTTP error (httpStatus tells which)
    BadResponse,   // a body that is not the JSON expected
    Cancelled,     // cancel() was called
};

template <class T>
struct Result {
    Failure failure = Failure::None;
    int httpStatus = 0;
    QString detail;  // the network's own words, for Network
    T value{};
    bool ok() const { return failure == Failure::None; }
};

// Asks TMDB, one request at a time, never blocking: each answer comes to its
// callback from the event loop. A new request or cancel() aborts the one
// under way, whose callback then hears nothing.
class TmdbClient : public QObject {
    Q_OBJECT
public:
    static constexpr int kTransferTimeoutMs = 15000;
    // Waited for Retry-After at most this long; a longer wait is told at once.
    static constexpr int kLongestRetryWaitSeconds = 30;

    TmdbClient(Endpoints endpoints, QString credential, QObject* parent = nullptr);
    ~TmdbClient() override;

    void setCredential(const QString& credential) { credential_ = credential; }
    void setTransferTimeout(int ms) { timeoutMs_ = ms; }
    bool busy() const;

    // Films whose title matches, narrowed to the year when one is given; when
    // that finds none, asked once more without the year.
    void Search(const QString& query, const QString& year,
                std::function<void(const Result<std::vector<Candidate>>&)> done);
    void Details(int id, std::function<void(const Result<FilmDetails>&)> done);
    // The poster's bytes at a size ("w500", "w92").
    void Poster(const QString& size, const QString& posterPath,
                std::function<void(const Result<QByteArray>&)> done);

    // Aborts what is under way; its callback is not called.
    void cancel();

private:
    using Finished =
        std::function<void(Failure, int status, const QString& detail, const QByteArray&)>;
    // Only TMDB's API hears the credential, never the image server.
    void Get(const QUrl& url, bool withCredential, Finished finished, bool retried = false);
    void Arrived(QNetworkReply* reply, const QUrl& url, bool withCredential,
                 const Finished& finished, bool retried);

    Endpoints endpoints_;
    QString credential_;
    int timeoutMs_ = kTransferTimeoutMs;
    QNetworkAccessManager* network_;
    QPointer<QNetworkReply> reply_;
    QTimer* retryTimer_;
    quint64 generation_ = 0;  // moves on at every request and cancel
};

}  // namespace online
