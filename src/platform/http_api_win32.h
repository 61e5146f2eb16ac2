// HttpApi over WinHTTP: http and https addresses, certificates checked as the system does.
#pragma once

#include "platform/http_api.h"

namespace pravelo {

class HttpApiWin32 final : public HttpApi {
 public:
  // `timeoutMs` bounds each wait (name lookup, connect, send, every receive); a value below
  // 1 counts as 1, since WinHTTP takes 0 for no bound at all.
  std::optional<HttpResponse> Get(std::string_view url, int timeoutMs) override;
};

}  // namespace pravelo
