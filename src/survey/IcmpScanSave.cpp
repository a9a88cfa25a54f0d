#include "survey/IcmpScanSave.h"

#include <cerrno>
#include <numeric>
#include <system_error>

#include "core/AtomicFileWriter.h"
#include "core/CsvField.h"
#include "core/DecimalText.h"
#include "core/ErrorMessages.h"
#include "core/Printf.h"

namespace quenderlink {
namespace {

int Number(const std::string& column) { return static_cast<int>(LeadingDecimal(column)); }

std::string TextLine(const IcmpRow& row) {
  return Printf("%-5d  %-16s |  %5d  %5d  %5d  %5d  %5d  |  %5d  %5d  %5d  | %s\n", Number(row.cnt),
                row.address.c_str(), Number(row.tries[0]), Number(row.tries[1]), Number(row.tries[2]),
                Number(row.tries[3]), Number(row.tries[4]), Number(row.min), Number(row.max), Number(row.avg),
                row.comments.c_str());
}

std::string CsvLine(const IcmpRow& row) {
  return Printf("%d,%s,%d,%d,%d,%d,%d,%d,%d,%d,%s\n", Number(row.cnt), CsvField(row.address).c_str(),
                Number(row.tries[0]), Number(row.tries[1]), Number(row.tries[2]), Number(row.tries[3]),
                Number(row.tries[4]), Number(row.min), Number(row.max), Number(row.avg),
                CsvField(row.comments).c_str());
}

}  // namespace

std::string FormatIcmpRows(std::span<const IcmpRow> rows, std::span<const std::size_t> chosen, IcmpListFormat format) {
  const bool text = format == IcmpListFormat::Text;
  std::string listing =
      text ? Printf("%-5s  %-16s |  %5s  %5s  %5s  %5s  %5s  |  %5s  %5s  %5s  | %s\n", ";Cnt", "IP Address", "Try_1",
                    "Try_2", "Try_3", "Try_4", "Try_5", "Min", "Max", "Avg", "Comments")
           : Printf("%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s\n", ";Cnt", "IP Address", "Try-1", "Try-2", "Try-3", "Try-4",
                    "Try-5", "Min", "Max", "Avg", "Comments");
  for (const std::size_t index : chosen) {
    if (index >= rows.size()) continue;
    listing += text ? TextLine(rows[index]) : CsvLine(rows[index]);
  }
  return listing;
}

std::vector<PopupItem> IcmpSaveMenu() {
  return {{kIcmpSaveTickedCsv, "Save Selected Rows (csv file)"},
          {kIcmpSaveAllCsv, "Save All Rows (csv file)"},
          {kIcmpSaveTickedText, "Save Selected Rows (text)"},
          {kIcmpSaveAllText, "Save All Rows (text)"}};
}

std::vector<std::size_t> AllIcmpRows(std::size_t count) {
  std::vector<std::size_t> all(count);
  std::iota(all.begin(), all.end(), std::size_t{0});
  return all;
}

Result SaveIcmpRows(const std::filesystem::path& file, std::span<const IcmpRow> rows,
                      std::span<const std::size_t> chosen, IcmpListFormat format) {
  errno = 0;
  if (WriteFileAtomically(file, FormatIcmpRows(rows, chosen, format))) return {};
  // The writer leaves the failed call's errno.
  const int reason = errno;
  return Failure{WriteFailedText(file.string()) + "\r\n\r\n" +
                 std::error_code(reason, std::generic_category()).message()};
}

}  // namespace quenderlink
