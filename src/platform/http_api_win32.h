// HttpApi over WinHTTP (loaded from the system folder when first used): http and https
// addresses, certificates checked as the system does. Requests run asynchronously and the
// calling thread dispatches its window messages while it waits, so windows stay alive.
#pragma once

#include "platform/http_api.h"
#include "platform/message_pump.h"

namespace pravelo {

class HttpApiWin32 final : public HttpApi {
 public:
  explicit HttpApiWin32(MessagePump& pump) : pump_(pump) {}
  std::optional<HttpResponse> Get(std::string_view url, const HttpLimits& limits) override;

 private:
  MessagePump& pump_;
};

}  // namespace pravelo
