#include <iostream>
#include <string_view>
#include <vector>

#include "cli/RenderCommand.h"
#include "view3d/HugePageHeap.h"

// zdmtool-render: the render verb of zdmtool, which starts it with the arguments after the verb.
int main(int argc, char** argv) {
    // About what the driver takes for a thumbnail of a full map: its context, the textures'
    // levels and the frame.
    zandrel::view3d::HugePageHeap::Reserve(std::size_t{16} << 20);
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return zandrel::cli::RunRenderCommand(args, std::cout, std::cerr);
}
