// SPDX-License-Identifier: MIT
// An installed package at work: the C++ API joins the platform with no search path set,
// so the sample service library must be found in the installed private folder.
#include <mox/mox.h>
#include <iostream>
int main()
{
    const auto id = MOX::createApplicationId(MOX::createProductId("Demo", "check", "1"), "install-check");
    MOX::getApplication(id)->setBootstrapPath("/tmp");
    const auto manager = MOX::getServiceManager(id);
    std::cout << "C++: " << mox_getVersionString() << ", services: " << manager->getServiceNames().size() << '\n';
    return manager->getServiceNames().empty() ? 1 : 0;
}
