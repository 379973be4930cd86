#include "content/fetch.h"

namespace content {

std::string FetchText(HttpClient& client, const std::string& file_name) {
  return client.Get(file_name);
}

JpegPicture FetchJpeg(HttpClient& client, const std::string& file_name) {
  // The stream lives only for this call; the picture keeps its own copy of the bytes.
  std::string stream;
  client.Get(file_name, stream);
  return JpegPicture::Load(stream);
}

}  // namespace content
