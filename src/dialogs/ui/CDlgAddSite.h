#pragma once

#include <QDialog>

#include <functional>

#include "core/ProgramState.h"
#include "core/UserPrompts.h"
#include "dialogs/SiteEditForm.h"
#include "dialogs/SiteEditOwner.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quenderlink {

// Pings the record's unit and tells how it ended; empty runs the manual ping dialog.
using SitePing = std::function<PingOutcome(SiteRecord& site)>;

// Adds a site, modifies a listed site's parameters, pings a listed site or pings
// a typed address, by mode. The edited record lives here; the owner hears of it
// through SiteEditOwner and copies what it keeps.
class CDlgAddSite : public QDialog {
  Q_OBJECT

 public:
  CDlgAddSite(SiteEditMode mode, ProgramState& state, UserPrompts& prompts, SiteEditOwner& owner,
              QWidget* parent = nullptr, SitePing ping = {});

  // Modes 2 and 3: the listed site's record to edit; call before exec().
  void SetSite(const SiteRecord& site);
  const SiteRecord& site() const { return form_.site(); }

  // Enter: the saving check, then closes with OK without telling the owner.
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  SiteEditFields Fields() const;
  void ShowFields(const SiteEditFields& fields);
  void PingIt();
  void Save();
  void ResetUnit();
  void ChooseFromHistory();

  ProgramState& state_;
  UserPrompts& prompts_;
  SiteEditOwner& owner_;
  SitePing ping_;
  SiteEditForm form_;
  bool startPosted_ = false;
  QLineEdit* hostEdit_;
  QLineEdit* portEdit_;
  QLineEdit* telnetEdit_;
  QPlainTextEdit* info_;
  QPushButton* pingButton_;
  QPushButton* saveButton_;
};

}  // namespace quenderlink
