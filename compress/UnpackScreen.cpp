#include "compress/UnpackScreen.h"

#include <algorithm>

#include "compress/PackFormat.h"

namespace {

using namespace pack;

// The routine's state: the bytes of the file not yet read are [0, unread), the screen bytes not
// yet written [0, unwritten). Both count down.
class Routine {
public:
    Routine(const std::vector<std::uint8_t>& packed, std::size_t screenBytes)
        : packed_(packed), unread_(packed.size()), unwritten_(screenBytes) {
        result_.screen.assign(screenBytes, 0);
    }

    std::optional<Unpacked> Run() {
        while (unwritten_ > 0) {
            if (!Token()) return std::nullopt;
        }
        if (unread_ != 0) return std::nullopt;
        return std::move(result_);
    }

private:
    bool Read(std::uint8_t& byte) {
        if (unread_ == 0) return false;
        byte = packed_[--unread_];
        return true;
    }

    // A byte written at screen index at while file bytes [0, unread) wait to be read: the file's
    // start must lie more than (unread - 1 - at) bytes below the screen's.
    void Write(std::size_t at, std::uint8_t byte) {
        result_.screen[at] = byte;
        result_.slack = std::max(result_.slack, static_cast<int>(unread_) - static_cast<int>(at));
    }

    bool Literals(int length) {
        if (static_cast<std::size_t>(length) > unwritten_) return false;
        for (int i = 0; i < length; ++i) {
            std::uint8_t byte;
            if (!Read(byte)) return false;
            Write(--unwritten_, byte);
        }
        ++result_.literalRuns;
        return true;
    }

    bool Copy(int length, std::size_t offset) {
        if (static_cast<std::size_t>(length) > unwritten_) return false;
        // The first byte copied comes from highest up, and must have been written already.
        if (unwritten_ - 1 + offset >= result_.screen.size()) return false;
        for (int i = 0; i < length; ++i) {
            --unwritten_;
            Write(unwritten_, result_.screen[unwritten_ + offset]);
        }
        return true;
    }

    bool Token() {
        std::uint8_t token;
        if (!Read(token)) return false;
        const int length = token & kLengthBits;
        if (token < kRepeatToken) return Literals(token + 1);
        if (token < kMatchToken) {
            if (lastOffset_ == 0) return false;
            ++result_.repeats;
            return Copy(length + kMinRepeat, lastOffset_);
        }
        std::uint8_t high;
        if (!Read(high)) return false;
        std::size_t offset = high;
        if (high & kFarOffset) {
            std::uint8_t low;
            if (!Read(low)) return false;
            offset = static_cast<std::size_t>(high & ~kFarOffset) << 8 | low;
        }
        lastOffset_ = offset + 1;
        ++result_.matches;
        return Copy(length + kMinMatch, lastOffset_);
    }

    const std::vector<std::uint8_t>& packed_;
    std::size_t unread_;
    std::size_t unwritten_;
    std::size_t lastOffset_ = 0;
    Unpacked result_;
};

}  // namespace

long Unpacked::Cycles() const {
    // Counted from unpack.s: 16 a byte copied; reading and dispatching a token and moving the
    // pointers 98 for a literal run, 122 for a copy from the last offset, 170 for a new offset.
    return 16L * static_cast<long>(screen.size()) + 98L * literalRuns + 122L * repeats +
           170L * matches;
}

std::optional<Unpacked> UnpackScreen(const std::vector<std::uint8_t>& packed,
                                     std::size_t screenBytes) {
    return Routine(packed, screenBytes).Run();
}
