#include "cli/ScriptReference.h"

#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "cli/ScriptCommand.h"
#include "cli/ScriptSession.h"
#include "support/CliTool.h"

namespace zandrel::cli {
namespace {

// The session answers a wrong number of arguments with its own usage text; the documented one
// must be the same, or the help teaches a command line the session refuses.
TEST(ScriptReference, EveryDocumentedUsageIsTheSessionsOwn) {
    std::set<std::string_view> names;
    for (const ScriptCommandDoc& doc : ScriptCommandDocs()) {
        SCOPED_TRACE(std::string(doc.name));
        EXPECT_TRUE(names.insert(doc.name).second) << "documented twice";
        EXPECT_FALSE(doc.effect.empty());
        EXPECT_FALSE(doc.editorAction.empty());

        // A usage with repeated pairs takes any number of them: one word more is one too many.
        std::string tooMany(doc.usage);
        if (tooMany.ends_with(" ...]")) {
            tooMany.erase(tooMany.rfind(" ["));
        }
        tooMany += " extra";
        ScriptCommand command = *SplitScriptLine(tooMany);
        ScriptSession session;
        const Status refused = session.Run(command);
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.message(), "usage: " + std::string(doc.usage));
    }
}

TEST(ScriptReference, HelpAndManualListEveryCommandAndTheExample) {
    std::ostringstream help;
    WriteScriptHelp(help);
    std::ostringstream manual;
    WriteScriptManSection(manual);
    for (const ScriptCommandDoc& doc : ScriptCommandDocs()) {
        EXPECT_NE(help.str().find("\n  " + std::string(doc.usage) + '\n'), std::string::npos)
            << doc.usage;
        // roff shows a hyphen only when it is written \-.
        std::string roffUsage(doc.usage);
        for (std::size_t at = roffUsage.find('-'); at != std::string::npos;
             at = roffUsage.find('-', at + 2)) {
            roffUsage.insert(at, "\\");
        }
        EXPECT_NE(manual.str().find("\n.B " + roffUsage + '\n'), std::string::npos) << doc.usage;
    }
    EXPECT_NE(help.str().find("  select 10 10 14 14\n"), std::string::npos);
    EXPECT_NE(manual.str().find("\nselect 10 10 14 14\n"), std::string::npos);
    // A line of text starting with a dot would be read by roff as a request.
    const std::set<std::string> requests = {".SH", ".SS", ".TP", ".B",  ".PP",
                                            ".br", ".nf", ".fi", ".RS", ".RE"};
    std::istringstream lines(manual.str());
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with('.')) {
            EXPECT_TRUE(requests.contains(line.substr(0, line.find(' ')))) << line;
        }
    }
}

class ExampleScript : public zandrel::testsupport::CliTest {};

// The example in the help is a script a user will paste: it must run as written.
TEST_F(ExampleScript, RunsAndSavesTheHill) {
    const zandrel::testsupport::ToolOutcome run =
        Script("save level.zdm\n" + std::string(ScriptExample()));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto hill = Load("hill.zdm");
    EXPECT_EQ(hill->cells[12][12].goal, 1);
    EXPECT_GT(hill->cells[12][12].C, hill->cells[0][0].C);
}

}  // namespace
}  // namespace zandrel::cli
