// dravel-contentgen FOLDER: writes the game's content pack into FOLDER.
#include <QGuiApplication>
#include <exception>
#include <iostream>

#include "contentgen/generated_pack.h"
#include "contentgen/pack_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: dravel-contentgen FOLDER\n"
                 "Writes the task scheme and every picture of the game into FOLDER.\n";
    return 2;
  }
  // Text needs a GUI application, but nothing is ever shown: no display is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;
  QGuiApplication application(qt_argc, argv);
  try {
    contentgen::WritePack(contentgen::GeneratedPack(), argv[1]);
  } catch (const std::exception& error) {
    std::cerr << "dravel-contentgen: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
