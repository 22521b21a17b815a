#include "disc/UefTape.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr std::size_t kBlockBytes = 256;
constexpr std::uint8_t kSyncByte = 0x2A;
constexpr std::uint8_t kLastBlock = 0x80;
constexpr std::uint8_t kEmptyBlock = 0x40;
// Carrier tone is counted in cycles of 2400 Hz, gaps in halves of a 1200 baud bit (1/2400 s).
constexpr int kToneHertz = 2400;
constexpr int kFirstBlockTone = kToneHertz * 51 / 10;
constexpr int kOtherBlockTone = kToneHertz * 11 / 10;
constexpr int kFileGap = kToneHertz * 2;

constexpr std::uint16_t kData = 0x0100;
constexpr std::uint16_t kCarrier = 0x0110;
constexpr std::uint16_t kGap = 0x0112;

void PutLittle(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutCrc(std::vector<std::uint8_t>& out, std::size_t from) {
    const std::uint16_t crc = TapeCrc(out.data() + from, out.size() - from);
    out.push_back(static_cast<std::uint8_t>(crc >> 8));
    out.push_back(static_cast<std::uint8_t>(crc & 0xFF));
}

void PutChunk(std::vector<std::uint8_t>& uef, std::uint16_t id,
              const std::vector<std::uint8_t>& body) {
    PutLittle(uef, id, 2);
    PutLittle(uef, static_cast<std::uint32_t>(body.size()), 4);
    uef.insert(uef.end(), body.begin(), body.end());
}

void PutCount(std::vector<std::uint8_t>& uef, std::uint16_t id, int count) {
    std::vector<std::uint8_t> body;
    PutLittle(body, static_cast<std::uint32_t>(count), 2);
    PutChunk(uef, id, body);
}

// One block of a file, as the cassette filing system writes it.
std::vector<std::uint8_t> Block(const TapeFile& file, std::size_t number) {
    const std::size_t start = number * kBlockBytes;
    const std::size_t length = std::min(kBlockBytes, file.data.size() - start);
    const bool last = start + length == file.data.size();
    std::vector<std::uint8_t> block{kSyncByte};
    block.insert(block.end(), file.name.begin(), file.name.end());
    block.push_back(0);
    PutLittle(block, file.loadAddress, 4);
    PutLittle(block, file.execAddress, 4);
    PutLittle(block, static_cast<std::uint32_t>(number), 2);
    PutLittle(block, static_cast<std::uint32_t>(length), 2);
    block.push_back(
        static_cast<std::uint8_t>((last ? kLastBlock : 0) | (length ? 0 : kEmptyBlock)));
    PutLittle(block, 0, 4);
    PutCrc(block, 1);
    if (length > 0) {
        const std::size_t data = block.size();
        const auto from = file.data.begin() + static_cast<std::ptrdiff_t>(start);
        block.insert(block.end(), from, from + static_cast<std::ptrdiff_t>(length));
        PutCrc(block, data);
    }
    return block;
}

}  // namespace

std::uint16_t TapeCrc(const std::uint8_t* bytes, std::size_t size) {
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= static_cast<std::uint16_t>(bytes[i] << 8);
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
        }
    }
    return crc;
}

std::vector<std::uint8_t> MakeUefTape(const std::vector<TapeFile>& files) {
    static const std::string kMagic("UEF File!", 10);  // with its NUL
    std::vector<std::uint8_t> uef(kMagic.begin(), kMagic.end());
    uef.push_back(10);  // version 0.10
    uef.push_back(0);
    for (const TapeFile& file : files) {
        if (file.name.empty() || file.name.size() > 10 ||
            file.name.find('\0') != std::string::npos) {
            throw std::invalid_argument("a tape file name has 1 to 10 characters");
        }
        const std::size_t blocks = std::max<std::size_t>(1, (file.data.size() + 255) / 256);
        for (std::size_t number = 0; number < blocks; ++number) {
            PutCount(uef, kCarrier, number == 0 ? kFirstBlockTone : kOtherBlockTone);
            PutChunk(uef, kData, Block(file, number));
        }
        PutCount(uef, kGap, kFileGap);
    }
    return uef;
}
