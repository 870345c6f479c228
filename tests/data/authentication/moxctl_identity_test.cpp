// moxctl identity show/convert run as a program: printed parts, converted texts,
// library errors (exit 1) and usage errors (exit 2).
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
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

std::string quote(const std::string& arg)
{
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Outcome moxctl(std::initializer_list<std::string> args)
{
    const std::string base = ::testing::TempDir() + "moxctl_identity_" + std::to_string(::getpid());
    std::string command = quote(MOXCTL_PATH);
    for (const std::string& arg : args)
        command += " " + quote(arg);
    command += " >" + quote(base + ".out") + " 2>" + quote(base + ".err");
    const int raw = std::system(command.c_str());
    Outcome run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(base + ".out"), slurp(base + ".err")};
    std::remove((base + ".out").c_str());
    std::remove((base + ".err").c_str());
    return run;
}

} // namespace

TEST(MoxctlIdentity, ShowPrintsEveryPartOrTheError)
{
    const Outcome group = moxctl({"identity", "show", "NT:\\\\CORP/Group:admins"});
    EXPECT_EQ(group.status, 0) << group.err;
    EXPECT_EQ(group.out, "format: QEL\nvalue: NT:CORP/Group:admins\ntype: Group\nname: admins\n"
                         "authority name: CORP\nauthority format: NT\n");
    EXPECT_EQ(moxctl({"identity", "show", "alice@CORP"}).out,
              "format: EMAIL\nvalue: alice@CORP\ntype: User\nname: alice\nauthority name: CORP\nauthority format: UNKNOWN\n");
    EXPECT_EQ(moxctl({"identity", "show", "ops@CORP", "--format", "UPN", "--group"}).out,
              "format: UPN\nvalue: ops@CORP\ntype: Group\nname: ops\nauthority name: CORP\nauthority format: UNKNOWN\n");

    const Outcome noDomain = moxctl({"identity", "show", "alice", "--format", "EMAIL"});
    EXPECT_EQ(noDomain.status, 1);
    EXPECT_EQ(noDomain.out, "");
    EXPECT_EQ(noDomain.err,
              "moxctl: InvalidArgumentException -1006: The arguments specified in the operation were invalid\n");
    EXPECT_EQ(moxctl({"identity", "show"}).status, 2);
}

TEST(MoxctlIdentity, ConvertPrintsTheNewText)
{
    EXPECT_EQ(moxctl({"identity", "convert", "NT:CORP/alice", "--to", "EMAIL"}).out, "alice@CORP\n");
    EXPECT_EQ(moxctl({"identity", "convert", "NT:CORP/User:bob", "--to", "QEL"}).out, "NT:CORP/bob\n");
    EXPECT_EQ(moxctl({"identity", "convert", "bob@CORP", "--from", "UPN", "--to", "EMAIL"}).out, "bob@CORP\n");
    const Outcome toQel = moxctl({"identity", "convert", "alice@CORP", "--to", "QEL"});
    EXPECT_EQ(toQel.status, 1);
    EXPECT_EQ(toQel.err, "moxctl: InvalidArgumentException -1075: Not a valid input\n");
    EXPECT_EQ(moxctl({"identity", "convert", "NT:CORP/alice"}).status, 2);
}
