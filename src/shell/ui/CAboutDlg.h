#pragma once

#include <QDialog>

namespace quenderlink {

// The about box: the program's name and "Version 9.0".
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace quenderlink
