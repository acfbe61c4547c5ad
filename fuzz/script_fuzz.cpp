// Headless input scripts, and the recordings of played sessions, which are scripts too: the
// parser either accepts the whole text or names the line it refuses.
#include <string>

#include "fuzz_support.h"
#include "platform/headless/headless_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (64u << 10)) return 0;
  HeadlessScript script;
  std::string error;
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (script.Parse(text, &error)) {
    for (const HeadlessScript::Command& command : script.commands()) FUZZ_CHECK(command.line >= 1);
  } else {
    FUZZ_CHECK(error.find("line") != std::string::npos);
  }
  return 0;
}
