// Plain HTTP GET with bounded waits and bodies.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pravelo {

struct HttpResponse {
  int status = 0;
  std::string body;
};

struct HttpLimits {
  int timeoutMs = 0;        // the whole request, from the first call to the last byte
  size_t maxBodyBytes = 0;  // a longer body, or an announced one, fails the request
};

class HttpApi {
 public:
  virtual ~HttpApi() = default;
  // Nothing when no whole response arrived within the limits (no server, the time ran out,
  // a transport error, a body too big). Window messages keep running meanwhile.
  virtual std::optional<HttpResponse> Get(std::string_view url, const HttpLimits& limits) = 0;
};

}  // namespace pravelo
