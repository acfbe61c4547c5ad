#include "platform/headless/headless_audio_output.h"

#include <algorithm>

namespace {

constexpr uint32_t kWavHeaderBytes = 44;
// A WAV file counts its bytes in 32 bits; a recording stops growing short of that.
constexpr uint64_t kLargestRecording = 0xFFFFFFFFull - kWavHeaderBytes;

void PutLittleEndian(uint8_t* out, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

// The 44-byte header of a PCM WAV file holding `dataBytes` of samples.
void MakeWavHeader(const AudioFormat& format, uint32_t dataBytes, uint8_t* header) {
  const uint32_t blockAlign = format.channels * (format.bitsPerSample / 8u);
  std::copy_n("RIFF", 4, header);
  PutLittleEndian(header + 4, 36 + dataBytes, 4);
  std::copy_n("WAVEfmt ", 8, header + 8);
  PutLittleEndian(header + 16, 16, 4);
  PutLittleEndian(header + 20, 1, 2);  // PCM
  PutLittleEndian(header + 22, format.channels, 2);
  PutLittleEndian(header + 24, format.samplesPerSecond, 4);
  PutLittleEndian(header + 28, format.samplesPerSecond * blockAlign, 4);
  PutLittleEndian(header + 32, blockAlign, 2);
  PutLittleEndian(header + 34, format.bitsPerSample, 2);
  std::copy_n("data", 4, header + 36);
  PutLittleEndian(header + 40, dataBytes, 4);
}

bool SameFormat(const AudioFormat& a, const AudioFormat& b) {
  return a.samplesPerSecond == b.samplesPerSecond && a.channels == b.channels && a.bitsPerSample == b.bitsPerSample;
}

}  // namespace

HeadlessAudioOutput::~HeadlessAudioOutput() {
  Close();
  FinishRecording();
}

bool HeadlessAudioOutput::Open(const AudioFormat& format, uint32_t bufferCount, uint32_t bufferBytes,
                               AudioBufferDone onDone, void* context) {
  Close();
  if (format.bitsPerSample != 8 || (format.channels != 1 && format.channels != 2) || format.samplesPerSecond == 0 ||
      bufferCount == 0 || bufferBytes == 0) {
    return false;
  }
  format_ = format;
  bytesPerFrame_ = format.channels;
  onDone_ = onDone;
  context_ = context;
  buffers_.assign(bufferCount, std::vector<uint8_t>(bufferBytes, 128));
  bufferLengths_.assign(bufferCount, 0);
  queue_.clear();
  playedOfFront_ = 0;
  carriedMilliFrames_ = 0;
  if (recording_ != nullptr && !recordingFormatSet_) {
    recordingFormat_ = format;
    recordingFormatSet_ = true;
  }
  open_ = true;
  return true;
}

bool HeadlessAudioOutput::Write(uint32_t bufferIndex, const uint8_t* bytes, uint32_t size) {
  if (!open_ || bufferIndex >= buffers_.size() || size == 0 || size > buffers_[bufferIndex].size() ||
      bufferLengths_[bufferIndex] != 0) {
    return false;
  }
  std::copy_n(bytes, size, buffers_[bufferIndex].begin());
  bufferLengths_[bufferIndex] = size;
  queue_.push_back(bufferIndex);
  return true;
}

void HeadlessAudioOutput::Close() {
  open_ = false;
  queue_.clear();
  buffers_.clear();
  bufferLengths_.clear();
  onDone_ = nullptr;
  context_ = nullptr;
}

bool HeadlessAudioOutput::RecordTo(const std::string& path) {
  FinishRecording();
  recording_ = std::fopen(path.c_str(), "wb");
  if (recording_ == nullptr) return false;
  // Room for the header, which is written once the length is known.
  const uint8_t placeholder[kWavHeaderBytes] = {};
  if (std::fwrite(placeholder, 1, kWavHeaderBytes, recording_) != kWavHeaderBytes) {
    std::fclose(recording_);
    recording_ = nullptr;
    return false;
  }
  recordedBytes_ = 0;
  recordingFormatSet_ = open_;
  if (open_) recordingFormat_ = format_;
  return true;
}

void HeadlessAudioOutput::AdvanceTime(uint32_t milliseconds) {
  if (!open_) return;
  const uint64_t milliFrames = carriedMilliFrames_ + static_cast<uint64_t>(milliseconds) * format_.samplesPerSecond;
  uint64_t frames = milliFrames / 1000;
  carriedMilliFrames_ = milliFrames % 1000;
  while (frames > 0 && open_) {
    if (queue_.empty()) {
      // Nothing queued: the device plays silence for the rest of this time.
      RecordSilence(static_cast<uint32_t>(std::min<uint64_t>(frames, UINT32_MAX)));
      framesPlayed_ += frames;
      return;
    }
    const uint32_t index = queue_.front();
    const uint32_t length = bufferLengths_[index];
    const uint32_t remainingFrames = (length - playedOfFront_) / bytesPerFrame_;
    const uint32_t playing = static_cast<uint32_t>(std::min<uint64_t>(frames, remainingFrames));
    Record(buffers_[index].data() + playedOfFront_, playing * bytesPerFrame_);
    playedOfFront_ += playing * bytesPerFrame_;
    frames -= playing;
    framesPlayed_ += playing;
    if (length - playedOfFront_ < bytesPerFrame_) {
      queue_.pop_front();
      playedOfFront_ = 0;
      bufferLengths_[index] = 0;
      // The routine usually writes the next buffer straight back into the queue.
      if (onDone_ != nullptr) onDone_(context_, index);
    }
  }
}

void HeadlessAudioOutput::Record(const uint8_t* bytes, uint32_t size) {
  if (recording_ == nullptr || !SameFormat(recordingFormat_, format_) || size == 0) return;
  if (recordedBytes_ + size > kLargestRecording) return;
  scratch_.assign(bytes, bytes + size);
  ApplyDeviceVolume(scratch_.data(), size, format_.channels, volume_);
  recordedBytes_ += std::fwrite(scratch_.data(), 1, size, recording_);
}

void HeadlessAudioOutput::RecordSilence(uint32_t frames) {
  if (recording_ == nullptr || !SameFormat(recordingFormat_, format_)) return;
  const uint64_t size = static_cast<uint64_t>(frames) * bytesPerFrame_;
  if (recordedBytes_ + size > kLargestRecording) return;
  scratch_.assign(size, 128);
  recordedBytes_ += std::fwrite(scratch_.data(), 1, scratch_.size(), recording_);
}

void HeadlessAudioOutput::FinishRecording() {
  if (recording_ == nullptr) return;
  // A recording of a device that never opened holds no samples, in the mixer's usual format.
  if (!recordingFormatSet_) recordingFormat_ = AudioFormat{22050, 2, 8};
  uint8_t header[kWavHeaderBytes];
  MakeWavHeader(recordingFormat_, static_cast<uint32_t>(recordedBytes_), header);
  if (std::fseek(recording_, 0, SEEK_SET) == 0) std::fwrite(header, 1, kWavHeaderBytes, recording_);
  std::fclose(recording_);
  recording_ = nullptr;
}
