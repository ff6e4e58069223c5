#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <vector>

// The Movie Database (TMDB, API v3): what is asked and what comes back, as
// plain values. Nothing here knows the catalogue.
namespace online {

// --- where the requests go ---

struct Endpoints {
    QUrl api;     // "https://api.themoviedb.org/3"
    QUrl images;  // "https://image.tmdb.org/t/p"; a size and the poster's path follow
};
// TMDB's own, or those of HOSHINOTE_TMDB_API and HOSHINOTE_TMDB_IMAGES when set.
Endpoints EndpointsFromEnvironment();

// --- the user's credential ---

// A v3 API key is 32 hex digits and goes as the query item api_key; a v4 read
// access token is a JWT ("eyJ…", three dot-separated base64url parts) and goes
// as "Authorization: Bearer". Anything else is neither.
enum class CredentialKind { None, ApiKey, Token };
CredentialKind KindOfCredential(const QString& text);

// Kept in the user's configuration ($XDG_CONFIG_HOME), readable by the user
// alone, never in the catalogue folder.
QString LoadCredential();
// Stores it (an empty text removes it); false when the file could not be
// written or made private.
bool SaveCredential(const QString& credential);
// The configuration file's path.
QString CredentialFile();

// --- what comes back ---

struct Candidate {
    int id = 0;
    QString title;
    QString originalTitle;
    QString releaseDate;  // "YYYY-MM-DD" or empty
    QString posterPath;   // "/abc.jpg" or empty
    QString overview;
};

struct FilmDetails {
    QString directors;    // every crew member with the job "Director", joined by "、"
    QString lead;         // the cast member of the lowest order
    QString release;      // "YYYY/MM": the earliest Japanese theatrical date, else release_date
    QString countryCode;  // ISO 3166-1 of the first production country
    QString genre;        // the first genre
    QString cast;  // the first 15 by order, "名前（役名）" or the name, one per line ("\n")
    QString overview;
    QString posterPath;
};

inline constexpr int kCastLines = 15;

// Nothing when the body is not the JSON the request expects.
std::optional<std::vector<Candidate>> ParseSearch(const QByteArray& body);
std::optional<FilmDetails> ParseDetails(const QByteArray& body);

// The requests' addresses (the credential is added by the client).
QUrl SearchUrl(const Endpoints& e, const QString& query, const QString& year);
QUrl DetailsUrl(const Endpoints& e, int id);
// size: "w500" for the picture kept, "w92" for the list of candidates.
QUrl PosterUrl(const Endpoints& e, const QString& size, const QString& posterPath);

}  // namespace online
