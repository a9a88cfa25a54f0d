#include "dialogs/ui/CDlgAddSite.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <deque>

#include "core/FixedText.h"
#include "net/EngineRecorder.h"
#include "support/DialogTesting.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

using testing::Child;
using Heard = std::vector<std::string>;

// What the owner heard, in order, and the record of the last message.
struct RecordingOwner : SiteEditOwner {
  void OnSitePinged(bool powerup, const SiteRecord& site) override {
    heard.push_back(powerup ? "powerup" : "pinged");
    lastSite = site;
  }
  void OnSiteSaved(const SiteRecord& site) override {
    heard.push_back("saved");
    lastSite = site;
  }
  Heard heard;
  SiteRecord lastSite{};
};

PingOutcome Answered(std::uint8_t powerup) {
  PingOutcome outcome{.answered = true};
  outcome.reply.Powerup = powerup;
  return outcome;
}

bool NotHidden(const QWidget& dialog, const char* button) { return !Child<QPushButton>(dialog, button).isHidden(); }

class CDlgAddSiteTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureApplication(); }

  // Each ping of this dialog ends with the next scripted outcome.
  CDlgAddSite& Dialog(SiteEditMode mode, std::deque<PingOutcome> outcomes = {}) {
    dialog = std::make_unique<CDlgAddSite>(mode, state, prompts, owner, nullptr,
                                           [outcomes = std::move(outcomes)](SiteRecord&) mutable {
                                             PingOutcome next = outcomes.front();
                                             outcomes.pop_front();
                                             return next;
                                           });
    return *dialog;
  }

  testing::TempDir folder;
  ProgramState state{folder.path()};
  testing::ScriptedPrompts prompts;
  RecordingOwner owner;
  std::unique_ptr<CDlgAddSite> dialog;
};

TEST_F(CDlgAddSiteTest, PingSiteAsksTheSimulatedUnitAtOnceAndTellsTheOwner) {
  const auto simulator = testing::StartUnits({testing::Unit("127.83.3.1")});

  CDlgAddSite pinging(SiteEditMode::PingSite, state, prompts, owner);
  pinging.SetSite(testing::TestSite({.address = "127.83.3.1"}));
  EXPECT_EQ(pinging.windowTitle(), "Ping Site");
  EXPECT_FALSE(NotHidden(pinging, "saveButton") || NotHidden(pinging, "historyButton"));
  pinging.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !owner.heard.empty(); }, 10000));

  // What the reply writes into the site is SiteEditForm's.
  EXPECT_EQ(owner.heard, Heard{"pinged"});
  EXPECT_EQ(testing::Text<QPushButton>(pinging, "pingButton"), "Re-PING");
  testing::Click(pinging, "saveButton");
  EXPECT_EQ(owner.heard, (Heard{"pinged", "pinged"}));
  EXPECT_EQ(pinging.result(), QDialog::Accepted);
}

TEST_F(CDlgAddSiteTest, PingAddressTellsTheOwnerOnlyOnSave) {
  EXPECT_EQ(Dialog(SiteEditMode::PingAddress, {Answered(1)}).windowTitle(), "Enter an Address to Ping");
  EXPECT_TRUE(!NotHidden(*dialog, "saveButton") && NotHidden(*dialog, "historyButton"));
  dialog->show();
  Child<QLineEdit>(*dialog, "hostEdit").setText("10.5.5.5");
  testing::Click(*dialog, "pingButton");
  EXPECT_TRUE(owner.heard.empty());
  ASSERT_TRUE(NotHidden(*dialog, "saveButton"));

  testing::Click(*dialog, "saveButton");
  EXPECT_EQ(owner.heard, Heard{"powerup"});
  EXPECT_EQ(FieldText(owner.lastSite.HostText), "10.5.5.5");
}

TEST_F(CDlgAddSiteTest, FailedPingAfterASuccessMakesSaveASaveWithoutPing) {
  Dialog(SiteEditMode::ModifySite, {Answered(0), PingOutcome{}}).SetSite(testing::TestSite({.address = "10.6.6.6"}));
  EXPECT_EQ(dialog->windowTitle(), "Modify Site Params");
  EXPECT_TRUE(NotHidden(*dialog, "saveButton") && !NotHidden(*dialog, "historyButton"));
  dialog->show();
  testing::Click(*dialog, "pingButton");
  EXPECT_EQ(owner.heard, Heard{"pinged"});
  testing::Click(*dialog, "pingButton");
  EXPECT_EQ(Child<QPlainTextEdit>(*dialog, "infoText").toPlainText(), "\nERROR:\nPing Failed!");

  testing::Click(*dialog, "saveButton");
  EXPECT_EQ(owner.heard, (Heard{"pinged", "saved"}));
}

}  // namespace
}  // namespace quenderlink
