#include "disc/SlideshowTape.h"

#include "compress/UnpackRoutine.h"
#include "disc/BasicProgram.h"
#include "disc/BootScript.h"
#include "disc/DiscNames.h"
#include "disc/ScreenOnDisc.h"
#include "disc/UefTape.h"
#include "disc/UnpackingLoader.h"
#include "platform/files/AtomicFile.h"

namespace {

// Where BASIC programs load and start, as BASIC II saves them.
constexpr std::uint32_t kBasicLoad = 0xFFFF0E00;
constexpr std::uint32_t kBasicStart = 0xFFFF802B;

}  // namespace

std::vector<std::uint8_t> MakeSlideshowTape(const std::vector<DiscPicture>& pictures,
                                            bool compress) {
    std::vector<std::string> stems;
    for (const DiscPicture& picture : pictures) stems.push_back(picture.stem);
    const std::vector<std::string> names = DfsNamesFor(stems);
    std::vector<LoaderSlide> slides;
    std::vector<TapeFile> files(1);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const DiscPicture& picture = pictures[i];
        ScreenOnDisc file;
        try {
            file = ScreenFileFor(picture.screen, picture.screenMode, compress, LoaderMedium::Tape);
        } catch (const PackingError& error) {
            throw PackingError(picture.stem + ": " + error.what());
        } catch (const std::invalid_argument& error) {
            throw std::invalid_argument(picture.stem + ": " + error.what());
        }
        slides.push_back({names[i], picture.screenMode, picture.palette, file.packedEnd});
        files.push_back({names[i], file.loadAddress, file.loadAddress, std::move(file.data)});
    }
    files[0] = {kTapeLoaderName, kBasicLoad, kBasicStart,
                TokenisedProgram(BootScript(slides, LoaderMedium::Tape))};
    if (AnyPacked(slides)) {
        files.insert(files.begin() + 1,
                     {kUnpackFileName, kUnpackFileAddress, kUnpackFileAddress, UnpackRoutine()});
    }
    return MakeUefTape(files);
}

void WriteSlideshowTape(const std::string& path, const std::vector<DiscPicture>& pictures,
                        bool compress) {
    std::vector<std::uint8_t> image;
    try {
        image = MakeSlideshowTape(pictures, compress);
    } catch (const std::exception& error) {
        throw FileError(path, error.what());
    }
    AtomicFile tape(path);
    tape.Write(image.data(), image.size());
    tape.Commit();
}
