#pragma once

#include <QWidget>
#include <array>
#include <set>
#include <span>
#include <string>

#include "app/control_tree.h"
#include "app/dialogs.h"
#include "app/input_hold.h"
#include "app/layout_table.h"
#include "app/picture_control.h"
#include "content/http_client.h"
#include "game/game_state.h"
#include "session/game_session.h"
#include "session/text_memo.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QToolButton;

namespace app {

class VerdictNotice;

class TForm1 : public QWidget {
 public:
  // `host` is the content server's name, as the no-data message gives it. The session must
  // outlive the window.
  TForm1(session::GameSession& session, std::string host, Dialogs& dialogs,
         std::span<const ControlEntry> layout = MainWindowLayout());

  // Making the window visible the first time runs FormShow before it comes on the screen, then
  // centres it. When FormShow closes the window it stays hidden.
  void setVisible(bool visible) override;

  // Handlers; each takes the control that raised the event and ignores it.
  void FormShow(QObject* Sender);
  void Button2Click(QObject* Sender);
  void Button3Click(QObject* Sender);
  void Image1Click(QObject* Sender);
  void Image2Click(QObject* Sender);
  void Image3Click(QObject* Sender);
  void Image4Click(QObject* Sender);
  void Image5Click(QObject* Sender);
  void Image29Click(QObject* Sender);
  void Image28Click(QObject* Sender);
  void Image8Click(QObject* Sender);
  void SpeedButton1Click(QObject* Sender);
  void SpeedButton2Click(QObject* Sender);

  // Controls. The window owns them; these name them.
  QGroupBox *GroupBox1, *GroupBox4, *GroupBox5, *GroupBox6, *GroupBox7, *GroupBox8, *GroupBox9,
      *GroupBox10;
  TImage *Image1, *Image2, *Image3, *Image4, *Image5, *Image29, *Image28;  // choice tiles
  TImage *Image6, *Image7, *Image25;                                       // task tiles
  TImage *Image8, *Image11;                                                // result
  TImage *Image9, *Image10, *Image16, *Image17, *Image32, *Image20, *Image21, *Image22, *Image23,
      *Image24, *Image30, *Image31;  // "Last Task:"
  QToolButton *SpeedButton1, *SpeedButton2;
  QPushButton *Button1, *Button2;
  QCheckBox *CheckBox1, *CheckBox2;  // the window's view of the order and step modes

  session::GameSession& Session() { return session_; }
  const session::GameSession& Session() const { return session_; }

 protected:
  // Closing the window while a handler waits drops the transfer: no request, no dialog follows.
  void closeEvent(QCloseEvent* event) override;

 private:
  // While a handler runs, nested calls and its dialogs included: the player's input to the
  // window waits for it, its fetches share one budget, and what the window's paint finds
  // (damaged pictures) waits for it to return.
  class HandlerScope {
   public:
    explicit HandlerScope(TForm1& form);
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

   private:
    TForm1& form_;
    content::HttpClient::Budget budget_;
  };

  // While a handler that fetches runs: the hourglass; whatever way it ends, its results are
  // installed and the default cursor is back.
  class Busy {
   public:
    explicit Busy(TForm1& form);
    ~Busy();
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

   private:
    TForm1& form_;
  };

  using Handler = void (TForm1::*)(QObject*);

  void BindControls(const ControlTree& tree, std::span<const ControlEntry> layout);
  void ConnectHandlers();
  void MakePlayableWithoutSight();
  // Runs a handler as every event runs it: in a handler scope, with what it lets out shown in
  // the error box.
  void RunHandler(Handler handler, QObject* sender);
  void CentreOnScreen();
  void InstallResults();
  QString NoDataText() const;
  void JudgeChoice(int tile);
  void NoteDamagedPicture(const TImage& control, const std::string& message);
  void NotePatchedPicture(const TImage& control, const std::string& message);
  std::string PictureAddress(const TImage& control) const;
  void PostDamageReport();
  void ReportDamage();

  session::GameSession& session_;
  InputHold input_hold_{*this};
  VerdictNotice* verdict_notice_ = nullptr;  // in GroupBox1's accessible tree
  std::array<TImage*, session::kSlotCount> slot_controls_{};
  std::string host_;
  Dialogs& dialogs_;
  bool shown_once_ = false;
  bool closed_ = false;  // once closed, the window never shows again
  int handlers_running_ = 0;
  // Pictures found damaged since the last report, and what the first one said.
  int damaged_pictures_ = 0;
  std::string first_damage_;
  bool damage_report_posted_ = false;
  bool reporting_damage_ = false;
  // Addresses of pictures shown as far as they decode that the log has named; forgotten when
  // it holds kRememberedPatched, so that a scheme of ever new names takes no more memory.
  static constexpr std::size_t kRememberedPatched = 256;
  std::set<std::string> patched_logged_;

 public:
  // The names the game's rules use for what the session holds.
  content::HttpClient& IdHTTP1 = session_.Client();
  game::GameState& State = session_.State();
  const session::TMemo& Memo3 = session_.SchemeMemo();  // the scheme text of the last turn
  const session::NameLog& Memo4 = session_.NameLog();   // the names each attempt read
};

}  // namespace app
