// Replays saved inputs through a fuzz target without libFuzzer, so the ordinary build (any
// compiler, with or without sanitizers) checks every seed and every kept finding on each test
// run: each file named on the command line, and each file in each folder named, is handed to
// LLVMFuzzerTestOneInput once, in name order. A failed check or a crash ends the program as in
// a fuzz run; a folder that does not exist (no findings kept yet) is passed over.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool ReadWhole(const std::filesystem::path& p, std::string& bytes) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg(argv[i]);
    std::error_code ec;
    if (fs::is_directory(arg, ec)) {
      std::vector<fs::path> here;
      for (const fs::directory_entry& e : fs::directory_iterator(arg, ec))
        if (e.is_regular_file(ec)) here.push_back(e.path());
      std::sort(here.begin(), here.end());
      inputs.insert(inputs.end(), here.begin(), here.end());
    } else if (fs::is_regular_file(arg, ec)) {
      inputs.push_back(arg);
    } else if (fs::exists(arg, ec)) {
      std::fprintf(stderr, "replay: %s is neither a file nor a folder\n", argv[i]);
      return 2;
    }
  }
  std::string bytes;
  for (const fs::path& p : inputs) {
    if (!ReadWhole(p, bytes)) {
      std::fprintf(stderr, "replay: cannot read %s\n", p.c_str());
      return 2;
    }
    std::fprintf(stderr, "replay: %s (%zu bytes)\n", p.c_str(), bytes.size());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs replayed\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
