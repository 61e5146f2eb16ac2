#include "platform/http_api_win32.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <memory>
#include <mutex>  // std::lock_guard
#include <string>

#include "platform/owned_win32.h"
#include "platform/system_library_win32.h"
#include "platform/text_win32.h"
#include "pravelo_version.h"

namespace pravelo {
namespace {

struct WinHttp {
  decltype(&::WinHttpOpen) open;
  decltype(&::WinHttpConnect) connect;
  decltype(&::WinHttpOpenRequest) openRequest;
  decltype(&::WinHttpCloseHandle) closeHandle;
  decltype(&::WinHttpCrackUrl) crackUrl;
  decltype(&::WinHttpSetTimeouts) setTimeouts;
  decltype(&::WinHttpSetOption) setOption;
  decltype(&::WinHttpSetStatusCallback) setStatusCallback;
  decltype(&::WinHttpSendRequest) sendRequest;
  decltype(&::WinHttpReceiveResponse) receiveResponse;
  decltype(&::WinHttpQueryHeaders) queryHeaders;
  decltype(&::WinHttpQueryDataAvailable) queryDataAvailable;
  decltype(&::WinHttpReadData) readData;

  bool Complete() const {
    return open && connect && openRequest && closeHandle && crackUrl && setTimeouts && setOption &&
           setStatusCallback && sendRequest && receiveResponse && queryHeaders && queryDataAvailable &&
           readData;
  }
};

const WinHttp& WinHttpFunctions() {
  static const WinHttp functions = [] {
    const SystemLibrary library(L"winhttp.dll");
    return WinHttp{library.Find<decltype(&::WinHttpOpen)>("WinHttpOpen"),
                   library.Find<decltype(&::WinHttpConnect)>("WinHttpConnect"),
                   library.Find<decltype(&::WinHttpOpenRequest)>("WinHttpOpenRequest"),
                   library.Find<decltype(&::WinHttpCloseHandle)>("WinHttpCloseHandle"),
                   library.Find<decltype(&::WinHttpCrackUrl)>("WinHttpCrackUrl"),
                   library.Find<decltype(&::WinHttpSetTimeouts)>("WinHttpSetTimeouts"),
                   library.Find<decltype(&::WinHttpSetOption)>("WinHttpSetOption"),
                   library.Find<decltype(&::WinHttpSetStatusCallback)>("WinHttpSetStatusCallback"),
                   library.Find<decltype(&::WinHttpSendRequest)>("WinHttpSendRequest"),
                   library.Find<decltype(&::WinHttpReceiveResponse)>("WinHttpReceiveResponse"),
                   library.Find<decltype(&::WinHttpQueryHeaders)>("WinHttpQueryHeaders"),
                   library.Find<decltype(&::WinHttpQueryDataAvailable)>("WinHttpQueryDataAvailable"),
                   library.Find<decltype(&::WinHttpReadData)>("WinHttpReadData")};
  }();
  return functions;
}

struct InternetCloser {
  void operator()(HINTERNET handle) const { WinHttpFunctions().closeHandle(handle); }
};
using UniqueInternet = std::unique_ptr<void, InternetCloser>;

constexpr wchar_t kUserAgent[] = L"" PRAVELO_PRODUCT_NAME;
constexpr DWORD kReadChunkBytes = 64 * 1024;
// Redirects are followed, but a loop of them ends long before the time does.
constexpr DWORD kMaxRedirects = 5;

struct UrlParts {
  std::wstring host;
  std::wstring pathAndQuery;
  INTERNET_PORT port = 0;
  bool secure = false;
};

std::optional<UrlParts> CrackUrl(const std::wstring& url) {
  URL_COMPONENTS components{};
  components.dwStructSize = sizeof(components);
  // -1 lengths ask for pointers into `url` instead of copies.
  components.dwSchemeLength = static_cast<DWORD>(-1);
  components.dwHostNameLength = static_cast<DWORD>(-1);
  components.dwUrlPathLength = static_cast<DWORD>(-1);
  components.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpFunctions().crackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &components)) {
    return std::nullopt;
  }
  if (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS) {
    return std::nullopt;
  }
  if (components.dwHostNameLength == 0) return std::nullopt;
  UrlParts parts;
  parts.host.assign(components.lpszHostName, components.dwHostNameLength);
  parts.pathAndQuery.assign(components.lpszUrlPath, components.dwUrlPathLength);
  parts.pathAndQuery.append(components.lpszExtraInfo, components.dwExtraInfoLength);
  if (parts.pathAndQuery.empty()) parts.pathAndQuery = L"/";
  parts.port = components.nPort;
  parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
  return parts;
}

std::optional<DWORD> NumericHeader(HINTERNET request, DWORD query) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (!WinHttpFunctions().queryHeaders(request, query | WINHTTP_QUERY_FLAG_NUMBER,
                                       WINHTTP_HEADER_NAME_BY_INDEX, &value, &size,
                                       WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  return value;
}

// A lock of the system's own kind: std::mutex would bring the library's error classes into
// the program for a lock that never fails.
class SlimLock {
 public:
  void lock() { AcquireSRWLockExclusive(&lock_); }
  void unlock() { ReleaseSRWLockExclusive(&lock_); }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
};

// What WinHTTP's threads report about one request. They only record and signal; all the work
// stays on the thread that waits. WinHTTP holds a reference as the request's context until it
// reports the handle closed, so a late report never finds the state gone, and the read
// buffer lives here for the same reason.
struct RequestState {
  SlimLock lock;
  bool completed = false;
  bool failed = false;
  DWORD bytes = 0;  // available or read, as the last report says
  OwnedHandle signal{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  std::string buffer = std::string(kReadChunkBytes, '\0');

  void Finish(bool failure, DWORD read = 0) {
    {
      std::lock_guard<SlimLock> guard(lock);
      completed = true;
      failed = failure;
      bytes = read;
    }
    SetEvent(signal.Get());
  }
};
using StateReference = std::shared_ptr<RequestState>;

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information, DWORD length) {
  if (context == 0) return;  // the session's and the connection's own reports
  auto* reference = reinterpret_cast<StateReference*>(context);
  RequestState& state = **reference;
  switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
      state.Finish(false);
      break;
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
      state.Finish(false, *static_cast<DWORD*>(information));
      break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
      state.Finish(false, length);
      break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
      state.Finish(true);
      break;
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
      delete reference;  // WinHTTP's reference: nothing more is reported for this request
      break;
    default:
      break;
  }
}

// One request from start to end, waiting with the window messages running.
class Transfer {
 public:
  Transfer(MessagePump& pump, ULONGLONG deadline) : pump_(pump), deadline_(deadline) {}

  // The request's context is a reference of its own to the shared state.
  bool Attach(HINTERNET request) {
    auto* reference = new StateReference(state_);
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(reference);
    if (!WinHttpFunctions().setOption(request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof(context))) {
      delete reference;
      return false;
    }
    context_ = context;
    return true;
  }
  DWORD_PTR Context() const { return context_; }

  // Starts an operation with `start` and waits for its report; false when it failed, was
  // refused or did not end before the deadline.
  template <class Start>
  bool Run(Start start) {
    {
      std::lock_guard<SlimLock> guard(state_->lock);
      state_->completed = false;
    }
    if (!start()) return false;
    for (;;) {
      {
        std::lock_guard<SlimLock> guard(state_->lock);
        if (state_->completed) return !state_->failed;
      }
      const ULONGLONG now = GetTickCount64();
      if (now >= deadline_) return false;
      HANDLE signal = state_->signal.Get();
      const DWORD waited = MsgWaitForMultipleObjectsEx(1, &signal, static_cast<DWORD>(deadline_ - now),
                                                       QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      if (waited == WAIT_OBJECT_0 + 1) pump_.DoEvents();
    }
  }

  DWORD Bytes() {
    std::lock_guard<SlimLock> guard(state_->lock);
    return state_->bytes;
  }
  char* Buffer() { return state_->buffer.data(); }

 private:
  MessagePump& pump_;
  ULONGLONG deadline_;
  StateReference state_ = std::make_shared<RequestState>();
  DWORD_PTR context_ = 0;
};

}  // namespace

std::optional<HttpResponse> HttpApiWin32::Get(std::string_view url, const HttpLimits& limits) {
  const WinHttp& winhttp = WinHttpFunctions();
  if (!winhttp.Complete()) return std::nullopt;
  const std::optional<UrlParts> parts = CrackUrl(Widen(url));
  if (!parts) return std::nullopt;
  const int wait = std::max(limits.timeoutMs, 1);
  Transfer transfer(pump_, GetTickCount64() + static_cast<ULONGLONG>(wait));

  UniqueInternet session(winhttp.open(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
  if (!session) return std::nullopt;
  // Each step is bounded too, so nothing is left running long after the deadline.
  if (!winhttp.setTimeouts(session.get(), wait, wait, wait, wait)) return std::nullopt;
  if (winhttp.setStatusCallback(session.get(), OnStatus,
                                WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
                                0) == WINHTTP_INVALID_STATUS_CALLBACK) {
    return std::nullopt;
  }

  UniqueInternet connection(winhttp.connect(session.get(), parts->host.c_str(), parts->port, 0));
  if (!connection) return std::nullopt;
  // Declared after the session and the connection, so that it is closed first.
  UniqueInternet request(winhttp.openRequest(connection.get(), L"GET", parts->pathAndQuery.c_str(), nullptr,
                                             WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                             parts->secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request || !transfer.Attach(request.get())) return std::nullopt;
  DWORD redirects = kMaxRedirects;
  // Older systems may lack the option; the deadline still ends a loop.
  winhttp.setOption(request.get(), WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &redirects,
                    sizeof(redirects));

  HINTERNET handle = request.get();
  const DWORD_PTR context = transfer.Context();
  if (!transfer.Run([&] {
        return winhttp.sendRequest(handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                                   context);
      }) ||
      !transfer.Run([&] { return winhttp.receiveResponse(handle, nullptr); })) {
    return std::nullopt;
  }

  const std::optional<DWORD> status = NumericHeader(handle, WINHTTP_QUERY_STATUS_CODE);
  if (!status) return std::nullopt;
  // A body announced too big is refused before any of it is read.
  const std::optional<DWORD> length = NumericHeader(handle, WINHTTP_QUERY_CONTENT_LENGTH);
  if (length && *length > limits.maxBodyBytes) return std::nullopt;

  // Asks what has arrived before reading it: a read of more than has arrived may wait for the
  // rest in the calling thread, where a server sending a byte now and then would hold it.
  std::string body;
  for (;;) {
    if (!transfer.Run([&] { return winhttp.queryDataAvailable(handle, nullptr); })) return std::nullopt;
    const DWORD available = std::min(transfer.Bytes(), kReadChunkBytes);
    if (available == 0) break;
    if (!transfer.Run([&] { return winhttp.readData(handle, transfer.Buffer(), available, nullptr); })) {
      return std::nullopt;
    }
    const DWORD read = transfer.Bytes();
    if (read == 0) break;
    if (body.size() + read > limits.maxBodyBytes) return std::nullopt;
    body.append(transfer.Buffer(), read);
  }
  if (length && body.size() != *length) return std::nullopt;
  return HttpResponse{static_cast<int>(*status), std::move(body)};
}

}  // namespace pravelo
