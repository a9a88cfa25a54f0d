#include "terminal/ConnectErrorText.h"

#include <cerrno>

#include "core/Printf.h"

namespace quenderlink {
namespace {

// The conventional socket error codes (10000 + the BSD error number) of the
// system errors a connect can end with; 0 for an error without one.
int SocketErrorCode(int systemError) {
  switch (systemError) {
    case EINTR: return 10004;
    case EBADF: return 10009;
    case EACCES: return 10013;
    case EFAULT: return 10014;
    case EINVAL: return 10022;
    case EMFILE: return 10024;
    case EWOULDBLOCK: return 10035;
    case EINPROGRESS: return 10036;
    case EALREADY: return 10037;
    case ENOTSOCK: return 10038;
    case EDESTADDRREQ: return 10039;
    case EPROTOTYPE: return 10041;
    case EAFNOSUPPORT: return 10047;
    case EADDRINUSE: return 10048;
    case EADDRNOTAVAIL: return 10049;
    case ENETDOWN: return 10050;
    case ENETUNREACH: return 10051;
    case ENETRESET: return 10052;
    case ECONNABORTED: return 10053;
    case ECONNRESET: return 10054;
    case ENOBUFS: return 10055;
    case EISCONN: return 10056;
    case ENOTCONN: return 10057;
    case ETIMEDOUT: return 10060;
    case ECONNREFUSED: return 10061;
    case EHOSTDOWN: return 10064;
    case EHOSTUNREACH: return 10065;
    default: return 0;
  }
}

}  // namespace

std::string ConnectErrorText(int systemError) {
  const int code = SocketErrorCode(systemError);
  switch (code) {
    case 10014: return "The lpSockAddrLen argument is incorrect.";
    case 10022: return "The socket is already bound to an address.";
    case 10024: return "No more file descriptors are available.";
    case 10038: return "The descriptor is a file, not a socket.";
    case 10039: return "A destination address is required.";
    case 10047: return "Addresses in the specified family cannot be used with this socket.";
    case 10048: return "The specified address is already in use.";
    case 10049: return "The specified address is not available from the local machine.";
    case 10051: return "The network cannot be reached from this host at this time.";
    case 10055: return "No buffer space is available. The socket cannot be connected.";
    case 10056: return "The socket is already connected.";
    case 10057: return "The socket is not connected.";
    case 10060: return "The attempt to connect timed out without establishing a connection.";
    case 10061: return "The attempt to connect was forcefully rejected.";
    default: return Printf("OnConnect error: %d", code != 0 ? code : systemError);
  }
}

}  // namespace quenderlink
