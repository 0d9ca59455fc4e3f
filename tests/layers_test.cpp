// The source tree's layers: every #include "..." of src/ stays in its folder or goes to a folder
// listed above it in src/README.md, which holds the order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace velkor::test {

namespace {

namespace fs = std::filesystem;

// The folders in the order of src/README.md's numbered list ("1. `core/` - ...").
std::map<std::string, int> LayerOrder() {
    std::map<std::string, int> rank;
    std::ifstream readme(std::string(VELKOR_SOURCE_DIR) + "/README.md");
    std::string line;
    while (std::getline(readme, line)) {
        std::size_t dot = line.find(". `");
        if (dot == std::string::npos || dot == 0 || line.find_first_not_of("0123456789") != dot) continue;
        std::size_t end = line.find("/`", dot);
        if (end == std::string::npos) continue;
        rank[line.substr(dot + 3, end - dot - 3)] = static_cast<int>(rank.size());
    }
    return rank;
}

struct Include {
    std::string file;
    std::string header;
};

std::vector<Include> ProjectIncludes(const fs::path& source) {
    std::vector<Include> includes;
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        std::string extension = entry.path().extension().string();
        if (extension != ".h" && extension != ".cpp") continue;
        std::ifstream file(entry.path());
        std::string line;
        while (std::getline(file, line)) {
            if (line.rfind("#include \"", 0) != 0) continue;
            std::size_t end = line.find('"', 10);
            includes.push_back({fs::relative(entry.path(), source).string(), line.substr(10, end - 10)});
        }
    }
    return includes;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find('/')); }

} // namespace

TEST(Layers, EveryFolderIsALayer) {
    std::map<std::string, int> rank = LayerOrder();
    ASSERT_GE(rank.size(), 8u) << "src/README.md lists the layers";
    for (const auto& entry : fs::directory_iterator(VELKOR_SOURCE_DIR)) {
        if (!entry.is_directory()) continue;
        EXPECT_TRUE(rank.count(entry.path().filename().string())) << entry.path() << " is in no layer";
    }
}

TEST(Layers, IncludesPointDownOnly) {
    std::map<std::string, int> rank = LayerOrder();
    std::vector<Include> includes = ProjectIncludes(VELKOR_SOURCE_DIR);
    ASSERT_GT(includes.size(), 100u);
    for (const Include& include : includes) {
        std::string from = FolderOf(include.file), to = FolderOf(include.header);
        ASSERT_TRUE(rank.count(to)) << include.file << " includes \"" << include.header << "\" from no layer";
        EXPECT_LE(rank[to], rank[from]) << include.file << " includes \"" << include.header << "\": " << to
                                        << "/ stands above " << from << "/";
    }
}

} // namespace velkor::test
