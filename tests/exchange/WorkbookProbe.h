#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace quenderlink::testing {

// Reads and makes workbooks with the system python3 and its openpyxl, an independent reader
// of the format, so the writers are checked against more than themselves.
class WorkbookProbe {
 public:
  WorkbookProbe() { WriteFileBytes(script_, kScript); }

  // "sheets ...", "widths ...", then one line per row of the first sheet:
  // number, height, the look of its first cell, its cells up to the last
  // filled one ('text', number or - for blank), and "!column look" for any
  // cell that looks otherwise.
  std::string Dump(const std::filesystem::path& book) const { return Run("dump", book); }
  // A template: sheet "Roster" with a header row, an old row 2 and a cell in Q3; sheet "Notes".
  void MakeTemplate(const std::filesystem::path& book) const { Run("template", book); }
  // A copy of a template whose named part is replaced by the text.
  void ReplacePart(const std::filesystem::path& book, const std::string& part, const std::string& text) const {
    Run("replace", book, part, text);
  }
  // A line per part of the package, its name and a digest of its bytes, but for the parts named, comma-separated.
  std::string PartsBut(const std::filesystem::path& book, const std::string& names) const {
    return Run("parts", book, names);
  }

 private:
  std::string Run(const std::string& mode, const std::filesystem::path& book, const std::string& part = "",
                  const std::string& text = "") const {
    const std::string command = "/usr/bin/python3 " + script_.string() + " " + mode + " '" + book.string() + "' '" +
                                part + "' '" + text + "' 2>&1";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
      char buffer[4096];
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
      ::pclose(pipe);
    }
    return output;
  }

  static constexpr char kScript[] = R"PY(
import hashlib, sys, zipfile, openpyxl
mode, path, part, text = sys.argv[1:5]
if mode == "template":
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Roster"
    ws.append(["Count", "DNS"])
    ws.append(["old", "old"])
    ws["Q3"] = "keep me"
    ws.column_dimensions["B"].width = 30
    wb.create_sheet("Notes")["A1"] = "notes"
    wb.save(path)
elif mode == "parts":
    with zipfile.ZipFile(path) as z:
        for name in sorted(set(z.namelist()) - set(part.split(","))):
            print(name, hashlib.sha256(z.read(name)).hexdigest())
elif mode == "replace":
    with zipfile.ZipFile(path) as z:
        parts = {name: z.read(name) for name in z.namelist()}
    parts[part] = text.encode()
    with zipfile.ZipFile(path, "w") as z:
        for name, data in parts.items():
            z.writestr(name, data)
else:
    wb = openpyxl.load_workbook(path)
    print("sheets", ",".join(wb.sheetnames))
    ws = wb.worksheets[0]
    print("widths", " ".join(f"{k}={int(d.width)}" for k, d in sorted(ws.column_dimensions.items()) if d.width))
    def look(c):
        f = c.font
        colour = f.color.rgb if f.color is not None and f.color.type == "rgb" else "-"
        s = f"{f.name}/{f.sz:g}/{'b' if f.b else 'r'}/{colour}"
        if c.fill.fill_type:
            s += f"/{c.fill.fill_type} {c.fill.fgColor.rgb}"
        if c.alignment.horizontal:
            s += f"/{c.alignment.horizontal}"
        return s
    for row in ws.iter_rows():
        first = look(row[0])
        values = ["-" if c.value is None else f"{c.value:g}" if c.data_type == "n" else f"'{c.value}'" for c in row]
        while values and values[-1] == "-":
            values.pop()
        odd = [f"!{c.column_letter} {look(c)}" for c in row if c.value is not None and look(c) != first]
        print(row[0].row, f"h{ws.row_dimensions[row[0].row].height}", first + ":", " ".join(values + odd))
)PY";

  TempDir folder_;
  std::filesystem::path script_ = folder_ / "probe.py";
};

}  // namespace quenderlink::testing
