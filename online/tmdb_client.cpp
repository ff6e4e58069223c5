#include "online/tmdb_client.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrlQuery>

namespace online {
namespace {

// Seconds to wait by a Retry-After header (seconds, or an HTTP date); -1 when
// it says nothing usable.
int RetryAfterSeconds(const QByteArray& header) {
    bool number = false;
    const int seconds = header.trimmed().toInt(&number);
    if (number) return seconds >= 0 ? seconds : -1;
    const QDateTime when =
        QDateTime::fromString(QString::fromLatin1(header.trimmed()), Qt::RFC2822Date);
    if (!when.isValid()) return -1;
    return int(std::max<qint64>(0, QDateTime::currentDateTimeUtc().secsTo(when)));
}

}  // namespace

TmdbClient::TmdbClient(Endpoints endpoints, QString credential, QObject* parent)
    : QObject(parent),
      endpoints_(std::move(endpoints)),
      credential_(std::move(credential)),
      network_(new QNetworkAccessManager(this)),
      retryTimer_(new QTimer(this)) {
    retryTimer_->setSingleShot(true);
}

TmdbClient::~TmdbClient() {
    cancel();
}

bool TmdbClient::busy() const {
    return reply_ || retryTimer_->isActive();
}

void TmdbClient::cancel() {
    ++generation_;
    retryTimer_->stop();
    retryTimer_->disconnect();
    if (QNetworkReply* reply = reply_) {
        reply_ = nullptr;
        reply->abort();
        reply->deleteLater();
    }
}

void TmdbClient::Get(const QUrl& address, bool withCredential, Finished finished, bool retried) {
    cancel();
    QUrl url = address;
    QNetworkRequest request;
    const CredentialKind kind =
        withCredential ? KindOfCredential(credential_) : CredentialKind::None;
    if (kind == CredentialKind::ApiKey) {
        QUrlQuery q(url);
        q.addQueryItem(QStringLiteral("api_key"), credential_);
        url.setQuery(q);
    } else if (kind == CredentialKind::Token) {
        request.setRawHeader("Authorization", "Bearer " + credential_.toLatin1());
    }
    request.setUrl(url);
    request.setRawHeader("Accept", "application/json");
    request.setTransferTimeout(timeoutMs_);
    QNetworkReply* reply = network_->get(request);
    reply_ = reply;
    const quint64 generation = generation_;
    connect(reply, &QNetworkReply::finished, this, [=, this] {
        reply->deleteLater();
        if (generation != generation_) return;
        reply_ = nullptr;
        Arrived(reply, address, withCredential, finished, retried);
    });
}

void TmdbClient::Arrived(QNetworkReply* reply, const QUrl& url, bool withCredential,
                         const Finished& finished, bool retried) {
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 429 && !retried) {
        const int wait = RetryAfterSeconds(reply->rawHeader("Retry-After"));
        if (wait >= 0 && wait <= kLongestRetryWaitSeconds) {
            connect(retryTimer_, &QTimer::timeout, this,
                    [=, this] { Get(url, withCredential, finished, true); });
            retryTimer_->start(wait * 1000);
            return;
        }
    }
    switch (status) {
        case 401:
            return finished(Failure::Unauthorized, status, {}, {});
        case 404:
            return finished(Failure::NotFound, status, {}, {});
        case 429:
            return finished(Failure::RateLimited, status, {}, {});
        default:
            break;
    }
    if (status >= 400) return finished(Failure::Server, status, {}, {});
    switch (reply->error()) {
        case QNetworkReply::NoError:
            return finished(Failure::None, status, {}, reply->readAll());
        // The transfer time-out aborts the reply: no cancel of ours reaches here.
        case QNetworkReply::OperationCanceledError:
        case QNetworkReply::TimeoutError:
            return finished(Failure::Timeout, status, {}, {});
        default:
            return finished(Failure::Network, status, reply->errorString(), {});
    }
}

void TmdbClient::Search(const QString& query, const QString& year,
                        std::function<void(const Result<std::vector<Candidate>>&)> done) {
    Get(SearchUrl(endpoints_, query, year), true,
        [=, this](Failure f, int status, const QString& detail, const QByteArray& body) {
            Result<std::vector<Candidate>> r{f, status, detail, {}};
            if (r.ok()) {
                std::optional<std::vector<Candidate>> found = ParseSearch(body);
                if (!found) {
                    r.failure = Failure::BadResponse;
                } else if (found->empty() && !year.isEmpty()) {
                    return Search(query, QString(), done);
                } else {
                    r.value = std::move(*found);
                }
            }
            done(r);
        });
}

void TmdbClient::Details(int id, std::function<void(const Result<FilmDetails>&)> done) {
    Get(DetailsUrl(endpoints_, id), true,
        [done](Failure f, int status, const QString& detail, const QByteArray& body) {
            Result<FilmDetails> r{f, status, detail, {}};
            if (r.ok()) {
                if (std::optional<FilmDetails> details = ParseDetails(body)) {
                    r.value = std::move(*details);
                } else {
                    r.failure = Failure::BadResponse;
                }
            }
            done(r);
        });
}

void TmdbClient::Poster(const QString& size, const QString& posterPath,
                        std::function<void(const Result<QByteArray>&)> done) {
    Get(PosterUrl(endpoints_, size, posterPath), false,
        [done](Failure f, int status, const QString& detail, const QByteArray& body) {
            done({f, status, detail, body});
        });
}

}  // namespace online
