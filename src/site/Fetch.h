#pragma once
// The two one-shot fetches every network access goes through: one HTTP/1.0 GET
// over a connection of its own, with nothing (connection, cookies, DNS cache,
// headers) kept from one call to the next, so any number of threads may fetch
// at once. The status code is never looked at: a 404 page or a redirect's own
// body is a fetched body like any other.
//
// Every fetch ends: connecting, each wait for data and a transfer that only
// trickles are bounded, and it gives up within one poll slice once the program
// closes or the work it serves is stopped. Bodies have caps that fit what the
// site serves, so fifty workers, a search and the thumbnail pass together stay
// near 1 GiB whatever a hostile server sends.

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>

#include "site/FetchResult.h"

namespace site {

inline constexpr std::chrono::milliseconds kConnectTimeout{90000};
inline constexpr std::chrono::milliseconds kDataTimeout{90000};
// A transfer must deliver at least this much in every stretch of this long:
// a server that sends a byte now and then would hold a worker forever.
inline constexpr qint64 kLowSpeedBytes = 1024;
inline constexpr std::chrono::milliseconds kLowSpeedWindow{90000};
// Listing pages are tens of KiB and the index of all names a few MiB.
inline constexpr qint64 kMaxPageBytes = qint64(8) * 1024 * 1024;
// A line list costs far more than its bytes; no page of the site comes near this.
inline constexpr qsizetype kMaxPageLines = qsizetype(1) << 20;
// Wallpapers are a few hundred KiB; the largest sizes stay far below this.
inline constexpr qint64 kMaxPictureBytes = qint64(16) * 1024 * 1024;

struct TFetchOptions {
  std::chrono::milliseconds ConnectTimeout = kConnectTimeout;  // name lookup and TCP connect
  std::chrono::milliseconds DataTimeout = kDataTimeout;        // each wait for data once connected
  qint64 LowSpeedBytes = kLowSpeedBytes;
  std::chrono::milliseconds LowSpeedWindow = kLowSpeedWindow;
  qint64 MaxPageBytes = kMaxPageBytes;        // FetchText
  qsizetype MaxPageLines = kMaxPageLines;     // FetchText
  qint64 MaxPictureBytes = kMaxPictureBytes;  // FetchBytes
};

// When a fetch gives up early. A fetch never starts once the program is
// closing; one whose work is no longer wanted still goes out (a stopped search
// still asks for its pages) but gives up at its first poll slice.
struct TFetchStop {
  TFetchStop(const std::atomic<bool>& terminating, const std::atomic<bool>* alive = nullptr)
      : Terminating(terminating), Alive(alive) {}
  const std::atomic<bool>& Terminating;  // the program closes
  const std::atomic<bool>* Alive;        // the run or pass the fetch serves; false: stopped
  bool GivenUp() const { return Terminating.load() || (Alive && !Alive->load()); }
};

// The header lines sent after the request line, in their order; empty when URL
// is not an http URL with a host.
QByteArrayList RequestHeaders(const QString& URL);

// Why URL can never be fetched ("not an http address"); empty when it can.
QString AddressProblem(const QString& URL);

// On success Lines holds the decoded body, one entry per line; on failure
// Lines is untouched.
TFetchResult FetchText(const QString& URL, QStringList& Lines, const TFetchStop& Stop,
                       const TFetchOptions& Options = {});

// On success Buffer holds exactly the body; on failure it is untouched.
TFetchResult FetchBytes(const QString& URL, QByteArray& Buffer, const TFetchStop& Stop,
                        const TFetchOptions& Options = {});

}  // namespace site
