#include <QtGlobal>

#include <cstdio>

// The desktop frame comes with the shell; until then the program names itself.
int main() {
  std::printf("Quenderlink Version %s (Qt %s)\n", "9.0", qVersion());
  return 0;
}
