#pragma once

#include <stdexcept>
#include <string>

namespace content {

// Every failure of content access: the callers catch this (or anything) and decide what follows.
class ContentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The request failed: no connection, a broken or stalled one, a status outside 200 to 299,
// a body over the size cap.
class FetchError : public ContentError {
 public:
  // A failure that is its own cause.
  explicit FetchError(const std::string& cause) : ContentError(cause), cause_(cause) {}
  // What was asked and why it failed: "GET http://host/x.jpg: HTTP status 404".
  FetchError(const std::string& request, const std::string& cause)
      : ContentError(request + ": " + cause), cause_(cause) {}

  // Why, without the request.
  const char* Cause() const noexcept { return cause_.what(); }

 private:
  std::runtime_error cause_;  // copies without throwing, as an exception's members must
};

// The server gave nothing within a time limit: no connection, no next byte, no whole answer.
class TimeoutError : public FetchError {
 public:
  using FetchError::FetchError;
};

// The bytes are not a JPEG picture we accept, or its data is damaged.
class JpegError : public ContentError {
 public:
  using ContentError::ContentError;
};

// A JPEG of an encoding that cannot be shown: 12-bit samples, lossless or hierarchical coding,
// a colour space we do not convert.
class UnsupportedJpeg : public JpegError {
 public:
  using JpegError::JpegError;
};

// The client was told to stop: the transfer under way was dropped and no request goes out any
// more. Not a ContentError: no handler retries or reports it, it ends the handler.
class TransferAbandoned : public std::runtime_error {
 public:
  TransferAbandoned() : std::runtime_error("the transfer was abandoned") {}
};

}  // namespace content
