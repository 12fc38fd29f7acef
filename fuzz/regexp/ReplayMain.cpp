// Runs every file of the given folders through the fuzz entry, so the seed corpus is an ordinary test.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

int main(int Argc, char** Argv) {
  int Count = 0;
  for (int I = 1; I < Argc; ++I) {
    for (const auto& Entry : std::filesystem::directory_iterator(Argv[I])) {
      if (!Entry.is_regular_file()) continue;
      std::ifstream In(Entry.path(), std::ios::binary);
      const std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
      ++Count;
    }
  }
  std::printf("replayed %d inputs\n", Count);
  return Count > 0 ? 0 : 1;
}
