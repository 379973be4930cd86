#pragma once

#include <QString>
#include <vector>

#include "app/dialogs.h"

namespace faults {

// Keeps what the program would have shown, instead of blocking on a modal box.
class RecordedDialogs : public app::Dialogs {
 public:
  void ShowErrorBox(const QString& text) override { error_boxes.push_back(text); }
  void ShowNoDataDialog(const QString& text) override { no_data_dialogs.push_back(text); }

  std::vector<QString> error_boxes;
  std::vector<QString> no_data_dialogs;
};

}  // namespace faults
