// The start-up yardstick: an empty Qt window of the game window's size, shown the way the game
// shows its own, with nothing fetched, built or drawn in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.setFixedSize(756, 367);
  window.show();
  return application.exec();
}
