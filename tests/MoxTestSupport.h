#pragma once
// Exception checks shared by every test folder: the class, the code with its table
// message and, for the full form, facility "MOX" and key "code", and where it was raised.
#include <sstream>
#include <type_traits>
#include <typeinfo>

#include <gtest/gtest.h>

#include <mox/rt/ErrorCode.h>
#include <mox/rt/Exceptions.h>

namespace moxtest {

/// Succeeds when `e` has `code` (0: the short form, with no facility, key or message)
/// and the code's table message, and, when given, names `function` (raised at a line of
/// a source file) and `file`.
inline ::testing::AssertionResult isMox(const MOX::EXCEPTIONS::MoxException& e, int code,
                                        const char* function = nullptr, const char* file = nullptr)
{
    std::ostringstream bad;
    const bool full = code != 0;
    if (e.getCode() != code || e.getMessage() != MOX::EXCEPTIONS::errorMessage(code))
        bad << "code " << e.getCode() << " '" << e.getMessage() << "'; ";
    if (e.getFacility() != (full ? "MOX" : "") || e.getKey() != (full ? "code" : ""))
        bad << "facility '" << e.getFacility() << "' key '" << e.getKey() << "'; ";
    if (function != nullptr && (e.getFunction() != function || e.getFile().empty() || e.getLine() <= 0))
        bad << "raised at " << e.getFile() << ':' << e.getLine() << ' ' << e.getFunction() << "; ";
    if (file != nullptr && e.getFile() != file)
        bad << "file " << e.getFile();
    if (bad.str().empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << e.getName() << ": " << bad.str();
}

/// Runs `f`; succeeds when it throws exactly the class E (any class of the family for
/// MoxException) and the exception passes isMox.
template <class E = MOX::EXCEPTIONS::MoxException, class F>
::testing::AssertionResult throwsMox(F&& f, int code, const char* function = nullptr, const char* file = nullptr)
{
    try {
        f();
    } catch (const E& e) {
        if (!std::is_same<E, MOX::EXCEPTIONS::MoxException>::value && typeid(e) != typeid(E))
            return ::testing::AssertionFailure() << "threw " << e.getName();
        return isMox(e, code, function, file);
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        return ::testing::AssertionFailure() << "threw " << e.getName() << ' ' << e.getCode() << " from "
                                             << e.getFunction();
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "other exception: " << e.what();
    }
    return ::testing::AssertionFailure() << "nothing thrown";
}

} // namespace moxtest
