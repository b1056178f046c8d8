#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "cli/ScriptRunner.h"
#include "map/MapGrid.h"
#include "mapfile/MapLoader.h"
#include "mapfile/MapWriter.h"
#include "support/ScratchFolder.h"

namespace zandrel::testsupport {

// zdmtool, run in a scratch folder as a user or a pipeline would, and the maps it leaves there.
class CliTest : public ScratchFolderTest {
protected:
    ToolOutcome Run(const std::string& args) const { return RunInFolder(ZDMTOOL_PATH, args); }

    // An editing script run in-process from inside the folder, named edit.txt in its messages.
    ToolOutcome Script(const std::string& text) const {
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        std::istringstream script(text);
        std::ostringstream out;
        std::ostringstream err;
        const int status = cli::RunScript(script, "edit.txt", out, err);
        std::filesystem::current_path(previous);
        return {status, out.str(), err.str()};
    }

    std::unique_ptr<map::MapGrid> Load(const std::string& name) const {
        auto grid = std::make_unique<map::MapGrid>();
        EXPECT_TRUE(mapfile::LoadMapFile(*grid, folder_ / name, {stderr, nullptr})) << name;
        return grid;
    }

    void Save(const map::MapGrid& grid, const std::string& name) const {
        ASSERT_TRUE(mapfile::SaveMapFile(grid, folder_ / name)) << name;
    }

    std::string Read(const std::string& name) const { return ReadFile(folder_ / name); }
};

}  // namespace zandrel::testsupport
