#include <iostream>
#include <string_view>
#include <vector>

#include "cli/RenderCommand.h"

// zdmtool-render: the render verb of zdmtool, which starts it with the arguments after the verb.
int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return zandrel::cli::RunRenderCommand(args, std::cout, std::cerr);
}
