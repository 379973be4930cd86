#include "report.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>

namespace faults {
namespace {

void Pad(std::ostream& out, const std::string& text, std::size_t width) {
  out << text << std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::size_t WidestRow(const std::vector<std::string>& rows, std::size_t at_least) {
  std::size_t width = at_least;
  for (const std::string& row : rows) width = std::max(width, row.size());
  return width;
}

}  // namespace

void Report::AddCell(const std::string& fault, Caller caller, Result result) {
  if (rows_.empty() || rows_.back() != fault) rows_.push_back(fault);
  cells_.push_back({fault, CallerName(caller), std::move(result)});
}

void Report::AddScenario(const std::string& name, Result result) {
  scenarios_.push_back({name, "", std::move(result)});
}

std::string Report::Cell(const Result& result) {
  char time[48];
  std::snprintf(time, sizeof time, " %6.3f/%.0f s ", result.seconds, result.bound_seconds);
  return (result.Passed() ? "pass" : "FAIL") + std::string(time) + result.expected;
}

void Report::Print(std::ostream& out) const {
  const std::size_t first = WidestRow(rows_, 5);
  std::size_t width = 0;
  for (const Entry& cell : cells_) width = std::max(width, Cell(cell.result).size());
  width += 2;

  out << "Fault matrix: " << rows_.size() << " faults x " << std::size(kCallers)
      << " callers = " << cells_.size() << " cells. Each cell: the outcome checked, and the "
      << "seconds the handler held the window / its bound.\n\n";
  Pad(out, "fault", first + 2);
  for (Caller caller : kCallers) Pad(out, CallerName(caller), width);
  out << "\n" << std::string(first + 2 + width * std::size(kCallers), '-') << "\n";
  for (const std::string& row : rows_) {
    Pad(out, row, first + 2);
    for (const Entry& cell : cells_) {
      if (cell.row == row) Pad(out, Cell(cell.result), width);
    }
    out << "\n";
  }

  out << "\nContent coming back:\n";
  std::vector<std::string> names;
  for (const Entry& scenario : scenarios_) names.push_back(scenario.row);
  const std::size_t scenario_width = WidestRow(names, 5);
  for (const Entry& scenario : scenarios_) {
    out << "  ";
    Pad(out, scenario.row, scenario_width + 2);
    out << Cell(scenario.result) << "\n";
  }

  bool heading = false;
  for (const std::vector<Entry>* entries : {&cells_, &scenarios_}) {
    for (const Entry& entry : *entries) {
      if (entry.result.Passed()) continue;
      if (!heading) out << "\nFailures:\n";
      heading = true;
      out << "  " << entry.row << (entry.column.empty() ? "" : " x " + entry.column) << ":\n";
      for (const std::string& problem : entry.result.problems) out << "    " << problem << "\n";
    }
  }
  out << "\n" << Passed() << " passed, " << Failed() << " failed\n";
}

int Report::Passed() const {
  int passed = 0;
  for (const std::vector<Entry>* entries : {&cells_, &scenarios_}) {
    for (const Entry& entry : *entries) passed += entry.result.Passed();
  }
  return passed;
}

int Report::Failed() const {
  return static_cast<int>(cells_.size() + scenarios_.size()) - Passed();
}

}  // namespace faults
