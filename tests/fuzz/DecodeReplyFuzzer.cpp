#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "FuzzInputFile.h"
#include "core/Lookups.h"
#include "net/DeviceDatagram.h"

namespace {

using quenderlink::DeviceReply;
using quenderlink::fuzz::RequireTerminated;

void RequireSound(const DeviceReply& r) {
  RequireTerminated(r.Milepost, r.TrackId, r.SiteName, r.SubdivName, r.HostText, r.IpText, r.ExtraText, r.CommVersion,
                    r.ReaderVersion, r.SpeechVersion);
  if (r.Reserved != 0 || r.BlockSize == 0 || r.ProductType > quenderlink::kProductCad2 || r.TrackIndex > 12)
    std::abort();
}

}  // namespace

// Decodes one datagram as the ping engines (with each railroad's track lookup)
// and the upload transport (no separator count) would.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> datagram(data, size);
  for (const unsigned railroad : {0u, 2u, 3u, 5u}) {
    DeviceReply counted;
    const bool decoded = quenderlink::DecodeDeviceReply(datagram, "127.0.0.1", 9001, railroad, counted);
    if (decoded) RequireSound(counted);
    DeviceReply uncounted;
    const bool decodedUncounted =
        quenderlink::DecodeDeviceReply(datagram, "127.0.0.1", 9001, railroad, uncounted, false);
    if (decodedUncounted) RequireSound(uncounted);
    // Dropping the count can only let more replies through.
    if (decoded && !decodedUncounted) std::abort();
  }
  return 0;
}
