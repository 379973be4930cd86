#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/support/test_http_server.h"

// The ways the content server misbehaves in the fault matrix.
namespace faults {

enum class Kind {
  kHttp,    // the answer itself: status, framing, connection, timing, size
  kJpeg,    // a good answer whose picture data is bad
  kScheme,  // a good answer whose scheme text is odd
};

// What a file fault does to the fetch of a picture.
enum class PictureEffect {
  kFails,               // the fetch fails
  kEmpty,               // the fetch passes with the empty picture
  kDamagedWhenPainted,  // the fetch passes; the picture fails when it is painted
  kPatchedWhenPainted,  // the fetch passes; the picture shows as far as it decodes
};

struct Fault {
  std::string name;
  Kind kind = Kind::kHttp;

  // kHttp and kJpeg: the answer given instead of the file's good bytes.
  std::function<testsupport::Reply(const std::string& good)> reply;
  PictureEffect effect = PictureEffect::kFails;
  bool waits = false;  // fails only when a time-out runs out
  // The server closes without a word: on a kept-alive connection that looks like one the server
  // had closed before, and the client connects again once, so the file is asked for twice.
  bool repeats = false;

  // kScheme: the whole scheme text, whether a turn plays with it, and one odd name that it
  // puts in cell (2, 2) (empty if none), served at the folder's target `odd_target`: the
  // escaped form the name must have on the wire.
  std::string scheme;
  bool plays = false;
  std::string odd_name;
  std::string odd_target;
};

std::vector<Fault> Catalogue();

}  // namespace faults
