#pragma once

#include <string>

#include "content/http_client.h"
#include "content/jpeg_picture.h"

namespace content {

// The scheme file or any text: the body byte for byte, no character set conversion.
std::string FetchText(HttpClient& client, const std::string& file_name);

// Fetches into a fresh stream and loads it as a JPEG picture; the stream is released on every
// path. Throws FetchError or JpegError.
JpegPicture FetchJpeg(HttpClient& client, const std::string& file_name);

}  // namespace content
