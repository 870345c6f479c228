// SPDX-License-Identifier: MIT
// Each reader of the C binding and the writer of what it read, against the C++ calls on
// the same text: both succeed or both fail with the same code, and what they write is the
// same text. A failure's detail in the binding always gives a reason, and keeps the
// library's own detail when there is one (the binding adds the argument it was given).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include <mox/mox.h>
#include <mox/mox_c.h>

#include "FuzzCheck.h"

namespace {

using MOX::EXCEPTIONS::MoxException;

struct Outcome {
    int code = 0;
    std::string detail;
    std::string text;

    bool sameResult(const Outcome& o) const { return code == o.code && text == o.text; }
};

using Parse = std::function<int(const char*, mox_handle*)>;
using Write = std::function<int(mox_handle, char**)>;

Outcome failed(int code)
{
    Outcome out;
    out.code = code;
    out.detail = mox_error_last()->detail;
    return out;
}

// Reads `text` through the binding, then writes what was read.
Outcome viaBinding(const Parse& parse, const Write& write, const std::string& text)
{
    mox_handle handle = 0;
    const int code = parse(text.c_str(), &handle);
    if (code != 0)
        return failed(code);
    char* written = nullptr;
    const int writeCode = write(handle, &written);
    Outcome out = writeCode != 0 ? failed(writeCode) : Outcome{0, "", written ? written : ""};
    mox_free(written);
    mox_close_handle(handle);
    return out;
}

// The code the binding reports for `e`: its own, or for the short form the code of its class.
int bindingCode(const MoxException& e)
{
    if (e.getCode() < 0)
        return e.getCode();
    if (dynamic_cast<const MOX::EXCEPTIONS::InvalidHandleException*>(&e))
        return MOX_E_INVALID_HANDLE;
    if (dynamic_cast<const MOX::EXCEPTIONS::ClassCastException*>(&e))
        return MOX_E_CLASS_CAST;
    if (dynamic_cast<const MOX::EXCEPTIONS::InvalidArgumentException*>(&e))
        return MOX_E_INVALID_ARGUMENTS;
    return MOX_E_UNKNOWN;
}

Outcome viaLibrary(const std::function<std::string()>& readThenWrite)
{
    Outcome out;
    try {
        out.text = readThenWrite();
    } catch (const MoxException& e) {
        out.code = bindingCode(e);
        out.detail = e.getDetail();
    }
    return out;
}

void compare(const char* pair, const Parse& parse, const Write& write, const std::string& text,
             const std::function<std::string()>& library)
{
    const Outcome c = viaBinding(parse, write, text);
    const Outcome cpp = viaLibrary(library);
    const bool detailKept = c.code == 0 || (!c.detail.empty() && c.detail.find(cpp.detail) != std::string::npos);
    if (!c.sameResult(cpp) || !detailKept)
        std::fprintf(stderr, "%s: binding %d \"%s\" \"%s\", library %d \"%s\" \"%s\"\n", pair, c.code, c.detail.c_str(),
                     c.text.c_str(), cpp.code, cpp.detail.c_str(), cpp.text.c_str());
    FUZZ_CHECK(c.sameResult(cpp));
    FUZZ_CHECK(detailKept);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace MOX;
    // A C string ends at its first NUL: both sides get the same text.
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string text = input.substr(0, input.find('\0'));

    compare("product id", mox_product_id_parse, mox_product_id_marshal, text, [&] { return parseProductId(text)->marshal(); });
    compare("application id", mox_application_id_parse, mox_application_id_marshal, text,
            [&] { return parseApplicationId(text)->marshal(); });
    compare("identity", mox_identity_parse, mox_identity_marshal, text, [&] { return marshalIdentity(parseIdentity(text)); });
    compare("identities", mox_identities_parse, mox_identities_marshal, text,
            [&] { return marshalIdentities(parseIdentities(text)); });
    compare("account", mox_account_parse, mox_to_string, text, [&] { return parseAccountId(text)->toString(); });
    compare("authority", mox_authority_parse, mox_to_string, text, [&] { return parseAuthorityId(text)->toString(); });
    compare("qualified name", mox_qualified_name_parse, mox_to_string, text,
            [&] { return Attributes::parseQualifiedName(text)->toString(); });
    compare("attribute", mox_attribute_parse, mox_attribute_marshal, text,
            [&] { return Attributes::marshal(Attributes::parseAttribute(text)); });
    compare("attributes", mox_attributes_parse, mox_attributes_marshal, text,
            [&] { return Attributes::marshal(Attributes::unmarshal(text)); });
    compare("properties", [](const char* t, mox_handle* h) { return mox_properties_parse(t, "", h); },
            [](mox_handle h, char** out) { return mox_properties_marshal(h, "properties", out); }, text, [&] {
                RT::PropertiesImpl p;
                XB::unmarshalProperties(text, "", p);
                return XB::marshalProperties(p, "properties");
            });
    compare("class id", mox_class_id_parse, mox_class_id_marshal, text, [&] { return marshalClassId(parseClassId(text)); });
    compare("interface id", mox_interface_id_parse, mox_interface_id_marshal, text,
            [&] { return parseInterfaceId(text)->toString(); });
    compare("loader id", mox_loader_id_parse, mox_loader_id_marshal, text, [&] {
        LoaderId id;
        id.unmarshal(text);
        return id.marshal();
    });
    compare("date-time", mox_datetime_parse, [](mox_handle h, char** out) { return mox_datetime_format(h, -1, out); }, text, [&] {
        const auto time = createDateTime(0);
        time->unmarshal(text);
        return time->marshal();
    });
    return 0;
}
