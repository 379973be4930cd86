#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "app/dialogs.h"

// Records what the program would have shown, instead of blocking on a modal box.
class RecordingDialogs : public app::Dialogs {
 public:
  void ShowErrorBox(const QString& text) override {
    error_boxes.push_back(text);
    if (on_show) on_show();
  }
  void ShowNoDataDialog(const QString& text) override {
    no_data_dialogs.push_back(text);
    if (on_show) on_show();
  }

  std::vector<QString> error_boxes;
  std::vector<QString> no_data_dialogs;
  std::function<void()> on_show;  // runs while the box would be on the screen
};

// The dialogs of the test program's application object.
RecordingDialogs& ApplicationDialogs();
