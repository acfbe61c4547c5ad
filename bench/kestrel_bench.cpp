// kestrel-bench: speed of the game's hot paths, measured outside the tests.
#include <cstdio>
#include <cstring>

#include "bench_commands.h"

namespace {

const BenchCommand kCommands[] = {
    {"meshes", "[--frames N] [--objects N] [--png FILE]", RunMeshBench},
    {"unpack", "ARCHIVE [--repeat N]", RunUnpackBench},
    {"terrain",
     "--pack P --mission NAME [--quality 0..3] [--distance 0..3] [--landscape] [--single-row] [--frames N]\n"
     "      [--x X --z Z --height H --yaw DEG] [--objects] [--png FILE]",
     RunTerrainBench},
    {"game", "--mission NAME [--weapon NAME]... [--content DIR] [--quality 0..3] [--distance 0..3] [--landscape] [--frames N]\n"
     "      [--png FILE]",
     RunGameBench},
};

int Usage() {
  std::fputs("usage:\n", stderr);
  for (const BenchCommand& command : kCommands)
    std::fprintf(stderr, "  kestrel-bench %s %s\n", command.name, command.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const BenchCommand& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "kestrel-bench: unknown command %s\n", argv[1]);
  return Usage();
}
