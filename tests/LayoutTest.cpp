// The layout rules, read from the sources' own #include lines: the plain-C++ core includes no Qt
// and nothing from the folders above it, nothing outside the window includes app/, and no two
// folders include each other, directly or through others.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = QUILLIX_SOURCE_DIR;

// A folder of the program: its top folder, or platform/SERVICE.
std::string FolderOf(const std::string& relativePath) {
    const auto slash = relativePath.find('/');
    if (slash == std::string::npos) return {};
    const std::string top = relativePath.substr(0, slash);
    if (top != "platform" && top != "tests") return top;
    const auto second = relativePath.find('/', slash + 1);
    if (second == std::string::npos) return top;
    return relativePath.substr(0, second);
}

struct Include {
    std::string file;     // relative to the top of the tree
    std::string target;   // what the quotes or angle brackets hold
    bool angled = false;  // <...>
};

std::vector<Include> ProgramIncludes() {
    static const std::regex line(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    static const std::set<std::string> skipped{"build", "tests", "bench", "fuzz", "cmake", "docs"};
    std::vector<Include> includes;
    for (auto it = fs::recursive_directory_iterator(kSourceDir);
         it != fs::recursive_directory_iterator(); ++it) {
        const std::string relative = fs::relative(it->path(), kSourceDir).generic_string();
        if (it->is_directory() && (skipped.count(relative) || relative.starts_with("build") ||
                                   relative.starts_with("."))) {
            it.disable_recursion_pending();
            continue;
        }
        const auto extension = it->path().extension();
        if (!it->is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
        std::ifstream in(it->path());
        std::string text;
        std::smatch match;
        while (std::getline(in, text))
            if (std::regex_search(text, match, line))
                includes.push_back({relative, match[2].str(), match[1].str() == "<"});
    }
    return includes;
}

struct Rule {
    std::string folder;                  // the including folder, or "" for every folder
    std::vector<std::string> forbidden;  // prefixes of forbidden quoted includes
    bool noQt = false;                   // no <Q...> headers
};

// The folders from the top down; each may include only the ones after it (and platform/).
const std::vector<std::string> kAbove = {
    "app/",      "cli/",     "about/",    "pipeline/", "acquire/", "decode/", "disc/",
    "compress/", "convert/", "teletext/", "screen/",   "sample/",  "colour/"};

// Everything listed above a folder in kAbove, and the Qt desktop services.
std::vector<std::string> Above(const std::string& folder) {
    std::vector<std::string> above{"platform/desktop/"};
    for (const std::string& upper : kAbove) {
        if (upper == folder + "/") break;
        above.push_back(upper);
    }
    return above;
}

const std::vector<Rule> kRules = {
    {"colour", Above("colour"), true},
    {"sample", Above("sample"), true},
    {"screen", Above("screen"), true},
    {"convert", Above("convert"), true},
    {"teletext", Above("teletext"), true},
    {"disc", Above("disc"), true},
    {"decode", Above("decode"), true},
    {"compress", Above("compress"), true},
    {"platform/files", {}, true},
    {"platform/picture", {}, true},
    {"platform/process", {}, true},
    {"acquire", {"app/", "cli/", "about/", "pipeline/"}, false},
    {"pipeline", {"app/", "cli/", "about/"}, false},
    {"about", {"app/", "cli/"}, false},
    {"cli", {"app/", "about/"}, false},
    {"platform",
     {"app/", "about/", "cli/", "pipeline/", "acquire/", "decode/", "convert/", "teletext/",
      "screen/", "disc/", "compress/", "sample/", "colour/"},
     false},
};

bool Applies(const Rule& rule, const std::string& folder) {
    return folder == rule.folder || folder.starts_with(rule.folder + "/");
}

TEST(Layout, NoFolderIncludesWhatItsRulesForbid) {
    const auto includes = ProgramIncludes();
    ASSERT_GT(includes.size(), 100u) << "the sources were not found under " << kSourceDir;
    for (const auto& include : includes) {
        const std::string folder = FolderOf(include.file);
        SCOPED_TRACE(include.file + " includes " + include.target);
        if (!include.angled && include.target.starts_with("app/")) {
            EXPECT_EQ(folder, "app") << "only the window includes app/";
        }
        for (const auto& rule : kRules) {
            if (!Applies(rule, folder)) continue;
            if (include.angled) {
                EXPECT_FALSE(rule.noQt && include.target.starts_with("Q"))
                    << folder << " is plain C++";
                continue;
            }
            for (const auto& prefix : rule.forbidden)
                EXPECT_FALSE(include.target.starts_with(prefix))
                    << folder << " sits below " << prefix;
        }
    }
}

TEST(Layout, NoTwoFoldersDependOnEachOther) {
    std::map<std::string, std::set<std::string>> uses;
    for (const auto& include : ProgramIncludes()) {
        if (include.angled) continue;
        const std::string from = FolderOf(include.file);
        const std::string to = FolderOf(include.target);
        if (!from.empty() && !to.empty() && from != to) uses[from].insert(to);
    }
    // Depth-first search for a way back to where it started.
    std::function<bool(const std::string&, const std::string&, std::set<std::string>&)> reaches =
        [&](const std::string& from, const std::string& goal, std::set<std::string>& seen) {
            for (const auto& next : uses[from]) {
                if (next == goal) return true;
                if (seen.insert(next).second && reaches(next, goal, seen)) return true;
            }
            return false;
        };
    for (const auto& [folder, _] : uses) {
        std::set<std::string> seen;
        EXPECT_FALSE(reaches(folder, folder, seen)) << folder << " depends on itself";
    }
}

}  // namespace
