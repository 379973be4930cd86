#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace content {

// Watches the header lines of an answer as they come, for what libcurl lets pass: a head too
// large to be one of our files, and Content-Length headers that disagree (RFC 9112 section
// 6.3: such an answer cannot be framed, and its connection cannot be trusted again). It also
// keeps what the final answer says of its type and of its connection.
class AnswerHead {
 public:
  // An answer whose head alone is this large is not one of our files.
  static constexpr std::size_t kMaxBytes = std::size_t{256} << 10;

  // One header line as libcurl gives it, CR LF included. False when the answer must be refused.
  bool Take(std::string_view line);
  bool TooLarge() const { return too_large_; }
  bool LengthsDisagree() const { return lengths_disagree_; }
  // The Content-Type value, empty when there is none.
  const std::string& ContentType() const { return content_type_; }
  // HTTP/1.1, no "Connection: close", and a body framed by a length or chunks: the server
  // means the connection to stay open after this answer.
  bool KeepsConnection() const { return http11_ && framed_ && !closes_; }

 private:
  std::size_t bytes_ = 0;
  std::optional<std::size_t> length_;  // of the answer now being read
  bool too_large_ = false;
  bool lengths_disagree_ = false;
  std::string content_type_;
  bool http11_ = false;
  bool framed_ = false;
  bool closes_ = false;
};

}  // namespace content
