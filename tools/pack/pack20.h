// The version-20 compressor: turns one archive entry into the packed stream that the game's
// decompressor (src/content/unpack20) reads.
//
// Each entry is coded either as LZ77 (hash-chain matches chosen by an optimal parse, the four last
// distances, the repeat-last-match symbol and short length-2 matches) or in audio mode (the
// decoder's own byte predictor, 1 to 4 interleaved channels), whichever is smaller. Symbols are
// sent in blocks, each with its own table set: Huffman code lengths of at most 15 bits, sent as
// additions to the previous set when that is shorter.
//
// For a solid archive one encoder packs every entry in turn, mirroring the decoder state
// (window, last distances, tables, predictor) that carries over between entries.
#pragma once

#include <cstdint>
#include <vector>

#include "content/method20.h"
#include "huffman_builder.h"
#include "match_finder.h"

// What the decoder will hold after the bytes packed so far: the encoder mirrors it to choose
// symbols (last distances), code them (tables in force) and predict audio bytes.
struct Pack20Model {
  enum class Tables { kNone, kLz, kAudio };
  Tables tables = Tables::kNone;
  uint32_t channels = 1;
  uint8_t oldTable[method20::kMaxTableSize] = {};
  HuffmanCode literal, distance, repeat;           // in force when tables == kLz
  HuffmanCode audio[method20::kMaxAudioChannels];  // in force when tables == kAudio
  uint32_t oldDist[4] = {};
  uint32_t oldDistPtr = 0;
  uint32_t lastDist = 0;
  uint32_t lastLength = 0;
  method20::AudioVariables audioVars[method20::kMaxAudioChannels];
  int32_t channelDelta = 0;
  uint32_t curChannel = 0;
};

class Pack20Encoder {
 public:
  struct Options {
    uint32_t maxChainLength = 128;  // hash-chain steps per position: speed against ratio
    bool tryAudio = true;           // consider audio mode for every entry
  };

  // Which coding an entry ended up with.
  enum class Mode { kLz, kAudio };

  // What the encoder has sent so far, entry after entry (only the coding kept for each).
  struct Statistics {
    uint64_t literals = 0;
    uint64_t newMatches = 0;          // 270..297
    uint64_t repeatLastMatch = 0;     // 256
    uint64_t oldDistanceMatches = 0;  // 257..260
    uint64_t shortMatches = 0;        // 261..268
    uint64_t tableSets = 0;
    uint64_t additiveTableSets = 0;  // sent as additions to the previous set
    uint64_t audioEntries = 0;
    uint64_t audioBytes = 0;
  };

  Pack20Encoder() : Pack20Encoder(Options{}) {}
  explicit Pack20Encoder(const Options& options);

  // Packs the next entry. Without `continuesSolid` everything starts afresh (a non-solid
  // archive, or the first entry of a solid one) and the stream begins with a table set; with it
  // the decoder keeps its state from the previous entry, and so does the encoder; it needs an
  // earlier call for a non-empty entry, whose tables the new entry's first symbol is coded with.
  std::vector<uint8_t> Encode(const uint8_t* data, uint32_t size, bool continuesSolid);

  Mode LastMode() const { return lastMode_; }
  uint32_t LastAudioChannels() const { return lastChannels_; }
  const Statistics& TotalStatistics() const { return statistics_; }

 private:
  // One coded LZ step: a literal or a match with the symbol chosen for it.
  struct Token {
    uint16_t symbol;
    uint16_t length;
    uint32_t distance;
  };

  struct Prices;

  void ParseLz(uint32_t start, uint32_t end, Pack20Model& model, std::vector<Token>& tokens);
  std::vector<uint8_t> EncodeLz(uint32_t start, uint32_t end, Pack20Model& model, bool continuesSolid,
                                Statistics& statistics);
  std::vector<uint8_t> EncodeAudio(uint32_t start, uint32_t end, uint32_t channels, Pack20Model& model,
                                   bool continuesSolid, Statistics& statistics);
  uint32_t ChooseAudioChannels(uint32_t start, uint32_t end, const Pack20Model& model, double& estimatedBytes) const;

  std::vector<uint8_t> history_;  // every byte of the stream so far
  uint32_t inserted_ = 0;         // positions of history_ already in the match finder
  MatchFinder finder_;
  Pack20Model model_;
  Options options_;
  Mode lastMode_ = Mode::kLz;
  uint32_t lastChannels_ = 0;
  Statistics statistics_;
};
