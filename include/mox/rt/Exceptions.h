// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The platform's exception classes.
#include <exception>
#include <string>

#include <mox/rt/ErrorCode.h>
#include <mox/rt/Export.h>

namespace MOX {
namespace EXCEPTIONS {

/// Root of the platform's exceptions.
///
/// Two forms exist. The full form carries the facility ("MOX"), a negative code, the
/// key ("code"), a message and optionally a detail text. The short form carries only
/// the source location: its code is 0 and its facility, key, message and detail are
/// empty. Both carry the source location (file, line, function), which the thrower sets
/// with `setSourceLocation` just before the throw (see `raise` in <mox/rt/Raise.h>).
///
/// `what()` is the message, followed by ": " and the detail when there is one; for the
/// short form it is the class name (for example "InvalidArgumentException").
class MOX_RT_API MoxException : public std::exception {
public:
    /// The short form.
    MoxException();
    /// The full form with an explicit facility, code, key, message and optional detail.
    MoxException(std::string facility, int code, std::string key, std::string message,
                 std::string detail = std::string());
    /// The full form of a code of the platform's table: facility "MOX", key "code" and
    /// the table's message.
    explicit MoxException(ErrorCode code, std::string detail = std::string());

    /// Copies every field, the source location included.
    MoxException(const MoxException&) = default;
    /// Replaces every field, the source location included.
    MoxException& operator=(const MoxException&) = default;
    ~MoxException() override;

    /// The numeric code; 0 for the short form.
    int getCode() const noexcept { return m_code; }
    /// "MOX" for the full form, "" for the short form.
    const std::string& getFacility() const noexcept { return m_facility; }
    /// "code" for the full form, "" for the short form.
    const std::string& getKey() const noexcept { return m_key; }
    /// The message; "" for the short form.
    const std::string& getMessage() const noexcept { return m_message; }
    /// The detail text; "" when there is none.
    const std::string& getDetail() const noexcept { return m_detail; }
    /// The source file of the throw site ("" until set).
    const std::string& getFile() const noexcept { return m_file; }
    /// The source line of the throw site (-1 until set).
    int getLine() const noexcept { return m_line; }
    /// The qualified name of the throwing function ("" until set).
    const std::string& getFunction() const noexcept { return m_function; }
    /// True for the short form (no code).
    bool isShortForm() const noexcept { return m_code == 0; }

    /// Records where the exception is thrown from.
    void setSourceLocation(const std::string& file, int line, const std::string& function);

    /// The class name, for example "InvalidHandleException".
    std::string getName() const;
    /// The class name as a static text.
    virtual const char* className() const noexcept;
    /// A new heap copy of the same dynamic class; the caller owns it.
    virtual MoxException* clone() const;
    /// Throws `*this` as its dynamic class.
    [[noreturn]] virtual void raise() const;

    /// See the class description.
    const char* what() const noexcept override;

private:
    void buildWhat();

    std::string m_facility;
    int m_code = 0;
    std::string m_key;
    std::string m_message;
    std::string m_detail;
    std::string m_file;
    int m_line = -1;
    std::string m_function;
    std::string m_what;
};

/// Declares the concrete exception class `Name`, derived from `Base`, with the
/// constructors of its base.
#define MOX_DECLARE_EXCEPTION_OF(Name, Base)                                            \
    class MOX_RT_API Name : public Base {                                               \
    public:                                                                             \
        using Base::Base;                                                               \
        Name() = default;                                                               \
        ~Name() override;                                                               \
        const char* className() const noexcept override;                                \
        Name* clone() const override;                                                   \
        [[noreturn]] void raise() const override;                                       \
    }
/// Declares the concrete exception class `Name`, derived from MoxException.
#define MOX_DECLARE_EXCEPTION(Name) MOX_DECLARE_EXCEPTION_OF(Name, MoxException)

/// Bad argument (codes -1004, -1006, -1009, -1075, or the short form).
MOX_DECLARE_EXCEPTION(InvalidArgumentException);
/// Failed cast (-1005).
MOX_DECLARE_EXCEPTION(ClassCastException);
/// Handle not open (-1039, or the short form).
MOX_DECLARE_EXCEPTION(InvalidHandleException);
/// Unknown failure in underlying code (-1040).
MOX_DECLARE_EXCEPTION(UnexpectedException);
/// Writing or reading a document failed (-1055, -1056, -1057); the detail says why.
class MOX_RT_API SerializationException : public MoxException {
public:
    using MoxException::MoxException;
    SerializationException() = default;
    /// The full form with a leading detail text and a code of the platform's table.
    SerializationException(std::string detail, ErrorCode code);
    /// The full form with a leading detail text and explicit facility, code, key, message.
    SerializationException(std::string detail, std::string facility, int code, std::string key,
                           std::string message);
    ~SerializationException() override;
    const char* className() const noexcept override;
    SerializationException* clone() const override;
    [[noreturn]] void raise() const override;
};
/// Operating-system or environment failure (-1088; library loading).
MOX_DECLARE_EXCEPTION(SystemException);
/// Allocation failed (short form).
MOX_DECLARE_EXCEPTION(BadAllocException);
/// Null pointer met (-1004). It is an InvalidArgumentException too: a missing value is a
/// bad argument, and callers that catch either class see it.
MOX_DECLARE_EXCEPTION_OF(NullPointerException, InvalidArgumentException);

/// Already registered (-1106). Carries two leading strings (for example the event id
/// twice); the first is the detail.
class MOX_RT_API ObjectAlreadyExistsException : public MoxException {
public:
    ObjectAlreadyExistsException() = default;
    /// The full form with two leading strings and a code of the platform's table.
    ObjectAlreadyExistsException(std::string first, std::string second, ErrorCode code);
    /// The full form with two leading strings and explicit facility, code, key, message.
    ObjectAlreadyExistsException(std::string first, std::string second, std::string facility, int code,
                                 std::string key, std::string message);
    ~ObjectAlreadyExistsException() override;
    /// The first leading string.
    const std::string& getFirst() const noexcept { return getDetail(); }
    /// The second leading string.
    const std::string& getSecond() const noexcept { return m_second; }
    const char* className() const noexcept override;
    ObjectAlreadyExistsException* clone() const override;
    [[noreturn]] void raise() const override;

private:
    std::string m_second;
};

} // namespace EXCEPTIONS
} // namespace MOX
