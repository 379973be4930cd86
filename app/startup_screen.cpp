// The shown event: captions, then the start-up picture, the task sequence and the first task.
#include <QGroupBox>
#include <QPushButton>
#include <QToolButton>

#include "app/form1.h"

namespace app {

void TForm1::FormShow(QObject*) {
  // The texts of the layout may differ; these are the ones the window must show.
  GroupBox4->setTitle(QStringLiteral("Qovex"));
  GroupBox6->setTitle(QStringLiteral("Dravel Qovex game!"));
  GroupBox9->setTitle(QStringLiteral("New Task:"));
  GroupBox8->setTitle(QStringLiteral("Choice(Please, Click here!):"));
  SpeedButton1->setText(QStringLiteral("HandStep/AutoStep"));
  SpeedButton2->setText(QStringLiteral("Fixed/Mixed"));
  Button1->setText(QStringLiteral("Start->Next"));
  setWindowTitle(QStringLiteral("Qovex Dravel"));

  // Start-up runs as one action: the start-up picture, the task sequence and the first turn.
  // A first turn that gives up fails the start as a missing start-up picture does: the window
  // would open without a task to play.
  const bool started = session_.Start();
  InstallResults();
  if (!started) {
    dialogs_.ShowNoDataDialog(NoDataText());
    close();
  }
}

}  // namespace app
