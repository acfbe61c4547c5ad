// The program's own pictures and sounds, compiled into the executable and found by number.
//
// Pictures are JPEG files (kind Picture, the handheld's "RAW" resources) and sounds are WAV
// files (kind Sound). The table is generated at build time from a folder laid out as
// raw/<id>.jpg and sound/<id>.wav; each executable links the table it was built with.
#pragma once

#include <cstdint>

enum class ResourceKind : uint8_t { Picture, Sound };

struct ResourceBytes {
  const uint8_t* data = nullptr;  // owned by the program image: never freed
  uint32_t size = 0;
};

struct EmbeddedResource {
  ResourceKind kind;
  uint32_t id;
  const uint8_t* data;
  uint32_t size;
};

// The bytes of a resource, or an empty result (null data, size 0) when there is none.
ResourceBytes FindResource(ResourceKind kind, uint32_t id);
