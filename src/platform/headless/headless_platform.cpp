#include "platform/headless/headless_platform.h"

HeadlessPlatform::HeadlessPlatform(int32_t width, int32_t height)
    : width_(width), height_(height), frame_(static_cast<size_t>(width) * height, 0) {}

HeadlessPlatform::~HeadlessPlatform() = default;

bool HeadlessPlatform::OpenDisplay(DisplayProperties* properties) {
  displayOpen_ = true;
  // A window that opens takes the focus; without it the game would not run a frame.
  events_.push_back(PlatformEvent{EventKind::FocusGained});
  properties->width = width_;
  properties->height = height_;
  properties->xStep = 2;
  properties->yStep = width_ * 2;
  properties->bitsPerPixel = 16;
  properties->formatFlags = 0;
  return true;
}

void HeadlessPlatform::CloseDisplay() { displayOpen_ = false; }

uint8_t* HeadlessPlatform::BeginDraw() {
  if (!displayOpen_ || suspended_) return nullptr;
  drawing_ = true;
  return reinterpret_cast<uint8_t*>(frame_.data());
}

void HeadlessPlatform::EndDraw() {
  if (drawing_) ++presentedFrames_;
  drawing_ = false;
}

void HeadlessPlatform::BeginPass() {
  if (input_ != nullptr) input_->BeginPass(*this);
}

bool HeadlessPlatform::PollEvent(PlatformEvent* event) {
  if (events_.empty()) return false;
  *event = events_.front();
  events_.pop_front();
  return true;
}

void HeadlessPlatform::WaitEvent(PlatformEvent* event) {
  // Nothing outside can wake a headless run: without a message waiting, the only sensible
  // thing is to let the input source (or the test) go on, and to end the run if nothing will come.
  if (events_.empty() && input_ != nullptr) input_->BeginPass(*this);
  if (!PollEvent(event)) *event = PlatformEvent{EventKind::CloseRequested};
}
