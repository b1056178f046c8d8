// The whole zdmtool render process as a file manager runs it for a thumbnail: start, read a
// full 50 x 50 map and its textures, make the off-screen context, draw 256 x 256, write the
// PNG, exit. Real time, since Mesa draws on threads of its own and the work is another process.
// Run from a Release build: build/rel/bench/render_process_bench
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs argv with DISPLAY removed from the environment; the exit status, or -1.
int RunWithoutDisplay(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> env;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::string(*e).rfind("DISPLAY=", 0) != 0) {
            env.push_back(*e);
        }
    }
    env.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), env.data()) != 0) {
        return -1;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_ThumbnailOfFullMap(benchmark::State& state) {
    const fs::path folder =
        fs::temp_directory_path() / ("zandrel_render_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(ASSETS_DIR)) {
        fs::copy_file(entry.path(), folder / entry.path().filename(),
                      fs::copy_options::overwrite_existing);
    }
    const std::string map = (folder / "full.zdm").string();
    const std::string out = (folder / "thumb.png").string();
    if (RunWithoutDisplay({ZDMTOOL_PATH, "new", map}) != 0) {
        state.SkipWithError("zdmtool new failed");
        return;
    }
    const auto side = std::to_string(state.range(0));
    for (auto _ : state) {
        if (RunWithoutDisplay(
                {ZDMTOOL_PATH, "render", "--size", side, "--camera", "iso", map, out}) != 0) {
            state.SkipWithError("zdmtool render failed");
            break;
        }
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_ThumbnailOfFullMap)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
