// Guarded allocation for buffers, strings and array storage.
//
// An allocation that fails gives the platform one chance to make room (the memory request
// hook) and is retried once; if it fails again the platform shows its out-of-memory message
// and the caller gets null, which every caller treats as "give up this operation". Objects
// themselves come from `new`, without the retry.
#pragma once

#include <cstddef>
#include <cstdint>

struct MemoryHooks {
  void (*requestMemory)(uint32_t bytesSought) = nullptr;  // may free caches; result not read
  void (*showOutOfMemory)() = nullptr;                     // tells the player
  // The underlying allocator (realloc semantics; null block allocates). Left empty it is the
  // C library's; tests put a failing one here.
  void* (*reallocate)(void* block, size_t size) = nullptr;
};

// Installed by the platform at start-up; both hooks may be left empty.
void SetMemoryHooks(const MemoryHooks& hooks);

void* CheckedAlloc(uint32_t size);
// On the final failure the old block is left untouched and null is returned.
void* CheckedRealloc(void* block, uint32_t size);
void Free(void* block);

// Allocation of `count` elements of T (uninitialised storage), null on failure or overflow.
template <typename T>
T* CheckedAllocArray(size_t count) {
  if (count > UINT32_MAX / sizeof(T)) return nullptr;
  return static_cast<T*>(CheckedAlloc(static_cast<uint32_t>(count * sizeof(T))));
}
