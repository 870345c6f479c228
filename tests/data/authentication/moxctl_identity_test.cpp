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

TEST(MoxctlIdentity, ShowPrintsEveryPart)
{
    const Outcome group = moxctl({"identity", "show", "NT:\\\\CORP/Group:admins"});
    EXPECT_EQ(group.status, 0) << group.err;
    EXPECT_EQ(group.out, "format: QEL\nvalue: NT:CORP/Group:admins\ntype: Group\nname: admins\n"
                         "authority name: CORP\nauthority format: NT\n");

    const Outcome mail = moxctl({"identity", "show", "alice@CORP"});
    EXPECT_EQ(mail.status, 0) << mail.err;
    EXPECT_EQ(mail.out, "format: EMAIL\nvalue: alice@CORP\ntype: User\nname: alice\n"
                        "authority name: CORP\nauthority format: UNKNOWN\n");

    const Outcome upnGroup = moxctl({"identity", "show", "ops@CORP", "--format", "UPN", "--group"});
    EXPECT_EQ(upnGroup.status, 0) << upnGroup.err;
    EXPECT_EQ(upnGroup.out, "format: UPN\nvalue: ops@CORP\ntype: Group\nname: ops\n"
                            "authority name: CORP\nauthority format: UNKNOWN\n");
}

TEST(MoxctlIdentity, ShowReportsTheLibrarysError)
{
    const Outcome noDomain = moxctl({"identity", "show", "alice", "--format", "EMAIL"});
    EXPECT_EQ(noDomain.status, 1);
    EXPECT_EQ(noDomain.out, "");
    EXPECT_EQ(noDomain.err,
              "moxctl: InvalidArgumentException -1006: The arguments specified in the operation were invalid\n");

    const Outcome badAuthority = moxctl({"identity", "show", "NT:CO\\RP/alice"});
    EXPECT_EQ(badAuthority.status, 1);
    EXPECT_EQ(badAuthority.out, "");
    EXPECT_NE(badAuthority.err.find("-1006"), std::string::npos) << badAuthority.err;

    EXPECT_EQ(moxctl({"identity", "show"}).status, 2);
    EXPECT_EQ(moxctl({"identity"}).status, 2);
}

TEST(MoxctlIdentity, ConvertPrintsTheNewText)
{
    const Outcome email = moxctl({"identity", "convert", "NT:CORP/alice", "--to", "EMAIL"});
    EXPECT_EQ(email.status, 0) << email.err;
    EXPECT_EQ(email.out, "alice@CORP\n");

    const Outcome group = moxctl({"identity", "convert", "NT:CORP/Group:admins", "--to", "UPN"});
    EXPECT_EQ(group.out, "admins@CORP\n");

    const Outcome same = moxctl({"identity", "convert", "NT:CORP/User:bob", "--to", "QEL"});
    EXPECT_EQ(same.out, "NT:CORP/bob\n");

    const Outcome fromUpn = moxctl({"identity", "convert", "bob@CORP", "--from", "UPN", "--to", "EMAIL"});
    EXPECT_EQ(fromUpn.out, "bob@CORP\n");

    const Outcome toQel = moxctl({"identity", "convert", "alice@CORP", "--to", "QEL"});
    EXPECT_EQ(toQel.status, 1);
    EXPECT_EQ(toQel.out, "");
    EXPECT_EQ(toQel.err, "moxctl: InvalidArgumentException -1075: Not a valid input\n");

    const Outcome x500 = moxctl({"identity", "convert", "NT:CORP/alice", "--to", "X500"});
    EXPECT_EQ(x500.status, 1);
    EXPECT_EQ(x500.err, "moxctl: InvalidArgumentException -1075: Not a valid input\n");

    EXPECT_EQ(moxctl({"identity", "convert", "NT:CORP/alice"}).status, 2);
}
