// The command-line contract of quillix-convert, checked by running the built program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/process/QuietStderr.h"
#include "tests/TempFolder.h"
#include "tests/acquire/PictureFiles.h"
#include "tests/cli/RunProgram.h"

namespace {

namespace fs = std::filesystem;

const std::string kTestCard = std::string(QUILLIX_SAMPLES_DIR) + "/testcard.bmp";
const char* const kSidecar2 = "$.SCREEN   003000 000000 005000\r\n";
const char* const kSidecar4 = "$.SCREEN   005800 000000 002800\r\n";

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The program's complaint, alone on standard error; under a sanitizer, a decoder's own words may
// come before it, as standard error is then left alone while decoding.
void ExpectLastLine(const std::string& err, const std::string& line) {
    if (UnderSanitizer() && err.size() > line.size()) {
        EXPECT_EQ(err.substr(err.size() - line.size()), line);
        EXPECT_EQ(err[err.size() - line.size() - 1], '\n');
    } else {
        EXPECT_EQ(err, line);
    }
}

class ConverterTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(drive);
        fs::create_directory(home);
    }

    ProgramResult Run(const std::vector<std::string>& args, bool errOnTerminal = false,
                      std::map<std::string, std::string> env = {}) {
        env.emplace("QUILLIX_DRIVE_C", drive);
        env.emplace("HOME", home);
        return RunProgram(QUILLIX_CONVERT, args, env, errOnTerminal);
    }

    // A copy of the test card under another name.
    std::string Picture(const std::string& name) {
        const std::string path = folder / name;
        fs::copy_file(kTestCard, path);
        return path;
    }

    std::string Bytes(const std::string& name, const std::string& bytes) {
        WriteFileBytes(folder / name, bytes);
        return folder / name;
    }

    TempFolder folder;
    const std::string drive = folder / "drive";
    const std::string home = folder / "home";
};

TEST_F(ConverterTest, HelpAndVersion) {
    for (const char* option : {"--help", "-h"}) {
        const ProgramResult r = Run({option});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out.rfind("Usage: quillix-convert [options] PICTURE...\n", 0), 0u);
        EXPECT_NE(r.out.find("--output-dir D"), std::string::npos);
        EXPECT_EQ(r.err, "");
    }
    const ProgramResult r = Run({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "quillix-convert 1.0.0\n");
}

TEST_F(ConverterTest, UsageErrorsExitWithTwoAndWriteNothing) {
    const std::string picture = Picture("p.bmp");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"-m", "3", picture},
        {"-t", "wavy", picture},
        {"--frobnicate", picture},
        {picture, picture},
        {"-o", folder / "x.screen", "-d", folder.Path().string(), picture},
        {"-o", folder / "x.screen", "--preview", folder / "x.screen", picture},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const ProgramResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        // One line naming the mistake, then the usage.
        EXPECT_EQ(r.err.rfind("quillix-convert: ", 0), 0u);
        const auto lineEnd = r.err.find('\n');
        EXPECT_EQ(r.err.substr(lineEnd + 1, 7), "Usage: ");
    }
    EXPECT_TRUE(fs::is_empty(drive));
    EXPECT_FALSE(fs::exists(folder / "x.screen"));
}

TEST_F(ConverterTest, BareRunWritesWhereTheWindowWouldAndSaysSo) {
    const std::string picture = Picture("card.bmp");
    ProgramResult r = Run({picture});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    const std::string screen = drive + "/$.screen";
    EXPECT_EQ(r.out, picture + " -> " + screen + ", " + screen + ".inf (MODE 2, tone none)\n");
    EXPECT_EQ(ReadFileBytes(screen).size(), 20480u);
    EXPECT_EQ(ReadFileBytes(screen + ".inf"), kSidecar2);

    r = Run({"-q", "-m", "4", "-t", "fine", "-s", picture});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFileBytes(screen).size(), 10240u);
    EXPECT_EQ(ReadFileBytes(screen + ".inf"), kSidecar4);
    EXPECT_EQ(NamesIn(drive), (std::vector<std::string>{"$.screen", "$.screen.inf"}));
}

TEST_F(ConverterTest, OutputFileAndPreview) {
    const std::string picture = Picture("card.bmp");
    const std::string screen = folder / "out.scr";
    const std::string png = folder / "preview.png";
    const ProgramResult r = Run({"--output", screen, "--preview", png, "-m", "1", picture});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, picture + " -> " + screen + ", " + screen + ".inf, " + png +
                         " (MODE 1, tone none)\n");
    EXPECT_EQ(ReadFileBytes(screen).size(), 20480u);
    EXPECT_EQ(ReadFileBytes(screen + ".inf"), kSidecar2);
    const QImage preview(QString::fromStdString(png));
    EXPECT_EQ(preview.size(), QSize(320, 256));
    // MODE 1 shows black, red, yellow and white only.
    for (int y = 0; y < 256; y += 7) {
        for (int x = 0; x < 320; x += 5) {
            const QRgb c = preview.pixel(x, y);
            ASSERT_TRUE(c == qRgb(0, 0, 0) || c == qRgb(255, 0, 0) || c == qRgb(255, 255, 0) ||
                        c == qRgb(255, 255, 255));
        }
    }
    EXPECT_TRUE(fs::is_empty(drive));
}

TEST_F(ConverterTest, OutputFolderForSeveralPictures) {
    const std::string out = folder / "out";
    fs::create_directory(out);
    const std::string a = Picture("alpha.bmp");
    const std::string b = Picture("beta.final.bmp");
    const ProgramResult r = Run({"-d", out, "--preview", a, b});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");  // no progress when stderr is not a terminal
    EXPECT_EQ(NamesIn(out), (std::vector<std::string>{
                                "alpha.png", "alpha.screen", "alpha.screen.inf", "beta.final.png",
                                "beta.final.screen", "beta.final.screen.inf"}));
    EXPECT_EQ(ReadFileBytes(out + "/alpha.screen"), ReadFileBytes(out + "/beta.final.screen"));
}

TEST_F(ConverterTest, ProgressOnATerminal) {
    if (!TerminalAvailable()) GTEST_SKIP() << "no pseudo-terminal to be had here";
    const std::string out = folder / "out";
    fs::create_directory(out);
    const std::string a = Picture("a.bmp");
    const std::string b = Picture("b.bmp");
    ProgramResult r = Run({"-d", out, a, b}, true);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("[1/2] " + a), std::string::npos);
    EXPECT_NE(r.err.find("[2/2] " + b), std::string::npos);
    r = Run({"-q", "-d", out, a, b}, true);
    EXPECT_EQ(r.err, "");
    r = Run({"-o", folder / "one.screen", a}, true);  // a single picture needs no progress
    EXPECT_EQ(r.err, "");
}

TEST_F(ConverterTest, BadPicturesAreNamedAndReplaceNothing) {
    using namespace picture_files;
    const std::string card = ReadFileBytes(kTestCard);
    QImage photo(200, 150, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    const std::string jpeg = Encode(photo, "jpeg", 90);
    const Bmp huge{20000, 20000, 24, kBiRgb, {}, std::string(100, 'x')};
    fs::create_directory(folder / "folder.bmp");

    struct Case {
        std::string picture;
        std::string reason;
    };
    const Case cases[] = {
        {folder / "missing.bmp", "file not found"},
        {folder / "folder.bmp", "is a folder, not a picture file"},
        {Bytes("empty.bmp", ""), "empty file"},
        {Bytes("garbage.jpg", std::string(3000, '\x5A')),
         "not a picture, or in a format that cannot be read"},
        {Bytes("cut.bmp", card.substr(0, card.size() / 2)),
         "truncated picture: the file ends too soon"},
        {Bytes("cut.jpg", jpeg.substr(0, jpeg.size() / 2)),
         "truncated picture: the file ends too soon"},
        {Bytes("huge.bmp", BmpBytes(huge)), "picture too large (20000 x 20000)"},
        // libpng prints a complaint of its own about this one, which must not show.
        {Bytes("cut.png", Encode(photo, "png").substr(0, 60)),
         "truncated picture: the file ends too soon"},
    };
    const std::string screen = folder / "kept.screen";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture);
        WriteFileBytes(screen, "old screen");
        WriteFileBytes(screen + ".inf", "old sidecar");
        const ProgramResult r = Run({"-o", screen, "--preview", folder / "kept.png", c.picture});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        ExpectLastLine(r.err, "quillix-convert: " + c.picture + ": " + c.reason + "\n");
        EXPECT_EQ(ReadFileBytes(screen), "old screen");
        EXPECT_EQ(ReadFileBytes(screen + ".inf"), "old sidecar");
        EXPECT_FALSE(fs::exists(folder / "kept.png"));
    }
    // Nothing half-written was left behind either.
    for (const std::string& name : NamesIn(folder.Path().string())) {
        EXPECT_NE(name[0], '.') << name;
    }
    EXPECT_TRUE(fs::is_empty(drive));
}

// The CRC-32 that closes every PNG chunk.
std::uint32_t PngCrc(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// Under a memory cap (a container, a small machine), a picture that does not fit is an error
// that replaces nothing, never a crash. (JPEGs are sampled as they decode, so the converter
// never needs a whole one in memory; a PNG is held whole.)
TEST_F(ConverterTest, PictureThatDoesNotFitInMemoryIsNamed) {
    if (UnderSanitizer()) {
        GTEST_SKIP()
            << "a sanitizer reserves terabytes of address space: ulimit -v stops it starting";
    }
    using picture_files::Encode;
    QImage colour(16, 16, QImage::Format_RGB32);
    colour.fill(Qt::darkCyan);
    QImage grey(16, 16, QImage::Format_Grayscale8);
    grey.fill(90);
    const std::string screen = folder / "kept.screen";
    for (const QImage& image : {colour, grey}) {
        // Small files that declare 12000 x 12000 pictures, 576 megabytes in the box.
        std::string png = Encode(image, "png");
        constexpr std::size_t kHeader = 12;  // the IHDR chunk's type, then its data, then CRC
        for (std::size_t i = 0; i < 8; ++i) png.at(kHeader + 4 + i) = "\0\0\x2E\xE0\0\0\x2E\xE0"[i];
        const std::uint32_t crc = PngCrc(png.substr(kHeader, 17));
        for (std::size_t i = 0; i < 4; ++i)
            png.at(kHeader + 17 + i) = static_cast<char>(crc >> (24 - 8 * i));
        const std::string picture = Bytes("big.png", png);
        SCOPED_TRACE(image.format());
        WriteFileBytes(screen, "old screen");
        const ProgramResult r = RunProgram("/bin/sh",
                                           {"-c", "ulimit -v 400000 && exec \"$0\" \"$@\"",
                                            QUILLIX_CONVERT, "-o", screen, picture},
                                           {{"QUILLIX_DRIVE_C", drive}, {"HOME", home}});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "quillix-convert: " + picture +
                             ": not enough memory to load a 12000 x 12000 picture\n");
        EXPECT_EQ(ReadFileBytes(screen), "old screen");
    }
}

// A decoder's own words are kept off the terminal, except under a sanitizer, whose report from
// inside a decoder must show.
TEST_F(ConverterTest, StandardErrorIsLeftAloneUnderASanitizer) {
    QImage photo(200, 150, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    const std::string cut = Bytes("cut.png", picture_files::Encode(photo, "png").substr(0, 60));
    const std::string complaint =
        "quillix-convert: " + cut + ": truncated picture: the file ends too soon\n";
    for (const char* variable : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
        SCOPED_TRACE(variable);
        const ProgramResult r = Run({"-o", folder / "x.screen", cut}, false, {{variable, ""}});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("libpng"), std::string::npos) << r.err;
        EXPECT_TRUE(r.err.ends_with("\n" + complaint)) << r.err;
    }
}

TEST_F(ConverterTest, UnwritableOutputsAreNamedAndReplaceNothing) {
    const std::string picture = Picture("card.bmp");
    WriteFileBytes(folder / "plain", "a file, not a folder");
    const std::string png = folder / "preview.png";
    WriteFileBytes(png, "old preview");

    struct Case {
        std::vector<std::string> args;
        std::string file;
        std::string reason;
    };
    const Case cases[] = {
        {{"-o", folder / "missing/x.screen"},
         folder / "missing/x.screen",
         "No such file or directory"},
        {{"-o", folder / "plain/x.screen"}, folder / "plain/x.screen", "Not a directory"},
        {{"-d", folder / "plain"}, folder / "plain/card.screen", "Not a directory"},
        {{"-o", folder / "out.screen", "--preview", folder / "missing/p.png"},
         folder / "missing/p.png",
         "No such file or directory"},
        {{"-o", folder / "missing/x.screen", "--preview", png},
         folder / "missing/x.screen",
         "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::vector<std::string> args = c.args;
        args.push_back(picture);
        const ProgramResult r = Run(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "quillix-convert: " + c.file + ": " + c.reason + "\n");
        EXPECT_FALSE(fs::exists(folder / "out.screen"));
        EXPECT_EQ(ReadFileBytes(png), "old preview");
    }
    EXPECT_EQ(NamesIn(folder.Path().string()),
              (std::vector<std::string>{"card.bmp", "drive", "home", "plain", "preview.png"}));
}

// A file made read-only is refused even where the folder would let it be replaced, and even to
// root: the rule goes by its permission bits.
TEST_F(ConverterTest, ReadOnlyOutputsAreRefusedAndReplaceNothing) {
    const std::string picture = Picture("card.bmp");
    const std::string screen = folder / "ro.screen";
    const std::string outputs[] = {screen, screen + ".inf", folder / "ro.png"};
    for (const std::string& readOnly : outputs) {
        SCOPED_TRACE(readOnly);
        for (const std::string& output : outputs) {
            fs::remove(output);
            WriteFileBytes(output, "old");
        }
        fs::permissions(readOnly, fs::perms(0444));
        const ProgramResult r = Run({"-o", screen, "--preview", folder / "ro.png", picture});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "quillix-convert: " + readOnly + ": Permission denied\n");
        for (const std::string& output : outputs) EXPECT_EQ(ReadFileBytes(output), "old");
        EXPECT_EQ(fs::status(readOnly).permissions(), fs::perms(0444));
    }
}

// A name may hold a line break or other control characters; each message stays on one line.
TEST_F(ConverterTest, ControlCharactersInNamesAreShownEscaped) {
    const std::string bad = Bytes("two\nlines\x01\x7f.bmp", "just some text");
    const std::string shown = folder / "two\\nlines\\x01\\x7f.bmp";
    ProgramResult r = Run({"-o", folder / "x.screen", bad});
    EXPECT_EQ(r.exitCode, 1);
    ExpectLastLine(r.err, "quillix-convert: " + shown +
                              ": not a picture, or in a format that cannot be read\n");

    const std::string good = Picture("tab\there.bmp");
    r = Run({"-o", folder / "out\r.screen", good});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, folder / "tab\\there.bmp -> " + folder / "out\\r.screen, " +
                         folder / "out\\r.screen.inf (MODE 2, tone none)\n");
    EXPECT_TRUE(fs::exists(folder / "out\r.screen"));
}

TEST_F(ConverterTest, NeverReplacesAPictureItConverts) {
    const std::string bmp = Picture("victim.bmp");
    const std::string card = ReadFileBytes(bmp);
    ProgramResult r = Run({"-o", bmp, bmp});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "quillix-convert: " + bmp + ": would replace the picture " + bmp + " (" + bmp +
                         "); not converted\n");
    EXPECT_EQ(ReadFileBytes(bmp), card);

    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    const std::string pngBytes = picture_files::Encode(photo, "png");
    const std::string png = Bytes("v.png", pngBytes);
    fs::create_directory(folder / "out");
    r = Run({"-o", folder / "out/z.screen", "--preview", png, png});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "quillix-convert: " + png + ": would replace the picture " + png + " (" + png +
                         "); not converted\n");
    EXPECT_EQ(ReadFileBytes(png), pngBytes);
    EXPECT_TRUE(fs::is_empty(folder / "out"));

    // With -d, the others are still converted.
    r = Run({"-d", folder.Path().string(), bmp, png, "--preview"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "quillix-convert: " + png + ": would replace the picture " + png + " (" + png +
                         "); not converted\n");
    EXPECT_EQ(ReadFileBytes(png), pngBytes);
    EXPECT_EQ(ReadFileBytes(bmp), card);
    EXPECT_EQ(ReadFileBytes(folder / "victim.screen").size(), 20480u);
    EXPECT_TRUE(fs::exists(folder / "victim.png"));
    EXPECT_FALSE(fs::exists(folder / "v.screen"));
}

TEST_F(ConverterTest, OneFailingPictureDoesNotStopTheOthers) {
    const std::string out = folder / "out";
    fs::create_directory(out);
    const std::string good1 = Picture("one.bmp");
    const std::string bad = Bytes("two.bmp", "just some text");
    const std::string good2 = Picture("three.bmp");
    fs::create_directory(folder / "sub");
    fs::copy_file(kTestCard, folder / "sub/one.jpg");

    const ProgramResult r = Run({"-d", out, good1, bad, good2, folder / "sub/one.jpg"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "quillix-convert: " + bad +
                         ": not a picture, or in a format that cannot be read\n" +
                         "quillix-convert: " + (folder / "sub/one.jpg") +
                         ": would replace the output of " + good1 + " (" + out +
                         "/one.screen); not converted\n");
    EXPECT_EQ(NamesIn(out), (std::vector<std::string>{"one.screen", "one.screen.inf",
                                                      "three.screen", "three.screen.inf"}));
    EXPECT_NE(r.out.find(good1 + " -> "), std::string::npos);
    EXPECT_NE(r.out.find(good2 + " -> "), std::string::npos);
}

}  // namespace

namespace {

TEST_F(ConverterTest, APaletteIsPrintedAsVdu19Commands) {
    const std::string picture = Picture("card.bmp");
    const std::string screen = folder / "out.scr";
    const ProgramResult r = Run(
        {"-m", "1", "--palette", "black,blue,cyan,white", "-t", "atkinson", "-o", screen, picture});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, picture + " -> " + screen + ", " + screen +
                         ".inf (MODE 1, tone atkinson, palette list)\nVDU 19,1,4;0;19,2,6;0;\n");
}

TEST_F(ConverterTest, ModeTwoClaimsNoPaletteChoice) {
    const std::string picture = Picture("card.bmp");
    const std::string screen = folder / "out.scr";
    const ProgramResult r = Run({"-m", "2", "--photo", "-o", screen, picture});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, picture + " -> " + screen + ", " + screen +
                         ".inf (MODE 2, tone search, sampling area, fit keep, auto levels)\n");
}

}  // namespace
