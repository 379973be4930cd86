#include "content/connection_policy.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>

namespace content {
namespace {

// What waits on a connection between requests.
enum class Waiting { kNothing, kClose, kUnaskedBytes };

Waiting WaitingOn(curl_socket_t socket) {
  pollfd fd{socket, POLLIN, 0};
  if (poll(&fd, 1, 0) <= 0) return Waiting::kNothing;
  char byte = 0;
  return recv(socket, &byte, 1, MSG_PEEK | MSG_DONTWAIT) > 0 ? Waiting::kUnaskedBytes
                                                             : Waiting::kClose;
}

// A picture, a sound or a film is never a text the game asks for: such an answer is another
// request's.
bool NeverText(std::string_view type) {
  std::string lower(type.substr(0, type.find(';')));
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.starts_with("image/") || lower.starts_with("audio/") || lower.starts_with("video/");
}

}  // namespace

bool ConnectionPolicy::MustDropKept() {
  const curl_socket_t kept = std::exchange(kept_, CURL_SOCKET_BAD);
  if (std::exchange(drop_, false)) return true;
  if (kept == CURL_SOCKET_BAD) return false;
  switch (WaitingOn(kept)) {
    case Waiting::kNothing:
      return false;
    case Waiting::kUnaskedBytes:
      SawUnasked();
      return true;
    case Waiting::kClose:
      return true;
  }
  return true;
}

std::optional<std::string> ConnectionPolicy::Judge(const AnswerHead& head, bool text,
                                                   curl_socket_t kept) {
  if (text && NeverText(head.ContentType())) {
    SawUnasked();
    drop_ = true;
    return "the answer is " + head.ContentType() +
           ", which a text cannot be: it answers another request";
  }
  if (kept == CURL_SOCKET_BAD && head.KeepsConnection() && !per_request_) SawUnasked();
  kept_ = kept;
  return std::nullopt;
}

void ConnectionPolicy::Failed() { drop_ = true; }

void ConnectionPolicy::SawUnasked() { per_request_ = true; }

}  // namespace content
