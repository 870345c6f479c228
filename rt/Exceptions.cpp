// SPDX-License-Identifier: MIT
#include <mox/rt/Exceptions.h>

#include <utility>

namespace MOX {
namespace EXCEPTIONS {

MoxException::MoxException() { buildWhat(); }

MoxException::MoxException(std::string facility, int code, std::string key, std::string message,
                           std::string detail)
    : m_facility(std::move(facility)),
      m_code(code),
      m_key(std::move(key)),
      m_message(std::move(message)),
      m_detail(std::move(detail))
{
    buildWhat();
}

MoxException::MoxException(ErrorCode code, std::string detail)
    : MoxException(errorFacility(), static_cast<int>(code), errorKey(), errorMessage(code), std::move(detail))
{
}

MoxException::~MoxException() = default;

void MoxException::setSourceLocation(const std::string& file, int line, const std::string& function)
{
    m_file = file;
    m_line = line;
    m_function = function;
}

std::string MoxException::getName() const { return className(); }

const char* MoxException::className() const noexcept { return "MoxException"; }

MoxException* MoxException::clone() const { return new MoxException(*this); }

void MoxException::raise() const { throw *this; }

const char* MoxException::what() const noexcept
{
    // The short form has no message: its text is the dynamic class name.
    if (m_what.empty())
        return className();
    return m_what.c_str();
}

void MoxException::buildWhat()
{
    m_what = m_message;
    if (!m_detail.empty()) {
        if (!m_what.empty())
            m_what += ": ";
        m_what += m_detail;
    }
}

#define MOX_DEFINE_EXCEPTION(Name)                                 \
    Name::~Name() = default;                                       \
    const char* Name::className() const noexcept { return #Name; } \
    Name* Name::clone() const { return new Name(*this); }          \
    void Name::raise() const { throw *this; }

MOX_DEFINE_EXCEPTION(InvalidArgumentException)
MOX_DEFINE_EXCEPTION(ClassCastException)
MOX_DEFINE_EXCEPTION(InvalidHandleException)
MOX_DEFINE_EXCEPTION(UnexpectedException)
MOX_DEFINE_EXCEPTION(SerializationException)
MOX_DEFINE_EXCEPTION(SystemException)
MOX_DEFINE_EXCEPTION(BadAllocException)
MOX_DEFINE_EXCEPTION(NullPointerException)
MOX_DEFINE_EXCEPTION(ObjectAlreadyExistsException)

SerializationException::SerializationException(std::string detail, ErrorCode code)
    : MoxException(code, std::move(detail))
{
}

SerializationException::SerializationException(std::string detail, std::string facility, int code,
                                               std::string key, std::string message)
    : MoxException(std::move(facility), code, std::move(key), std::move(message), std::move(detail))
{
}

ObjectAlreadyExistsException::ObjectAlreadyExistsException(std::string first, std::string second,
                                                           ErrorCode code)
    : MoxException(code, std::move(first)), m_second(std::move(second))
{
}

ObjectAlreadyExistsException::ObjectAlreadyExistsException(std::string first, std::string second,
                                                           std::string facility, int code, std::string key,
                                                           std::string message)
    : MoxException(std::move(facility), code, std::move(key), std::move(message), std::move(first)),
      m_second(std::move(second))
{
}

} // namespace EXCEPTIONS
} // namespace MOX
