// Writes the window's layout as the end-to-end scripts read it: the client size, and in client
// coordinates (nested group boxes added up) the rectangle of every named control as
// DRAVEL_<name>=(left top width height); then which pictures are the choice tiles, the task
// tiles and the two result pictures, in order.
//
//   window_layout_env FILE
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <utility>

#include "app/layout_table.h"
#include "app/window_look.h"

int main(int argc, char** argv) {
  if (argc != 2) return std::fprintf(stderr, "usage: window_layout_env FILE\n"), 2;
  std::ofstream out(argv[1]);
  out << "# Generated from the window's layout table. Sourced by the end-to-end scripts.\n"
      << "DRAVEL_CLIENT_WIDTH=" << app::kClientWidth
      << "\nDRAVEL_CLIENT_HEIGHT=" << app::kClientHeight << "\n";
  std::map<std::string, std::pair<int, int>> origins{{"", {0, 0}}};
  std::map<session::Slot, std::string> shown_by;
  for (const app::ControlEntry& entry : app::MainWindowLayout()) {
    const auto [parent_left, parent_top] = origins.at(entry.parent);
    if (!*entry.name) continue;
    const int left = parent_left + entry.left;
    const int top = parent_top + entry.top;
    origins[entry.name] = {left, top};
    out << "DRAVEL_" << entry.name << "=(" << left << ' ' << top << ' ' << entry.width << ' '
        << entry.height << ")\n";
    if (entry.slot != session::Slot::kCount) shown_by[entry.slot] = entry.name;
  }
  const auto names = [&](const char* variable, session::Slot first, int count) {
    out << variable << "=(";
    for (int i = 0; i < count; ++i) {
      out << (i ? " " : "") << shown_by.at(static_cast<session::Slot>(std::size_t(first) + i));
    }
    out << ")\n";
  };
  names("DRAVEL_CHOICE_TILES", session::ChoiceSlot(1), 7);
  names("DRAVEL_TASK_TILES", session::TaskSlot(1), 3);
  names("DRAVEL_RESULT_PICTURES", session::Slot::kResult, 2);
  return out.good() ? 0 : 1;
}
