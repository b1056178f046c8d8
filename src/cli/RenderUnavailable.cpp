#include "cli/RenderCommand.h"

namespace zandrel::cli {

// zdmtool built without the editor's OpenGL libraries has the verb but cannot draw.
int RunRenderCommand(std::span<const std::string_view> /*args*/, std::ostream& /*out*/,
                     std::ostream& err) {
    err << "zdmtool: no OpenGL: this zdmtool was built without the editor's renderer\n";
    return 1;
}

}  // namespace zandrel::cli
