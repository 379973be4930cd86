// The start-up floor: what every version of this game must do before its first task is on
// the screen, and nothing more: libcurl and libjpeg loaded, the first task's 12 requests made
// on one connection, and a window with a line of text (for which Qt builds its font
// database). The requests run beside the window's construction, as well as they can.
//
//   floor_window URL...
#include <curl/curl.h>

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <exception>
#include <future>
#include <string>
#include <vector>
// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>
// clang-format on

#include "bench/curl_session.h"

int main(int argc, char** argv) {
  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return 1;
  jpeg_error_mgr jpeg_errors;
  jpeg_std_error(&jpeg_errors);
  const std::vector<std::string> urls(argv + 1, argv + argc);
  auto fetched = std::async(std::launch::async, [&urls] {
    bench::CurlSession session;
    session.FetchAll(urls);
  });
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Floor window"));
  window.setFixedSize(756, 367);
  const QLabel label(QStringLiteral("Qovex Dravel"), &window);
  try {
    fetched.get();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "floor_window: %s\n", error.what());
    return 1;
  }
  window.show();
  const int code = application.exec();
  curl_global_cleanup();
  return code;
}
