#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CommandLine.h"
#include "cli/OutputPlan.h"
#include "tests/ScopedEnvironmentVariable.h"
#include "tests/TempFolder.h"

namespace {

ConverterOptions Parsed(const std::vector<std::string>& args) {
    const ParsedCommandLine parsed = ParseCommandLine(args);
    EXPECT_EQ(parsed.error, "");
    return parsed.options;
}

TEST(CommandLine, SettingsInEverySpelling) {
    struct Case {
        std::vector<std::string> args;
        int mode, tone;
        bool stagger;
    };
    const Case cases[] = {
        {{"p.bmp"}, 2, 0, false},
        {{"-m", "0", "p.bmp"}, 0, 0, false},
        {{"-m4", "p.bmp"}, 4, 0, false},
        {{"--mode", "5", "p.bmp"}, 5, 0, false},
        {{"--mode=1", "p.bmp"}, 1, 0, false},
        {{"-t", "fine", "p.bmp"}, 2, 1, false},
        {{"--tone=Coarse", "p.bmp"}, 2, 2, false},
        {{"p.bmp", "--tone", "spiral"}, 2, 3, false},
        {{"-tdiagonal", "-s", "p.bmp"}, 2, 4, true},
        {{"--stagger", "-m", "1", "-t", "none", "p.bmp"}, 1, 0, true},
        {{"-sqm0", "p.bmp"}, 0, 0, true},
        {{"-m", "1", "-m", "0", "p.bmp"}, 0, 0, false},  // the last one counts
        {{"-m7", "--photo", "--palette", "standard", "p.bmp"}, 7, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const ConverterOptions o = Parsed(c.args);
        EXPECT_EQ(o.screenMode, c.mode);
        EXPECT_EQ(o.toneStyle, c.tone);
        EXPECT_EQ(o.stagger, c.stagger);
        EXPECT_EQ(o.pictures, std::vector<std::string>{"p.bmp"});
    }
}

TEST(CommandLine, OutputsAndPictures) {
    ConverterOptions o = Parsed({"-o", "x.screen", "--preview", "x.png", "p.bmp"});
    EXPECT_EQ(o.output, "x.screen");
    EXPECT_EQ(o.preview, "x.png");
    EXPECT_FALSE(o.previewInOutputDir);

    // With -d, --preview takes no FILE, so the argument after it is a picture.
    o = Parsed({"-d", "out", "--preview", "a.jpg", "b.bmp"});
    EXPECT_EQ(o.outputDir, "out");
    EXPECT_TRUE(o.previewInOutputDir);
    EXPECT_EQ(o.pictures, (std::vector<std::string>{"a.jpg", "b.bmp"}));

    o = Parsed({"--output-dir=out", "-q", "--", "-odd.bmp", "--preview"});
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.pictures, (std::vector<std::string>{"-odd.bmp", "--preview"}));

    EXPECT_TRUE(Parsed({"--help"}).help);
    EXPECT_TRUE(ParseCommandLine({"-h", "--bogus"}).options.help);  // help wins over a mistake
    EXPECT_TRUE(Parsed({"--version"}).version);
}

TEST(CommandLine, UsageErrors) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{}, "no PICTURE given"},
        {{"-m", "3", "p.bmp"}, "invalid mode '3' for -m: use 0, 1, 2, 4, 5 or 7"},
        {{"--mode=22", "p.bmp"}, "invalid mode '22' for --mode: use 0, 1, 2, 4, 5 or 7"},
        // MODE 7 shows fixed colours and solves its own sixels.
        {{"-m", "7", "--palette", "best", "p.bmp"},
         "MODE 7 shows the eight teletext colours as they are: --palette does not apply"},
        {{"-m", "7", "--palette=black,red", "p.bmp"},
         "MODE 7 shows the eight teletext colours as they are: --palette does not apply"},
        {{"-m", "7", "-t", "none", "p.bmp"},
         "MODE 7 chooses its own sixels: -t and -s do not apply"},
        {{"-s", "--mode=7", "p.bmp"}, "MODE 7 chooses its own sixels: -t and -s do not apply"},
        {{"-t", "wavy", "p.bmp"},
         "invalid tone 'wavy' for -t: use none, fine, coarse, spiral, diagonal, floyd-steinberg, "
         "atkinson, sierra, jarvis-judice-ninke or search"},
        {{"--brightness", "101", "p.bmp"},
         "invalid brightness '101' for --brightness: use a whole number from -100 to 100"},
        {{"--contrast=1.5", "p.bmp"},
         "invalid contrast '1.5' for --contrast: use a whole number from -100 to 100"},
        {{"--saturation", "-100x", "p.bmp"},
         "invalid saturation '-100x' for --saturation: use a whole number from -100 to 100"},
        {{"--gamma", "0.2", "p.bmp"},
         "invalid gamma '0.2' for --gamma: use a number from 0.25 to 4"},
        {{"--gamma=nan", "p.bmp"}, "invalid gamma 'nan' for --gamma: use a number from 0.25 to 4"},
        {{"--auto-levels=1", "p.bmp"}, "--auto-levels takes no value"},
        {{"p.bmp", "-m"}, "-m needs a value"},
        {{"p.bmp", "--output"}, "--output needs a value"},
        {{"-x", "p.bmp"}, "unknown option -x"},
        {{"--colour", "p.bmp"}, "unknown option --colour"},
        {{"--stagger=yes", "p.bmp"}, "--stagger takes no value"},
        {{"-o", "", "p.bmp"}, "-o needs a FILE"},
        {{"-o", "a", "-d", "b", "p.bmp"}, "-o and -d cannot be used together"},
        {{"a.bmp", "b.bmp"},
         "several pictures need -d D: -o and the default output take one picture"},
        {{"-o", "x", "a.bmp", "b.bmp"},
         "several pictures need -d D: -o and the default output take one picture"},
        {{"p.bmp", "--preview"}, "--preview needs a FILE"},
        {{"--compress", "-o", "x", "p.bmp"}, "--compress needs --disc or --tape"},
        {{"--tape", "", "p.bmp"}, "--tape needs a FILE"},
        {{"-d", "out", "--preview=x.png", "p.bmp"},
         "with -d, --preview takes no FILE: the previews go to D/STEM.png"},
        // A PNG right after a bare --preview was most likely meant as its FILE, not as a picture.
        {{"-d", "out", "--preview", "x.png", "p.bmp"},
         "with -d, --preview takes no FILE: the previews go to D/STEM.png; to convert x.png, put "
         "--preview last"},
        {{"--preview", "shots/X.PNG", "p.bmp", "-d", "out"},
         "with -d, --preview takes no FILE: the previews go to D/STEM.png; to convert "
         "shots/X.PNG, put --preview last"},
        // A screen file is converted already: only the colours it stands for may be chosen.
        {{"--show", "--photo", "--disc", "d.ssd", "s"},
         "--photo does not apply to existing screen files (--show)"},
        {{"--show", "--sampling", "area", "--disc", "d.ssd", "s"},
         "--sampling does not apply to existing screen files (--show)"},
        {{"--show", "--fit", "keep", "--disc", "d.ssd", "s"},
         "--fit does not apply to existing screen files (--show)"},
        {{"--show", "-m", "1", "--palette", "best", "--disc", "d.ssd", "s"},
         "--palette best does not apply to existing screen files (--show)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        EXPECT_EQ(ParseCommandLine(c.args).error, c.error);
    }
}

TEST(OutputPlan, WhereEachPictureGoes) {
    ConverterOptions o = Parsed({"pics/cat.jpg"});
    std::vector<PlannedConversion> plan = PlanConversions(o);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].screenFile, "c:\\$.screen");
    EXPECT_FALSE(plan[0].previewFile);

    o = Parsed(
        {"-d", "out/", "--preview", "pics/cat.jpg", "dog.final.BMP", "noext", "pics/Cat.png"});
    plan = PlanConversions(o);
    ASSERT_EQ(plan.size(), 4u);
    EXPECT_EQ(plan[0].screenFile, "out/cat.screen");
    EXPECT_EQ(plan[0].previewFile, "out/cat.png");
    EXPECT_EQ(plan[1].screenFile, "out/dog.final.screen");
    EXPECT_EQ(plan[2].screenFile, "out/noext.screen");
    EXPECT_EQ(plan[3].conflict, "");  // names differ in case, and so do the files

    // A folder on drive C: puts the previews there as well as the screen files.
    {
        ScopedEnvironmentVariable drive("QUILLIX_DRIVE_C", "/drive");
        plan = PlanConversions(Parsed({"-d", "c:\\shots", "--preview", "cat.jpg"}));
    }
    EXPECT_EQ(plan[0].screenFile, "c:\\shots/cat.screen");  // WriteImage places it
    EXPECT_EQ(plan[0].previewFile, "/drive/shots/cat.png");

    o = Parsed({"-d", "out", "a.bmp", "other/a.jpg"});
    plan = PlanConversions(o);
    EXPECT_EQ(plan[0].conflict, "");
    EXPECT_EQ(plan[1].conflict, "would replace the output of a.bmp (out/a.screen); not converted");
}

TEST(OutputPlan, PreviewMustNotReplaceTheScreenFiles) {
    for (const char* preview : {"x.screen", "./x.screen", "x.screen.inf"}) {
        SCOPED_TRACE(preview);
        const auto plan =
            PlanConversions(Parsed({"-o", "x.screen", "--preview", preview, "p.bmp"}));
        EXPECT_NE(PlanError(plan), "");
    }
    EXPECT_EQ(PlanError(PlanConversions(Parsed({"-o", "x.screen", "--preview", "x.png", "p.bmp"}))),
              "");

    // A link to an existing screen file is the screen file.
    TempFolder folder;
    WriteFileBytes(folder / "x.screen", "old screen");
    std::filesystem::create_symlink(folder / "x.screen", folder / "link.png");
    const auto plan = PlanConversions(
        Parsed({"-o", folder / "x.screen", "--preview", folder / "link.png", "p.bmp"}));
    EXPECT_NE(PlanError(plan), "");
}

// No output may replace a picture the command line names, however the two are spelt.
TEST(OutputPlan, OutputsMustNotReplaceAnyPicture) {
    TempFolder folder;
    const std::string pics = folder / "pics";
    std::filesystem::create_directory(pics);
    std::filesystem::create_directory_symlink(pics, folder / "linked");
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> conflicts;  // one for each picture, "" for none
    };
    const Case cases[] = {
        {{"-o", "v.bmp", "v.bmp"}, {"would replace the picture v.bmp (v.bmp); not converted"}},
        {{"-o", "./v.bmp", "v.bmp"}, {"would replace the picture v.bmp (./v.bmp); not converted"}},
        {{"-o", "out/z.screen", "--preview", "v.png", "v.png"},
         {"would replace the picture v.png (v.png); not converted"}},
        {{"-o", "v", "v.inf"}, {"would replace the picture v.inf (v.inf); not converted"}},
        {{"-o", folder / "linked/a.bmp", pics + "/a.bmp"},
         {"would replace the picture " + pics + "/a.bmp (" + (folder / "linked/a.bmp") +
          "); not converted"}},
        // With -d, the previews of one picture must not replace another picture either.
        {{"-d", pics, "a.jpg", pics + "/b.png", "c.bmp", "--preview"},
         {"", "would replace the picture " + pics + "/b.png (" + pics + "/b.png); not converted",
          ""}},
        {{"-d", pics, pics + "/a.screen", "a.bmp"},
         {"would replace the picture " + pics + "/a.screen (" + pics + "/a.screen); not converted",
          "would replace the picture " + pics + "/a.screen (" + pics +
              "/a.screen); not converted"}},
        {{"-o", "v.screen", "--preview", "v.png", "v.bmp"}, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const std::vector<PlannedConversion> plan = PlanConversions(Parsed(c.args));
        ASSERT_EQ(plan.size(), c.conflicts.size());
        for (std::size_t i = 0; i < plan.size(); ++i) EXPECT_EQ(plan[i].conflict, c.conflicts[i]);
    }
}

}  // namespace
