#include "platform/http_api_win32.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/text_win32.h"

namespace pravelo {
namespace {

struct InternetCloser {
  void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using UniqueInternet = std::unique_ptr<void, InternetCloser>;

constexpr wchar_t kUserAgent[] = L"Pravelo";
constexpr DWORD kReadChunkBytes = 64 * 1024;
// Far above any executable of this program; an endless body must not exhaust a 32-bit process.
constexpr size_t kMaxBodyBytes = 64 * 1024 * 1024;

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
  if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &components)) return std::nullopt;
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
  if (!WinHttpQueryHeaders(request, query | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX, &value,
                           &size, WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  return value;
}

// The whole body, or nothing when the transfer broke off or ran past the limit.
std::optional<std::string> ReadBody(HINTERNET request) {
  std::string body;
  std::string chunk(kReadChunkBytes, '\0');
  for (;;) {
    DWORD read = 0;
    if (!WinHttpReadData(request, chunk.data(), kReadChunkBytes, &read)) return std::nullopt;
    if (read == 0) break;
    if (body.size() + read > kMaxBodyBytes) return std::nullopt;
    body.append(chunk.data(), read);
  }
  if (std::optional<DWORD> length = NumericHeader(request, WINHTTP_QUERY_CONTENT_LENGTH)) {
    if (body.size() != *length) return std::nullopt;
  }
  return body;
}

}  // namespace

std::optional<HttpResponse> HttpApiWin32::Get(std::string_view url, int timeoutMs) {
  const std::optional<UrlParts> parts = CrackUrl(Widen(url));
  if (!parts) return std::nullopt;

  UniqueInternet session(WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                     WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return std::nullopt;
  const int wait = std::max(timeoutMs, 1);
  if (!WinHttpSetTimeouts(session.get(), wait, wait, wait, wait)) return std::nullopt;

  UniqueInternet connection(WinHttpConnect(session.get(), parts->host.c_str(), parts->port, 0));
  if (!connection) return std::nullopt;
  UniqueInternet request(WinHttpOpenRequest(connection.get(), L"GET", parts->pathAndQuery.c_str(), nullptr,
                                            WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                            parts->secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) return std::nullopt;
  // The wait for the response headers has its own bound (90 s unless set).
  DWORD headersWait = static_cast<DWORD>(wait);
  if (!WinHttpSetOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headersWait,
                        sizeof(headersWait))) {
    return std::nullopt;
  }
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                          0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    return std::nullopt;
  }

  const std::optional<DWORD> status = NumericHeader(request.get(), WINHTTP_QUERY_STATUS_CODE);
  if (!status) return std::nullopt;
  std::optional<std::string> body = ReadBody(request.get());
  if (!body) return std::nullopt;
  return HttpResponse{static_cast<int>(*status), std::move(*body)};
}

}  // namespace pravelo
