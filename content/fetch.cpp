#include "content/fetch.h"

#include <utility>

namespace content {

std::string FetchText(HttpClient& client, const std::string& file_name) {
  return client.Get(file_name);
}

JpegPicture FetchJpeg(HttpClient& client, const std::string& file_name) {
  // The stream lives only for this call; the picture takes over its bytes, so they are not
  // copied once more.
  std::string stream;
  client.Get(file_name, stream, client.Limits().max_picture_bytes);
  return JpegPicture::Adopt(std::move(stream));
}

}  // namespace content
