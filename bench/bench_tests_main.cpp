// The bench's own tests run the real application object on Qt's offscreen platform.
#include <gtest/gtest.h>

#include "app/application.h"
#include "bench/offscreen_game.h"

int main(int argc, char** argv) {
  bench::UseOffscreenPlatform();
  testing::InitGoogleTest(&argc, argv);
  bench::CountingDialogs dialogs;
  app::Application application(argc, argv, dialogs);
  return RUN_ALL_TESTS();
}
