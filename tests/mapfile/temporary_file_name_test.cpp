#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <set>
#include <string>

#include "mapfile/TemporaryFileName.h"
#include "support/ScratchFolder.h"

namespace fs = std::filesystem;
using zandrel::mapfile::RemoveAbandonedTemporaries;
using zandrel::mapfile::TemporaryFileName;

namespace {

class TemporaryFileNameTest : public zandrel::testsupport::ScratchFolderTest {
protected:
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
};

// A process id that certainly ran and has ended.
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

}  // namespace

TEST(TemporaryFileName, IsHiddenShortAndFresh) {
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        const std::string name = TemporaryFileName();
        EXPECT_EQ(name.rfind(".zdm-" + std::to_string(::getpid()) + "-", 0), 0u) << name;
        EXPECT_LE(name.size(), 24u);
        EXPECT_EQ(name.find('/'), std::string::npos);
        seen.insert(name);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST_F(TemporaryFileNameTest, OnlyFilesOfEndedProcessesAreRemoved) {
    const std::string dead = std::to_string(EndedProcess());
    const std::string alive = std::to_string(::getppid());
    const struct {
        std::string name;
        bool removed;
    } cases[] = {
        {".zdm-" + dead + "-aB3_+z", true},
        {".zdm-" + alive + "-aB3_+z", false},
        {TemporaryFileName(), false},  // this process's own, perhaps being written
        {".zdm-" + dead + "-aB3_+", false},
        {".zdm-" + dead + "-aB3_+zz", false},
        {".zdm-" + dead + "x-aB3_+z", false},
        {".zdm--aB3_+z", false},
        {".zdm-" + dead + "-aB.3+z", false},
        {"zdm-" + dead + "-aB3_+z", false},
        {"level.zdm", false},
    };
    for (const auto& entry : cases) {
        Write(entry.name, "map");
    }
    // A second name means it is someone's file, and a link is not ours to follow.
    Write(".zdm-" + dead + "-linked", "map");
    fs::create_hard_link(folder_ / (".zdm-" + dead + "-linked"), folder_ / "kept.zdm");
    fs::create_symlink("level.zdm", folder_ / (".zdm-" + dead + "-symlnk"));

    const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    RemoveAbandonedTemporaries(folder);
    ::close(folder);

    const std::set<std::string> left = Names();
    for (const auto& entry : cases) {
        EXPECT_EQ(left.count(entry.name), entry.removed ? 0u : 1u) << entry.name;
    }
    EXPECT_EQ(left.count(".zdm-" + dead + "-linked"), 1u);
    EXPECT_EQ(left.count(".zdm-" + dead + "-symlnk"), 1u);
}
