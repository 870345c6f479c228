// Uses the installed library the way an outside component does; exits non-zero on
// any surprise.
#include <mox/mox.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int failures = 0;

void expect(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "consumer: FAILED %s\n", what);
        ++failures;
    }
}

} // namespace

int main()
{
    LibraryInfo info{};
    mox_getLibraryInfo(&info);
    expect(std::strcmp(mox_getVersionString(), "2.1.0.0") == 0, "version string");
    expect(info.version == mox_getVersionString(), "version pointer");

    std::string secret = "secret";
    MOX::shredString(secret);
    expect(secret.size() == 6 && secret.find("secret") == std::string::npos, "shredString");

    try {
        MOX::RT::StringUtils::AsInteger("12x");
        expect(false, "AsInteger rejects junk");
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        expect(e.getCode() == -1009, "AsInteger code");
    }

    std::printf("consumer: %s %s %s, %d failure(s)\n", info.productName, info.shortName, info.version, failures);
    return failures == 0 ? 0 : 1;
}
