// Widget tests run the real application object on Qt's offscreen platform.
#include <gtest/gtest.h>

#include "app/application.h"
#include "recording_dialogs.h"

RecordingDialogs& ApplicationDialogs() {
  static RecordingDialogs dialogs;
  return dialogs;
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  app::Application application(argc, argv, ApplicationDialogs());
  return RUN_ALL_TESTS();
}
