#include "matrix_cells.h"

#include <exception>
#include <string>
#include <vector>

#include "game/code.h"
#include "game/sequence_builder.h"

namespace faults {
namespace {

// Seconds a handler may take beyond the time-outs it is expected to wait for.
constexpr double kAllowance = 3.0;

// `waiting` fetches of the fault each wait for a time-out.
double Bound(const Fault& fault, int waiting) {
  const double per_wait = Stage::Limits().transfer_timeout.count() / 1000.0 + 1.0;
  return kAllowance + (fault.waits ? waiting * per_wait : 0.0);
}

// A choice tile whose picture the next task does not show as well, counted from 1.
int ChoiceTileOffTheNextTask(const app::TForm1& form) {
  const int next = game::NextTaskIndex(form.State.TaskIndex, form.State.CodeCount);
  const game::CodeDigits d = game::SplitCodeDigits(game::TaskAt(form.State, next));
  for (int k = 1;; ++k) {
    if ((d[0] != k || d[1] != k) && (d[2] != k || d[3] != k) && (d[4] != k || d[5] != k)) {
      return k;
    }
  }
}

// Scheme faults replace the scheme whatever the caller; file faults replace `file`, the
// caller's first fetch (in a turn: see Turn).
void Apply(Stage& stage, const Fault& fault, const std::string& file) {
  if (fault.kind == Kind::kScheme) {
    stage.ServeScheme(fault.scheme);
    if (!fault.odd_name.empty()) stage.ServeExtraPicture(fault.odd_name, fault.odd_target);
    return;
  }
  stage.Serve(file, fault.reply(stage.GoodBytes(file)));
}

bool Passes(const Fault& fault) {
  return fault.kind == Kind::kScheme ? fault.plays : fault.effect != PictureEffect::kFails;
}

std::size_t BoxesWhenPainted(const Fault& fault) {
  return fault.effect == PictureEffect::kDamagedWhenPainted ? 1 : 0;
}

// What a picture that passed with the fault shows: nothing, or bytes of no good file.
std::string ShownWithFault(const Fault& fault) {
  return fault.effect == PictureEffect::kEmpty ? "" : "?";
}

std::string PassingExpectation(const Fault& fault, const std::string& how) {
  if (fault.kind == Kind::kScheme) return how;
  switch (fault.effect) {
    case PictureEffect::kEmpty:
      return how + ", empty picture";
    case PictureEffect::kPatchedWhenPainted:
      return how + ", shown as far as it decodes";
    default:
      return how + ", damaged picture";
  }
}

void ExpectNoDataDialogs(Stage& stage, Result& result) {
  result.Expect(stage.Dialogs().no_data_dialogs.empty(), "a no-data dialog");
}

// A turn on an odd scheme played: every tile as the table names it, the odd name on the wire
// exactly as it must be, no line past the 49th used.
void ExpectSchemePlayed(Stage& stage, Result& result, const Fault& fault) {
  ExpectTaskOnShow(stage, result);
  if (!fault.odd_name.empty()) {
    result.Expect(stage.RequestsOf(fault.odd_target) > 0,
                  "the odd name was not asked for as \"" + fault.odd_target + "\"");
  }
  for (const std::string& name : stage.Requested()) {
    result.Expect(!name.starts_with("extra-"), "a line past the 49th was used: " + name);
  }
}

Result StartUp(Stage& stage, const Fault& fault) {
  Result result;
  Apply(stage, fault, "reading.jpg");
  app::TForm1& form = stage.NewWindow();
  stage.Server().ClearRequests();
  {
    Stopwatch watch(result, Bound(fault, 1));
    form.show();
  }
  // Without the start-up picture, or with a first turn that gives up, the start fails.
  if (!Passes(fault)) {
    result.expected = "no data, closes";
    result.Expect(stage.Dialogs().no_data_dialogs == std::vector{Stage::NoDataText()},
                  "not exactly one no-data dialog");
    result.Expect(!form.isVisible(), "the window is on the screen");
    if (fault.kind != Kind::kScheme) {
      result.Expect(form.State.CodeCount == 0, "the task sequence was built");
      result.Expect(stage.Requested() == std::vector<std::string>{"reading.jpg"},
                    "asked for more than \"reading.jpg\"");
    }
    stage.Restore();
    app::TForm1& fresh = stage.NewWindow();
    fresh.show();
    result.Expect(fresh.isVisible() && fresh.State.TaskIndex == 1,
                  "afterwards, a fresh window did not start");
  } else {
    result.expected = PassingExpectation(fault, "starts");
    result.Expect(form.isVisible(), "the window is not on the screen");
    ExpectNoDataDialogs(stage, result);
    result.Expect(form.State.TaskIndex == 1, "the first task is not on show");
    if (fault.kind == Kind::kScheme) {
      ExpectSchemePlayed(stage, result, fault);
    } else {
      ExpectTaskOnShow(stage, result);
      result.Expect(stage.Shown(form.Image8) == ShownWithFault(fault),
                    "the result picture shows \"" + stage.Shown(form.Image8) + "\"");
    }
    ExpectErrorBoxesWhenPainted(stage, result, BoxesWhenPainted(fault));
  }
  ExpectTheGameGoesOn(stage, result);
  return result;
}

Result Turn(Stage& stage, const Fault& fault) {
  Result result;
  app::TForm1& form = stage.NewWindow();
  form.show();
  // Faults of HTTP go on the scheme, faults of the JPEG data on a choice tile's picture.
  const int tile = ChoiceTileOffTheNextTask(form);
  app::TImage* const tiles[] = {form.Image1, form.Image2,  form.Image3, form.Image4,
                                form.Image5, form.Image29, form.Image28};
  app::TImage* const faulted = tiles[tile - 1];
  Apply(stage, fault,
        fault.kind == Kind::kHttp ? "shemoftask.txt" : Stage::CellName(tile - 1, tile - 1));
  stage.Server().ClearRequests();
  const int before = form.State.TaskIndex;
  {
    Stopwatch watch(result, Bound(fault, kTurnAttempts));
    form.Button3Click(&form);
  }
  // Nothing but a scheme file will do as the scheme: every fault of HTTP fails the turn.
  if (fault.kind == Kind::kHttp || !Passes(fault)) {
    result.expected = "gives up";
    ExpectGaveUp(stage, result, before, kTurnAttempts, fault.repeats);
    ExpectErrorBoxesWhenPainted(stage, result, 0);
  } else {
    result.expected = PassingExpectation(fault, "plays");
    result.Expect(form.State.TaskIndex == before + 1, "the next task is not on show");
    ExpectNoDataDialogs(stage, result);
    if (fault.kind == Kind::kScheme) {
      ExpectSchemePlayed(stage, result, fault);
    } else {
      ExpectTaskOnShow(stage, result, faulted);
      result.Expect(stage.Shown(faulted) == ShownWithFault(fault),
                    "the faulted choice tile shows \"" + stage.Shown(faulted) + "\"");
    }
    ExpectErrorBoxesWhenPainted(stage, result, BoxesWhenPainted(fault));
  }
  ExpectTheGameGoesOn(stage, result);
  return result;
}

// The pictures and visibility of the result group and the "Last Task:" group.
std::vector<std::string> Verdicts(const app::TForm1& form) {
  const app::TImage* const controls[] = {
      form.Image8,  form.Image11, form.Image9,  form.Image16, form.Image17,
      form.Image32, form.Image20, form.Image21, form.Image22, form.Image23,
      form.Image24, form.Image30, form.Image31,
  };
  std::vector<std::string> state;
  for (const app::TImage* control : controls) {
    state.push_back(std::string(control->Picture().Data()) + (control->isHidden() ? "-" : "+"));
  }
  return state;
}

Result Choice(Stage& stage, const Fault& fault) {
  Result result;
  app::TForm1& form = stage.NewWindow();
  form.show();
  // A wrong verdict first: a right one that fails to come must leave it as it is.
  stage.ClickTile(stage.WrongTile());
  const std::vector<std::string> verdicts = Verdicts(form);
  Apply(stage, fault, "ok.jpg");
  stage.Server().ClearRequests();
  const int before = form.State.TaskIndex;
  const int right = stage.RightTile();
  {
    Stopwatch watch(result, Bound(fault, 1));
    stage.ClickTile(right);
  }
  if (fault.kind != Kind::kScheme && !Passes(fault)) {
    result.expected = "nothing changes";
    result.Expect(Verdicts(form) == verdicts, "the result or \"Last Task:\" group changed");
    result.Expect(form.State.TaskIndex == before, "a next turn was played");
    result.Expect(form.State.JudgedTaskIndex == before, "the task on show was not judged");
    const std::vector<std::string> once{"ok.jpg"}, twice{"ok.jpg", "ok.jpg"};
    result.Expect(stage.Requested() == once || (fault.repeats && stage.Requested() == twice),
                  "asked for more than \"ok.jpg\"");
    ExpectNoDataDialogs(stage, result);
  } else {
    result.Expect(!form.Image8->isHidden() && form.Image11->isHidden(),
                  "the right verdict is not on show");
    result.Expect(stage.Shown(form.Image9) == Stage::CellName(right - 1, right - 1),
                  "the pick shows \"" + stage.Shown(form.Image9) + "\"");
    if (fault.kind == Kind::kScheme) {
      result.Expect(stage.Shown(form.Image8) == "ok.jpg", "the verdict is not \"ok.jpg\"");
    } else {
      result.Expect(stage.Shown(form.Image8) == ShownWithFault(fault),
                    "the verdict shows \"" + stage.Shown(form.Image8) + "\"");
    }
    if (Passes(fault)) {
      result.expected = PassingExpectation(fault, "verdict, next task");
      result.Expect(form.State.TaskIndex == before + 1, "the next task is not on show");
      ExpectNoDataDialogs(stage, result);
      if (fault.kind == Kind::kScheme) {
        ExpectSchemePlayed(stage, result, fault);
      } else {
        ExpectTaskOnShow(stage, result);
      }
      ExpectErrorBoxesWhenPainted(stage, result, BoxesWhenPainted(fault));
    } else {
      result.expected = "verdict, turn gives up";
      ExpectGaveUp(stage, result, before);
    }
  }
  ExpectTheGameGoesOn(stage, result);
  return result;
}

}  // namespace

const char* CallerName(Caller caller) {
  switch (caller) {
    case Caller::kStartUp:
      return "start-up";
    case Caller::kTurn:
      return "turn";
    case Caller::kChoice:
      return "choice";
  }
  return "";
}

Result RunCell(Stage& stage, const Fault& fault, Caller caller,
               const RecordedDialogs& application) {
  const std::size_t boxes = application.error_boxes.size();
  Result result;
  try {
    switch (caller) {
      case Caller::kStartUp:
        result = StartUp(stage, fault);
        break;
      case Caller::kTurn:
        result = Turn(stage, fault);
        break;
      case Caller::kChoice:
        result = Choice(stage, fault);
        break;
    }
  } catch (const std::exception& error) {
    result.Expect(false, std::string("the scenario threw: ") + error.what());
  }
  result.Expect(application.error_boxes.size() == boxes,
                "an error reached the application's error box");
  result.Expect(stage.RequestsOf("moved") == 0, "a redirect was followed");
  return result;
}

}  // namespace faults
