#pragma once
// Helpers shared by the identifier tests.
#include <string>

#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>

#include "MoxTestSupport.h"

namespace classtest {

// Runs `f` and checks that it throws the -1006 argument error naming `file` and `function`.
template <class F>
::testing::AssertionResult throwsInvalidArguments(F f, const char* file, const char* function)
{
    return moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(f, -1006, function, file);
}

// The value of an attribute of the first element of `xml`, or "(absent)".
inline std::string attribute(const std::string& xml, const std::string& name)
{
    return MOX::RT::XmlUtils::GetAttributeValue(name, xml, "(absent)");
}

} // namespace classtest
