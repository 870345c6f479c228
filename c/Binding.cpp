// SPDX-License-Identifier: MIT
// The binding's core: failure recording, handles of any kind, errors and memory.
#include "Binding.h"
#include <mox/rt/Raise.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include <mox/rt/ErrorCode.h>

MOX_SOURCE_FILE("c/Binding")

using MOX::HDL::HandleManager;
using namespace MOX::EXCEPTIONS;

namespace moxc {

namespace {

static_assert(MOX_E_NULL_POINTER == static_cast<int>(ErrorCode::NullPointer), "code table");
static_assert(MOX_E_CLASS_CAST == static_cast<int>(ErrorCode::ClassCast), "code table");
static_assert(MOX_E_INVALID_ARGUMENTS == static_cast<int>(ErrorCode::InvalidArguments), "code table");
static_assert(MOX_E_NOT_AN_INTEGER == static_cast<int>(ErrorCode::NotAnInteger), "code table");
static_assert(MOX_E_INVALID_HANDLE == static_cast<int>(ErrorCode::InvalidHandle), "code table");
static_assert(MOX_E_UNKNOWN == static_cast<int>(ErrorCode::Unknown), "code table");
static_assert(MOX_E_MARSHAL == static_cast<int>(ErrorCode::Marshal), "code table");
static_assert(MOX_E_UNMARSHAL == static_cast<int>(ErrorCode::Unmarshal), "code table");
static_assert(MOX_E_CREATE_UNMARSHALLER == static_cast<int>(ErrorCode::CreateUnmarshaller), "code table");
static_assert(MOX_E_INVALID_INPUT == static_cast<int>(ErrorCode::InvalidInput), "code table");
static_assert(MOX_E_SYSTEM == RuntimeSystemError, "code table");

// The code a short form (which carries none) is recorded with, by its class.
ErrorCode shortFormCode(const MoxException& e) noexcept
{
    static const struct {
        const char* className;
        ErrorCode code;
    } kCodes[] = {{"InvalidHandleException", ErrorCode::InvalidHandle},
                  {"ClassCastException", ErrorCode::ClassCast},
                  {"NullPointerException", ErrorCode::NullPointer},
                  {"InvalidArgumentException", ErrorCode::InvalidArguments}};
    for (const auto& entry : kCodes)
        if (std::strcmp(entry.className, e.className()) == 0)
            return entry.code;
    return ErrorCode::Unknown;
}

// A caller's text as a detail quotes it: at most 60 bytes, control and non-ASCII bytes
// as \xNN, so that the detail is plain text whatever the caller gave.
std::string quoted(const char* text)
{
    constexpr std::size_t kShown = 60;
    static const char kHex[] = "0123456789abcdef";
    const std::size_t length = std::strlen(text);
    std::string shown = "\"";
    for (std::size_t i = 0; i < length && i < kShown; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte >= 0x7f || byte == '"' || byte == '\\')
            shown += byte == '"' || byte == '\\' ? std::string{'\\', static_cast<char>(byte)}
                                                 : std::string{'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        else
            shown += static_cast<char>(byte);
    }
    shown += length > kShown ? "...\" (" + std::to_string(length) + " bytes)" : "\"";
    return shown;
}

} // namespace

void Call::note(const char* field, const char* value) const noexcept
{
    const std::size_t slot = m_noted < kFields ? m_noted++ : kFields - 1;
    m_fields[slot] = field;
    m_values[slot] = value;
}

void Call::keep(const char* field, std::string value) const
{
    const std::size_t slot = m_noted < kFields ? m_noted : kFields - 1;
    m_kept[slot] = std::move(value);
    note(field, m_kept[slot].c_str());
}

std::string Call::explain(const MoxException& e) const
{
    std::string given;
    for (std::size_t i = 0; i < m_noted; ++i)
        given += (i == 0 ? "" : ", ") + std::string(m_fields[i]) + " " + quoted(m_values[i]);
    std::string why = m_rule != nullptr
                          ? std::string(m_rule)
                          : "refused by " + (e.getFunction().empty() ? std::string("the library") : e.getFunction());
    return given.empty() ? why : given + ": " + why;
}

int recordFailure(const MoxException& e, const Call& call) noexcept
{
    const int code = e.isShortForm() ? static_cast<int>(shortFormCode(e)) : e.getCode();
    try {
        // The same class, with the full form of its code, a detail and the entry point.
        std::unique_ptr<MoxException> recorded(e.clone());
        std::string detail = e.getDetail().empty() ? call.explain(e) : e.getDetail();
        MoxException& fields = *recorded;
        if (e.isShortForm())
            fields = MoxException(static_cast<ErrorCode>(code), std::move(detail));
        else
            fields = MoxException(e.getFacility(), code, e.getKey(), e.getMessage(), std::move(detail));
        recorded->setSourceLocation(call.file, call.line, call.function);
        HandleManager::setException(*recorded);
    } catch (...) {
        // Recording itself failed (out of memory): the code still tells the caller.
    }
    return code;
}

int recordUnexpected(const char* what, const Call& call) noexcept
{
    try {
        UnexpectedException e(ErrorCode::Unknown, what);
        e.setSourceLocation(call.file, call.line, call.function);
        HandleManager::setException(e);
    } catch (...) {
    }
    return MOX_E_UNKNOWN;
}

void nullArgument(const char* field, const Site& site)
{
    raise(ErrorCode::NullPointer, site, std::string(field) + " is NULL");
}

std::string requireText(const char* text, const char* field, const Site& site)
{
    if (text == nullptr)
        nullArgument(field, site);
    site.note(field, text);
    return std::string(text);
}

void notOpen(mox_handle handle, const Site& site)
{
    raise(ErrorCode::InvalidHandle, site, "handle " + std::to_string(handle) + " is not open");
}

const char* requireOpen(mox_handle handle, const Site& site)
{
    const char* registered = HandleManager::findClassType(handle);
    if (registered == nullptr)
        notOpen(handle, site);
    return registered;
}

void requireFamily(mox_handle handle, const char* family, const Site& site)
{
    const char* registered = requireOpen(handle, site);
    if (std::strcmp(registered, family) != 0)
        raise(ErrorCode::ClassCast, site,
              "handle " + std::to_string(handle) + " is a " + registered + ", not a " + family);
}

void handOut(const std::string& text, char** out) { HandleManager::copyString(text, out); }

void TextBlock::add(const std::string& text)
{
    m_bytes.append(text.c_str());
    m_bytes.push_back('\0');
    ++m_count;
}

void TextBlock::handOut(char** texts, std::size_t* count, std::size_t* bytes) const
{
    if (m_count != 0) {
        char* block = static_cast<char*>(std::malloc(m_bytes.size()));
        if (block == nullptr)
            throw std::bad_alloc();
        std::memcpy(block, m_bytes.data(), m_bytes.size());
        *texts = block;
    }
    *count = m_count;
    if (bytes != nullptr)
        *bytes = m_bytes.size();
}

void closeAll(const mox_handle* handles, std::size_t count) noexcept
{
    for (std::size_t i = 0; i < count; ++i) {
        try {
            HandleManager::closeHandle(MOX::HandleId(handles[i]));
        } catch (...) {
        }
    }
}

mox_handle* handleArray(std::size_t count, const Site& site)
{
    auto* array = static_cast<mox_handle*>(std::calloc(count, sizeof(mox_handle)));
    if (array == nullptr)
        raise(ErrorCode::Unknown, site, "out of memory for " + std::to_string(count) + " handles");
    return array;
}

std::size_t requireIndex(std::size_t index, std::size_t count, const Site& site)
{
    if (index >= count)
        raise(ErrorCode::InvalidArguments, site,
              "index " + std::to_string(index) + " is past the end (" + std::to_string(count) + " held)");
    return index;
}

} // namespace moxc

using namespace moxc;

extern "C" {

int mox_to_string(mox_handle handle, char** text)
{
    const Site site = MOX_SITE("mox_to_string");
    reset(text);
    return guarded(site, [&] {
        char** target = requireOut(text, "text", site);
        requireOpen(handle, site);
        const auto object = HandleManager::getObject(handle);
        if (object.isNull())
            raise(ErrorCode::NullPointer, site, "handle " + std::to_string(handle) + " holds no object");
        handOut(object->toString(), target);
    });
}

int mox_handle_class(mox_handle handle, char** classname)
{
    const Site site = MOX_SITE("mox_handle_class");
    reset(classname);
    return guarded(site, [&] {
        char** target = requireOut(classname, "classname", site);
        handOut(std::string(requireOpen(handle, site)), target);
    });
}

int mox_close_handle(mox_handle handle)
{
    const Site site = MOX_SITE("mox_close_handle");
    return guarded(site, [&] {
        if (!HandleManager::closeHandle(MOX::HandleId(handle)))
            notOpen(handle, site);
    });
}

int mox_open_handle_count(unsigned int* count)
{
    const Site site = MOX_SITE("mox_open_handle_count");
    reset(count);
    return guarded(site, [&] { *requireOut(count, "count", site) = HandleManager::getOpenHandleCount(); });
}

int mox_get_error(char** message)
{
    reset(message);
    try {
        return HandleManager::getError(message);
    } catch (...) {
        // Only the copy of the text failed; the code is still there to read.
        reset(message);
        try {
            return HandleManager::getError(nullptr);
        } catch (...) {
            return MOX_E_UNKNOWN;
        }
    }
}

int mox_last_error_name(char** name)
{
    reset(name);
    if (name == nullptr)
        return MOX_E_NULL_POINTER;
    try {
        HandleManager::copyString(HandleManager::getLastExceptionName(), name);
        return MOX_OK;
    } catch (...) {
        reset(name);
        return MOX_E_UNKNOWN;
    }
}

void mox_free(void* memory) { std::free(memory); }

const char* mox_version(void) { return MOX_VERSION_STRING; }

const mox_error* mox_error_last(void)
{
    static const mox_error none = {0, "No Error", "", "", ""};
    // Only pointers into the record the handle manager keeps for this thread: that record
    // stays until the thread's next failure or clear, both calls into the binding.
    thread_local mox_error view;
    static const mox_error unreadable = {MOX_E_UNKNOWN, "UnexpectedException", "", "the error could not be read", ""};
    try {
        const auto last = HandleManager::getLastException();
        if (last.isNull())
            return &none;
        view = {last->getCode(), last->className(), last->getMessage().c_str(), last->getDetail().c_str(),
                last->getFunction().c_str()};
        return &view;
    } catch (...) {
        return &unreadable;
    }
}

void mox_error_clear(void)
{
    try {
        HandleManager::clearLastException();
    } catch (...) {
        // Only a broken mutex can fail here; there is nothing to clear then.
    }
}

} // extern "C"
