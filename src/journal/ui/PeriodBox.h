#pragma once

#include <QComboBox>

#include "journal/HistoryPeriod.h"

namespace quenderlink {

// The choice of period, Day to Year, both journal views look back over.
class PeriodBox : public QComboBox {
  Q_OBJECT

 public:
  PeriodBox(HistoryPeriod initial, QWidget* parent);

  HistoryPeriod period() const;

 signals:
  void periodChanged(HistoryPeriod period);
};

}  // namespace quenderlink
