// The shown event: captions, the start-up picture, the task sequence and the first task.
#include <QGroupBox>
#include <QPushButton>
#include <QToolButton>

#include "app/form1.h"
#include "content/content_error.h"

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

  try {
    session_.FetchStartPicture();
    Button2Click(this);
    Button3Click(this);
  } catch (const content::ContentError&) {
    dialogs_.ShowNoDataDialog(NoDataText());
    closed_by_form_show_ = true;
    close();
  }
}

}  // namespace app
