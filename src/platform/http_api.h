// Plain HTTP GET with bounded waits.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pravelo {

struct HttpResponse {
  int status = 0;
  std::string body;
};

class HttpApi {
 public:
  virtual ~HttpApi() = default;
  // Nothing when no response arrived (no server, a wait ran out, a transport error).
  virtual std::optional<HttpResponse> Get(std::string_view url, int timeoutMs) = 0;
};

}  // namespace pravelo
