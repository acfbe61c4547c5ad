#include "core/memory.h"

#include <cstdlib>

namespace {

// Process-wide by design: the platform installs its services once at start-up.
MemoryHooks gHooks;

// malloc(0) may return null; every block handed out is at least one byte so that null
// always means failure.
size_t BlockSize(uint32_t size) { return size == 0 ? 1 : size; }

void* Reallocate(void* block, uint32_t size) {
  return gHooks.reallocate ? gHooks.reallocate(block, BlockSize(size)) : std::realloc(block, BlockSize(size));
}

}  // namespace

void SetMemoryHooks(const MemoryHooks& hooks) { gHooks = hooks; }

void* CheckedAlloc(uint32_t size) { return CheckedRealloc(nullptr, size); }

void* CheckedRealloc(void* block, uint32_t size) {
  if (void* moved = Reallocate(block, size)) return moved;
  if (gHooks.requestMemory) gHooks.requestMemory(size);
  if (void* moved = Reallocate(block, size)) return moved;
  if (gHooks.showOutOfMemory) gHooks.showOutOfMemory();
  return nullptr;
}

void Free(void* block) { std::free(block); }
