#pragma once
// The two one-shot fetches every network access goes through: one HTTP/1.0 GET
// over a connection of its own, with nothing (connection, cookies, DNS cache,
// headers) kept from one call to the next, so any number of threads may fetch
// at once. The status code is never looked at: a 404 page or a redirect's own
// body is a fetched body like any other.

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>

namespace site {

inline constexpr std::chrono::milliseconds kDataTimeout{90000};
inline constexpr qint64 kMaxBodyBytes = qint64(256) * 1024 * 1024;

struct TFetchOptions {
  // Longest wait for data once the connection stands; the connection attempt
  // itself is bounded by the platform only.
  std::chrono::milliseconds DataTimeout = kDataTimeout;
  // A longer body is a failure, so a hostile server cannot exhaust memory.
  qint64 MaxBodyBytes = kMaxBodyBytes;
};

// The header lines sent after the request line, in their order; empty when URL
// is not an http URL with a host.
QByteArrayList RequestHeaders(const QString& URL);

// On success Lines holds the decoded body, one entry per line; on failure
// Lines is untouched. Terminating (the application shutting down) abandons a
// fetch at once and makes a new one fail without connecting.
bool FetchText(const QString& URL, QStringList& Lines, const std::atomic<bool>& Terminating,
               const TFetchOptions& Options = {});

// On success Buffer holds exactly the body; on failure it is untouched.
bool FetchBytes(const QString& URL, QByteArray& Buffer, const std::atomic<bool>& Terminating,
                const TFetchOptions& Options = {});

}  // namespace site
