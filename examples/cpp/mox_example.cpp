// SPDX-License-Identifier: MIT
// The C++ API: identities and their conversions, an attribute list and its document,
// date-times, and a failure as an exception carrying the MOX code.
#include <mox/mox.h>

#include <iostream>

int main()
{
    const auto alice = MOX::createUserIdentity(MOX::MOX_FORMAT_EMAIL, "alice@CORP");
    std::cout << alice->getName() << " of " << alice->getAuthorityName() << '\n';

    MOX::Attributes::AttributeList list;
    const auto color = MOX::Attributes::createAttribute(MOX::Attributes::createQualifiedName("color", "", ""));
    color->addValue("red");
    color->addValue("blue");
    list.push_back(color);
    const std::string document = MOX::Attributes::marshal(list);
    std::cout << document << '\n';
    std::cout << MOX::Attributes::unmarshal(document).size() << " attribute(s) read back\n";

    const auto when = MOX::createDateTime(0);
    when->unmarshal("2026-12-04T05:38:45.250Z");
    std::cout << when->getTime() << " us = " << when->toMillisecondString() << '\n';
    try {
        when->unmarshal("2026-13-04T05:38:45Z");
        return 1;
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        std::cout << "refused: " << e.getName() << '\n';
    }
    return 0;
}
