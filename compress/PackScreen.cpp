#include "compress/PackScreen.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>

#include "compress/PackFormat.h"

namespace {

using namespace pack;

// The search keeps, for each byte, this many cheapest ways to reach it, each with its own last
// offset: a copy from the last offset is the cheapest token, so which offset a way leaves behind
// matters as much as its cost.
constexpr int kWays = 8;
// How many earlier places with the same three bytes the match finder looks at, nearest first.
constexpr int kChainDepth = 256;

enum class Step : std::uint8_t { Literal, Repeat, Match };

// One way to reach a byte: its cost in bytes and where it came from.
struct Way {
    std::uint32_t cost = std::numeric_limits<std::uint32_t>::max();
    std::uint32_t lastOffset = 0;  // 0 before the first copy
    std::uint32_t literals = 0;    // in the literal run that ends here
    std::int32_t from = -1;
    std::uint8_t fromWay = 0;
    Step step = Step::Literal;
    bool Reached() const { return from >= 0; }
};

using Ways = std::array<Way, kWays>;

// Keeps way among the cheapest of ways, at most one per last offset, cheapest first.
void Offer(Ways& ways, const Way& way) {
    int slot = kWays - 1;
    for (int i = 0; i < kWays; ++i) {
        if (ways[i].Reached() && ways[i].lastOffset == way.lastOffset) {
            if (ways[i].cost <= way.cost) return;
            slot = i;
            break;
        }
    }
    if (ways[slot].Reached() && ways[slot].lastOffset != way.lastOffset &&
        ways[slot].cost <= way.cost) {
        return;
    }
    ways[slot] = way;
    for (int i = slot; i > 0 && ways[i].cost < ways[i - 1].cost; --i) {
        std::swap(ways[i], ways[i - 1]);
    }
}

// The output in the order the routine writes it: the screen from its last byte to its first.
struct Text {
    std::vector<std::uint8_t> bytes;
    std::size_t Common(std::size_t at, std::size_t offset, std::size_t cap) const {
        std::size_t length = 0;
        cap = std::min(cap, bytes.size() - at);
        while (length < cap && bytes[at + length] == bytes[at + length - offset]) ++length;
        return length;
    }
};

// For each length up to kMaxMatch, the nearest offset that copies at least that many bytes:
// nearer offsets are never dearer.
class MatchFinder {
public:
    explicit MatchFinder(const Text& text)
        : text_(text), head_(1 << 16, -1), previous_(text.bytes.size(), -1) {}

    // Offsets with strictly longer matches as they get farther, nearest first.
    struct Candidate {
        std::size_t offset;
        std::size_t length;
    };
    std::vector<Candidate> At(std::size_t at) {
        std::vector<Candidate> found;
        if (at + kMinMatch > text_.bytes.size()) return found;
        const std::uint32_t hash = Hash(at);
        std::size_t best = kMinMatch - 1;
        int depth = 0;
        for (std::int32_t place = head_[hash]; place >= 0 && depth < kChainDepth;
             place = previous_[place], ++depth) {
            const std::size_t offset = at - static_cast<std::size_t>(place);
            if (offset > static_cast<std::size_t>(kMaxOffset)) break;
            const std::size_t length = text_.Common(at, offset, kMaxMatch);
            if (length > best) {
                found.push_back({offset, length});
                best = length;
                if (best == kMaxMatch) break;
            }
        }
        previous_[at] = head_[hash];
        head_[hash] = static_cast<std::int32_t>(at);
        return found;
    }

private:
    std::uint32_t Hash(std::size_t at) const {
        const auto& b = text_.bytes;
        return ((b[at] << 8 ^ b[at + 1] << 4 ^ b[at + 2]) * 2654435761u) >> 16;
    }

    const Text& text_;
    std::vector<std::int32_t> head_;
    std::vector<std::int32_t> previous_;
};

// The next length of a copy worth trying after length, up to longest: every short one, where a
// copy stopped early lets the next token start where it pays, then only the longest, which in a
// long run of repeats is all but always best; trying every length made flat screens slow.
constexpr std::size_t kEveryLengthUpTo = 16;
std::size_t Longer(std::size_t length, std::size_t longest) {
    return length < kEveryLengthUpTo || length == longest ? length + 1 : longest;
}

std::uint32_t MatchCost(std::size_t offset) {
    return offset <= static_cast<std::size_t>(kMaxNearOffset) ? 2 : 3;
}

struct Token {
    Step step;
    std::size_t length;
    std::size_t offset;
};

// The cheapest ways to reach every byte, from the first.
std::vector<Ways> Search(const Text& text) {
    const std::size_t size = text.bytes.size();
    std::vector<Ways> ways(size + 1);
    ways[0][0].cost = 0;
    ways[0][0].from = 0;
    MatchFinder finder(text);
    for (std::size_t at = 0; at < size; ++at) {
        const auto candidates = finder.At(at);
        for (std::uint8_t w = 0; w < kWays; ++w) {
            const Way& way = ways[at][w];
            if (!way.Reached()) continue;
            const auto from = static_cast<std::int32_t>(at);
            const std::uint32_t header = way.literals % kMaxLiteralRun == 0 ? 1 : 0;
            Offer(ways[at + 1], {way.cost + 1 + header, way.lastOffset, way.literals + 1, from, w,
                                 Step::Literal});
            if (way.lastOffset == 0 || way.lastOffset > at) continue;
            const std::size_t repeat = text.Common(at, way.lastOffset, kMaxRepeat);
            for (std::size_t length = kMinRepeat; length <= repeat;
                 length = Longer(length, repeat)) {
                Offer(ways[at + length], {way.cost + 1, way.lastOffset, 0, from, w, Step::Repeat});
            }
        }
        // A new offset leaves the same state whichever way led here, so only the cheapest counts.
        const Way& cheapest = ways[at][0];
        std::size_t length = kMinMatch;
        for (const auto& candidate : candidates) {
            for (; length <= candidate.length; length = Longer(length, candidate.length)) {
                Offer(ways[at + length], {cheapest.cost + MatchCost(candidate.offset),
                                          static_cast<std::uint32_t>(candidate.offset), 0,
                                          static_cast<std::int32_t>(at), 0, Step::Match});
            }
        }
    }
    return ways;
}

// The steps of the cheapest way to the end, first to last; literal runs merged.
std::vector<Token> Path(const std::vector<Ways>& ways) {
    std::vector<Token> tokens;
    std::size_t at = ways.size() - 1;
    std::uint8_t w = 0;
    while (at > 0) {
        const Way& way = ways[at][w];
        const std::size_t from = static_cast<std::size_t>(way.from);
        tokens.push_back({way.step, at - from, way.lastOffset});
        at = from;
        w = way.fromWay;
    }
    std::reverse(tokens.begin(), tokens.end());
    std::vector<Token> merged;
    for (const Token& token : tokens) {
        if (token.step == Step::Literal && !merged.empty() && merged.back().step == Step::Literal &&
            merged.back().length < static_cast<std::size_t>(kMaxLiteralRun)) {
            ++merged.back().length;
        } else {
            merged.push_back(token);
        }
    }
    return merged;
}

}  // namespace

std::vector<std::uint8_t> PackScreen(const std::vector<std::uint8_t>& screen) {
    const Text text{{screen.rbegin(), screen.rend()}};
    std::vector<std::uint8_t> stream;  // in the order the routine reads it
    std::size_t at = 0;
    for (const Token& token : Path(Search(text))) {
        const auto length = static_cast<std::uint8_t>(token.length);
        switch (token.step) {
            case Step::Literal:
                stream.push_back(static_cast<std::uint8_t>(length - 1));
                stream.insert(stream.end(), text.bytes.begin() + static_cast<std::ptrdiff_t>(at),
                              text.bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
                break;
            case Step::Repeat:
                stream.push_back(kRepeatToken | static_cast<std::uint8_t>(length - kMinRepeat));
                break;
            case Step::Match: {
                stream.push_back(kMatchToken | static_cast<std::uint8_t>(length - kMinMatch));
                const std::size_t field = token.offset - 1;
                if (token.offset <= static_cast<std::size_t>(kMaxNearOffset)) {
                    stream.push_back(static_cast<std::uint8_t>(field));
                } else {
                    stream.push_back(static_cast<std::uint8_t>(kFarOffset | field >> 8));
                    stream.push_back(static_cast<std::uint8_t>(field & 0xFF));
                }
                break;
            }
        }
        at += token.length;
    }
    return {stream.rbegin(), stream.rend()};
}
