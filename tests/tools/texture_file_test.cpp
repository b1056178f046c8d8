#include "tools/TextureFile.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/ScratchFolder.h"

namespace zandrel::tools {
namespace {

namespace fs = std::filesystem;

// The map's folder holds "in.jpg", "sub/deep.jpg" and links of every kind; "out.jpg" lies
// beside it, outside.
class TextureFileTest : public testsupport::ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        work_ = folder_ / "work";
        fs::create_directories(work_ / "sub");
        testsupport::WriteFile(work_ / "in.jpg", "inside");
        testsupport::WriteFile(work_ / "sub" / "deep.jpg", "deeper");
        testsupport::WriteFile(folder_ / "out.jpg", "outside");
    }

    Status Read(const std::string& name, std::size_t maxBytes = kMaxTextureFileBytes) {
        return ReadTextureFile(work_, name, bytes_, maxBytes);
    }

    std::string Text() const { return std::string(bytes_.begin(), bytes_.end()); }

    fs::path work_;
    std::vector<unsigned char> bytes_;
};

TEST_F(TextureFileTest, ReadsRegularFilesInsideTheFolderAndLinksThatStayInside) {
    fs::create_symlink("sub/deep.jpg", work_ / "link.jpg");
    fs::create_directory_symlink("sub", work_ / "linkdir");
    testsupport::WriteFile(work_ / "empty.jpg", "");
    const struct {
        const char* name;
        const char* text;
    } cases[] = {{"in.jpg", "inside"},
                 {"sub/deep.jpg", "deeper"},
                 {"./sub/../in.jpg", "inside"},
                 {"../work/in.jpg", "inside"},
                 {"link.jpg", "deeper"},
                 {"linkdir/deep.jpg", "deeper"},
                 {"empty.jpg", ""}};
    for (const auto& c : cases) {
        bytes_.assign(3, 'x');
        const Status status = Read(c.name);
        EXPECT_TRUE(status.ok()) << c.name << ": " << status.message();
        EXPECT_EQ(Text(), c.text) << c.name;
    }
}

TEST_F(TextureFileTest, RefusesEverythingElseAsIfMissing) {
    fs::create_symlink("../out.jpg", work_ / "escape.jpg");
    fs::create_symlink((folder_ / "out.jpg").string(), work_ / "absolute-link.jpg");
    fs::create_directory_symlink("..", work_ / "up");
    fs::create_symlink("/dev/zero", work_ / "device.jpg");
    fs::create_symlink("nowhere.jpg", work_ / "dangling.jpg");
    ASSERT_EQ(::mkfifo((work_ / "fifo.jpg").c_str(), 0600), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = (work_ / "socket.jpg").string();
    ASSERT_LT(socketPath.size(), sizeof(address.sun_path));
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);

    const std::string inside = (work_ / "in.jpg").string();
    for (const std::string name :
         {"", "missing.jpg", "../out.jpg", "sub/../../out.jpg", "escape.jpg", "absolute-link.jpg",
          "up/out.jpg", "device.jpg", "dangling.jpg", "fifo.jpg", "socket.jpg", "sub", ".",
          "/etc/passwd", "/proc/self/environ", "/dev/zero", inside.c_str()}) {
        bytes_.assign(3, 'x');
        const Status status = Read(name);
        EXPECT_FALSE(status.ok()) << '"' << name << '"';
        EXPECT_NE(status.message().find("texture " + name), std::string::npos) << status.message();
        EXPECT_TRUE(bytes_.empty()) << name;
    }
    ::close(sock);
}

TEST_F(TextureFileTest, RefusesFilesOverTheLimitAndAMissingFolder) {
    testsupport::WriteFile(work_ / "sixteen.jpg", std::string(16, 'a'));
    EXPECT_TRUE(Read("sixteen.jpg", 16).ok());
    EXPECT_EQ(bytes_.size(), 16u);
    EXPECT_FALSE(Read("sixteen.jpg", 15).ok());
    EXPECT_TRUE(bytes_.empty());
    EXPECT_FALSE(ReadTextureFile(folder_ / "gone", "in.jpg", bytes_).ok());
}

}  // namespace
}  // namespace zandrel::tools
