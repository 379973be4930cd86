#pragma once

#include <QWidget>
#include <array>
#include <span>
#include <string>

#include "app/control_tree.h"
#include "app/dialogs.h"
#include "app/layout_table.h"
#include "app/picture_control.h"
#include "app/text_memo.h"
#include "content/http_client.h"
#include "game/game_state.h"
#include "game/random_generator.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QToolButton;

namespace app {

// Where the window gets its content, and the host name the no-data message names.
struct ContentServerSettings {
  std::string base_url;
  std::string host;
  content::HttpLimits limits;
};

// The main window: every control, the HTTP client and the whole game state, and all of the
// program's behaviour in its event handlers.
class TForm1 : public QWidget {
 public:
  static constexpr int kTurnAttempts = 3;

  TForm1(ContentServerSettings server, Dialogs& dialogs, game::RandomGenerator& random,
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

  // Shows an error that no handler caught in the application's error box.
  void ShowUncaughtError(const std::string& message);

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
  QCheckBox *CheckBox1, *CheckBox2;
  TMemo Memo3;  // the scheme text of the last turn
  TMemo Memo4;  // every name of every turn, appended

  content::HttpClient IdHTTP1;
  game::GameState State{};  // value-initialised: every number starts at zero

 private:
  void BindControls(const ControlTree& tree);
  void ConnectHandlers();
  void CentreOnScreen();

  void FetchPicture(const std::string& file_name, TImage& control);
  std::string FetchText(const std::string& file_name);
  QString NoDataText() const;

  void PlayTurnAttempt();
  void JudgeChoice(int tile);

  std::array<TImage*, 7> choice_tiles_{};
  std::string host_;
  Dialogs& dialogs_;
  game::RandomGenerator& random_;
  bool shown_once_ = false;
  bool closed_by_form_show_ = false;
  // The last turn ran out of attempts, so the window shows no whole task to judge.
  bool turn_gave_up_ = false;
};

}  // namespace app
