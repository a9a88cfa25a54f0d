#include "GuideScenes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>

#include <fstream>
#include <string>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "journal/AvailabilityRows.h"
#include "shell/MainMenu.h"
#include "shell/SiteListColumns.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/CMainView.h"
#include "shell/ui/CQuenderlinkApp.h"
#include "unitsim/DemoHistory.h"

namespace quenderlink::tour {
namespace {

// An upload of 25 units to its end, with the demo's failing units waiting out their time-outs.
constexpr int kUploadTimeoutMs = 300'000;
// A ping run or a scan, with the silent units waiting out every resend.
constexpr int kRunTimeoutMs = 60'000;
// Rows of the demo's list: the first Cad-2 units go to the boxes, the later ones to the list.
constexpr std::size_t kFirstListRow = 20;
constexpr int kTelnetRow = 0;
constexpr int kResetRow = 2;

// A file to import as a maintainer might get it: a header line, listed units and a unit not yet built.
constexpr const char* kImportFile =
    "Address,Port,Site\n"
    "127.77.0.1,9001,LINDALE JCT\n"
    "127.77.0.3,9001,HOLLIS GAP\n"
    "127.77.0.21,9001,RED CLAY EAST\n"
    "127.77.0.40,9001,SALT FORK\n"
    "127.77.0.61,9001,NEW SIDING\n";

}  // namespace

CMainFrame& GuideScenes::frame() const { return *application_.mainFrame(); }
CMainView& GuideScenes::mainView() const { return *frame().mainView(); }
ProgramState& GuideScenes::state() const { return *application_.state(); }

template <typename Widget>
Widget* GuideScenes::InFront(const char* name) const {
  const QMdiSubWindow* front = frame().mdiArea()->activeSubWindow();
  if (front == nullptr || front->isAncestorOf(&mainView())) return nullptr;
  return front->findChild<Widget*>(name);
}

bool GuideScenes::ButtonShownAndEnabled(const char* name) const {
  const QAbstractButton* button = InFront<QAbstractButton>(name);
  return button != nullptr && button->isEnabled() && button->isVisible();
}

void GuideScenes::Command(const std::string& what, int id) {
  tour_.Do(what, [this, id] { frame().action(id)->trigger(); });
}

void GuideScenes::Click(const char* name) {
  tour_.Do(std::string("a click on ") + name, [this, name] {
    if (auto* button = InFront<QAbstractButton>(name)) button->click();
  });
}

void GuideScenes::TypeInto(const char* name, const QString& text) {
  tour_.Do(std::string("typing into ") + name, [this, name, text] {
    if (auto* edit = InFront<QLineEdit>(name)) edit->setText(text);
  });
}

void GuideScenes::WaitForView(const char* control) {
  tour_.WaitFor(std::string("the view with ") + control, [this, control] { return InFront<QWidget>(control) != nullptr; });
}

void GuideScenes::WaitWhileBusy(const std::string& what, int timeoutMs) {
  tour_.WaitFor(what + " to start", [this] { return state().operations.Busy(); });
  tour_.WaitFor(what + " to end", [this] { return !state().operations.Busy(); }, timeoutMs);
}

// Closes the view in front and waits until the main view is in front again.
void GuideScenes::CloseView() {
  Click("closeButton");
  tour_.WaitFor("the main view in front", [this] {
    const QMdiSubWindow* front = frame().mdiArea()->activeSubWindow();
    return front != nullptr && front->widget() == static_cast<QWidget*>(&mainView());
  });
}

// Ticks exactly the rows `pick` takes.
void GuideScenes::TickRows(const std::string& what, std::function<bool(std::size_t, const SiteRecord&)> pick) {
  tour_.Do(what, [this, pick = std::move(pick)] {
    SiteListModel& model = mainView().model();
    for (std::size_t row = 0; row < state().sites.size(); ++row)
      model.SetChecked(static_cast<int>(row), pick(row, state().sites[row]));
  });
}

void GuideScenes::MainView() {
  tour_.WaitFor("the site list", [this] { return mainView().model().rowCount() > 0; });
  tour_.Shoot("main-view");
}

void GuideScenes::PingRun() {
  Command("Ping All", menu::kPingAll);
  WaitWhileBusy("the ping run", kRunTimeoutMs);
  tour_.Shoot("ping-sites");
  CloseView();
}

void GuideScenes::RangeScan() {
  Command("Ping Range", menu::kPingRange);
  WaitForView("rangeList");
  for (const auto& [box, number] : {std::pair{"fromAddress0", "127"}, std::pair{"fromAddress1", "77"},
                                     std::pair{"fromAddress2", "0"}, std::pair{"fromAddress3", "1"}})
    TypeInto(box, number);
  TypeInto("lastNumberEdit", "64");
  Click("startButton");
  tour_.WaitFor("the range scan to end", [this] { return ButtonShownAndEnabled("saveButton"); });
  tour_.Shoot("range-scan");
  CloseView();
}

void GuideScenes::Upload(const std::string& picture, std::function<bool(std::size_t)> rows) {
  TickRows("ticking the rows for " + picture, [rows = std::move(rows)](std::size_t row, const SiteRecord& site) {
    return site.ProductType == kProductCad2 && rows(row);
  });
  tour_.Do("Begin Upload with Ctrl", [this] { mainView().BeginUpload(true); });
  WaitWhileBusy("the upload", kUploadTimeoutMs);
  tour_.Shoot(picture);
  CloseView();
}

void GuideScenes::Reset() {
  TickRows("unticking every row", [](std::size_t, const SiteRecord&) { return false; });
  tour_.Do("selecting a row", [this] { mainView().form().list()->selectRow(kResetRow); });
  tour_.Do("RESET from the row menu", [this] { mainView().RunRowMenuCommand(menu::kRowReset); });
  tour_.WaitFor("the reset to be confirmed", [] {
    const QWidget* dialog = QApplication::activeModalWidget();
    const auto* resend = dialog ? dialog->findChild<QAbstractButton*>("resendButton") : nullptr;
    return resend != nullptr && resend->isEnabled();
  });
  tour_.Shoot("reset");
  tour_.AnswerModal("closing the reset dialog", [](QWidget& dialog) {
    if (auto* close = dialog.findChild<QAbstractButton*>("closeButton")) close->click();
  });
}

void GuideScenes::Telnet() {
  tour_.Do("the T button", [this] { mainView().OnCellButton(kTelnetRow, kColTelnetButton, false); });
  WaitForView("terminal");
  tour_.WaitFor("the connection", [this] {
    const auto* connect = InFront<QAbstractButton>("connectButton");
    return connect != nullptr && connect->text() != "Connect";
  });
  tour_.Do("typing STATUS", [this] {
    QWidget* terminal = InFront<QWidget>("terminal");
    if (terminal == nullptr) return;
    for (const QChar character : QString("STATUS")) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
      QApplication::sendEvent(terminal, &press);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(terminal, &enter);
  });
  tour_.Shoot("telnet");
  Click("connectButton");
  CloseView();
}

void GuideScenes::IcmpScan() {
  Command("ICMP to the listed sites", menu::kIcmpListedSites);
  WaitForView("icmpList");
  tour_.WaitFor("the ICMP scan to end", [this] { return ButtonShownAndEnabled("saveButton"); });
  tour_.Shoot("icmp-scan");
  CloseView();
}

void GuideScenes::Import() {
  const std::filesystem::path file = home_ / "detectors-from-the-office.csv";
  tour_.Do("writing the file to import", [file] { std::ofstream(file) << kImportFile; });
  Command("Import List", menu::kImportSites);
  WaitForView("importList");
  TypeInto("fileEdit", QString::fromStdString(file.string()));
  tour_.Do("choosing the columns", [this] {
    for (const auto& [name, column] : {std::pair{"ipColumn", 1}, std::pair{"portColumn", 2}})
      if (auto* combo = InFront<QComboBox>(name)) combo->setCurrentIndex(column);
  });
  Click("importButton");
  tour_.WaitFor("the imported rows", [this] { return ButtonShownAndEnabled("pingAllButton"); });
  Click("pingAllButton");
  WaitWhileBusy("the import's ping", kRunTimeoutMs);
  tour_.Shoot("import");
  CloseView();
}

void GuideScenes::History() {
  TickRows("ticking both tracks of IRON BRIDGE", [](std::size_t, const SiteRecord& site) {
    return FieldText(site.SiteName) == unitsim::kDemoFailedUploadSite;
  });
  Command("History", menu::kSiteHistory);
  WaitForView("historyList");
  tour_.Shoot("history");
  CloseView();
}

void GuideScenes::Availability() {
  TickRows("unticking every row", [](std::size_t, const SiteRecord&) { return false; });
  Command("Availability", menu::kAvailability);
  WaitForView("availabilityList");
  tour_.WaitFor("the figures", [this] { return ButtonShownAndEnabled("exportButton"); });
  tour_.Do("sorting by the share answered", [this] {
    if (auto* list = InFront<QTableView>("availabilityList")) list->sortByColumn(kAvailColShare, Qt::AscendingOrder);
  });
  tour_.Shoot("availability");
  CloseView();
}

GuideScenes::GuideScenes(TourRunner& tour, CQuenderlinkApp& application, std::filesystem::path home)
    : tour_(tour), application_(application), home_(std::move(home)) {}

void GuideScenes::AddAll() {
  MainView();
  PingRun();
  RangeScan();
  Upload("upload-boxes", [](std::size_t row) { return row < kFirstListRow; });
  Upload("upload-list", [](std::size_t row) { return row >= kFirstListRow; });
  Reset();
  Telnet();
  IcmpScan();
  Import();
  History();
  Availability();
}

}  // namespace quenderlink::tour
