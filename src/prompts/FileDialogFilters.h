#pragma once

namespace quenderlink {

// The main view's file dialog filters: pairs of label and pattern, "|" between them.

// Choosing a site list file, and naming the new file for moved rows.
inline constexpr char kSiteListFilter[] = "bin files (*.bin)|*.bin|All files (*.*)|*.*||";
// Choosing a program file: S-record files first for CPR, binary files first for the others.
inline constexpr char kProgramFilterCpr[] = "S19 Files (*.s19)|*.s19|bin files (*.bin)|*.bin|All files (*.*)|*.*||";
inline constexpr char kProgramFilterOther[] = "bin files (*.bin)|*.bin|S19 Files (*.s19)|*.s19|All files (*.*)|*.*||";
// The File menu's program file item and "Save File As ...".
inline constexpr char kBinFilesFilter[] = "Bin Files (*.bin)|*.bin|All Files (*.*)|*.*||";
inline constexpr char kTextExportFilter[] = "text files (*.txt)|*.txt|All files (*.*)|*.*||";
inline constexpr char kCsvExportFilter[] = "csv files (*.csv)|*.csv|All files (*.*)|*.*||";

}  // namespace quenderlink
