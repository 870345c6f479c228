// moxctl identities validate/format and identity xml, run as a program.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs moxctl with `args` (already shell-quoted) and `input` on standard input.
Outcome moxctl(const std::string& args, const std::string& input = std::string())
{
    const std::string base = ::testing::TempDir() + "moxctl_iddoc_" + std::to_string(::getpid());
    std::ofstream(base + ".in", std::ios::binary) << input;
    const std::string command = std::string("'") + MOXCTL_PATH + "' " + args + " < " + base + ".in > " + base +
                                ".out 2> " + base + ".err";
    const int raw = std::system(command.c_str());
    Outcome outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(base + ".out"), slurp(base + ".err")};
    std::remove((base + ".in").c_str());
    std::remove((base + ".out").c_str());
    std::remove((base + ".err").c_str());
    return outcome;
}

const std::string kDocument = "<identities>\n  <GroupIdentifier format='EMAIL'>staff@example.org</GroupIdentifier>\n"
                              "  <identity format='NT' authority='CORP' account='lp' type='Printers'/>\n"
                              "</identities>trailing";

} // namespace

TEST(MoxctlIdentityDocument, ValidateAndFormatReadFilesAndStandardInput)
{
    const Outcome valid = moxctl("identities validate", kDocument);
    EXPECT_EQ(valid.status, 0) << valid.err;
    EXPECT_NE(valid.out.find("2 identities"), std::string::npos) << valid.out;

    const std::string path = ::testing::TempDir() + "iddoc_" + std::to_string(::getpid()) + ".xml";
    std::ofstream(path) << kDocument;
    const Outcome formatted = moxctl("identities format " + path);
    std::remove(path.c_str());
    EXPECT_EQ(formatted.status, 0) << formatted.err;
    // Re-written compactly with double quotes; reading the result again gives it back.
    EXPECT_NE(formatted.out.find("<GroupIdentifier format=\"EMAIL\">staff@example.org</GroupIdentifier>"),
              std::string::npos)
        << formatted.out;
    EXPECT_NE(formatted.out.find("<identity format=\"NT\" authority=\"CORP\" account=\"lp\" type=\"Printers\"/>"),
              std::string::npos);
    const Outcome again = moxctl("identities format -", formatted.out);
    EXPECT_EQ(again.out, formatted.out);
}

TEST(MoxctlIdentityDocument, RejectedDocumentsExitOneWithTheDecodersDetail)
{
    const Outcome syntax = moxctl("identities validate", "<identities>\n  <UserIdentifier");
    EXPECT_EQ(syntax.status, 1);
    EXPECT_NE(syntax.err.find("-1056"), std::string::npos) << syntax.err;
    EXPECT_NE(syntax.err.find("Decoding failed - info: \""), std::string::npos);
    EXPECT_NE(syntax.err.find("line = 2, column = "), std::string::npos) << syntax.err;

    const Outcome unknown = moxctl("identities format", "<identities><Principal/></identities>");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("'Principal'"), std::string::npos) << unknown.err;
    EXPECT_TRUE(unknown.out.empty());

    EXPECT_EQ(moxctl("identities validate /nonexistent/file.xml").status, 2);
}

TEST(MoxctlIdentityDocument, IdentityXmlPrintsTheItemElement)
{
    const Outcome group = moxctl("identity xml 'NT:CORP/Group:admins'");
    EXPECT_EQ(group.status, 0) << group.err;
    EXPECT_EQ(group.out, "<GroupIdentifier format=\"QEL\">NT:CORP/Group:admins</GroupIdentifier>\n");
    // Item elements read back to the same element.
    const Outcome back = moxctl("identity xml '" + group.out.substr(0, group.out.size() - 1) + "'");
    EXPECT_EQ(back.out, group.out);
    EXPECT_EQ(moxctl("identity xml no-slash").status, 1);
    EXPECT_EQ(moxctl("identity xml").status, 2);
}
