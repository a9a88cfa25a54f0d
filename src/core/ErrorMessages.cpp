#include "core/ErrorMessages.h"

#include <ostream>

#include "core/Printf.h"
#include "core/RecordText.h"

namespace quenderlink {

std::string DnsConversionFailedText(const std::string& host) {
  return Printf("\r\nFailed to convert DNS\n%s\nto an IP address.", Utf8FromRecordText(host).c_str());
}

std::ostream& operator<<(std::ostream& out, ErrorId id) { return out << ErrorNumber(id); }

std::string PredefinedErrorText(ErrorId id) {
  switch (id) {
    case ErrorId::kNoProgramFile:
      return "You have not selected a program file yet!\r\n\r\n"
             "Click the green \"Program File\" button\r\n(upper right corner)\r\n"
             "to select the software file to upload";
    case ErrorId::kNoSiteSelected:
      return "\r\nNo site has been selected!";
    case ErrorId::kPingInProgress:
      return "\r\nPing is in progress.\r\n\r\nEither wait until it is completed,\r\n"
             "or \"Abort\" the operation";
    case ErrorId::kUploadInProgress:
      return "\r\nUpload Program is in progress.\r\n\r\nEither wait until it is completed,\r\n"
             "or \"Abort\" the operation";
    case ErrorId::kDifferentProducts:
      return "\r\nYou have selected different products.\r\n\r\n"
             "All selected products must be of same type.";
    case ErrorId::kNone:
    case ErrorId::kImportFileUnreadable:
    case ErrorId::kNoImportFile:
    case ErrorId::kNoAddressColumn:
    case ErrorId::kWrongCadmarinFile:
    case ErrorId::kWrongRkmFile:
    case ErrorId::kWrongCollectorFile:
    case ErrorId::kWrongRkmMicroFile:
    case ErrorId::kWrongHalvyrFile:
    case ErrorId::kWrongFileForUnknown:
    case ErrorId::kUnknownProductType:
    case ErrorId::kMixedFamilies:
    case ErrorId::kOperationInProgress:
    case ErrorId::kNothingToPing:
    case ErrorId::kNoSiteChecked:
    case ErrorId::kSavePort:
    case ErrorId::kSaveAddress:
    case ErrorId::kDnsConversion:
      return {};
  }
  return {};
}

std::string InternalErrorCodeText(InternalErrorCode code) {
  return Printf("Error Code = %u", static_cast<unsigned>(code));
}

std::string WriteFailedText(const std::string& path) { return Printf("FAILED TO WRITE\r\n%s", path.c_str()); }

std::string SiteFileChangedText(const std::string& path) {
  return Printf(
      "File\r\n%s\r\nwas changed by another program since it was opened.\r\n\r\n"
      "Use \"Save As\" to keep this list under another name, or reload the file to take the other changes.",
      path.c_str());
}

}  // namespace quenderlink
