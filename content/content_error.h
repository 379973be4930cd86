#pragma once

#include <stdexcept>

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
  using ContentError::ContentError;
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

// The client was told to stop: the transfer under way was dropped and no request goes out any
// more. Not a ContentError: no handler retries or reports it, it ends the handler.
class TransferAbandoned : public std::runtime_error {
 public:
  TransferAbandoned() : std::runtime_error("the transfer was abandoned") {}
};

}  // namespace content
