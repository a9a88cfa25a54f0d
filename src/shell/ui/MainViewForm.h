#pragma once

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <array>

#include "controls/ui/SiteListView.h"

namespace quenderlink {

// The main view's controls and their placement; the behaviour is CMainView's.
class MainViewForm : public QWidget {
  Q_OBJECT

 public:
  explicit MainViewForm(QWidget* parent = nullptr);

  SiteListView* list() const { return list_; }
  QPushButton* exitButton() const { return exit_; }
  QPushButton* pingSelectedButton() const { return pingSelected_; }
  QPushButton* pingManualButton() const { return pingManual_; }
  QPushButton* pingRangeButton() const { return pingRange_; }
  QPushButton* newSiteButton() const { return newSite_; }
  QPushButton* runtimeParamsButton() const { return runtimeParams_; }
  QPushButton* beginUploadButton() const { return beginUpload_; }
  QPushButton* configButton() const { return config_; }
  QPushButton* programFileButton() const { return programFile_; }
  QPushButton* siteFileButton() const { return siteFile_; }

  // Places the command buttons at the right, at the bottom or nowhere, and
  // shows or hides the filter combo boxes and the configuration button.
  void Arrange(bool showButtons, bool buttonsAtRight, bool showFilters, bool showConfigButton);

 private:
  QPushButton* AddCommandButton(const char* caption, const char* name);

  SiteListView* list_;
  QWidget* commandPanel_;
  QWidget* filterPanel_;
  QGridLayout* grid_;
  QPushButton* exit_ = nullptr;
  QPushButton* pingSelected_ = nullptr;
  QPushButton* pingManual_ = nullptr;
  QPushButton* pingRange_ = nullptr;
  QPushButton* newSite_ = nullptr;
  QPushButton* runtimeParams_ = nullptr;
  QPushButton* beginUpload_ = nullptr;
  QPushButton* config_ = nullptr;
  QPushButton* programFile_;
  QPushButton* siteFile_;
  std::array<QComboBox*, 5> filters_{};
};

}  // namespace quenderlink
