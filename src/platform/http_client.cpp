#include "platform/http_client.h"

#include <curl/curl.h>

#include <memory>

#include "text/codepage.h"

namespace vellox {
namespace {

// curl_global_init must run once before any handle is made; it is not undone until the process
// ends, so worker threads never race a cleanup.
class CurlGlobal {
 public:
  CurlGlobal() : ok_(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}
  ~CurlGlobal() {
    if (ok_) curl_global_cleanup();
  }
  CurlGlobal(const CurlGlobal&) = delete;
  CurlGlobal& operator=(const CurlGlobal&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

bool curlReady() {
  static const CurlGlobal global;
  return global.ok();
}

struct EasyCleanup {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;

struct Body {
  std::string bytes;
  std::size_t cap;
  bool overflow = false;
};

extern "C" std::size_t appendBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* body = static_cast<Body*>(user);
  const std::size_t n = size * count;
  if (n > body->cap - body->bytes.size()) {
    body->overflow = true;
    return 0;  // makes curl abort the transfer with CURLE_WRITE_ERROR
  }
  body->bytes.append(data, n);
  return n;
}

bool namesUtf8(const char* contentType) {
  return contentType != nullptr && findText(contentType, "utf-8") > 0;
}

}  // namespace

CurlHttpClient::CurlHttpClient() : CurlHttpClient(Options{}) {}

CurlHttpClient::CurlHttpClient(Options options) : options_(options) {}

Text CurlHttpClient::get(const std::string& url) {
  if (!curlReady()) return {};
  const EasyHandle curl(curl_easy_init());
  if (!curl) return {};
  Body body{{}, options_.maxBodyBytes};
  CURL* h = curl.get();
  const bool configured =
      curl_easy_setopt(h, CURLOPT_URL, url.c_str()) == CURLE_OK &&
      // Send the path as built: no squashing of "/../" sequences.
      curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK &&
      // Worker threads call this concurrently; signals must not be used for time-outs.
      curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(options_.timeout.count())) ==
          CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE,
                       static_cast<curl_off_t>(options_.maxBodyBytes)) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, appendBody) == CURLE_OK &&
      curl_easy_setopt(h, CURLOPT_WRITEDATA, &body) == CURLE_OK;
  if (!configured || curl_easy_perform(h) != CURLE_OK || body.overflow) return {};

  char* contentType = nullptr;
  if (curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &contentType) != CURLE_OK) return {};
  return namesUtf8(contentType) ? utf8ToGbk(body.bytes) : std::move(body.bytes);
}

}  // namespace vellox
