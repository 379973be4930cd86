#include "content/fetch_failure.h"

#include "content/content_error.h"

namespace content {

std::string FailureCause(const std::exception& error) {
  if (const auto* fetch = dynamic_cast<const FetchError*>(&error)) return fetch->Cause();
  return error.what();
}

std::string ShownUrl(const HttpClient& client, const std::string& file_name) {
  if (file_name.size() <= kShownNameBytes) return client.UrlFor(file_name);
  return client.UrlFor(file_name.substr(0, kShownNameBytes)) + "... (a name of " +
         std::to_string(file_name.size()) + " bytes)";
}

std::string FailedFetchLine(const HttpClient& client, const std::string& file_name,
                            std::chrono::milliseconds took, const std::exception& error) {
  return "GET " + ShownUrl(client, file_name) + " failed after " + std::to_string(took.count()) +
         " ms: " + FailureCause(error);
}

std::string HttpStatus(long status) { return "HTTP status " + std::to_string(status); }

std::string BodyOverCap(std::size_t max_body_bytes) {
  return "the body is larger than " + std::to_string(max_body_bytes) + " bytes";
}

}  // namespace content
