// The one growable container: an ordered list of pointer-sized slots with 16-bit indices.
//
// Storage grows by 8 slots at a time (never doubling; arrays here hold tens of elements) and
// never shrinks; removal keeps the order, because definitions and packs keep their load order.
// The array does not own what its elements point to: holders call DeleteAll/FreeAll in their
// teardown. Index 0xFFFF means "not found", so an array holds at most 65535 elements.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

#include "core/memory.h"

constexpr uint16_t kNotFound = 0xFFFF;

template <typename T>
class PtrArray {
  static_assert(sizeof(T) <= sizeof(void*) && std::is_trivially_copyable_v<T>,
                "a PtrArray slot holds a pointer or a small integer");

 public:
  PtrArray() = default;
  PtrArray(const PtrArray&) = delete;
  PtrArray& operator=(const PtrArray&) = delete;
  PtrArray(PtrArray&& other) noexcept { Swap(other); }
  PtrArray& operator=(PtrArray&& other) noexcept {
    if (this != &other) {
      Release();
      items_ = nullptr;
      capacity_ = count_ = 0;
      Swap(other);
    }
    return *this;
  }
  ~PtrArray() { Release(); }

  uint16_t Count() const { return count_; }
  uint16_t Capacity() const { return capacity_; }
  bool Empty() const { return count_ == 0; }
  T* Items() const { return items_; }
  T& operator[](uint16_t index) { return items_[index]; }
  const T& operator[](uint16_t index) const { return items_[index]; }
  T* begin() const { return items_; }
  T* end() const { return items_ + count_; }

  // False when the storage could not grow (out of memory, or 65535 elements already).
  bool Append(T element) {
    if (items_ == nullptr || capacity_ <= count_) {
      if (count_ == kNotFound) return false;
      const uint32_t grown = items_ ? capacity_ + 8u : 8u;
      const uint16_t newCapacity = static_cast<uint16_t>(grown > kNotFound ? kNotFound : grown);
      void* storage = CheckedRealloc(items_, static_cast<uint32_t>(newCapacity * sizeof(T)));
      if (storage == nullptr) return false;
      items_ = static_cast<T*>(storage);
      capacity_ = newCapacity;
    }
    items_[count_++] = element;
    return true;
  }

  // Index of the first slot equal to `element`, or kNotFound.
  uint16_t IndexOf(T element) const {
    for (uint16_t i = 0; i < count_; ++i) {
      if (items_[i] == element) return i;
    }
    return kNotFound;
  }

  // Takes the element out; later elements move down one place. The caller owns it now.
  T RemoveAt(uint16_t index) {
    T element = items_[index];
    --count_;
    for (uint16_t i = index; i < count_; ++i) items_[i] = items_[i + 1];
    return element;
  }

  // Empties the array; with releaseStorage the block is freed, otherwise it is kept and the
  // next Append grows it back to 8 slots.
  void Clear(bool releaseStorage) {
    if (items_ == nullptr) return;
    if (releaseStorage) {
      Free(items_);
      items_ = nullptr;
    }
    count_ = 0;
    capacity_ = 0;
  }

  // Frees the storage block; the array is empty and can be used again.
  void Release() {
    Free(items_);
    items_ = nullptr;
    capacity_ = count_ = 0;
  }

  // Deletes every non-null element (objects from `new`) and releases the storage.
  void DeleteAll() {
    static_assert(std::is_pointer_v<T>, "DeleteAll needs object pointers");
    for (uint16_t i = 0; i < count_; ++i) delete items_[i];
    Clear(true);
  }

  // Frees every non-null element (blocks from CheckedAlloc, such as strings) and the storage.
  void FreeAll() {
    static_assert(std::is_pointer_v<T>, "FreeAll needs block pointers");
    for (uint16_t i = 0; i < count_; ++i) Free(const_cast<void*>(static_cast<const void*>(items_[i])));
    Clear(true);
  }

 private:
  void Swap(PtrArray& other) {
    std::swap(items_, other.items_);
    std::swap(capacity_, other.capacity_);
    std::swap(count_, other.count_);
  }

  T* items_ = nullptr;
  uint16_t capacity_ = 0;
  uint16_t count_ = 0;
};
