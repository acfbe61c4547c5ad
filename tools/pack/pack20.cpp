#include "pack20.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

#include "bit_writer.h"

using namespace method20;

namespace {

// Symbols per table set. Smaller blocks follow changing data more closely but pay for more
// tables (50 to 150 bytes each).
constexpr size_t kTokensPerBlock = 16384;
constexpr size_t kAudioBytesPerBlock = 65536;
// Bytes the optimal parse looks at in one go, and the match length that ends it early.
constexpr uint32_t kParseWindow = 4096;
constexpr uint32_t kNiceLength = 128;
// Audio mode is only worth trying for entries of some size; its tables alone cost 100+ bytes
// per channel.
constexpr uint32_t kMinAudioSize = 1024;
// Length-2 matches can be coded no farther back than this.
constexpr uint32_t kMaxShortDistance = 256;

uint32_t LengthSlot(uint32_t value) {  // value 0..255
  uint32_t slot = kLengthSlots - 1;
  while (LDecode[slot] > value) --slot;
  return slot;
}

uint32_t DistanceSlot(uint32_t distanceMinusOne) {
  const uint32_t* end = DDecode + kDistanceSlots;
  return static_cast<uint32_t>(std::upper_bound(DDecode, end, distanceMinusOne) - DDecode) - 1;
}

uint32_t ShortDistanceSlot(uint32_t distanceMinusOne) {  // 0..255
  uint32_t slot = kShortDistanceSlots - 1;
  while (SDDecode[slot] > distanceMinusOne) --slot;
  return slot;
}

void WriteSymbol(BitWriter& out, const HuffmanCode& code, uint32_t symbol) {
  assert(code.lengths[symbol] > 0);
  out.Write(code.codes[symbol], code.lengths[symbol]);
}

void WriteExtra(BitWriter& out, uint32_t value, uint32_t bits) {
  if (bits > 0) out.Write(value, bits);
}

// The stream's bytes, with two zero bytes after the last code: some decoders fetch 16 bits
// ahead and refuse to read past the packed data. Fewer than 5 bytes stay after the last code,
// so the decoder does not take the padding for a closing table change.
std::vector<uint8_t> FinishStream(BitWriter& out) {
  std::vector<uint8_t> bytes = out.Finish();
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

// One symbol of a run-length coded table set, with its extra bits.
struct TableItem {
  uint8_t symbol;
  uint8_t extraBits;
  uint8_t extra;
};

// Code lengths as the decoder's bit-length symbols: additions modulo 16 to `base`, runs of
// zeros, and repeats of the previous length.
std::vector<TableItem> RunLengthCode(const std::vector<uint8_t>& lengths, const uint8_t* base) {
  std::vector<TableItem> items;
  const size_t size = lengths.size();
  for (size_t i = 0; i < size;) {
    const uint8_t value = lengths[i];
    size_t run = 1;
    if (value == 0) {
      while (i + run < size && run < 138 && lengths[i + run] == 0) ++run;
      if (run >= 11) {
        items.push_back({kLongZeroRun, 7, static_cast<uint8_t>(run - 11)});
        i += run;
        continue;
      }
      if (run >= 3) {
        items.push_back({kShortZeroRun, 3, static_cast<uint8_t>(run - 3)});
        i += run;
        continue;
      }
    } else if (i > 0 && lengths[i - 1] == value) {
      while (i + run < size && run < 6 && lengths[i + run] == value) ++run;
      if (run >= 3) {
        items.push_back({kRepeatPreviousLength, 2, static_cast<uint8_t>(run - 3)});
        i += run;
        continue;
      }
    }
    items.push_back({static_cast<uint8_t>((value - base[i]) & 15), 0, 0});
    ++i;
  }
  return items;
}

struct CodedTable {
  std::vector<TableItem> items;
  std::vector<uint8_t> bitLengths;  // 19 lengths of the bit-length code
  uint64_t bits = 0;
};

CodedTable CodeTable(const std::vector<uint8_t>& lengths, const uint8_t* base) {
  CodedTable table;
  table.items = RunLengthCode(lengths, base);
  std::vector<uint32_t> frequencies(kBitLengthSymbols, 0);
  for (const TableItem& item : table.items) ++frequencies[item.symbol];
  table.bitLengths = BuildCodeLengths(frequencies, kMaxCodeLength);
  table.bits = kBitLengthSymbols * 4;
  for (const TableItem& item : table.items) table.bits += table.bitLengths[item.symbol] + item.extraBits;
  return table;
}

}  // namespace

// Estimated cost in bits of each symbol, from the statistics of what has been parsed so far.
struct Pack20Encoder::Prices {
  float literal[kLiteralLengthSymbols];
  float distance[kDistanceSymbols];
  float repeat[kRepeatLengthSymbols];

  std::vector<uint32_t> literalCount = std::vector<uint32_t>(kLiteralLengthSymbols, 0);
  std::vector<uint32_t> distanceCount = std::vector<uint32_t>(kDistanceSymbols, 0);
  std::vector<uint32_t> repeatCount = std::vector<uint32_t>(kRepeatLengthSymbols, 0);

  Prices() {
    std::fill(std::begin(literal), std::end(literal), 7.0f);
    std::fill(literal, literal + 256, 8.0f);
    std::fill(std::begin(distance), std::end(distance), 5.0f);
    std::fill(std::begin(repeat), std::end(repeat), 4.0f);
  }

  static void Update(float* price, const std::vector<uint32_t>& count) {
    double total = 0;
    for (uint32_t c : count) total += c + 0.5;
    for (size_t i = 0; i < count.size(); ++i) price[i] = static_cast<float>(std::log2(total / (count[i] + 0.5)));
  }

  void Update() {
    Update(literal, literalCount);
    Update(distance, distanceCount);
    Update(repeat, repeatCount);
  }
};

Pack20Encoder::Pack20Encoder(const Options& options) : finder_(options.maxChainLength), options_(options) {}

namespace {

uint32_t MatchLength(const std::vector<uint8_t>& data, uint32_t position, uint32_t distance, uint32_t limit) {
  const uint8_t* current = data.data() + position;
  const uint8_t* earlier = current - distance;
  uint32_t length = 0;
  while (length < limit && earlier[length] == current[length]) ++length;
  return length;
}

// The decoder's memory of past matches, which decides what the repeat symbols mean.
struct MatchHistory {
  uint32_t oldDist[4];
  uint32_t oldDistPtr;
  uint32_t lastDist;
  uint32_t lastLength;

  void Push(uint32_t length, uint32_t distance) {
    oldDist[oldDistPtr++ & 3] = distance;
    lastDist = distance;
    lastLength = length;
  }
};

// One position of the optimal parse: the cheapest known way to code everything before it.
struct ParseNode {
  float cost;
  uint32_t from;  // node the last step started at
  uint16_t symbol;
  uint16_t length;
  uint32_t distance;
  MatchHistory history;  // after that path
};

}  // namespace

// Chooses the symbols by an optimal parse over windows of kParseWindow bytes: every literal and
// every match the hash chains, the last distances and the short codes offer is priced in bits
// (from the statistics so far), and the cheapest path through the window wins. What the repeat
// symbols mean depends on the path, so each node carries its own match history. A match of
// kNiceLength or more ends the window early and is taken as it is, which keeps long runs fast.
void Pack20Encoder::ParseLz(uint32_t start, uint32_t end, Pack20Model& model, std::vector<Token>& tokens) {
  Prices prices;
  size_t nextPriceUpdate = 1024;
  std::vector<ParseNode> nodes(kParseWindow + 1);
  MatchHistory history;
  std::copy(std::begin(model.oldDist), std::end(model.oldDist), history.oldDist);
  history.oldDistPtr = model.oldDistPtr;
  history.lastDist = model.lastDist;
  history.lastLength = model.lastLength;

  auto insertUpTo = [&](uint32_t position) {
    for (; inserted_ < position; ++inserted_) finder_.Insert(history_, inserted_);
  };
  auto emit = [&](const ParseNode& step) {
    tokens.push_back({step.symbol, step.length, step.distance});
    ++prices.literalCount[step.symbol];
    if (step.symbol >= kFirstLengthSymbol) {
      ++prices.distanceCount[DistanceSlot(step.distance - 1)];
    } else if (step.symbol > kRepeatLastMatch && step.symbol < kFirstShortDistance) {
      ++prices.repeatCount[LengthSlot(step.length - 2 - OldDistanceLengthBonus(step.distance))];
    }
  };

  std::vector<ParseNode> path;
  uint32_t position = start;
  while (position < end) {
    if (tokens.size() >= nextPriceUpdate) {
      prices.Update();
      nextPriceUpdate = tokens.size() + 4096;
    }
    const uint32_t window = std::min(kParseWindow, end - position);
    nodes[0] = {0.0f, 0, 0, 0, 0, history};
    for (uint32_t k = 1; k <= window; ++k) nodes[k].cost = std::numeric_limits<float>::infinity();

    uint32_t stop = window;
    ParseNode longStep{};  // taken whole after `stop` when a long match turns up
    for (uint32_t k = 0; k < window; ++k) {
      const ParseNode node = nodes[k];
      const uint32_t here = position + k;
      const uint32_t room = window - k;
      insertUpTo(here);
      ParseNode best{};  // the longest single step from here
      auto relax = [&](uint32_t length, uint32_t distance, uint32_t symbol, float price) {
        ParseNode step{node.cost + price, k,           static_cast<uint16_t>(symbol), static_cast<uint16_t>(length),
                       distance,          node.history};
        if (symbol >= 256) step.history.Push(length, distance);
        if (length > best.length || (length == best.length && step.cost < best.cost)) best = step;
        if (step.cost < nodes[k + length].cost) nodes[k + length] = step;
      };

      relax(1, 0, history_[here], prices.literal[history_[here]]);
      const MatchHistory& h = node.history;
      if (h.lastLength >= 2 && h.lastDist != 0 && h.lastDist <= here && h.lastLength <= room &&
          MatchLength(history_, here, h.lastDist, h.lastLength) == h.lastLength) {
        relax(h.lastLength, h.lastDist, kRepeatLastMatch, prices.literal[kRepeatLastMatch]);
      }
      for (uint32_t back = 1; back <= 4; ++back) {
        const uint32_t distance = h.oldDist[(h.oldDistPtr - back) & 3];
        if (distance == 0 || distance > here) continue;
        const uint32_t bonus = OldDistanceLengthBonus(distance);
        const uint32_t length = MatchLength(history_, here, distance, std::min(room, 257 + bonus));
        for (uint32_t l = 2 + bonus; l <= length; ++l) {
          const uint32_t slot = LengthSlot(l - 2 - bonus);
          relax(l, distance, 256 + back, prices.literal[256 + back] + prices.repeat[slot] + LBits[slot]);
        }
      }
      if (room >= 2) {
        const uint32_t distance = finder_.NearestPairDistance(history_, here);
        if (distance != 0 && distance <= kMaxShortDistance) {
          const uint32_t slot = ShortDistanceSlot(distance - 1);
          relax(2, distance, kFirstShortDistance + slot, prices.literal[kFirstShortDistance + slot] + SDBits[slot]);
        }
      }
      // Each match the chain reports is longer than the one before, so it supplies the lengths
      // beyond the previous one at its (larger) distance.
      uint32_t covered = 2;
      finder_.FindMatches(history_, here, std::min(room, 260u), [&](uint32_t distance, uint32_t length) {
        const uint32_t bonus = NewMatchLengthBonus(distance);
        length = std::min(length, 258 + bonus);
        const uint32_t distanceSlot = DistanceSlot(distance - 1);
        const float distancePrice = prices.distance[distanceSlot] + DBits[distanceSlot];
        for (uint32_t l = std::max(covered + 1, 3 + bonus); l <= length; ++l) {
          const uint32_t slot = LengthSlot(l - 3 - bonus);
          relax(l, distance, kFirstLengthSymbol + slot,
                prices.literal[kFirstLengthSymbol + slot] + LBits[slot] + distancePrice);
        }
        covered = std::max(covered, length);
      });

      if (best.length >= kNiceLength) {
        stop = k;
        longStep = best;
        break;
      }
    }

    // Walk the cheapest path back from the stop and emit it in order.
    path.clear();
    for (uint32_t k = stop; k > 0; k = nodes[k].from) path.push_back(nodes[k]);
    for (auto step = path.rbegin(); step != path.rend(); ++step) emit(*step);
    history = nodes[stop].history;
    position += stop;
    if (longStep.length > 0) {
      emit(longStep);
      history = longStep.history;
      position += longStep.length;
    }
  }
  std::copy(std::begin(history.oldDist), std::end(history.oldDist), model.oldDist);
  model.oldDistPtr = history.oldDistPtr;
  model.lastDist = history.lastDist;
  model.lastLength = history.lastLength;
}

namespace {

void WriteTableSet(BitWriter& out, bool audio, uint32_t channels, bool keepOld, const CodedTable& table) {
  out.Write((audio ? 2u : 0u) | (keepOld ? 1u : 0u), 2);
  if (audio) out.Write(channels - 1, 2);
  for (uint8_t length : table.bitLengths) out.Write(length, 4);
  const HuffmanCode code = CanonicalCode(table.bitLengths);
  for (const TableItem& item : table.items) {
    WriteSymbol(out, code, item.symbol);
    WriteExtra(out, item.extra, item.extraBits);
  }
}

// Sends a table set and makes it the model's: as additions to the previous set when that one
// had the same shape and the additions are shorter, otherwise as absolute lengths.
void SendTables(BitWriter& out, Pack20Model& model, const std::vector<uint8_t>& lengths, bool audio, uint32_t channels,
                Pack20Encoder::Statistics& statistics) {
  using Tables = Pack20Model::Tables;
  static const uint8_t kZeros[kMaxTableSize] = {};
  const bool sameShape =
      audio ? (model.tables == Tables::kAudio && model.channels == channels) : model.tables == Tables::kLz;
  CodedTable chosen = CodeTable(lengths, kZeros);
  bool keepOld = false;
  if (sameShape) {
    CodedTable additions = CodeTable(lengths, model.oldTable);
    if (additions.bits < chosen.bits) {
      chosen = std::move(additions);
      keepOld = true;
    }
  }
  WriteTableSet(out, audio, channels, keepOld, chosen);
  ++statistics.tableSets;
  if (keepOld) ++statistics.additiveTableSets;

  std::fill(std::begin(model.oldTable), std::end(model.oldTable), 0);
  std::copy(lengths.begin(), lengths.end(), model.oldTable);
  if (audio) {
    model.tables = Tables::kAudio;
    model.channels = channels;
    if (model.curChannel >= channels) model.curChannel = 0;
    for (uint32_t c = 0; c < channels; ++c) {
      model.audio[c] = CanonicalCode(
          std::vector<uint8_t>(lengths.begin() + c * kAudioSymbols, lengths.begin() + (c + 1) * kAudioSymbols));
    }
  } else {
    model.tables = Tables::kLz;
    auto slice = [&](uint32_t from, uint32_t count) {
      return CanonicalCode(std::vector<uint8_t>(lengths.begin() + from, lengths.begin() + from + count));
    };
    model.literal = slice(0, kLiteralLengthSymbols);
    model.distance = slice(kLiteralLengthSymbols, kDistanceSymbols);
    model.repeat = slice(kLiteralLengthSymbols + kDistanceSymbols, kRepeatLengthSymbols);
  }
}

// The symbol that tells the decoder a new table set follows, in the codes now in force.
void SendTableChange(BitWriter& out, const Pack20Model& model) {
  using Tables = Pack20Model::Tables;
  if (model.tables == Tables::kAudio) {
    WriteSymbol(out, model.audio[model.curChannel], kAudioTableChange);
  } else {
    assert(model.tables == Tables::kLz);
    WriteSymbol(out, model.literal, kTableChange);
  }
}

}  // namespace

std::vector<uint8_t> Pack20Encoder::EncodeLz(uint32_t start, uint32_t end, Pack20Model& model, bool continuesSolid,
                                             Statistics& statistics) {
  std::vector<Token> tokens;
  ParseLz(start, end, model, tokens);

  BitWriter out;
  if (tokens.empty() && continuesSolid) return out.Finish();
  for (size_t blockStart = 0; blockStart < tokens.size() || blockStart == 0; blockStart += kTokensPerBlock) {
    const size_t blockEnd = std::min(tokens.size(), blockStart + kTokensPerBlock);
    std::vector<uint32_t> literalCount(kLiteralLengthSymbols, 0);
    std::vector<uint32_t> distanceCount(kDistanceSymbols, 0);
    std::vector<uint32_t> repeatCount(kRepeatLengthSymbols, 0);
    for (size_t i = blockStart; i < blockEnd; ++i) {
      const Token& t = tokens[i];
      ++literalCount[t.symbol];
      if (t.symbol >= kFirstLengthSymbol) {
        ++distanceCount[DistanceSlot(t.distance - 1)];
      } else if (t.symbol > kRepeatLastMatch && t.symbol < kFirstShortDistance) {
        ++repeatCount[LengthSlot(t.length - 2 - OldDistanceLengthBonus(t.distance))];
      }
    }
    // Every table can announce the next one: a later block, or the next entry of a solid archive.
    literalCount[kTableChange] = std::max(literalCount[kTableChange], 1u);

    std::vector<uint8_t> lengths = BuildCodeLengths(literalCount, kMaxCodeLength);
    const std::vector<uint8_t> distanceLengths = BuildCodeLengths(distanceCount, kMaxCodeLength);
    const std::vector<uint8_t> repeatLengths = BuildCodeLengths(repeatCount, kMaxCodeLength);
    lengths.insert(lengths.end(), distanceLengths.begin(), distanceLengths.end());
    lengths.insert(lengths.end(), repeatLengths.begin(), repeatLengths.end());

    if (blockStart > 0 || continuesSolid) SendTableChange(out, model);
    SendTables(out, model, lengths, false, 1, statistics);

    for (size_t i = blockStart; i < blockEnd; ++i) {
      const Token& t = tokens[i];
      WriteSymbol(out, model.literal, t.symbol);
      if (t.symbol < 256) {
        ++statistics.literals;
        continue;
      }
      if (t.symbol == kRepeatLastMatch) {
        ++statistics.repeatLastMatch;
        continue;
      }
      if (t.symbol >= kFirstLengthSymbol) {
        ++statistics.newMatches;
        const uint32_t slot = t.symbol - kFirstLengthSymbol;
        WriteExtra(out, t.length - 3 - NewMatchLengthBonus(t.distance) - LDecode[slot], LBits[slot]);
        const uint32_t distanceSlot = DistanceSlot(t.distance - 1);
        WriteSymbol(out, model.distance, distanceSlot);
        WriteExtra(out, t.distance - 1 - DDecode[distanceSlot], DBits[distanceSlot]);
      } else if (t.symbol < kFirstShortDistance) {
        ++statistics.oldDistanceMatches;
        const uint32_t value = t.length - 2 - OldDistanceLengthBonus(t.distance);
        const uint32_t slot = LengthSlot(value);
        WriteSymbol(out, model.repeat, slot);
        WriteExtra(out, value - LDecode[slot], LBits[slot]);
      } else {
        ++statistics.shortMatches;
        const uint32_t slot = t.symbol - kFirstShortDistance;
        WriteExtra(out, t.distance - 1 - SDDecode[slot], SDBits[slot]);
      }
    }
  }
  return FinishStream(out);
}

namespace {

// Runs the decoder's predictor over the bytes for the given channel count and returns the
// error symbols it needs, leaving the audio state where the decoder will have it afterwards.
std::vector<uint8_t> AudioDeltas(const std::vector<uint8_t>& data, uint32_t start, uint32_t end, uint32_t channels,
                                 Pack20Model& model) {
  std::vector<uint8_t> deltas(end - start);
  // The table set sent before the first byte resets a channel index that is out of range.
  uint32_t channel = model.curChannel >= channels ? 0 : model.curChannel;
  for (uint32_t i = start; i < end; ++i) {
    AudioVariables& v = model.audioVars[channel];
    const uint8_t delta = AudioDeltaFor(v, model.channelDelta, data[i]);
    const uint8_t decoded = DecodeAudioByte(v, model.channelDelta, delta);
    assert(decoded == data[i]);
    (void)decoded;
    deltas[i - start] = delta;
    if (++channel == channels) channel = 0;
  }
  return deltas;
}

}  // namespace

uint32_t Pack20Encoder::ChooseAudioChannels(uint32_t start, uint32_t end, const Pack20Model& model,
                                            double& estimatedBytes) const {
  uint32_t bestChannels = 1;
  estimatedBytes = 0;
  for (uint32_t channels = 1; channels <= kMaxAudioChannels; ++channels) {
    Pack20Model trial = model;
    const std::vector<uint8_t> deltas = AudioDeltas(history_, start, end, channels, trial);
    // Order-0 entropy of the errors, channel by channel, plus the tables.
    std::vector<std::vector<uint32_t>> counts(channels, std::vector<uint32_t>(256, 0));
    uint32_t channel = model.curChannel >= channels ? 0 : model.curChannel;
    for (uint8_t delta : deltas) {
      ++counts[channel][delta];
      if (++channel == channels) channel = 0;
    }
    double bits = 0;
    for (const auto& channelCounts : counts) {
      double total = 0;
      for (uint32_t c : channelCounts) total += c;
      for (uint32_t c : channelCounts) {
        if (c > 0) bits += c * std::log2(total / c);
      }
    }
    const double bytes = bits / 8 + channels * 120.0 * (1 + deltas.size() / kAudioBytesPerBlock);
    if (channels == 1 || bytes < estimatedBytes) {
      estimatedBytes = bytes;
      bestChannels = channels;
    }
  }
  return bestChannels;
}

std::vector<uint8_t> Pack20Encoder::EncodeAudio(uint32_t start, uint32_t end, uint32_t channels, Pack20Model& model,
                                                bool continuesSolid, Statistics& statistics) {
  const uint32_t firstChannel = model.curChannel >= channels ? 0 : model.curChannel;
  Pack20Model predictor = model;
  const std::vector<uint8_t> deltas = AudioDeltas(history_, start, end, channels, predictor);

  BitWriter out;
  for (size_t blockStart = 0; blockStart < deltas.size(); blockStart += kAudioBytesPerBlock) {
    const size_t blockEnd = std::min(deltas.size(), blockStart + kAudioBytesPerBlock);
    std::vector<std::vector<uint32_t>> counts(channels, std::vector<uint32_t>(kAudioSymbols, 0));
    for (size_t i = blockStart; i < blockEnd; ++i) ++counts[(firstChannel + i) % channels][deltas[i]];
    std::vector<uint8_t> lengths;
    for (auto& channelCounts : counts) {
      channelCounts[kAudioTableChange] = 1;
      const std::vector<uint8_t> channelLengths = BuildCodeLengths(channelCounts, kMaxCodeLength);
      lengths.insert(lengths.end(), channelLengths.begin(), channelLengths.end());
    }
    if (blockStart > 0 || continuesSolid) SendTableChange(out, model);
    SendTables(out, model, lengths, true, channels, statistics);
    for (size_t i = blockStart; i < blockEnd; ++i) {
      WriteSymbol(out, model.audio[model.curChannel], deltas[i]);
      if (++model.curChannel == channels) model.curChannel = 0;
    }
  }
  // The predictor state moved on exactly as the decoder's will.
  for (uint32_t c = 0; c < kMaxAudioChannels; ++c) model.audioVars[c] = predictor.audioVars[c];
  model.channelDelta = predictor.channelDelta;
  ++statistics.audioEntries;
  statistics.audioBytes += deltas.size();
  return FinishStream(out);
}

namespace {

void Add(Pack20Encoder::Statistics& total, const Pack20Encoder::Statistics& more) {
  total.literals += more.literals;
  total.newMatches += more.newMatches;
  total.repeatLastMatch += more.repeatLastMatch;
  total.oldDistanceMatches += more.oldDistanceMatches;
  total.shortMatches += more.shortMatches;
  total.tableSets += more.tableSets;
  total.additiveTableSets += more.additiveTableSets;
  total.audioEntries += more.audioEntries;
  total.audioBytes += more.audioBytes;
}

}  // namespace

std::vector<uint8_t> Pack20Encoder::Encode(const uint8_t* data, uint32_t size, bool continuesSolid) {
  if (!continuesSolid) {
    model_ = Pack20Model{};
    history_.clear();
    finder_.Reset();
    inserted_ = 0;
  }
  const uint32_t start = static_cast<uint32_t>(history_.size());
  history_.insert(history_.end(), data, data + size);
  const uint32_t end = start + size;

  Pack20Model lzModel = model_;
  Statistics lzStatistics;
  std::vector<uint8_t> packed = EncodeLz(start, end, lzModel, continuesSolid, lzStatistics);
  lastMode_ = Mode::kLz;
  lastChannels_ = 0;

  if (options_.tryAudio && size >= kMinAudioSize) {
    double estimate = 0;
    const uint32_t channels = ChooseAudioChannels(start, end, model_, estimate);
    if (estimate < static_cast<double>(packed.size())) {
      Pack20Model audioModel = model_;
      Statistics audioStatistics;
      std::vector<uint8_t> audio = EncodeAudio(start, end, channels, audioModel, continuesSolid, audioStatistics);
      if (audio.size() < packed.size()) {
        model_ = audioModel;
        lastMode_ = Mode::kAudio;
        lastChannels_ = channels;
        Add(statistics_, audioStatistics);
        return audio;
      }
    }
  }
  model_ = lzModel;
  Add(statistics_, lzStatistics);
  return packed;
}
