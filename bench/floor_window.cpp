// The start-up floor: what every version of this game must do before its first task is on
// the screen, in the game's order on one thread and nothing more: the application, a window
// of the game's size with a line of text (for which Qt builds its font database), libcurl,
// and the first task's 12 requests on one connection, made when the window is shown, before
// it comes on the screen.
//
//   floor_window URL...
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/window_look.h"
#include "bench/curl_session.h"

namespace {

class FloorWindow : public QWidget {
 public:
  explicit FloorWindow(std::vector<std::string> urls) : urls_(std::move(urls)) {
    setWindowTitle(QStringLiteral("Floor window"));
    setFixedSize(app::kClientWidth, app::kClientHeight);
  }

  void setVisible(bool visible) override {
    if (visible && !fetched_) {
      fetched_ = true;
      bench::CurlSession().FetchAll(urls_);
    }
    QWidget::setVisible(visible);
  }

 private:
  std::vector<std::string> urls_;
  bool fetched_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  FloorWindow window({argv + 1, argv + argc});
  const QLabel label(QStringLiteral("Qovex Dravel"), &window);
  try {
    window.show();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "floor_window: %s\n", error.what());
    return 1;
  }
  return application.exec();
}
