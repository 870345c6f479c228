// moxctl attributes / properties run as a program: outputs, exit statuses (0 ok, 1
// rejected or no match, 2 usage) and standard input.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

class MoxctlAttributes : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& path : m_files)
            std::remove(path.c_str());
    }

    // A file holding `text`, removed after the test.
    std::string file(const std::string& text)
    {
        const std::string path =
            ::testing::TempDir() + "moxctl_attr_" + std::to_string(::getpid()) + "_" + std::to_string(m_files.size());
        std::ofstream(path, std::ios::binary) << text;
        m_files.push_back(path);
        return path;
    }

    // Runs moxctl with `args` (which hold no quotes), standard input from `input`.
    Result run(const std::vector<std::string>& args, const std::string& input = std::string())
    {
        std::string command = "'" MOXCTL_PATH "'";
        for (const std::string& arg : args)
            command += " '" + arg + "'";
        const std::string out = file(""), err = file("");
        command += " <'" + file(input) + "' >'" + out + "' 2>'" + err + "'";
        const int raw = std::system(command.c_str());
        return Result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
    }

    static std::string slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    const std::string list = "<attributes><attribute name=\"color\"><value>red</value><value>b&amp;lue</value>"
                             "</attribute><attribute name=\"size\" type=\"Integer\" scope=\"s\"><value>9</value>"
                             "</attribute></attributes>";

private:
    std::vector<std::string> m_files;
};

} // namespace

TEST_F(MoxctlAttributes, ValidateAndFormatFromFileAndStandardInput)
{
    const Result valid = run({"attributes", "validate", file(list)});
    EXPECT_EQ(std::make_tuple(valid.status, valid.out), std::make_tuple(0, std::string("valid: 2 attributes\n")))
        << valid.err;
    const Result formatted = run({"attributes", "format", "-"}, list);
    EXPECT_EQ(formatted.status, 0) << formatted.err;
    EXPECT_EQ(formatted.out.rfind("<?xml", 0), 0u);
    EXPECT_NE(formatted.out.find("<attribute name=\"color\" type=\"String\"><value>red</value><value>b&amp;lue</value>"
                                 "</attribute>"),
              std::string::npos);

    const Result broken = run({"attributes", "validate"}, "<attributes><attribute/></attributes>");
    EXPECT_EQ(std::make_tuple(broken.status, broken.out), std::make_tuple(1, std::string()));
    EXPECT_NE(broken.err.find("moxctl: SerializationException -1056: Error converting string to object\n"
                              "Decoding failed - info: \""),
              std::string::npos);
    EXPECT_NE(broken.err.find("(status -38)"), std::string::npos);
    EXPECT_EQ(run({"attributes", "validate", "/nonexistent/attributes.xml"}).status, 2);
}

TEST_F(MoxctlAttributes, FindPrintsTheAttributeElementAndMatchTellsWhetherTheListMeetsTheWanted)
{
    const Result found = run({"attributes", "find", "size", file(list)});
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.out, "<attribute name=\"size\" type=\"Integer\" scope=\"s\"><value>9</value></attribute>\n");
    const Result missing = run({"attributes", "find", "Size"}, list);
    EXPECT_EQ(std::make_tuple(missing.status, missing.err), std::make_tuple(1, std::string("moxctl: no attribute 'Size'\n")));
    EXPECT_EQ(run({"attributes", "find"}, list).status, 2);

    const std::string met = file("<attributes><attribute name=\"color\"><value>b&amp;lue</value></attribute>"
                                 "<attribute name=\"shape\"><value>round</value></attribute></attributes>");
    const std::string unmet = file("<attributes><attribute name=\"color\"><value>green</value></attribute></attributes>");
    const Result yes = run({"attributes", "match", met, file(list)});
    EXPECT_EQ(std::make_tuple(yes.status, yes.out, yes.err), std::make_tuple(0, std::string("match\n"), std::string()));
    const Result no = run({"attributes", "match", unmet, "-"}, list);
    EXPECT_EQ(std::make_tuple(no.status, no.out, no.err), std::make_tuple(1, std::string("no match\n"), std::string()));
}

TEST_F(MoxctlAttributes, PropertiesUnderTheGivenRoot)
{
    const std::string doc = "<cfg><property name=\"a\" value=\"1\"/><property name=\"b\"/>"
                            "<property name=\"a\" value=\"2\"/></cfg>";
    const Result valid = run({"properties", "validate", "--root", "cfg"}, doc);
    EXPECT_EQ(std::make_tuple(valid.status, valid.out), std::make_tuple(0, std::string("valid: 2 properties\n")))
        << valid.err;
    const Result formatted = run({"properties", "format", "--root", "cfg", file(doc)});
    EXPECT_EQ(formatted.status, 0) << formatted.err;
    EXPECT_NE(formatted.out.find("<cfg><property name=\"a\" value=\"2\"/><property name=\"b\" value=\"\"/></cfg>"),
              std::string::npos);
    const Result wrongRoot = run({"properties", "validate", "--root", "settings"}, doc);
    EXPECT_EQ(wrongRoot.status, 1);
    EXPECT_NE(wrongRoot.err.find("(status -3)"), std::string::npos);
    EXPECT_EQ(run({"properties", "format"}, doc).status, 2);
}
