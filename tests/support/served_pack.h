#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/support/test_http_server.h"

namespace testsupport {

// A loopback content server with a pack of small pictures: cell (r, c) of the scheme (counted
// from 0) is "cell-<r>-<c>.jpg", each picture a colour of its own, and the three fixed pictures.
class ServedPack {
 public:
  ServedPack();

  static std::string CellName(int r, int c);
  // The scheme text: exactly 49 lines, CR LF.
  static std::string SchemeText();

  // Every file served as the pack holds it again, and no other route.
  void Restore();
  // The name of the served file with these bytes: "" for none at all, "?" when no file matches.
  std::string NameOf(std::string_view bytes) const;
  // The file names requested since the log was cleared, in order.
  std::vector<std::string> Requested() const;
  // Serves a name with a 404 from now on.
  void Remove(const std::string& name);
  void ServeJpeg(const std::string& name, int shade);
  // Serves `bytes` under `name` from now on, and knows them by that name (the scheme too).
  void Serve(const std::string& name, std::string bytes);
  const std::string& Bytes(const std::string& name) const { return files_.at(name); }

  TestHttpServer server;

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace testsupport
