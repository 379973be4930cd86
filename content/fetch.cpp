#include "content/fetch.h"

#include <utility>

#include "content/content_error.h"

namespace content {

std::string FetchText(HttpClient& client, const std::string& file_name) {
  return client.GetText(file_name);
}

JpegPicture FetchJpeg(HttpClient& client, const std::string& file_name) {
  // The stream lives only for this call; the picture takes over its bytes, so they are not
  // copied once more.
  std::string stream;
  client.Get(file_name, stream, client.Limits().max_picture_bytes);
  try {
    return JpegPicture::Adopt(std::move(stream));
  } catch (const JpegError&) {
    // Not the picture asked for: perhaps another request's answer, with this one's to follow.
    client.EndConnection();
    throw;
  }
}

}  // namespace content
