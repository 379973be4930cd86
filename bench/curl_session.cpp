#include "bench/curl_session.h"

#include <curl/curl.h>

#include <mutex>
#include <stdexcept>

namespace bench {
namespace {

size_t Collect(char* data, size_t size, size_t count, void* sink) {
  static_cast<std::string*>(sink)->append(data, size * count);
  return size * count;
}

}  // namespace

CurlSession::CurlSession() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  curl_ = curl_easy_init();
  if (curl_ == nullptr) throw std::runtime_error("libcurl could not create a handle");
  curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl_, CURLOPT_WRITEDATA, &body_);
  curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
}

CurlSession::~CurlSession() { curl_easy_cleanup(curl_); }

void CurlSession::FetchAll(const std::vector<std::string>& urls) {
  for (const std::string& url : urls) {
    body_.clear();
    curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
    const CURLcode code = curl_easy_perform(curl_);
    if (code != CURLE_OK) {
      throw std::runtime_error("GET " + url + ": " + curl_easy_strerror(code));
    }
    long status = 0;
    curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
      throw std::runtime_error("GET " + url + ": HTTP status " + std::to_string(status));
    }
    bytes_received_ += body_.size();
  }
}

}  // namespace bench
