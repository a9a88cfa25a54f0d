#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/IniSettingsFile.h"
#include "core/RuntimeParams.h"

namespace quenderlink {

// What a row's "User" cell edits. Colour rows have two colour cells: "Default"
// stands for the text colour, "User" for the background.
enum class ParamCellKind : std::uint8_t { None, Number, YesNo, Railroad, Colors };

enum class ColourPart : std::uint8_t { Text, Back };

// Stored: in the params and the settings file. NotWritten: in the params for
// this run, but the settings file could not take them.
enum class ParamsSaveOutcome : std::uint8_t { Stored, NotWritten, NothingModified, Refused };

struct RuntimeParamRow {
  std::string_view section;  // on the first row of its section only
  std::string_view number;   // "P1" to "P21"
  std::string_view name;
  std::string_view defaultText;
  ParamCellKind kind;
};

struct RuntimeParamColumn {
  std::string_view heading;
  int width;
};

inline constexpr int kRuntimeParamRowCount = 27;
inline constexpr int kDefaultColumn = 3;
inline constexpr int kUserColumn = 4;

std::span<const RuntimeParamColumn> RuntimeParamColumns();
// Every row of the grid in order, empty rows between sections included.
std::span<const RuntimeParamRow> RuntimeParamRows();
// Drop-down choices; a choice's position is its value.
std::span<const std::string_view> YesNoChoices();
std::span<const std::string_view> RailroadChoices();

// The runtime parameters grid without a screen: the values being edited, which
// cells show as changed, which are refused, and the save into the settings.
// Colours are the exception: they go into the params at once and stay there
// even when the edit is abandoned.
class RuntimeParamsGrid {
 public:
  explicit RuntimeParamsGrid(RuntimeParams& params);

  // The text a number cell holds; the name chosen in a drop-down.
  std::string UserText(int row) const;
  // The position of the drop-down's choice shown; a railroad code without a
  // name in the list shows the first choice.
  int ChoiceIndex(int row) const;
  ColorRef Colour(int row, ColourPart part) const;
  // Shown in red.
  bool Changed(int row) const { return cells_[Index(row)].changed; }

  // The end of an edit of a number cell. Only digits within the row's range
  // are taken; otherwise the cell keeps the text, is refused, and the reason
  // is returned.
  [[nodiscard]] std::optional<std::string> EndNumberEdit(int row, std::string_view text);
  // Why the cell's text is refused; nothing when it is taken.
  [[nodiscard]] std::optional<std::string> Refusal(int row) const;
  [[nodiscard]] std::optional<int> FirstRefusedRow() const;
  // A choice from a Yes/No or railroad drop-down, by its position (the
  // railroad's code, 1 for Yes); a position outside them is the first.
  void Choose(int row, int choiceIndex);
  void SetColour(int row, ColourPart part, ColorRef colour);

  bool modified() const { return modified_; }

  // Stores every value into the params and writes them to the settings file,
  // the colour keys only when a colour was changed. Nothing happens unless
  // something was modified and no cell is refused.
  [[nodiscard]] ParamsSaveOutcome Save(IniSettingsFile& ini);

 private:
  struct Cell {
    std::string text;  // number cells
    unsigned value = 0;  // the number taken, Yes/No 0 or 1, railroad code
    bool changed = false;
    bool refused = false;
  };

  static std::size_t Index(int row);
  void Store();

  RuntimeParams& params_;
  std::array<Cell, kRuntimeParamRowCount> cells_;
  bool modified_ = false;
  bool coloursChanged_ = false;
};

}  // namespace quenderlink
