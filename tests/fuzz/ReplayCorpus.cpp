#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// The input goes in a buffer of exactly its size, so a sanitizer sees any read past it.
void Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto exact = std::make_unique<std::uint8_t[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), exact.get());
  LLVMFuzzerTestOneInput(exact.get(), bytes.size());
}

}  // namespace

// Runs a fuzz target over the saved inputs in the folders given (libFuzzer's own
// program replays a single crash input). Fails when there was nothing to replay.
int main(int argc, char** argv) {
  std::size_t replayed = 0;
  for (int index = 1; index < argc; ++index) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(argv[index], error)) {
      if (!entry.is_regular_file()) continue;
      Replay(entry.path());
      ++replayed;
    }
    if (error) {
      std::cerr << argv[index] << ": " << error.message() << '\n';
      return 1;
    }
  }
  std::cout << "replayed " << replayed << " inputs\n";
  return replayed > 0 ? 0 : 1;
}
