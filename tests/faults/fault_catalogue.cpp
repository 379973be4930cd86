#include "fault_catalogue.h"

#include <chrono>
#include <utility>

#include "stage.h"
#include "tests/support/jpeg_maker.h"

namespace faults {
namespace {

using namespace std::chrono_literals;
using ServerFault = testsupport::Fault;
using testsupport::Framing;
using testsupport::Reply;

// Large enough that a damaged scan or a cut-off file leaves a whole header and part of the data.
std::string TexturedJpeg(bool progressive = false) {
  testsupport::JpegOptions options;
  options.width = options.height = 64;
  options.pattern = testsupport::JpegPattern::kTexture;
  options.progressive = progressive;
  return testsupport::MakeJpeg(options);
}

Fault Http(std::string name, std::function<Reply(const std::string&)> reply,
           PictureEffect effect = PictureEffect::kFails, bool waits = false) {
  Fault fault;
  fault.name = std::move(name);
  fault.kind = Kind::kHttp;
  fault.reply = std::move(reply);
  fault.effect = effect;
  fault.waits = waits;
  return fault;
}

Fault Status(int status) {
  return Http(
      "status " + std::to_string(status),
      [status](const std::string&) {
        // Every redirect points at a file that is never served: following it shows as a request.
        return status / 100 == 3
                   ? Reply::Redirect(status,
                                     std::string(testsupport::TestHttpServer::kFolder) + "moved")
                   : Reply::Html(status);
      },
      status == 204 ? PictureEffect::kEmpty : PictureEffect::kFails);
}

// The good bytes with a fault of the test server, in the given framing.
Fault Broken(std::string name, ServerFault how, Framing framing = Framing::kContentLength,
             bool waits = false, std::chrono::milliseconds drip = 20ms) {
  return Http(
      std::move(name),
      [how, framing, drip](const std::string& good) {
        Reply reply = Reply::Ok(good);
        reply.fault = how;
        reply.framing = framing;
        reply.drip_interval = drip;
        return reply;
      },
      PictureEffect::kFails, waits);
}

Fault Jpeg(std::string name, std::function<std::string(const std::string&)> bytes,
           PictureEffect effect) {
  Fault fault = Http(
      std::move(name),
      [bytes = std::move(bytes)](const std::string& good) {
        return Reply::Ok(bytes(good), "image/jpeg");
      },
      effect);
  fault.kind = Kind::kJpeg;
  return fault;
}

Fault Scheme(std::string name, std::string text, bool plays) {
  Fault fault;
  fault.name = std::move(name);
  fault.kind = Kind::kScheme;
  fault.scheme = std::move(text);
  fault.plays = plays;
  return fault;
}

// A good scheme but for one odd name in cell (2, 2), which the server has at `target`.
Fault OddName(std::string name, std::string odd, std::string target) {
  std::vector<std::string> lines = Stage::GoodNames();
  lines[2 * 7 + 2] = odd;
  Fault fault = Scheme(std::move(name), Stage::Join(lines, "\r\n"), true);
  fault.odd_name = std::move(odd);
  fault.odd_target = std::move(target);
  return fault;
}

std::vector<std::string> FirstNames(std::size_t count) {
  std::vector<std::string> names = Stage::GoodNames();
  names.resize(count);
  return names;
}

}  // namespace

std::vector<Fault> Catalogue() {
  const std::vector<std::string> good = Stage::GoodNames();
  std::vector<std::string> sixty = good;
  for (int i = 49; i < 60; ++i) sixty.push_back("extra-" + std::to_string(i) + ".jpg");
  std::vector<std::string> missing;
  for (int i = 0; i < 49; ++i) missing.push_back("missing-" + std::to_string(i) + ".jpg");
  std::string without_final_break = Stage::Join(good, "\r\n");
  without_final_break.resize(without_final_break.size() - 2);
  const std::string three_hundred = std::string(296, 'n') + ".jpg";

  return {
      Status(204),
      Status(301),
      Status(302),
      Status(404),
      Status(500),
      Status(503),
      Http("204, headers open with a folded line",
           [](const std::string&) {
             // No framing header goes first on a 204: the continuation line opens the headers,
             // with nothing to continue. libcurl refuses the answer.
             Reply reply = Reply::Html(204);
             reply.headers.insert(reply.headers.begin(), {"\tX-Folded", std::string(200, 'f')});
             return reply;
           }),
      Http("HTML page", [](const std::string&) { return Reply::Html(200); }),
      Http(
          "empty body", [](const std::string&) { return Reply::Ok("", "image/jpeg"); },
          PictureEffect::kEmpty),
      Broken("body cut short", ServerFault::kTruncated),
      Http("two lengths that differ",
           [](const std::string& good) {
             Reply reply = Reply::Ok(good);
             reply.headers = {{"Content-Length", std::to_string(good.size() / 2)}};
             return reply;
           }),
      [] {
        Fault fault = Broken("closed before the answer", ServerFault::kCloseBeforeReply);
        fault.repeats = true;
        return fault;
      }(),
      Broken("reset before the body", ServerFault::kResetBeforeBody),
      Broken("reset in the body", ServerFault::kResetMidBody),
      Broken("reset in a chunked body", ServerFault::kResetMidBody, Framing::kChunked),
      Broken("never answers", ServerFault::kNeverAnswer, Framing::kContentLength, true),
      Broken("head, then silence", ServerFault::kDripBody, Framing::kContentLength, true, 1h),
      Broken("drip, a byte a second", ServerFault::kDripBody, Framing::kContentLength, true, 1s),
      Broken("endless body, 1 TiB announced", ServerFault::kEndlessBody),
      Broken("endless body, chunked", ServerFault::kEndlessBody, Framing::kChunked),
      Broken("endless body, no length", ServerFault::kEndlessBody, Framing::kCloseDelimited),
      Broken("bad chunked encoding", ServerFault::kMalformedChunks, Framing::kChunked),

      Jpeg("JPEG: damaged header", testsupport::WithCorruptHeader, PictureEffect::kFails),
      Jpeg(
          "JPEG: damaged data",
          [](const std::string&) { return testsupport::WithCorruptEntropyData(TexturedJpeg()); },
          PictureEffect::kPatchedWhenPainted),
      Jpeg(
          "JPEG: a later scan undecodable",
          [](const std::string&) { return testsupport::WithBadLaterScan(TexturedJpeg(true)); },
          PictureEffect::kDamagedWhenPainted),
      Jpeg(
          "JPEG: cut in half",
          [](const std::string&) {
            const std::string whole = TexturedJpeg();
            return testsupport::Truncated(whole, whole.size() / 2);
          },
          PictureEffect::kPatchedWhenPainted),
      Jpeg(
          "JPEG: 65,535 x 65,535",
          [](const std::string& good) { return testsupport::WithDimensions(good, 65535, 65535); },
          PictureEffect::kFails),
      Jpeg(
          "JPEG: 16,000 x 16,000",
          [](const std::string& good) { return testsupport::WithDimensions(good, 16000, 16000); },
          PictureEffect::kFails),
      Jpeg(
          "JPEG: 2,112 progressive scans",
          [](const std::string&) { return testsupport::MakeManyScansJpeg(); },
          PictureEffect::kDamagedWhenPainted),

      Scheme("scheme: empty", "", false),
      Scheme("scheme: 48 lines", Stage::Join(FirstNames(48), "\r\n"), false),
      Scheme("scheme: 60 lines", Stage::Join(sixty, "\r\n"), true),
      Scheme("scheme: LF only", Stage::Join(good, "\n"), true),
      Scheme("scheme: CR only", Stage::Join(good, "\r"), true),
      Scheme("scheme: no final line break", without_final_break, true),
      Scheme("scheme: UTF-8 BOM", "\xEF\xBB\xBF" + Stage::Join(good, "\r\n"), true),
      Scheme("scheme: names not served", Stage::Join(missing, "\r\n"), false),
      OddName("name of 300 bytes", three_hundred, three_hundred),
      OddName("name with a space", "two words.jpg", "two%20words.jpg"),
      OddName("name with '#'", "no#1.jpg", "no%231.jpg"),
      OddName("name with '%'", "100%.jpg", "100%.jpg"),
      OddName("name with '?'", "what?.jpg", "what?.jpg"),
      OddName("name with '../'", "../1/up.jpg", "../1/up.jpg"),
      OddName("name with bytes >= 0x80", "caf\xC3\xA9-\x80\xFF.jpg", "caf%C3%A9-%80%FF.jpg"),
      OddName("name with a tab and a NUL", std::string("tab\tnul\0.jpg", 12), "tab%09nul%00.jpg"),
  };
}

}  // namespace faults
