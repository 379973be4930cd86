#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "checks.h"
#include "matrix_cells.h"

namespace faults {

// The matrix as a table (one row per fault, one column per caller), the scenarios after it,
// what every failed one missed, and the closing count.
class Report {
 public:
  void AddCell(const std::string& fault, Caller caller, Result result);
  void AddScenario(const std::string& name, Result result);

  void Print(std::ostream& out) const;
  int Passed() const;
  int Failed() const;

 private:
  struct Entry {
    std::string row;
    std::string column;
    Result result;
  };
  static std::string Cell(const Result& result);

  std::vector<std::string> rows_;
  std::vector<Entry> cells_;
  std::vector<Entry> scenarios_;
};

}  // namespace faults
