#pragma once
// What became of one fetch: fetched, or why not, in words a user can act on.
// Some failures can never succeed on a retry (an address that cannot be sent,
// a body over its cap); the retry loops give up on those at once.

#include <QString>

namespace site {

enum class TFetchFailure {
  None,
  BadAddress,   // not an http address with a host, or a blank or control character in it
  NotResolved,  // the host name was not found
  Refused,      // nothing listens there, or the network is unreachable
  NoAnswer,     // nothing arrived within the wait bound (connecting or waiting for data)
  TooSlow,      // less than the floor arrived within the low-speed window
  TooLarge,     // the body, or the length it announced, is over the cap
  CutOff,       // the connection ended before the whole answer had arrived
  Network,      // any other failure of the transfer
  Stopped,      // given up because the program closes or its work was stopped
};

struct TFetchResult {
  TFetchFailure Failure = TFetchFailure::None;
  QString Address;  // "host:port" of the URL, when it has one
  QString Reason;   // what went wrong, e.g. "connection refused"; empty on success
  long HttpStatus = 0;  // of a fetch that got an answer: 200, or 404 for the site's error page

  explicit operator bool() const { return Failure == TFetchFailure::None; }
  // Trying again cannot help.
  bool IsFinal() const { return Failure == TFetchFailure::BadAddress || Failure == TFetchFailure::TooLarge; }
  // "127.0.0.1:8080: connection refused", or the reason alone without an address.
  QString Describe() const { return Address.isEmpty() ? Reason : Address + QStringLiteral(": ") + Reason; }
};

}  // namespace site
