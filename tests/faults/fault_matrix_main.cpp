// The fault matrix: the real window against a loopback content server that misbehaves in
// every way the catalogue knows, under each handler that fetches content. Prints the table and
// "N passed, M failed"; fails when anything failed. An argument runs only the faults whose
// name contains it.
#include <QByteArray>
#include <iostream>
#include <string>

#include "app/application.h"
#include "content_comes_back.h"
#include "fault_catalogue.h"
#include "matrix_cells.h"
#include "recorded_dialogs.h"
#include "report.h"
#include "stage.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  faults::RecordedDialogs application_dialogs;
  app::Application application(argc, argv, application_dialogs);
  const std::string only = argc > 1 ? argv[1] : "";

  faults::Stage stage;
  faults::Report report;
  for (const faults::Fault& fault : faults::Catalogue()) {
    if (fault.name.find(only) == std::string::npos) continue;
    for (faults::Caller caller : faults::kCallers) {
      report.AddCell(fault.name, caller,
                     faults::RunCell(stage, fault, caller, application_dialogs));
      stage.Restore();
    }
  }
  for (faults::Scenario& scenario : faults::ContentComesBack(stage)) {
    report.AddScenario(scenario.name, std::move(scenario.result));
    stage.Restore();
  }
  report.Print(std::cout);
  return report.Failed() == 0 ? 0 : 1;
}
