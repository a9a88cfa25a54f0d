#include "journal/ui/PeriodBox.h"

namespace quenderlink {

PeriodBox::PeriodBox(HistoryPeriod initial, QWidget* parent) : QComboBox(parent) {
  setObjectName("periodBox");
  for (const HistoryPeriod period : kHistoryPeriods) addItem(HistoryPeriodText(period), static_cast<int>(period));
  setCurrentIndex(findData(static_cast<int>(initial)));
  connect(this, &QComboBox::currentIndexChanged, this, [this] { emit periodChanged(period()); });
}

HistoryPeriod PeriodBox::period() const { return static_cast<HistoryPeriod>(currentData().toInt()); }

}  // namespace quenderlink
