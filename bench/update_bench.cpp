// Figures of the update check's own work: hashing a downloaded program and reading a
// version file. Both run once per click of Update, so they only need to be far below a
// network round trip.
#include <chrono>
#include <cstdio>
#include <string>

#include "update/sequential_items.h"
#include "update/sha256.h"

namespace {

template <typename Work>
double SecondsFor(Work work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  constexpr size_t kProgramBytes = 16 * 1024 * 1024;
  std::string program(kProgramBytes, '\0');
  for (size_t i = 0; i < program.size(); ++i) program[i] = static_cast<char>(i * 2654435761u >> 24);
  std::string digest;
  const double hashSeconds = SecondsFor([&] { digest = pravelo::update::Sha256Hex(program); });
  std::printf("sha256: %.1f MiB/s (16 MiB in %.3f s, %s...)\n", kProgramBytes / hashSeconds / (1024 * 1024),
              hashSeconds, digest.substr(0, 8).c_str());

  constexpr int kReads = 200000;
  const std::string file = "1.43\r\nhttp://update.pravelo.example/files/Pravelo.exe\r\n" + digest + "\r\n";
  size_t checksum = 0;
  const double readSeconds = SecondsFor([&] {
    for (int i = 0; i < kReads; ++i) {
      pravelo::update::ItemReader reader(file);
      while (auto item = reader.Next()) checksum += item->size();
    }
  });
  std::printf("version file: %.0f ns per read (%d reads, %zu)\n", readSeconds / kReads * 1e9, kReads,
              checksum);
  return 0;
}
