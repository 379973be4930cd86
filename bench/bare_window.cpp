// The start-up yardstick: a Qt window of the game window's size with a line of text, shown the
// way the game shows its own, with nothing fetched or built.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.setFixedSize(756, 367);
  const QLabel label(QStringLiteral("Qovex Dravel"), &window);  // what tells its first frame
  window.show();
  return application.exec();
}
