// The subcommands of kestrel-bench. Each lives in a file of its own and is listed in the
// table in kestrel_bench.cpp; it gets the arguments after its name and returns the exit status.
#pragma once

struct BenchCommand {
  const char* name;
  const char* usage;  // the arguments, for the usage text
  int (*run)(int argc, char** argv);
};

int RunMeshBench(int argc, char** argv);
int RunUnpackBench(int argc, char** argv);
int RunTerrainBench(int argc, char** argv);
int RunGameBench(int argc, char** argv);
