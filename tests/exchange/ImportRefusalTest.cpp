#include "exchange/ImportRefusal.h"

#include <gtest/gtest.h>

namespace quenderlink {
namespace {

TEST(ImportRefusal, TheFirstReasonInTheOrderTheUserIsToldThemOrNone) {
  const ImportFileText unopened;
  ImportFileText binary;
  binary.opened = true;
  binary.error = "It is not a text file: it holds NUL bytes.";
  ImportFileText readable;
  readable.opened = true;
  const ImportColumns withAddress{1, 0, 0};
  const ImportColumns withoutAddress{0, 0, 0};
  struct Case {
    std::string path;
    const ImportFileText& file;
    ImportColumns columns;
    std::optional<ErrorId> refusal;
  };
  const Case cases[] = {
      {"", binary, withoutAddress, ErrorId::kNoImportFile},
      {"/data/gone.csv", unopened, withoutAddress, ErrorId::kImportFileUnreadable},
      {"/data/units.csv", binary, withoutAddress, ErrorId::kNoAddressColumn},
      {"/data/units.csv", binary, withAddress, ErrorId::kImportFileUnreadable},
      {"/data/units.csv", readable, withAddress, std::nullopt},
  };
  for (const Case& test : cases) {
    const std::optional<ImportRefusal> refusal = RefusalOfImport(test.path, test.file, test.columns);
    EXPECT_EQ(refusal ? std::optional(refusal->id) : std::nullopt, test.refusal) << test.path;
  }
  EXPECT_EQ(RefusalOfImport("/data/gone.csv", unopened, withAddress)->text,
            "Failed to locate the import file!\r\n\r\n/data/gone.csv");
  EXPECT_EQ(RefusalOfImport("/data/units.csv", binary, withAddress)->text,
            "Failed to read the import file!\r\n\r\n/data/units.csv\r\n\r\nIt is not a text file: it holds NUL bytes.");
}

}  // namespace
}  // namespace quenderlink
