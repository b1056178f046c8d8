#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace zandrel::cli {

inline constexpr std::string_view kRenderSynopsis =
    "render [--size W[xH]] [--camera start|top|iso] [--wireframe] [--textures DIR] MAP OUT.png";

inline constexpr std::string_view kRenderDescription =
    "Draw MAP as the editor's 3D view shows it and write the picture to OUT.png, without a\n"
    "display (an off-screen OpenGL context through EGL). The PNG is written beside OUT.png\n"
    "and renamed over it, so a failure leaves no partial picture.\n\n"
    "--size W[xH]   picture size in pixels, 1 to 4096 (default 512x512; W alone is square)\n"
    "--camera NAME  start: where a new 3D view starts; top: straight down at the whole map;\n"
    "               iso: from above the corner at the origin; both framed to fit (default start)\n"
    "--wireframe    draw lines only, as the view's wireframe mode\n"
    "--textures DIR look for the map's texture files in DIR only (default: the map's folder,\n"
    "               then the working folder); names leaving the folder are refused\n"
    "Exit status 1 when the map cannot be read, there is no OpenGL or OUT.png cannot be\n"
    "written; 2 for a usage error.";

// The render verb, given the arguments after its name. Exit status as zdmtool's.
int RunRenderCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

}  // namespace zandrel::cli
