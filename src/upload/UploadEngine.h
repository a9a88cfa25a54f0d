#pragma once

#include "upload/UploadRequest.h"

namespace quenderlink {

// What the user is asked before an upload that still runs is aborted.
inline constexpr char kAbortUploadQuestion[] = "Upload is not finished yet!\r\n\r\nDo you still want to abort?";

// The upload engine's worker thread: sends the request's program file to every
// highlighted site through the units' RAM-loader procedure, several at a time,
// and reports each step to the request's listener. Whatever happens, it ends by
// setting the finished flag and calling OnUploadDone, after which nothing more
// is reported; a run that cannot start says why through OnUploadFailed first.
void UploadEngine(UploadRequest& request);

}  // namespace quenderlink
