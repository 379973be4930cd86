// The start-up floor: the bare window plus what any window of this game pays before doing
// anything of its own: a line of text, for which Qt builds its font database, and libcurl and
// libjpeg loaded and libcurl initialised. The game's start-up cannot go below it.
#include <curl/curl.h>

#include <QApplication>
#include <QLabel>
#include <QWidget>
// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>
// clang-format on

int main(int argc, char** argv) {
  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return 1;
  jpeg_error_mgr jpeg_errors;
  jpeg_std_error(&jpeg_errors);
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Floor window"));
  window.setFixedSize(756, 367);
  const QLabel label(QStringLiteral("Qovex Dravel"), &window);
  window.show();
  const int code = application.exec();
  curl_global_cleanup();
  return code;
}
