#include "app/form1.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <iterator>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "app/accessible_tree.h"
#include "app/application_title.h"
#include "app/choice_row.h"
#include "app/screen_cursor.h"
#include "app/switch_keys.h"
#include "app/verdict_notice.h"
#include "app/window_look.h"
#include "content/content_error.h"
#include "content/content_server.h"
#include "content/fetch_failure.h"
#include "session/log_categories.h"

namespace app {
namespace {

QString ResultName(const std::string& picture) {
  if (picture == content::kRightPicture) return QStringLiteral("Result: right");
  if (picture == content::kWrongPicture) return QStringLiteral("Result: wrong");
  return QStringLiteral("Result");
}

}  // namespace

TForm1::TForm1(session::GameSession& session, std::string host, Dialogs& dialogs,
               std::span<const ControlEntry> layout)
    : session_(session), host_(std::move(host)), dialogs_(dialogs) {
  InstallAccessibleInterfaces();
  ApplyWindowLook(*this);
  const ControlTree tree(this, layout);
  BindControls(tree, layout);
  ConnectHandlers();
  MakePlayableWithoutSight();
  CheckBox2->setChecked(session_.AutomaticStepping());
  CheckBox1->setChecked(session_.MixedOrder());
}

void TForm1::BindControls(const ControlTree& tree, std::span<const ControlEntry> layout) {
  for (const ControlEntry& entry : layout) {
    if (!entry.picture) continue;
    TImage* const picture = tree.Get<TImage>(entry.name);
    this->*entry.picture = picture;
    if (entry.slot != session::Slot::kCount) slot_controls_[std::size_t(entry.slot)] = picture;
  }
  for (std::size_t slot = 0; slot < session::kSlotCount; ++slot) {
    if (!slot_controls_[slot])
      throw std::logic_error("the layout shows no slot " + std::to_string(slot));
  }

  struct GroupBinding {
    const char* name;
    QGroupBox* TForm1::*member;
  };
  static constexpr GroupBinding kGroups[] = {
      {"GroupBox1", &TForm1::GroupBox1}, {"GroupBox4", &TForm1::GroupBox4},
      {"GroupBox5", &TForm1::GroupBox5}, {"GroupBox6", &TForm1::GroupBox6},
      {"GroupBox7", &TForm1::GroupBox7}, {"GroupBox8", &TForm1::GroupBox8},
      {"GroupBox9", &TForm1::GroupBox9}, {"GroupBox10", &TForm1::GroupBox10},
  };
  for (const auto& [name, member] : kGroups) this->*member = tree.Get<QGroupBox>(name);

  SpeedButton1 = tree.Get<QToolButton>("SpeedButton1");
  SpeedButton2 = tree.Get<QToolButton>("SpeedButton2");
  Button1 = tree.Get<QPushButton>("Button1");
  Button2 = tree.Get<QPushButton>("Button2");
  CheckBox1 = tree.Get<QCheckBox>("CheckBox1");
  CheckBox2 = tree.Get<QCheckBox>("CheckBox2");
}

void TForm1::ConnectHandlers() {
  const auto guarded = [this](Handler handler, QObject* sender) {
    return [this, handler, sender] { RunHandler(handler, sender); };
  };
  const std::pair<TImage*, Handler> pictures[] = {
      {Image1, &TForm1::Image1Click},   {Image2, &TForm1::Image2Click},
      {Image3, &TForm1::Image3Click},   {Image4, &TForm1::Image4Click},
      {Image5, &TForm1::Image5Click},   {Image29, &TForm1::Image29Click},
      {Image28, &TForm1::Image28Click}, {Image8, &TForm1::Image8Click},
      {Image9, &TForm1::Image8Click},   {Image10, &TForm1::Image8Click},
      {Image11, &TForm1::Image8Click},
  };
  for (const auto& [picture, handler] : pictures) {
    connect(picture, &TImage::Click, this, guarded(handler, picture));
  }
  connect(Button1, &QPushButton::clicked, this, guarded(&TForm1::Button3Click, Button1));
  connect(Button2, &QPushButton::clicked, this, guarded(&TForm1::Button2Click, Button2));
  connect(SpeedButton1, &QToolButton::clicked, this,
          guarded(&TForm1::SpeedButton1Click, SpeedButton1));
  connect(SpeedButton2, &QToolButton::clicked, this,
          guarded(&TForm1::SpeedButton2Click, SpeedButton2));

  for (TImage* picture : findChildren<TImage*>()) {
    picture->SetDamageReporter(
        [this, picture](const std::string& message) { NoteDamagedPicture(*picture, message); });
    picture->SetPatchReporter(
        [this, picture](const std::string& message) { NotePatchedPicture(*picture, message); });
  }
  // The small result picture is empty until a wrong pick: nothing to read.
  Image8->setAccessibleName(QStringLiteral("Result"));
}

// Each event runs its handler to completion; what a handler lets out goes to the error box,
// but for a transfer abandoned because the window closed, which only ends the handler. A click
// that comes while a handler runs comes from no input event, which would wait (assistive
// technology's press of a control, a button's animated click): it waits all the same.
void TForm1::RunHandler(Handler handler, QObject* sender) {
  if (input_hold_.Holds()) {
    input_hold_.Defer([this, handler, sender] { RunHandler(handler, sender); });
    return;
  }
  const HandlerScope scope(*this);
  ShowingErrors(dialogs_, [&] {
    try {
      (this->*handler)(sender);
    } catch (const content::TransferAbandoned&) {
    }
  });
}

void TForm1::MakePlayableWithoutSight() {
  TImage* const tiles[] = {Image1, Image2, Image3, Image4, Image5, Image29, Image28};
  new ChoiceRow(tiles, *Button1);
  new SwitchKeys(*this, *SpeedButton1, *SpeedButton2);
  verdict_notice_ = new VerdictNotice(*GroupBox1);
  OfferAlso(*GroupBox1, verdict_notice_);
}

void TForm1::setVisible(bool visible) {
  if (visible && !shown_once_) {
    shown_once_ = true;
    RunHandler(&TForm1::FormShow, this);
    if (closed_) return;  // start-up failed, or the window was closed while it waited
    CentreOnScreen();
  }
  QWidget::setVisible(visible);
}

void TForm1::closeEvent(QCloseEvent* event) {
  closed_ = true;
  session_.Client().Abandon();
  QWidget::closeEvent(event);
}

TForm1::HandlerScope::HandlerScope(TForm1& form) : form_(form), budget_(form.session_.Client()) {
  if (form_.handlers_running_++ == 0) form_.input_hold_.SetHolding(true);
}

TForm1::HandlerScope::~HandlerScope() {
  if (--form_.handlers_running_ > 0) return;
  if (form_.damaged_pictures_ > 0) form_.PostDamageReport();
  // What the player did meanwhile comes now, from the event loop.
  form_.input_hold_.SetHolding(false);
}

// Damaged data shows up only when a picture is painted. A paint may find several, and may
// come inside a handler's wait for the network: a line each, and one report, after the paint
// and after the handler.
void TForm1::NoteDamagedPicture(const TImage& control, const std::string& message) {
  session_.Log().Warn(session::lcPicture, PictureAddress(control) + " cannot be painted in " +
                                              control.objectName().toStdString() + ": " + message);
  if (damaged_pictures_++ == 0) first_damage_ = message;
  PostDamageReport();
}

// Shown as browsers show it, with no box: a line the first time its address is painted.
void TForm1::NotePatchedPicture(const TImage& control, const std::string& message) {
  const std::string address = PictureAddress(control);
  if (patched_logged_.size() >= kRememberedPatched) patched_logged_.clear();
  if (!patched_logged_.insert(address).second) return;
  session_.Log().Warn(session::lcPicture, address + " is damaged, shown as far as it decodes in " +
                                              control.objectName().toStdString() + ": " + message);
}

// Where the picture came from: the session still holds it, in the control's slot or in the
// "Last Task:" copies, unless a handler under way has fetched another since.
std::string TForm1::PictureAddress(const TImage& control) const {
  for (const session::ShownPicture& shown : session_.Shown().pictures) {
    if (!shown.picture.Empty() && shown.picture.SameAs(control.Picture())) {
      return content::ShownUrl(session_.Client(), shown.name);
    }
  }
  return "a picture";
}

void TForm1::PostDamageReport() {
  if (damage_report_posted_) return;
  damage_report_posted_ = true;
  QMetaObject::invokeMethod(
      this, [this] { ReportDamage(); }, Qt::QueuedConnection);
}

void TForm1::ReportDamage() {
  damage_report_posted_ = false;
  if (handlers_running_ > 0 || reporting_damage_ || damaged_pictures_ == 0) return;
  const int count = std::exchange(damaged_pictures_, 0);
  const std::string text = std::to_string(count) + (count == 1 ? " picture" : " pictures") +
                           " could not be shown (" + first_damage_ + ")";
  reporting_damage_ = true;
  dialogs_.ShowErrorBox(ErrorBoxText(QString::fromLocal8Bit(text)));
  reporting_damage_ = false;
  if (damaged_pictures_ > 0) PostDamageReport();  // found while the box was up
}

void TForm1::CentreOnScreen() {
  const QScreen* screen = this->screen();
  if (!screen) return;
  QRect frame = frameGeometry();
  frame.moveCenter(screen->geometry().center());
  move(frame.topLeft());
}

// The one place a handler's results reach the controls: every slot's picture as the session
// holds it and which result picture shows. A fetch that failed left its slot as it was, so
// after a failure the window keeps all that was fetched before it, and nothing of the rest.
void TForm1::InstallResults() {
  const session::Board& board = session_.Shown();
  QString verdict;
  for (std::size_t slot = 0; slot < session::kSlotCount; ++slot) {
    const session::ShownPicture& shown = board.pictures[slot];
    TImage& control = *slot_controls_[slot];
    if (shown.picture.SameAs(control.Picture())) continue;
    control.SetPicture(shown.picture);
    if (!ShownSlot(static_cast<session::Slot>(slot))) continue;
    // A screen reader tells the tiles apart by their pictures' names, and learns the verdict
    // from the result pictures'.
    if (&control == Image8 || &control == Image11) {
      control.setAccessibleName(ResultName(shown.name));
      const bool judged =
          shown.name == content::kRightPicture || shown.name == content::kWrongPicture;
      if (judged) verdict = control.accessibleName();
    } else {
      const std::string_view stem = std::string_view(shown.name).substr(0, shown.name.rfind('.'));
      control.setAccessibleName(QString::fromLocal8Bit(stem.data(), qsizetype(stem.size())));
    }
  }
  Image8->setVisible(board.result_visible);
  Image11->setVisible(board.wrong_visible);
  if (!verdict.isEmpty()) verdict_notice_->Tell(verdict);
}

TForm1::Busy::Busy(TForm1& form) : form_(form) { SetScreenCursor(ScreenCursor::Hourglass); }

TForm1::Busy::~Busy() {
  form_.InstallResults();
  SetScreenCursor(ScreenCursor::Default);
}

QString TForm1::NoDataText() const {
  return QStringLiteral("Hello! No data from ") + QString::fromLatin1(host_) +
         QStringLiteral("! Be connected!");
}

void TForm1::Image8Click(QObject*) {}

}  // namespace app
