#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace zandrel::testsupport {

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// What a command-line run printed and how it ended.
struct ToolOutcome {
    int status;
    std::string out;
    std::string err;
};

// A fresh folder of its own for every test, removed afterwards.
class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("zandrel_" + std::to_string(::getpid()) + "_" + test->test_suite_name() + "_" +
                   test->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void Write(const std::string& name, const std::string& text) const {
        WriteFile(folder_ / name, text);
    }

    // What the folder holds, hidden names too: a save must leave nothing else behind.
    std::set<std::string> NamesInFolder() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    // Runs program with args (already quoted for the shell) inside the folder, as a user or a
    // pipeline would; standard output and error are kept apart.
    ToolOutcome RunInFolder(const std::string& program, const std::string& args) const {
        const std::filesystem::path out = folder_ / ".stdout";
        const std::filesystem::path err = folder_ / ".stderr";
        const std::string command = "cd '" + folder_.string() + "' && '" + program + "' " + args +
                                    " >'" + out.string() + "' 2>'" + err.string() + "'";
        const int raw = std::system(command.c_str());
        ToolOutcome outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
        std::filesystem::remove(out);
        std::filesystem::remove(err);
        return outcome;
    }

    std::filesystem::path folder_;
};

}  // namespace zandrel::testsupport
