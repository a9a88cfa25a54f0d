#pragma once

#include <string>
#include <vector>

#include "controls/ui/OperationView.h"
#include "core/DesktopActions.h"
#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "journal/ListedSite.h"

class QLabel;
class QPushButton;
class QTableView;

namespace quenderlink {

class AvailabilityModel;
class AvailabilityWorker;
class PeriodBox;

// How often each of a list of sites answered its pings over the chosen period,
// when it last answered and since when it is down; sorted by a click on any
// header, exported as a comma-separated file. The figures are worked out on a
// worker, so a list of the whole fleet leaves the window responsive.
class CFViewAvailability : public OperationView {
  Q_OBJECT

 public:
  CFViewAvailability(ProgramState& state, UserPrompts& prompts, DesktopActions& desktop, std::vector<ListedSite> sites,
                     QWidget* parent = nullptr);

  // The figures are being worked out.
  bool counting() const;

 private:
  void Count();
  // The counts' summary, or why the journal could not be read.
  void ShowRows(const std::string& failure);
  void Export();

  ProgramState& state_;
  UserPrompts& prompts_;
  DesktopActions& desktop_;
  std::vector<ListedSite> sites_;
  PeriodBox* period_;
  AvailabilityModel* model_;
  AvailabilityWorker* worker_;
  QTableView* list_;
  QLabel* status_;
  QPushButton* export_;
};

}  // namespace quenderlink
