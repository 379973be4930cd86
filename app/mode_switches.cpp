// The step switch (automatic or hand stepping) and the order switch (fixed or mixed order).
#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>

#include "app/form1.h"

namespace app {

void TForm1::SpeedButton1Click(QObject*) {
  CheckBox2->setChecked(!CheckBox2->isChecked());
  const bool automatic = CheckBox2->isChecked();
  // The caption names the mode that the next click selects.
  SpeedButton1->setText(automatic ? QStringLiteral("HandStep") : QStringLiteral("AutoStep"));
  SpeedButton2->setEnabled(automatic);
  Button1->setEnabled(!automatic);
}

void TForm1::SpeedButton2Click(QObject*) {
  CheckBox1->setChecked(!CheckBox1->isChecked());
  SpeedButton2->setText(CheckBox1->isChecked() ? QStringLiteral("Fixed") : QStringLiteral("Mixed"));
}

}  // namespace app
