#include "tools/content/cache_headers.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>
#include <string_view>

#include "content/http_client.h"

namespace dravel_content {
namespace {

// The game's own request headers, and what a cache asks for on behalf of browsers.
constexpr const char* kRequestHeaders[] = {
    "Accept: text/html, */*",
    "User-Agent: Mozilla/3.0 (compatible; Indy Library)",
    "Accept-Encoding: gzip, deflate, br",
};

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return lower;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& headers = *static_cast<CacheHeaders*>(user);
  const std::string_view line(data, size * count);
  // An interim answer (100 Continue) comes first: only the last answer's lines count.
  if (line.starts_with("HTTP/")) {
    headers = CacheHeaders();
    headers.received = std::time(nullptr);
    return line.size();
  }
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return line.size();
  const std::string name = Lower(Trimmed(line.substr(0, colon)));
  const std::string_view value = Trimmed(line.substr(colon + 1));
  const auto keep_first = [&](std::string& field) {
    if (field.empty()) field = value;
  };
  if (name == "cache-control") {
    if (!headers.cache_control.empty() && !value.empty()) headers.cache_control += ", ";
    headers.cache_control += value;
  } else if (name == "location") {
    keep_first(headers.location);
  } else if (name == "expires") {
    keep_first(headers.expires);
  } else if (name == "date") {
    keep_first(headers.date);
  } else if (name == "etag") {
    keep_first(headers.etag);
  } else if (name == "last-modified") {
    keep_first(headers.last_modified);
  } else if (name == "content-encoding") {
    keep_first(headers.content_encoding);
  }
  return line.size();
}

// The head is all that is wanted: the first bytes of a body end the transfer.
size_t OnBody(char*, size_t, size_t, void*) { return 0; }

}  // namespace

std::optional<CacheHeaders> FetchCacheHeaders(const std::string& url) {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(),
                                                                 curl_easy_cleanup);
  curl_slist* list = nullptr;
  for (const char* header : kRequestHeaders) list = curl_slist_append(list, header);
  const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> request_headers(
      list, curl_slist_free_all);
  if (!curl || !request_headers) return std::nullopt;

  CacheHeaders headers;
  CURL* handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, request_headers.get());
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &headers);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, long(content::kConnectTimeout.count()));
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, long(content::kTransferTimeout.count()));
  const CURLcode result = curl_easy_perform(handle);
  if (result != CURLE_OK && result != CURLE_WRITE_ERROR) return std::nullopt;
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &headers.status);
  if (headers.status == 0) return std::nullopt;
  return headers;
}

}  // namespace dravel_content
