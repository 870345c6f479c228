// moxctl identity show/convert/xml and identities validate/format run as a program:
// printed parts, converted texts and documents, library errors (exit 1) and usage
// errors (exit 2).
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

std::string quote(const std::string& arg)
{
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs moxctl with `args` and `input` on standard input.
Outcome moxctl(const std::vector<std::string>& args, const std::string& input = std::string())
{
    const std::string base = ::testing::TempDir() + "moxctl_identity_" + std::to_string(::getpid());
    std::ofstream(base + ".in", std::ios::binary) << input;
    std::string command = quote(MOXCTL_PATH);
    for (const std::string& arg : args)
        command += " " + quote(arg);
    command += " <" + quote(base + ".in") + " >" + quote(base + ".out") + " 2>" + quote(base + ".err");
    const int raw = std::system(command.c_str());
    Outcome run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(base + ".out"), slurp(base + ".err")};
    for (const char* ext : {".in", ".out", ".err"})
        std::remove((base + ext).c_str());
    return run;
}

} // namespace

TEST(MoxctlIdentity, ShowAndConvertPrintThePartsTheTextOrTheError)
{
    const Outcome group = moxctl({"identity", "show", "NT:\\\\CORP/Group:admins"});
    EXPECT_EQ(group.status, 0) << group.err;
    EXPECT_EQ(group.out, "format: QEL\nvalue: NT:CORP/Group:admins\ntype: Group\nname: admins\n"
                         "authority name: CORP\nauthority format: NT\n");
    EXPECT_EQ(moxctl({"identity", "convert", "NT:CORP/alice", "--to", "EMAIL"}).out, "alice@CORP\n");

    const Outcome noDomain = moxctl({"identity", "show", "alice", "--format", "EMAIL"});
    EXPECT_EQ(noDomain.status, 1);
    EXPECT_EQ(noDomain.out, "");
    EXPECT_EQ(noDomain.err, "moxctl: InvalidArgumentException -1006: The arguments specified in the operation were invalid\n");
    const Outcome toQel = moxctl({"identity", "convert", "alice@CORP", "--to", "QEL"});
    EXPECT_EQ(toQel.status, 1);
    EXPECT_EQ(toQel.err, "moxctl: InvalidArgumentException -1075: Not a valid input\n");
    EXPECT_EQ(moxctl({"identity", "show"}).status, 2);
    EXPECT_EQ(moxctl({"identity", "convert", "NT:CORP/alice"}).status, 2);
}

TEST(MoxctlIdentity, DocumentsAreValidatedAndFormattedFromFilesAndStandardInput)
{
    const std::string document = "<identities>\n  <GroupIdentifier format='EMAIL'>staff@example.org</GroupIdentifier>\n"
                                 "  <identity format='NT' authority='CORP' account='lp' type='Printers'/>\n"
                                 "</identities>trailing";
    const Outcome valid = moxctl({"identities", "validate"}, document);
    EXPECT_EQ(valid.status, 0) << valid.err;
    EXPECT_NE(valid.out.find("2 identities"), std::string::npos) << valid.out;

    const std::string path = ::testing::TempDir() + "iddoc_" + std::to_string(::getpid()) + ".xml";
    std::ofstream(path) << document;
    const Outcome formatted = moxctl({"identities", "format", path});
    std::remove(path.c_str());
    EXPECT_EQ(formatted.status, 0) << formatted.err;
    // Re-written compactly with double quotes.
    for (const char* item : {"<GroupIdentifier format=\"EMAIL\">staff@example.org</GroupIdentifier>",
                             "<identity format=\"NT\" authority=\"CORP\" account=\"lp\" type=\"Printers\"/>"})
        EXPECT_NE(formatted.out.find(item), std::string::npos) << formatted.out;

    // Rejected documents exit 1 with the decoder's detail.
    const Outcome unknown = moxctl({"identities", "format"}, "<identities><Principal/></identities>");
    EXPECT_EQ(std::make_pair(unknown.status, unknown.out), std::make_pair(1, std::string()));
    for (const char* part : {"-1056", "Decoding failed - info: \"", "'Principal'"})
        EXPECT_NE(unknown.err.find(part), std::string::npos) << unknown.err;
    EXPECT_EQ(moxctl({"identities", "validate", "/nonexistent/file.xml"}).status, 2);
}

TEST(MoxctlIdentity, IdentityXmlPrintsTheItemElementAndReadsItBack)
{
    const Outcome group = moxctl({"identity", "xml", "NT:CORP/Group:admins"});
    EXPECT_EQ(group.status, 0) << group.err;
    EXPECT_EQ(group.out, "<GroupIdentifier format=\"QEL\">NT:CORP/Group:admins</GroupIdentifier>\n");
    EXPECT_EQ(moxctl({"identity", "xml", group.out.substr(0, group.out.size() - 1)}).out, group.out);
    EXPECT_EQ(moxctl({"identity", "xml", "no-slash"}).status, 1);
    EXPECT_EQ(moxctl({"identity", "xml"}).status, 2);
}
