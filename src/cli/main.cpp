#include <iostream>
#include <string_view>
#include <vector>

#include "cli/ZdmTool.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return zandrel::cli::ZdmTool(std::cout, std::cerr).Run(args);
}
