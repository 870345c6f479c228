// SPDX-License-Identifier: MIT
#pragma once
// Exception checks shared by every test folder: the class, the code with its table
// message, and where it was raised.
#include <string>
#include <type_traits>
#include <typeinfo>

#include <gtest/gtest.h>

#include <mox/rt/ErrorCode.h>
#include <mox/rt/Exceptions.h>

namespace moxtest {

/// Succeeds when `e` has `code` (0: the short form) and the code's table message and,
/// when given, was raised in `function` of `file` with `detail` in its detail text.
inline ::testing::AssertionResult isMox(const MOX::EXCEPTIONS::MoxException& e, int code,
                                        const char* function = nullptr, const char* file = nullptr,
                                        const char* detail = nullptr)
{
    if (e.getCode() == code && e.getMessage() == MOX::EXCEPTIONS::errorMessage(code) &&
        e.isShortForm() == (code == 0) && (function == nullptr || e.getFunction() == function) &&
        (file == nullptr || e.getFile() == file) && (detail == nullptr || e.getDetail().find(detail) != std::string::npos))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << e.getName() << ' ' << e.getCode() << " '" << e.getMessage()
                                         << "' raised at " << e.getFile() << ' ' << e.getFunction() << ": "
                                         << e.getDetail();
}

/// Runs `f`; succeeds when it throws exactly the class E (any class of the family for
/// MoxException) and the exception passes isMox.
template <class E = MOX::EXCEPTIONS::MoxException, class F>
::testing::AssertionResult throwsMox(F&& f, int code, const char* function = nullptr, const char* file = nullptr,
                                     const char* detail = nullptr)
{
    try {
        f();
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        if (!std::is_same<E, MOX::EXCEPTIONS::MoxException>::value && typeid(e) != typeid(E))
            return ::testing::AssertionFailure() << "threw " << e.getName() << ' ' << e.getCode();
        return isMox(e, code, function, file, detail);
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "other exception: " << e.what();
    }
    return ::testing::AssertionFailure() << "nothing thrown";
}

/// Runs `f`; succeeds when it throws the codec's decoding failure (-1056 from the
/// manager's decode) whose detail names the decoder's `status`.
template <class F>
::testing::AssertionResult failsDecoding(F&& f, int status)
{
    return throwsMox<MOX::EXCEPTIONS::SerializationException>(f, -1056, "MOX::XB::XBinderManager::decode", nullptr,
                                                              ("(status " + std::to_string(status) + ")").c_str());
}

} // namespace moxtest
