// The step switch (automatic or hand stepping) and the order switch (fixed or mixed order).
#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>

#include "app/form1.h"

namespace app {

void TForm1::SpeedButton1Click(QObject*) {
  session_.SetAutomaticStepping(!session_.AutomaticStepping());
  const bool automatic = session_.AutomaticStepping();
  CheckBox2->setChecked(automatic);
  // The caption names the mode that the next click selects.
  SpeedButton1->setText(automatic ? QStringLiteral("HandStep") : QStringLiteral("AutoStep"));
  SpeedButton2->setEnabled(automatic);
  Button1->setEnabled(!automatic);
}

void TForm1::SpeedButton2Click(QObject*) {
  session_.SetMixedOrder(!session_.MixedOrder());
  CheckBox1->setChecked(session_.MixedOrder());
  SpeedButton2->setText(session_.MixedOrder() ? QStringLiteral("Fixed") : QStringLiteral("Mixed"));
}

}  // namespace app
