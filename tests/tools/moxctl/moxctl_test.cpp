// SPDX-License-Identifier: MIT
// moxctl run as a program: one table of (arguments, standard input, exit status, output
// fragments). Exit statuses: 0 ok, 1 rejected input or nothing found, 2 usage or an
// unreadable file; every failure says what was read and why.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "persist/PersistTestSupport.h"

namespace {

struct Outcome {
    int status;
    std::string out, err, command;
};

struct Case {
    std::vector<std::string> args; // "@name" stands for the path of the document `name`
    std::string input;             // standard input
    int status;
    std::string out; // fragments expected in standard output / error ("" = anything)
    std::string err;
};

const std::map<std::string, std::string> kDocuments = {
    {"list", "<attributes><attribute name=\"color\"><value>red</value><value>b&amp;lue</value></attribute>"
             "<attribute name=\"size\" type=\"Integer\" scope=\"s\"><value>9</value></attribute></attributes>"},
    {"met", "<attributes><attribute name=\"color\"><value>b&amp;lue</value></attribute>"
            "<attribute name=\"shape\"><value>round</value></attribute>"
            // A name the list has in another format only: lacking too.
            "<attribute name=\"size\"><value>10</value></attribute></attributes>"},
    {"unmet", "<attributes><attribute name=\"color\"><value>green</value></attribute></attributes>"},
    {"props", "<cfg><property name=\"a\" value=\"1\"/><property name=\"b\"/><property name=\"a\" value=\"2\"/></cfg>"},
    {"ids", "<identities>\n  <GroupIdentifier format='EMAIL'>staff@example.org</GroupIdentifier>\n"
            "  <identity format='NT' authority='CORP' account='lp' type='Printers'/>\n</identities>trailing"},
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

// Each test's documents and the runs' standard streams in a directory of its own.
class Moxctl : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const auto& doc : kDocuments)
            std::ofstream(path(doc.first), std::ios::binary) << doc.second;
    }

    std::string path(const std::string& name) const { return scratch.path + "/" + name; }

    // Runs moxctl with `args` ("@name" replaced by a document's path) and `input`.
    Outcome run(const std::vector<std::string>& args, const std::string& input = std::string()) const
    {
        std::ofstream(path("in"), std::ios::binary) << input;
        std::string command = "MOX_TRACE= " + quote(MOXCTL_PATH);
        for (const std::string& arg : args)
            command += " " + quote(!arg.empty() && arg[0] == '@' ? path(arg.substr(1)) : arg);
        const std::string redirected = command + " <" + quote(path("in")) + " >" + quote(path("out")) + " 2>" + quote(path("err"));
        const int raw = std::system(redirected.c_str());
        return Outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(path("out")), slurp(path("err")), command};
    }

    persisttest::ScratchDir scratch;
};

} // namespace

TEST_F(Moxctl, CommandsPrintTheirResultOrSayWhyTheyFailed)
{
    const std::string list = kDocuments.at("list");
    const Case cases[] = {
        // General: version, unknown commands, usage errors, unreadable files.
        {{"--version"}, "", 0, "moxctl 2.1.0.0 (library 2.1.0.0)\n", ""},
        {{"frob"}, "", 2, "", "unknown command 'frob' for 'moxctl'"},
        {{"time", "frob"}, "", 2, "", "unknown command 'frob' for 'moxctl time'"},
        {{"attributes", "find"}, list, 2, "", "moxctl: attributes find: name is required\n"},
        {{"attributes", "validate", "/nonexistent/a.xml"}, "", 2, "",
         "moxctl: cannot read '/nonexistent/a.xml': No such file or directory\n"},
        {{"attributes", "validate", "/"}, "", 2, "", "moxctl: cannot read '/': Is a directory\n"},
        // Devices are refused at their first chunk, by every command that reads a whole text.
        {{"properties", "validate", "--root", "cfg", "/dev/zero"}, "", 1, "", "a NUL byte: not an XML text"},
        {{"xml", "get", "a", "/dev/zero"}, "", 1, "", "a NUL byte: not an XML text"},
        {{"app", "join", "--application", "/dev/zero"}, "", 1, "", "a NUL byte: not an XML text"},
        // Attributes and properties documents.
        {{"attributes", "validate", "@list"}, "", 0, "valid: 2 attributes\n", ""},
        {{"attributes", "validate", "--json"}, list, 0, "{\"valid\": true, \"attributes\": 2}\n", ""},
        {{"attributes", "format", "-"}, list, 0,
         "<attribute name=\"color\" type=\"String\"><value>red</value><value>b&amp;lue</value></attribute>", ""},
        {{"attributes", "validate"}, "<attributes><attribute/></attributes>", 1, "",
         "moxctl: reading standard input: SerializationException -1056: Error converting string to object\n"
         "Decoding failed - info: \""},
        {{"attributes", "find", "size", "@list"}, "", 0,
         "<attribute name=\"size\" type=\"Integer\" scope=\"s\"><value>9</value></attribute>\n", ""},
        {{"attributes", "find", "Size"}, list, 1, "", "moxctl: no attribute 'Size'\n"},
        {{"attributes", "match", "@met", "@list"}, "", 0, "match\n", ""},
        {{"attributes", "match", "@unmet", "-"}, list, 1, "no match\n", ""},
        {{"properties", "validate", "--root", "cfg", "--json"}, kDocuments.at("props"), 0,
         "{\"valid\": true, \"properties\": 2}\n", ""},
        {{"properties", "format", "--root", "cfg", "@props"}, "", 0,
         "<cfg><property name=\"a\" value=\"2\"/><property name=\"b\" value=\"\"/></cfg>", ""},
        {{"properties", "validate", "--root", "settings"}, kDocuments.at("props"), 1, "", "(status -3)"},
        // Identities.
        {{"identity", "show", "NT:\\\\CORP/Group:admins"}, "", 0,
         "format: QEL\nvalue: NT:CORP/Group:admins\ntype: Group\nname: admins\n"
         "authority name: CORP\nauthority format: NT\n", ""},
        {{"identity", "show", "--json", "NT:CORP/alice"}, "", 0,
         "{\"format\": \"QEL\", \"value\": \"NT:CORP/alice\", \"type\": \"User\", \"name\": \"alice\", "
         "\"authority_name\": \"CORP\", \"authority_format\": \"NT\"}\n", ""},
        {{"identity", "show", "alice", "--format", "EMAIL"}, "", 1, "",
         "moxctl: reading the identity 'alice': InvalidArgumentException -1006: "},
        {{"identity", "show", "///"}, "", 1, "",
         "moxctl: reading the identity '///' as authority '' and account '//': InvalidArgumentException"},
        {{"identity", "convert", "NT:CORP/alice", "--to", "EMAIL"}, "", 0, "alice@CORP\n", ""},
        {{"identity", "convert", "alice@CORP", "--to", "QEL"}, "", 1, "",
         "moxctl: converting the identity 'alice@CORP' to QEL: InvalidArgumentException -1075: Not a valid input "
         "(Identity in format EMAIL is not convertable to MOX_FORMAT_QEL)\n"},
        {{"identity", "xml", "NT:CORP/Group:admins"}, "", 0,
         "<GroupIdentifier format=\"QEL\">NT:CORP/Group:admins</GroupIdentifier>\n", ""},
        {{"identities", "validate", "--json"}, kDocuments.at("ids"), 0, "{\"valid\": true, \"identities\": 2}\n", ""},
        {{"identities", "format", "@ids"}, "", 0,
         "<identity format=\"NT\" authority=\"CORP\" account=\"lp\" type=\"Printers\"/>", ""},
        {{"identities", "validate", "--json"}, "<identities><Principal/></identities>", 1,
         "{\"error\": {\"status\": 1, \"code\": -1056, \"name\": \"SerializationException\"", "'Principal'"},
        {{"attributes", "validate"}, "<attributes>\n  <attribute name=\"a\">\n</attributes>\n", 1, "",
         "<stdin>:3:2: SerializationException -1056: Error converting string to object\n"},
        // Date-times.
        {{"time", "parse", "--json", "2026-12-04T05:38:45.250Z"}, "", 0,
         "{\"microseconds\": 1796362725250000, \"resolution\": \"ms\"", ""},
        {{"time", "parse", "2026-13-04T05:38:45Z"}, "", 1, "",
         "moxctl: reading the date-time '2026-13-04T05:38:45Z': InvalidArgumentException: "
         "Illegal month value 13 in UTC timestamp\n"},
        {{"time", "parse", "--json", "2026-13-04T05:38:45Z"}, "", 1,
         "\"code\": -1006, \"name\": \"InvalidArgumentException\", \"message\": \"The arguments specified in the "
         "operation were invalid\", \"detail\": \"Illegal month value 13 in UTC timestamp\"",
         ""},
        {{"time", "parse", "--json"}, "", 2,
         "{\"error\": {\"status\": 2, \"code\": -1006, \"name\": \"InvalidArgumentException\"", "text is required"},
        {{"time", "format", "--res", "s", "0"}, "", 0, "1970-01-01T00:00:00Z\n", ""},
        {{"time", "format", "99999999999999999999"}, "", 1, "",
         "moxctl: '99999999999999999999' microseconds is outside the 64-bit range of a date-time\n"},
        {{"time", "format", "12x"}, "", 1, "", "moxctl: '12x' is not a whole number of microseconds\n"},
        // Others.
        {{"class", "parse", "--json", "Widget v=3"}, "", 0, "{\"name\": \"Widget\", \"version\": 3", ""},
        {{"info", "--json"}, "", 0, "{\"version\": \"2.1.0.0\", \"change_number\": ", ""},
        {{"identity", "show", "--json", "NT:CORP/al\xff\xc3\xa9"}, "", 0, "\"name\": \"al\\ufffd\xc3\xa9\"", ""},
        {{"--trace", "time", "parse", "2026-00-01T00:00:00Z"}, "", 1, "", "] Illegal month value 0 in UTC timestamp\n"},
    };
    for (const Case& c : cases) {
        const Outcome got = run(c.args, c.input);
        SCOPED_TRACE(got.command + "\nstdout: " + got.out + "\nstderr: " + got.err);
        EXPECT_EQ(got.status, c.status);
        EXPECT_NE(got.out.find(c.out), std::string::npos);
        EXPECT_NE(got.err.find(c.err), std::string::npos);
        if (c.status == 0) {
            EXPECT_EQ(got.err, "");
        }
    }
}

TEST_F(Moxctl, AFailedWriteOfTheResultFailsTheRun)
{
    const std::string command =
        quote(MOXCTL_PATH) + " info >/dev/full 2>" + quote(path("err"));
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 2);
    EXPECT_EQ(slurp(path("err")), "moxctl: writing standard output: No space left on device\n");
}
