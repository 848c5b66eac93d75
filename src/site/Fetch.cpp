#include "site/Fetch.h"

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>

#include "site/TextDecode.h"
#include "site/Units.h"

namespace site {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How often a fetch looks at its stop flags and its bounds.
constexpr milliseconds kPollSlice{50};

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TUrlDeleter {
  void operator()(CURLU* U) const { curl_url_cleanup(U); }
};
struct TEasyDeleter {
  void operator()(CURL* E) const { curl_easy_cleanup(E); }
};
struct TMultiDeleter {
  void operator()(CURLM* M) const { curl_multi_cleanup(M); }
};
struct TListDeleter {
  void operator()(curl_slist* L) const { curl_slist_free_all(L); }
};
using TUrlPtr = std::unique_ptr<CURLU, TUrlDeleter>;
using TEasyPtr = std::unique_ptr<CURL, TEasyDeleter>;
using TMultiPtr = std::unique_ptr<CURLM, TMultiDeleter>;
using TListPtr = std::unique_ptr<curl_slist, TListDeleter>;

std::optional<QByteArray> UrlPart(CURLU* U, CURLUPart Part, unsigned Flags = 0) {
  char* text = nullptr;
  if (curl_url_get(U, Part, &text, Flags) != CURLUE_OK) return std::nullopt;
  QByteArray value(text);
  curl_free(text);
  return value;
}

struct TRequest {
  TUrlPtr Url;             // what libcurl connects to and asks for
  QByteArrayList Headers;  // in the order they go on the wire
  QString Address;         // "host:port", for reports
};

bool HasBlankOrControl(const QString& URL) {
  return std::any_of(URL.begin(), URL.end(), [](QChar c) { return c.unicode() <= 0x20 || c.unicode() == 0x7F; });
}

// The URL is taken as written (no dot-segment clean-up); user name, password
// and fragment are dropped, as no authorization goes out. On failure Reason
// says why the address cannot be fetched.
std::optional<TRequest> MakeRequest(const QString& URL, QString* Reason = nullptr) {
  auto refuse = [&](const char* why) -> std::optional<TRequest> {
    if (Reason) *Reason = QString::fromLatin1(why);
    return std::nullopt;
  };
  // libcurl would send some of these as they are, and a blank would split the request line.
  if (HasBlankOrControl(URL)) return refuse("a blank or control character in the address");
  TUrlPtr url(curl_url());
  if (!url) return refuse("out of memory");
  const QByteArray utf8 = URL.toUtf8();
  if (curl_url_set(url.get(), CURLUPART_URL, utf8.constData(), CURLU_PATH_AS_IS | CURLU_NON_SUPPORT_SCHEME) !=
      CURLUE_OK)
    return refuse("not an http address");
  const auto scheme = UrlPart(url.get(), CURLUPART_SCHEME);
  const auto host = UrlPart(url.get(), CURLUPART_HOST);
  const auto port = UrlPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
  if (!scheme || scheme->compare("http", Qt::CaseInsensitive) != 0) return refuse("not an http address");
  if (!host || host->isEmpty() || !port) return refuse("no host in the address");
  curl_url_set(url.get(), CURLUPART_USER, nullptr, 0);
  curl_url_set(url.get(), CURLUPART_PASSWORD, nullptr, 0);
  curl_url_set(url.get(), CURLUPART_OPTIONS, nullptr, 0);
  curl_url_set(url.get(), CURLUPART_FRAGMENT, nullptr, 0);

  TRequest request{std::move(url), {}, QString::fromUtf8(*host + ':' + *port)};
  QByteArray hostLine = "Host: " + *host;
  if (*port != "80") hostLine += ":" + *port;
  request.Headers << hostLine << "Keep-Alive: 300" << "Connection: keep-alive"
                  << "User-Agent: Mozilla/4.0 (compatible; Synapse)";
  return request;
}

TListPtr MakeHeaderList(const QByteArrayList& Lines) {
  curl_slist* list = nullptr;
  for (const QByteArray& line : Lines) {
    curl_slist* grown = curl_slist_append(list, line.constData());
    if (!grown) {
      curl_slist_free_all(list);
      return nullptr;
    }
    list = grown;
  }
  return TListPtr(list);
}

struct TTransfer {
  CURL* Easy = nullptr;
  qint64 MaxBody = 0;
  QByteArray Body;
  bool OverCap = false;
  bool Connected = false;
  Clock::time_point LastData;
  // The low-speed floor: the bytes since Mark must reach the floor before the
  // window since MarkTime runs out.
  qint64 Received = 0;
  qint64 Mark = 0;
  Clock::time_point MarkTime;
};

void Arrived(TTransfer& T, size_t Length) {
  T.LastData = Clock::now();
  T.Received += qint64(Length);
}

size_t OnBody(char* Data, size_t Size, size_t Count, void* User) {
  auto* t = static_cast<TTransfer*>(User);
  const qint64 length = qint64(Size * Count);
  Arrived(*t, size_t(length));
  if (length > t->MaxBody - t->Body.size()) {
    t->OverCap = true;
    return CURL_WRITEFUNC_ERROR;
  }
  // Growth stays within the cap, so a body near it never holds twice its size;
  // an announced length is reserved at once.
  const qint64 needed = t->Body.size() + length;
  if (needed > t->Body.capacity()) {
    curl_off_t announced = -1;
    if (t->Body.isEmpty()) curl_easy_getinfo(t->Easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    const qint64 grown = std::max<qint64>({needed, qint64(announced), 2 * qint64(t->Body.capacity())});
    t->Body.reserve(qsizetype(std::min(grown, t->MaxBody)));
  }
  t->Body.append(Data, qsizetype(length));
  return size_t(length);
}

size_t OnHeader(char*, size_t Size, size_t Count, void* User) {
  Arrived(*static_cast<TTransfer*>(User), Size * Count);
  return Size * Count;
}

// Called once the connection stands, just before the request goes out: from
// here on every wait for data is bounded.
int OnConnected(void* User, char*, char*, int, int) {
  auto* t = static_cast<TTransfer*>(User);
  t->Connected = true;
  t->LastData = t->MarkTime = Clock::now();
  return CURL_PREREQFUNC_OK;
}

TFetchResult Failed(TFetchFailure Failure, QString Reason) { return {Failure, QString(), std::move(Reason)}; }

QString ConnectFailure(CURL* E) {
  long error = 0;
  curl_easy_getinfo(E, CURLINFO_OS_ERRNO, &error);
  switch (error) {
    case ECONNREFUSED: return QStringLiteral("connection refused");
    case ENETUNREACH: return QStringLiteral("network unreachable");
    case EHOSTUNREACH: return QStringLiteral("host unreachable");
    case 0: return QStringLiteral("could not connect");
    default: return QStringLiteral("could not connect: ") + QString::fromLocal8Bit(std::strerror(int(error)));
  }
}

TFetchResult Classify(CURLcode Code, CURL* E, const TTransfer& T, const TFetchOptions& Options) {
  switch (Code) {
    case CURLE_COULDNT_RESOLVE_HOST:
      return Failed(TFetchFailure::NotResolved, QStringLiteral("host name not found"));
    case CURLE_COULDNT_CONNECT:
      return Failed(TFetchFailure::Refused, ConnectFailure(E));
    case CURLE_OPERATION_TIMEDOUT:
      return Failed(TFetchFailure::NoAnswer, T.Connected ? "no answer within " + DurationText(Options.DataTimeout)
                                                         : "no connection within " + DurationText(Options.ConnectTimeout));
    case CURLE_FILESIZE_EXCEEDED:
    case CURLE_WRITE_ERROR:
      return Failed(TFetchFailure::TooLarge, "larger than " + ByteCountText(T.MaxBody));
    case CURLE_PARTIAL_FILE:
      return Failed(TFetchFailure::CutOff, QStringLiteral("the answer was cut off"));
    case CURLE_GOT_NOTHING:
      return Failed(TFetchFailure::CutOff, QStringLiteral("the connection closed without an answer"));
    case CURLE_RECV_ERROR:
      return Failed(TFetchFailure::CutOff, QStringLiteral("the connection broke off"));
    default:
      return Failed(TFetchFailure::Network, QString::fromLatin1(curl_easy_strerror(Code)));
  }
}

TFetchResult FetchBody(const QString& URL, const TFetchStop& Stop, const TFetchOptions& Options, qint64 MaxBody,
                       QByteArray& Body) {
  QString why;
  std::optional<TRequest> request = MakeRequest(URL, &why);
  if (!request) return Failed(TFetchFailure::BadAddress, why);
  auto finish = [&](TFetchResult result) {
    result.Address = request->Address;
    return result;
  };
  if (Stop.Terminating.load()) return finish(Failed(TFetchFailure::Stopped, QStringLiteral("the program is closing")));
  InitCurlOnce();

  // An empty "Accept:" keeps libcurl's own Accept line off the wire.
  TListPtr headers = MakeHeaderList(request->Headers + QByteArrayList{"Accept:"});
  TEasyPtr easy(curl_easy_init());
  TMultiPtr multi(curl_multi_init());
  if (!headers || !easy || !multi) return finish(Failed(TFetchFailure::Network, QStringLiteral("out of memory")));

  TTransfer transfer;
  transfer.Easy = easy.get();
  transfer.MaxBody = std::max<qint64>(MaxBody, 0);
  CURL* e = easy.get();
  curl_easy_setopt(e, CURLOPT_CURLU, request->Url.get());
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(e, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(e, CURLOPT_PROXY, "");  // no proxy, whatever the environment says
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(e, CURLOPT_FRESH_CONNECT, 1L);
  curl_easy_setopt(e, CURLOPT_FORBID_REUSE, 1L);
  curl_easy_setopt(e, CURLOPT_DNS_CACHE_TIMEOUT, 0L);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(std::max<milliseconds::rep>(Options.ConnectTimeout.count(), 1)));
  // A name lookup still running when the fetch is given up is left to finish
  // on its own instead of being waited for.
  curl_easy_setopt(e, CURLOPT_QUICK_EXIT, 1L);
  curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(transfer.MaxBody));
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, OnConnected);
  curl_easy_setopt(e, CURLOPT_PREREQDATA, &transfer);
  if (curl_multi_add_handle(multi.get(), e) != CURLM_OK)
    return finish(Failed(TFetchFailure::Network, QStringLiteral("out of memory")));

  // The transfer is driven here rather than by curl_easy_perform so that the
  // stop flags and the bounds are looked at every slice, not only when
  // libcurl calls back.
  TFetchResult result = Failed(TFetchFailure::Network, QString());
  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
      result = Failed(TFetchFailure::Network, QStringLiteral("the transfer failed"));
      break;
    }
    if (running == 0) {
      int queued = 0;
      CURLMsg* message = curl_multi_info_read(multi.get(), &queued);
      const CURLcode code = message && message->msg == CURLMSG_DONE ? message->data.result : CURLE_RECV_ERROR;
      result = code == CURLE_OK ? TFetchResult{} : Classify(code, e, transfer, Options);
      // An error page is still a fetch; its status only tells why it holds no picture.
      if (code == CURLE_OK) curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &result.HttpStatus);
      break;
    }
    if (Stop.GivenUp()) {
      result = Failed(TFetchFailure::Stopped, QStringLiteral("stopped"));
      break;
    }
    auto wait = kPollSlice;
    if (transfer.Connected) {
      const Clock::time_point now = Clock::now();
      if (transfer.Received - transfer.Mark >= Options.LowSpeedBytes) {
        transfer.Mark = transfer.Received;
        transfer.MarkTime = now;
      }
      const auto idle = std::chrono::duration_cast<milliseconds>(now - transfer.LastData);
      const auto slow = std::chrono::duration_cast<milliseconds>(now - transfer.MarkTime);
      if (idle >= Options.DataTimeout) {
        result = Failed(TFetchFailure::NoAnswer, "no answer within " + DurationText(Options.DataTimeout));
        break;
      }
      if (slow >= Options.LowSpeedWindow) {
        result = Failed(TFetchFailure::TooSlow, "less than " + ByteCountText(Options.LowSpeedBytes) + " arrived in " +
                                                    DurationText(Options.LowSpeedWindow));
        break;
      }
      wait = std::min({wait, Options.DataTimeout - idle, Options.LowSpeedWindow - slow});
    }
    if (curl_multi_poll(multi.get(), nullptr, 0, int(wait.count()) + 1, nullptr) != CURLM_OK) {
      result = Failed(TFetchFailure::Network, QStringLiteral("the transfer failed"));
      break;
    }
  }
  curl_multi_remove_handle(multi.get(), e);
  if (result) Body = std::move(transfer.Body);
  return finish(result);
}

}  // namespace

QByteArrayList RequestHeaders(const QString& URL) {
  std::optional<TRequest> request = MakeRequest(URL);
  return request ? request->Headers : QByteArrayList();
}

QString AddressProblem(const QString& URL) {
  QString why;
  return MakeRequest(URL, &why) ? QString() : why;
}

TFetchResult FetchText(const QString& URL, QStringList& Lines, const TFetchStop& Stop, const TFetchOptions& Options) {
  QByteArray body;
  TFetchResult result = FetchBody(URL, Stop, Options, Options.MaxPageBytes, body);
  if (!result) return result;
  QStringList lines = SplitLines(DecodeText(body), Options.MaxPageLines);
  if (lines.size() > Options.MaxPageLines) {
    result.Failure = TFetchFailure::TooLarge;
    result.Reason = "more than " + QString::number(Options.MaxPageLines) + " lines";
    return result;
  }
  Lines = std::move(lines);
  return result;
}

TFetchResult FetchBytes(const QString& URL, QByteArray& Buffer, const TFetchStop& Stop, const TFetchOptions& Options) {
  return FetchBody(URL, Stop, Options, Options.MaxPictureBytes, Buffer);
}

}  // namespace site
