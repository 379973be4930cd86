#pragma once

#include <curl/curl.h>

#include <optional>
#include <string>

#include "content/answer_head.h"

namespace content {

// Which connection the next request goes on. Nothing in an HTTP/1.1 answer names the request
// it answers: bytes a server sends unasked pass for the answer to whatever request is out when
// they come, and checking the kept connection before a request cannot see bytes still on
// their way. So the connection is trusted only while nothing has gone wrong on it, and every
// sign of an answer nobody asked for ends it; such a server then gets a connection of its own
// for every later request, as it may do it again at any moment. The signs: bytes waiting on
// the connection before a request, more bytes than an answer's framing in the read that ends
// it (libcurl then closes a connection the answer meant to keep), and an answer that cannot be
// the file asked for. A failed fetch ends the connection too: whatever went wrong may have
// left bytes of its own behind, and no later answer may be read after them.
class ConnectionPolicy {
 public:
  // Whether every request has a connection of its own, closed once its answer is in.
  bool ConnectionPerRequest() const { return per_request_; }

  // Right before a request: true when the connection left open must be closed first.
  bool MustDropKept();

  // After libcurl has completed a request whose answer has `head`; `kept` is the connection
  // it left open (CURL_SOCKET_BAD when it closed it). The cause, when the answer cannot be
  // the file asked for (`text`: a text file); the fetch then fails.
  std::optional<std::string> Judge(const AnswerHead& head, bool text, curl_socket_t kept);

  // A fetch failed, in the client or in what its caller made of the body.
  void Failed();

 private:
  void SawUnasked();

  curl_socket_t kept_ = CURL_SOCKET_BAD;
  bool drop_ = false;
  bool per_request_ = false;
};

}  // namespace content
