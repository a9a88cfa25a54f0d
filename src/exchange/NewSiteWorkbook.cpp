#include "exchange/NewSiteWorkbook.h"

#include <locale.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace quenderlink {
namespace {

// The library prints numbers with the C library's printf, which follows the
// locale the desktop program takes from its environment; a workbook wants '.'
// whatever it is. A thread locale leaves every other thread alone.
class CNumbersOnThisThread {
 public:
  CNumbersOnThisThread() {
    // Only the numbers change: the other categories stay as the thread has them.
    const locale_t current = ::duplocale(::uselocale(nullptr));
    if (current == nullptr) return;
    numbers_ = ::newlocale(LC_NUMERIC_MASK, "C", current);
    if (numbers_ == nullptr) {
      ::freelocale(current);
      return;
    }
    previous_ = ::uselocale(numbers_);
  }
  ~CNumbersOnThisThread() {
    if (numbers_ == nullptr) return;
    ::uselocale(previous_);
    ::freelocale(numbers_);
  }
  CNumbersOnThisThread(const CNumbersOnThisThread&) = delete;
  CNumbersOnThisThread& operator=(const CNumbersOnThisThread&) = delete;

 private:
  locale_t numbers_ = nullptr;
  locale_t previous_ = nullptr;
};

// The library takes 0 as "no colour", so black has a value of its own.
lxw_color_t LibraryColour(PaletteIndex index) {
  const std::uint32_t rgb = PaletteRgb(index);
  return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

lxw_format* AddFontFormat(lxw_workbook* book, const WorkbookFont& font) {
  lxw_format* format = workbook_add_format(book);
  if (format == nullptr) return nullptr;
  format_set_font_name(format, kWorkbookFontName);
  format_set_font_size(format, font.points);
  if (font.bold) format_set_bold(format);
  format_set_font_color(format, LibraryColour(font.colour));
  return format;
}

lxw_format* AddHeaderFormat(lxw_workbook* book) {
  const WorkbookHeaderLook look = HeaderLook();
  lxw_format* format = AddFontFormat(book, look.font);
  if (format == nullptr) return nullptr;
  format_set_align(format, LXW_ALIGN_CENTER);
  format_set_pattern(format, LXW_PATTERN_SOLID);
  format_set_bg_color(format, LibraryColour(look.fill));
  return format;
}

struct RowFormats {
  lxw_format* failed;
  lxw_format* answered;
  lxw_format* never;

  lxw_format* For(WorkbookRowFormat format) const {
    switch (format) {
      case WorkbookRowFormat::Failed: return failed;
      case WorkbookRowFormat::Answered: return answered;
      case WorkbookRowFormat::Never: return never;
    }
    return never;
  }
};

// The first library error of a run of calls, so one check at the end covers them all.
class FirstError {
 public:
  void operator+=(lxw_error error) {
    if (first_ == LXW_NO_ERROR) first_ = error;
  }
  lxw_error first() const { return first_; }

 private:
  lxw_error first_ = LXW_NO_ERROR;
};

void WriteHeader(lxw_worksheet* sheet, lxw_format* header, FirstError& errors) {
  const auto columns = WorkbookColumns();
  for (lxw_col_t column = 0; column < columns.size(); ++column) {
    errors += worksheet_set_column(sheet, column, column, columns[column].width, nullptr);
    errors += worksheet_write_string(sheet, 0, column, std::string(columns[column].header).c_str(), header);
  }
  errors += worksheet_set_row(sheet, 0, kWorkbookRowHeight, nullptr);
}

void WriteSiteRow(lxw_worksheet* sheet, lxw_row_t row, const WorkbookRow& site, lxw_format* format,
                  lxw_format* rowFormat, FirstError& errors) {
  errors += worksheet_set_row(sheet, row, kWorkbookRowHeight, rowFormat);
  for (lxw_col_t column = 0; column < site.cells.size(); ++column) {
    const WorkbookCell& cell = site.cells[column];
    switch (cell.kind) {
      case WorkbookCell::Kind::Number:
        errors += worksheet_write_number(sheet, row, column, cell.number, format);
        break;
      case WorkbookCell::Kind::Text:
        errors += worksheet_write_string(sheet, row, column, cell.text.c_str(), format);
        break;
    }
  }
}

}  // namespace

std::optional<WorkbookFailure> WriteNewSiteWorkbook(const std::vector<WorkbookRow>& rows,
                                                    const std::filesystem::path& file) {
  const CNumbersOnThisThread numbers;
  lxw_workbook* book = workbook_new(file.c_str());
  if (book == nullptr) return WorkbookFailure{WorkbookFailure::Kind::Refused, kNoBookText};
  lxw_worksheet* sheet = workbook_add_worksheet(book, kNewWorkbookSheetName);
  if (sheet == nullptr) {
    // Closing is the library's only way to free the book; it writes the file too.
    workbook_close(book);
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    return WorkbookFailure{WorkbookFailure::Kind::Refused, kNoSheetText};
  }
  const RowFormats formats{AddFontFormat(book, RowFont(WorkbookRowFormat::Failed)),
                           AddFontFormat(book, RowFont(WorkbookRowFormat::Answered)),
                           AddFontFormat(book, RowFont(WorkbookRowFormat::Never))};
  FirstError errors;
  WriteHeader(sheet, AddHeaderFormat(book), errors);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    // Every site row carries the failed format as its row format, as the workbooks always have.
    WriteSiteRow(sheet, static_cast<lxw_row_t>(r + 1), rows[r], formats.For(rows[r].format), formats.failed,
                 errors);
  }
  errno = 0;
  errors += workbook_close(book);
  if (errors.first() == LXW_NO_ERROR) return std::nullopt;
  // The library's own text guesses at the cause; the system's error names it.
  const int systemError = errno;
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  std::string reason = lxw_strerror(errors.first());
  if (systemError != 0) reason = std::generic_category().message(systemError) + "\r\n(" + reason + ")";
  return WorkbookFailure{WorkbookFailure::Kind::WriteFailed, reason};
}

}  // namespace quenderlink
