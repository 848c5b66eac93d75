#include "site/Fetch.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

#include "site/TextDecode.h"

namespace site {

namespace {

using Clock = std::chrono::steady_clock;

// How often an idle fetch looks at the terminating flag and its wait bound.
constexpr std::chrono::milliseconds kPollSlice{50};

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
  TUrlPtr Url;              // what libcurl connects to and asks for
  QByteArrayList Headers;   // in the order they go on the wire
};

// The URL is taken as written (no dot-segment clean-up); user name, password
// and fragment are dropped, as no authorization goes out.
std::optional<TRequest> MakeRequest(const QString& URL) {
  TUrlPtr url(curl_url());
  if (!url) return std::nullopt;
  const QByteArray utf8 = URL.toUtf8();
  if (curl_url_set(url.get(), CURLUPART_URL, utf8.constData(), CURLU_PATH_AS_IS) != CURLUE_OK)
    return std::nullopt;
  const auto scheme = UrlPart(url.get(), CURLUPART_SCHEME);
  const auto host = UrlPart(url.get(), CURLUPART_HOST);
  const auto port = UrlPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
  if (!scheme || scheme->compare("http", Qt::CaseInsensitive) != 0 || !host || host->isEmpty() || !port)
    return std::nullopt;
  curl_url_set(url.get(), CURLUPART_USER, nullptr, 0);
  curl_url_set(url.get(), CURLUPART_PASSWORD, nullptr, 0);
  curl_url_set(url.get(), CURLUPART_OPTIONS, nullptr, 0);
  curl_url_set(url.get(), CURLUPART_FRAGMENT, nullptr, 0);

  TRequest request{std::move(url), {}};
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
  qint64 MaxBody = 0;
  QByteArray Body;
  bool Connected = false;
  Clock::time_point LastData;
};

size_t OnBody(char* Data, size_t Size, size_t Count, void* User) {
  auto* t = static_cast<TTransfer*>(User);
  const size_t length = Size * Count;
  t->LastData = Clock::now();
  if (qint64(length) > t->MaxBody - t->Body.size()) return CURL_WRITEFUNC_ERROR;
  t->Body.append(Data, qsizetype(length));
  return length;
}

size_t OnHeader(char*, size_t Size, size_t Count, void* User) {
  static_cast<TTransfer*>(User)->LastData = Clock::now();
  return Size * Count;
}

// Called once the connection stands, just before the request goes out: from
// here on every wait for data is bounded.
int OnConnected(void* User, char*, char*, int, int) {
  auto* t = static_cast<TTransfer*>(User);
  t->Connected = true;
  t->LastData = Clock::now();
  return CURL_PREREQFUNC_OK;
}

std::optional<QByteArray> FetchBody(const QString& URL, const std::atomic<bool>& Terminating,
                                    const TFetchOptions& Options) {
  if (Terminating.load()) return std::nullopt;
  std::optional<TRequest> request = MakeRequest(URL);
  if (!request) return std::nullopt;
  InitCurlOnce();

  // An empty "Accept:" keeps libcurl's own Accept line off the wire.
  TListPtr headers = MakeHeaderList(request->Headers + QByteArrayList{"Accept:"});
  if (!headers) return std::nullopt;

  TEasyPtr easy(curl_easy_init());
  TMultiPtr multi(curl_multi_init());
  if (!easy || !multi) return std::nullopt;

  TTransfer transfer;
  transfer.MaxBody = std::max<qint64>(Options.MaxBodyBytes, 0);
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
  curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(transfer.MaxBody));
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, OnConnected);
  curl_easy_setopt(e, CURLOPT_PREREQDATA, &transfer);
  if (curl_multi_add_handle(multi.get(), e) != CURLM_OK) return std::nullopt;

  // The transfer is driven here rather than by curl_easy_perform so that the
  // terminating flag and the wait bound are looked at every slice, not only
  // when libcurl calls back.
  std::optional<QByteArray> result;
  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
    if (running == 0) {
      int queued = 0;
      CURLMsg* message = curl_multi_info_read(multi.get(), &queued);
      if (message && message->msg == CURLMSG_DONE && message->data.result == CURLE_OK)
        result = std::move(transfer.Body);
      break;
    }
    if (Terminating.load()) break;
    auto wait = kPollSlice;
    if (transfer.Connected) {
      const auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - transfer.LastData);
      if (idle >= Options.DataTimeout) break;
      wait = std::min(wait, Options.DataTimeout - idle);
    }
    if (curl_multi_poll(multi.get(), nullptr, 0, int(wait.count()) + 1, nullptr) != CURLM_OK) break;
  }
  curl_multi_remove_handle(multi.get(), e);
  return result;
}

}  // namespace

QByteArrayList RequestHeaders(const QString& URL) {
  std::optional<TRequest> request = MakeRequest(URL);
  return request ? request->Headers : QByteArrayList();
}

bool FetchText(const QString& URL, QStringList& Lines, const std::atomic<bool>& Terminating,
               const TFetchOptions& Options) {
  std::optional<QByteArray> body = FetchBody(URL, Terminating, Options);
  if (!body) return false;
  Lines = SplitLines(DecodeText(*body));
  return true;
}

bool FetchBytes(const QString& URL, QByteArray& Buffer, const std::atomic<bool>& Terminating,
                const TFetchOptions& Options) {
  std::optional<QByteArray> body = FetchBody(URL, Terminating, Options);
  if (!body) return false;
  Buffer = std::move(*body);
  return true;
}

}  // namespace site
