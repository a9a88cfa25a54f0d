#pragma once

#include <sstream>
#include <string>

#include "core/FixedText.h"
#include "net/DeviceReply.h"

namespace quenderlink::testing {

// A decoded identification reply on one line, so that a mismatch shows where it is:
// product type, status, version, milepost | track = track index | site name |
// subdivision name | site id / subdivision code / last upload code, the three
// board versions.
inline std::string ReplySummary(const DeviceReply& r) {
  std::ostringstream out;
  out << int{r.ProductType} << (r.Powerup ? " PWRUP " : " RDY ") << int{r.VersionMajor} << '.' << int{r.VersionMinor}
      << '-' << int{r.VersionBuild} << ' ' << FieldText(r.Milepost) << '|' << FieldText(r.TrackId) << '='
      << int{r.TrackIndex} << '|' << FieldText(r.SiteName) << '|' << FieldText(r.SubdivName) << "| " << r.SiteId << '/'
      << r.SubdivCode << '/' << int{r.LastUploadCode} << ' ' << FieldText(r.CommVersion) << ' '
      << FieldText(r.ReaderVersion) << ' ' << FieldText(r.SpeechVersion);
  return out.str();
}

// The header's part of a reply: program kind, max datagram / block size, the second text.
inline std::string ReplyHeaderSummary(const DeviceReply& r) {
  std::ostringstream out;
  out << "kind " << int{r.ProgramKind} << ' ' << r.MaxDatagram << '/' << r.BlockSize << " '" << FieldText(r.ExtraText)
      << '\'';
  return out.str();
}

}  // namespace quenderlink::testing
