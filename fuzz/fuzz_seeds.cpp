// Writes the seed corpus: seeds/<target>/<name> for every fuzz target. Usage: fuzz_seeds DIR
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "tests/support/jpeg_maker.h"

namespace {

namespace fs = std::filesystem;
using Seeds = std::map<std::string, std::string>;

std::string Scheme(const std::vector<std::string>& names, const std::string& line_end) {
  std::string text;
  for (const std::string& name : names) text += name + line_end;
  return text;
}

std::vector<std::string> Names(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    names.push_back("cell-" + std::to_string(i / 7) + "-" + std::to_string(i % 7) + ".jpg");
  }
  return names;
}

Seeds SchemeSeeds() {
  std::vector<std::string> odd = Names(49);
  odd[3] = "two words.jpg";
  odd[10] = "no#1.jpg";
  odd[17] = "100%.jpg?x=1";
  odd[24] = "../1/up.jpg";
  odd[31] = "caf\xC3\xA9-\x80\xFF.jpg";
  odd[38] = std::string("tab\tnul\0.jpg", 12);
  return {
      {"crlf", Scheme(Names(49), "\r\n")},  {"lf", Scheme(Names(49), "\n")},
      {"cr", Scheme(Names(49), "\r")},      {"bom", "\xEF\xBB\xBF" + Scheme(Names(49), "\r\n")},
      {"short", Scheme(Names(48), "\r\n")}, {"long", Scheme(Names(60), "\r\n")},
      {"odd-names", Scheme(odd, "\r\n")},   {"mixed-ends", "a.jpg\r\nb.jpg\nc.jpg\rd.jpg\r\r\n\n"},
  };
}

Seeds JpegSeeds() {
  using testsupport::JpegColor;
  using testsupport::JpegOptions;
  using testsupport::JpegPattern;
  auto make = [](JpegColor color, bool progressive, int side, JpegPattern pattern) {
    JpegOptions options;
    options.width = options.height = side;
    options.color_space = color;
    options.progressive = progressive;
    options.pattern = pattern;
    options.quality = 75;
    return testsupport::MakeJpeg(options);
  };
  const std::string texture = make(JpegColor::kColor, false, 48, JpegPattern::kTexture);
  return {
      {"color", make(JpegColor::kColor, false, 16, JpegPattern::kQuadrants)},
      {"color-progressive", make(JpegColor::kColor, true, 24, JpegPattern::kTexture)},
      {"gray", make(JpegColor::kGray, false, 16, JpegPattern::kQuadrants)},
      {"gray-progressive", make(JpegColor::kGray, true, 16, JpegPattern::kTexture)},
      {"cmyk", make(JpegColor::kCmyk, false, 16, JpegPattern::kQuadrants)},
      {"ycck", make(JpegColor::kYcck, true, 16, JpegPattern::kQuadrants)},
      {"texture", texture},
      {"damaged-data", testsupport::WithCorruptEntropyData(texture)},
      {"cut-short", testsupport::Truncated(texture, texture.size() / 2)},
      {"bad-later-scan",
       testsupport::WithBadLaterScan(make(JpegColor::kColor, true, 24, JpegPattern::kTexture))},
      {"wide", testsupport::WithDimensions(texture, 16'000, 4'000)},
      {"many-scans", testsupport::MakeManyScansJpeg(8, 8)},
  };
}

Seeds HttpSeeds() {
  const std::string body = "cell-0-0.jpg\r\ncell-0-1.jpg\r\n";
  const std::string length = std::to_string(body.size());
  return {
      {"length", "HTTP/1.1 200 OK\r\nContent-Length: " + length + "\r\n\r\n" + body},
      {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n"},
      {"chunked-trailer",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3;x=y\r\nabc\r\n0\r\nT: 1\r\n\r\n"},
      {"close-delimited", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + body},
      {"http10", "HTTP/1.0 200 OK\r\n\r\n" + body},
      {"no-content", "HTTP/1.1 204 No Content\r\n\r\n"},
      {"not-found", "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"},
      {"redirect", "HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\nContent-Length: 0\r\n\r\n"},
      {"continue", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"},
      {"huge-length", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\nx"},
      {"short-body", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly this"},
      {"bad-chunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nabc\r\n"},
      {"folded-header", "HTTP/1.1 200 OK\r\nX-A: 1\r\n  2\r\nContent-Length: 1\r\n\r\nz"},
      {"over-cap", "HTTP/1.1 200 OK\r\nContent-Length: 1100\r\n\r\n" + std::string(1100, 'b')},
  };
}

bool Write(const fs::path& folder, const Seeds& seeds) {
  fs::create_directories(folder);
  for (const auto& [name, bytes] : seeds) {
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: fuzz_seeds DIR\n";
    return 2;
  }
  const fs::path root = argv[1];
  try {
    const Seeds jpeg = JpegSeeds();
    const bool written =
        Write(root / "fuzz_scheme_lines", SchemeSeeds()) && Write(root / "fuzz_jpeg_load", jpeg) &&
        Write(root / "fuzz_jpeg_decode", jpeg) && Write(root / "fuzz_http_response", HttpSeeds());
    if (written) return 0;
    std::cerr << "fuzz_seeds: cannot write under " << root << "\n";
  } catch (const std::exception& error) {
    std::cerr << "fuzz_seeds: " << error.what() << "\n";
  }
  return 1;
}
