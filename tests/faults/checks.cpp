#include "checks.h"

#include <QCheckBox>

#include "game/code.h"
#include "game/sequence_builder.h"
#include "game/turn_cells.h"

namespace faults {

void Result::Expect(bool holds, const std::string& what) {
  if (!holds) problems.push_back(what);
}

Stopwatch::Stopwatch(Result& result, double bound_seconds)
    : result_(result), start_(std::chrono::steady_clock::now()) {
  result_.bound_seconds = bound_seconds;
}

Stopwatch::~Stopwatch() {
  result_.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  result_.Expect(result_.seconds <= result_.bound_seconds,
                 "held the window longer than " + std::to_string(result_.bound_seconds) + " s");
}

void ExpectTaskOnShow(Stage& stage, Result& result, const app::TImage* except) {
  const app::TForm1& form = stage.Window();
  const game::ImageNameTable& names = form.State.ImageNames;
  const app::TImage* const choices[] = {form.Image1, form.Image2,  form.Image3, form.Image4,
                                        form.Image5, form.Image29, form.Image28};
  for (int k = 0; k < 7; ++k) {
    if (choices[k] == except) continue;
    result.Expect(
        stage.Shown(choices[k]) == names[k][k],
        "choice tile " + std::to_string(k + 1) + " shows \"" + stage.Shown(choices[k]) + "\"");
  }
  const auto cells =
      game::TaskCells(game::SplitCodeDigits(game::TaskAt(form.State, form.State.TaskIndex)));
  const app::TImage* const tasks[] = {form.Image6, form.Image7, form.Image25};
  for (int pair = 0; pair < 3; ++pair) {
    if (tasks[pair] == except) continue;
    const std::string& name = game::NameAt(names, cells[pair]);
    result.Expect(stage.Shown(tasks[pair]) == name, "task tile " + std::to_string(pair + 1) +
                                                        " shows \"" + stage.Shown(tasks[pair]) +
                                                        "\", not \"" + name + "\"");
  }
}

void ExpectGaveUp(Stage& stage, Result& result, int task_index, int attempts, bool repeats) {
  const auto& dialogs = stage.Dialogs().no_data_dialogs;
  result.Expect(dialogs == std::vector{Stage::NoDataText()}, "not exactly one no-data dialog");
  result.Expect(stage.Window().isVisible(), "the window closed");
  result.Expect(stage.Window().State.TaskIndex == task_index, "the task index moved");
  const int asked = stage.RequestsOf("shemoftask.txt");
  result.Expect(asked >= attempts && asked <= attempts * (repeats ? 2 : 1),
                "the scheme was asked for " + std::to_string(asked) + " times, not " +
                    std::to_string(attempts) +
                    (repeats ? " to " + std::to_string(2 * attempts) : ""));
}

void ExpectErrorBoxesWhenPainted(Stage& stage, Result& result, std::size_t boxes) {
  stage.Paint();
  const std::size_t shown = stage.Dialogs().error_boxes.size();
  result.Expect(shown == boxes, "painting showed " + std::to_string(shown) +
                                    " error boxes in all, not " + std::to_string(boxes));
  stage.Paint();
  result.Expect(stage.Dialogs().error_boxes.size() == shown, "painting again showed more");
}

void ExpectTheGameGoesOn(Stage& stage, Result& result) {
  stage.Restore();
  app::TForm1& form = stage.Window();
  const int before = form.State.TaskIndex;
  const std::size_t dialogs = stage.Dialogs().no_data_dialogs.size();
  const std::size_t boxes = stage.Dialogs().error_boxes.size();
  result.Expect(form.CheckBox2->isChecked(), "not in automatic stepping");
  stage.ClickTile(stage.RightTile());
  result.Expect(form.State.TaskIndex == game::NextTaskIndex(before, form.State.CodeCount),
                "afterwards, the next click did not go on to the next task");
  result.Expect(stage.Dialogs().no_data_dialogs.size() == dialogs,
                "afterwards, the next click showed the no-data dialog");
  ExpectTaskOnShow(stage, result);
  stage.Paint();
  result.Expect(stage.Dialogs().error_boxes.size() == boxes,
                "afterwards, painting showed an error box");
}

}  // namespace faults
