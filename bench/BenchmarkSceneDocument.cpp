// Writes the step benchmark's 100-slot scene (mixed groups) as a document, so that the batch
// tool can be timed on exactly the scene whose step time the benchmark reports:
//   velmora_bench_scene scene.ato && velmora-batch --steps 200 scene.ato

#include <cstdio>
#include <exception>

#include "bench/BenchmarkScenes.h"
#include "documents/DocumentFile.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SCENE.ato\n", argv[0]);
    return 2;
  }
  try {
    velmora::Model scene = velmora::bench::HundredSlotScene(true);
    velmora::WriteDocumentFile(scene, argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.what());
    return 1;
  }
  return 0;
}
