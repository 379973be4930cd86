#include "app/dialogs.h"

#include <QMessageBox>

#include "app/application_title.h"

namespace app {
namespace {

void ShowModal(QMessageBox::Icon icon, const QString& title, const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok);
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
}

}  // namespace

void MessageBoxDialogs::ShowErrorBox(const QString& text) {
  ShowModal(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle), text);
}

void MessageBoxDialogs::ShowNoDataDialog(const QString& text) {
  ShowModal(QMessageBox::Question, QStringLiteral("Confirm"), text);
}

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + u'.';
  return message;
}

}  // namespace app
