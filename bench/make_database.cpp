// bench_make_database RECORDS FILE — writes a save.ini of four registers of
// RECORDS records each (see support/register_database.h) for the benchmarks.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/support/register_database.h"

int main(int argc, char** argv) {
  if (argc != 3 || std::atoi(argv[1]) <= 0) {
    std::fprintf(stderr, "usage: %s RECORDS FILE\n", argv[0]);
    return 2;
  }
  const std::string text = DatabaseText(std::atoi(argv[1]));
  std::FILE* file = std::fopen(argv[2], "wb");
  bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (file) written = std::fclose(file) == 0 && written;
  if (!written) {
    std::perror(argv[2]);
    return 1;
  }
  return 0;
}
