// HTTP GET for the search endpoint and the update-notice page.
//
// The caller gets the response body as Text (GBK) or the empty text; it never sees an error,
// a status code or an exception. That keeps the network's failures silent, as the program
// wants: a dead server, a time-out and an empty page all read as "nothing there".
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "text/text.h"

namespace vellox {

class HttpClient {
 public:
  virtual ~HttpClient() = default;

  // One GET of `url` exactly as given (no encoding, no added query). Returns the body whatever
  // the status code; a body whose Content-Type names utf-8 (any letter case) is converted from
  // UTF-8 to GBK, any other body is passed through. Returns the empty text when the request
  // fails, times out or the body is larger than the client's cap. Safe to call from any thread.
  virtual Text get(const std::string& url) = 0;
};

// HttpClient over libcurl.
class CurlHttpClient final : public HttpClient {
 public:
  struct Options {
    // Total time allowed for one request, connection included.
    std::chrono::milliseconds timeout = std::chrono::seconds(90);
    // Largest body accepted; a longer answer counts as a failed fetch.
    std::size_t maxBodyBytes = std::size_t{64} << 20;
  };

  CurlHttpClient();
  explicit CurlHttpClient(Options options);

  Text get(const std::string& url) override;

 private:
  Options options_;
};

}  // namespace vellox
