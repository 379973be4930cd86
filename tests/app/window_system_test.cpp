// The window system the program asks Qt for: X11 where it is at hand, unless the user chose.
#include "app/window_system.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

namespace {

class Environment {
 public:
  Environment() : platform_(qgetenv("QT_QPA_PLATFORM")), display_(qgetenv("DISPLAY")) {}
  ~Environment() {
    Set("QT_QPA_PLATFORM", platform_);
    Set("DISPLAY", display_);
  }
  static void Set(const char* name, const QByteArray& value) {
    if (value.isEmpty()) {
      qunsetenv(name);
    } else {
      qputenv(name, value);
    }
  }

 private:
  QByteArray platform_, display_;
};

TEST(WindowSystem, X11WhereItIsAtHandUnlessTheUserChose) {
  const Environment saved;
  Environment::Set("QT_QPA_PLATFORM", {});
  Environment::Set("DISPLAY", ":5");
  app::PreferFrameDrawnByTheDesktop();
  EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "xcb");

  Environment::Set("QT_QPA_PLATFORM", "wayland");
  app::PreferFrameDrawnByTheDesktop();
  EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "wayland") << "the user's choice stands";

  Environment::Set("QT_QPA_PLATFORM", {});
  Environment::Set("DISPLAY", {});
  app::PreferFrameDrawnByTheDesktop();
  EXPECT_TRUE(qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) << "Wayland alone: Qt's own choice";
}

}  // namespace
