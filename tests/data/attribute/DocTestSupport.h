#pragma once
// Helpers of the document tests: the decoding error as callers see it.
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>

namespace attrtest {

// Runs `f` and checks for the codec's decoding failure: SerializationException -1056
// raised by the manager's decode, whose detail names `status` and each of `parameters`.
template <class F>
::testing::AssertionResult failsDecoding(F f, int status, std::initializer_list<std::string> parameters = {})
{
    try {
        f();
    } catch (const MOX::EXCEPTIONS::SerializationException& e) {
        const std::string& detail = e.getDetail();
        if (e.getCode() != -1056 || e.getMessage() != "Error converting string to object" ||
            e.getFunction() != "MOX::XB::XBinderManager::decode")
            return ::testing::AssertionFailure() << "wrong exception: " << e.getCode() << ' ' << e.getFunction();
        if (detail.rfind("Decoding failed - info: \"", 0) != 0 || detail.back() != '"')
            return ::testing::AssertionFailure() << "detail: " << detail;
        if (detail.find("(status " + std::to_string(status) + ")") == std::string::npos)
            return ::testing::AssertionFailure() << "status " << status << " not in: " << detail;
        for (const std::string& parameter : parameters)
            if (detail.find(parameter) == std::string::npos)
                return ::testing::AssertionFailure() << parameter << " not in: " << detail;
        return ::testing::AssertionSuccess();
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "other exception: " << e.what();
    }
    return ::testing::AssertionFailure() << "nothing thrown";
}

} // namespace attrtest
