#include "terminal/ui/CFViewTelnetSession.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <memory>

#include "core/FixedText.h"
#include "core/IniSettingsFile.h"
#include "net/EngineRecorder.h"
#include "support/DialogTesting.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/TestSite.h"
#include "terminal/ui/COurBCGEditCtrl.h"

namespace quenderlink {
namespace {

using namespace testing;
using namespace std::chrono_literals;

COurBCGEditCtrl& TerminalOf(const QWidget& view) { return Child<COurBCGEditCtrl>(view, "terminal"); }
QString Shown(const QWidget& view) { return TerminalOf(view).toPlainText(); }
QPushButton& Button(const QWidget& view, const char* name) { return Child<QPushButton>(view, name); }
void Trigger(const QWidget& view, const char* item) { Child<QAction>(view, item).trigger(); }

bool AwaitConnectButton(const QWidget& view, const char* label) {
  const QPushButton& button = Button(view, "connectButton");
  return QTest::qWaitFor([&] { return button.text() == label && button.isEnabled(); }, 5000);
}

// What the unit has received once it is `expected`, or after 5 s.
std::string AwaitUnit(const unitsim::UnitSimulator& units, const std::string& address, const std::string& expected) {
  const auto received = [&] { return units.TelnetReceived(address, kTelnetPort).received; };
  (void)QTest::qWaitFor([&] { return received() == expected; }, 5000);
  return received();
}

class CFViewTelnetSessionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }
  void SetUp() override { ASSERT_TRUE(IniSettingsFile(home_.path()).EnsureIniFile()); }

  // The view on a unit named "unit-a" at that address.
  std::unique_ptr<CFViewTelnetSession> OpenView(const char* address) {
    SiteRecord site = TestSite({.address = address});
    SetFieldText(site.HostText, "unit-a");
    site.TelnetPort = kTelnetPort;
    auto view = std::make_unique<CFViewTelnetSession>(state_, prompts_, desktop_, site);
    view->show();
    return view;
  }

  TempDir home_;
  ProgramState state_{home_.path()};
  ScriptedPrompts prompts_;
  RecordingDesktopActions desktop_;
};

// What the session does with the bytes is pinned by the core tests; here only the wiring.
TEST_F(CFViewTelnetSessionTest, ConnectsAtOpenShowsSavesAndCapturesWhatTheUnitSendsAndSendsTypedKeys) {
  ASSERT_TRUE(IniSettingsFile(home_.path()).WriteStrings("TelnetCommand-1", {{"Cmnd1", "VERSION"}}));
  unitsim::UnitConfig unit = TelnetUnit("127.95.0.1");
  unit.identity.siteName = "NORD\x96" "EST";  // the unit's Windows-1252: an en dash
  const auto units = StartUnits({unit});
  auto view = OpenView("127.95.0.1");
  ASSERT_TRUE(AwaitConnectButton(*view, "DIS-connect"));
  // The greeting has come whole once its prompt ends the text.
  ASSERT_TRUE(QTest::qWaitFor([&] { return Shown(*view).endsWith("BYE - End Session\n> "); }, 5000))
      << Shown(*view).toStdString();
  EXPECT_TRUE(Shown(*view).contains(QString::fromUtf8("*** NORD\u2013EST  MP"))) << Shown(*view).toStdString();
  EXPECT_FALSE(Button(*view, "closeButton").isEnabled());
  // Opened with the view: what it captures is the session's, pinned by its own tests.
  const auto automatic = std::filesystem::directory_iterator(home_ / "Capture")->path();

  const std::filesystem::path saved = home_ / "saved.txt";
  prompts_.fileAnswers = {saved.string(), home_.path().string()};
  Trigger(*view, "saveBufferItem");
  EXPECT_EQ(ReadFileBytes(saved), Shown(*view).toStdString());
  EXPECT_EQ(desktop_.openedInEditor, std::vector{saved});
  Trigger(*view, "saveBufferItem");  // a folder cannot be written as a file
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_TRUE(prompts_.shown[0].text.starts_with("FAILED TO WRITE\r\n" + home_.path().string()));
  EXPECT_EQ(desktop_.openedInEditor.size(), 1u);

  const std::filesystem::path mine = home_ / "mine.txt";
  prompts_.fileAnswers = {mine.string()};
  Trigger(*view, "startCaptureItem");
  Click(*view, "command1Button");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Shown(*view).count("> ") == 2; }, 5000));
  EXPECT_EQ(ReadFileBytes(mine), "Cad-1 VERSION 1.0\n> ");
  EXPECT_TRUE(ReadFileBytes(automatic).ends_with("> Cad-1 VERSION 1.0\n> ")) << ReadFileBytes(automatic);

  // The terminal's own menu, offered when nothing is selected: "Delete All Text".
  prompts_.popupAnswers = {4};
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(10, 10), QPoint(10, 10));
  QApplication::sendEvent(TerminalOf(*view).viewport(), &rightClick);
  ASSERT_EQ(prompts_.popupsShown.size(), 1u);
  EXPECT_EQ(prompts_.popupsShown[0][1].text, "Save All Text to Text File ...");
  EXPECT_TRUE(Shown(*view).isEmpty());

  QTest::keyClicks(&TerminalOf(*view), "hi");
  EXPECT_EQ(AwaitUnit(*units, "127.95.0.1", "VERSION\r\nhi"), "VERSION\r\nhi");
  // The button's text reads the terminal's echo; what the terminal does without it is its own test's.
  Click(*view, "echoButton");
  EXPECT_EQ(Button(*view, "echoButton").text(), "ECHO is OFF");
}

// The order and pauses of a list are pinned by the command list's tests.
TEST_F(CFViewTelnetSessionTest, ACommandListGoesOutADisconnectSaysByeAndStopsItColoursAreSavedAndCloseViewAsksFirst) {
  ASSERT_TRUE(IniSettingsFile(home_.path()).WriteStrings(
      "TelnetCommand-2", {{"Name", "Status"}, {"Cmnd1", "FIRST"}, {"Cmnd2", "SLEEP-1200"}, {"Cmnd3", "NEVER"}}));
  const auto units = StartUnits({TelnetUnit("127.95.0.2")});
  auto view = OpenView("127.95.0.2");
  ASSERT_TRUE(AwaitConnectButton(*view, "DIS-connect"));
  EXPECT_EQ(Button(*view, "command2Button").text(), "Status");

  const auto slowStarted = std::chrono::steady_clock::now();
  Click(*view, "command2Button");
  const std::string beforeBye = "FIRST\r\n";
  EXPECT_EQ(AwaitUnit(*units, "127.95.0.2", beforeBye), beforeBye);
  Click(*view, "command1Button");
  EXPECT_TRUE(Shown(*view).endsWith("Command list 2 is still running\n")) << Shown(*view).toStdString();
  Click(*view, "connectButton");
  EXPECT_FALSE(Button(*view, "connectButton").isEnabled()) << "disabled during the pause";
  EXPECT_EQ(AwaitUnit(*units, "127.95.0.2", beforeBye + "BYE\r\n"), beforeBye + "BYE\r\n");
  ASSERT_TRUE(AwaitConnectButton(*view, "RE-connect"));
  EXPECT_TRUE(view->MayClose());
  EXPECT_TRUE(Button(*view, "closeButton").isEnabled());
  prompts_.popupAnswers = {3, 2};  // "White on Black", "Increase Font Size by 2 point2"
  Click(*view, "colorsButton");
  Click(*view, "fontButton");
  EXPECT_EQ(IniSettingsFile(home_.path()).LoadTelnetColors(), state_.params.telnetColors);
  EXPECT_EQ(TerminalOf(*view).palette().color(QPalette::Text), QColor(Qt::white));
  EXPECT_EQ(TerminalOf(*view).palette().color(QPalette::Base), QColor(Qt::black));
  EXPECT_EQ(TerminalOf(*view).font().pixelSize(), 18);
  // Off-line the view closes without asking; the one question below is asked while connected.
  QSignalSpy closes(view.get(), &CFViewTelnetSession::closeRequested);
  Trigger(*view, "closeViewItem");
  EXPECT_EQ(closes.count(), 1);
  Click(*view, "connectButton");
  ASSERT_TRUE(AwaitConnectButton(*view, "DIS-connect"));
  // Past the list's pause: a list still running would have sent its last command by now.
  QTest::qWait(static_cast<int>((slowStarted + 1600ms - std::chrono::steady_clock::now()) / 1ms));
  EXPECT_EQ(units->TelnetReceived("127.95.0.2", kTelnetPort).received, beforeBye + "BYE\r\n");

  prompts_.confirmAnswers = {false, true};
  Trigger(*view, "closeViewItem");
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].mode, ConfirmMode::Terminate);
  EXPECT_EQ(prompts_.shown[0].text, "You are still connected to unit-a port " + std::to_string(kTelnetPort) +
                                        "\r\n\r\nDo you want to terminate the connection?");
  EXPECT_EQ(Button(*view, "connectButton").text(), "DIS-connect");
  Trigger(*view, "closeViewItem");
  EXPECT_TRUE(QTest::qWaitFor([&] { return closes.count() == 2; }, 5000));
  EXPECT_EQ(AwaitUnit(*units, "127.95.0.2", beforeBye + "BYE\r\nBYE\r\n"), beforeBye + "BYE\r\nBYE\r\n");
}

}  // namespace
}  // namespace quenderlink
