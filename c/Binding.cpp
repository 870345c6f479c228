// SPDX-License-Identifier: MIT
// The binding's core: failure recording, handles of any kind, errors and memory.
#include "Binding.h"
#include <mox/rt/Raise.h>

#include <cstdlib>

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

// Records the full form of a short-form exception's kind; returns its code.
int recordShortForm(const MoxException& e)
{
    if (dynamic_cast<const InvalidHandleException*>(&e) != nullptr) {
        HandleManager::invalidHandle();
        return MOX_E_INVALID_HANDLE;
    }
    if (dynamic_cast<const ClassCastException*>(&e) != nullptr) {
        HandleManager::classCast();
        return MOX_E_CLASS_CAST;
    }
    if (dynamic_cast<const InvalidArgumentException*>(&e) != nullptr) {
        HandleManager::invalidArgument();
        return MOX_E_INVALID_ARGUMENTS;
    }
    HandleManager::unexpectedError();
    return MOX_E_UNKNOWN;
}

} // namespace

int recordFailure(MoxException& e) noexcept
{
    const int code = e.getCode();
    try {
        if (code < 0) {
            HandleManager::setException(e);
            return code;
        }
        return recordShortForm(e);
    } catch (...) {
        // Recording itself failed (out of memory): the code still tells the caller.
        return code < 0 ? code : MOX_E_UNKNOWN;
    }
}

int recordUnexpected() noexcept
{
    try {
        HandleManager::unexpectedError();
    } catch (...) {
    }
    return MOX_E_UNKNOWN;
}

std::string requireText(const char* text, const Site& site)
{
    if (text == nullptr)
        raise(ErrorCode::NullPointer, site);
    return std::string(text);
}

void handOut(const std::string& text, char** out) { HandleManager::copyString(text, out); }

std::size_t requireIndex(std::size_t index, std::size_t count, const Site& site)
{
    if (index >= count)
        raise(ErrorCode::InvalidArguments, site, "index " + std::to_string(index) + " of " + std::to_string(count));
    return index;
}

namespace {

// The calling thread's error as mox_error_last hands it out: the texts live here until
// the thread's next call reads them again.
struct ErrorRecord {
    mox_error view{};
    std::string name;
    std::string message;
    std::string detail;
    std::string function;
};

thread_local ErrorRecord t_error;

const mox_error* fillErrorRecord()
{
    ErrorRecord& record = t_error;
    const auto last = HandleManager::getLastException();
    if (last.isNull()) {
        record.name = HandleManager::getLastExceptionName();
        record.message.clear();
        record.detail.clear();
        record.function.clear();
        record.view.code = 0;
    } else {
        record.name = last->getName();
        record.message = last->getMessage();
        record.detail = last->getDetail();
        record.function = last->getFunction();
        record.view.code = last->getCode();
    }
    record.view.name = record.name.c_str();
    record.view.message = record.message.c_str();
    record.view.detail = record.detail.c_str();
    record.view.function = record.function.c_str();
    return &record.view;
}

} // namespace

} // namespace moxc

using namespace moxc;

extern "C" {

int mox_to_string(mox_handle handle, char** text)
{
    reset(text);
    return guarded([&] {
        const Site site = MOX_SITE("mox_to_string");
        char** target = requireOut(text, site);
        const auto object = HandleManager::getObject(handle);
        if (object.isNull())
            raise(ErrorCode::NullPointer, site);
        handOut(object->toString(), target);
    });
}

int mox_handle_class(mox_handle handle, char** classname)
{
    reset(classname);
    return guarded([&] {
        const Site site = MOX_SITE("mox_handle_class");
        char** target = requireOut(classname, site);
        // The text lives in the handle's record: like any use of a handle, this must not
        // race with closing the same handle on another thread.
        const char* name = HandleManager::findClassType(handle);
        if (name == nullptr)
            raise(ErrorCode::InvalidHandle, site);
        handOut(std::string(name), target);
    });
}

int mox_close_handle(mox_handle handle)
{
    return guarded([&] {
        if (!HandleManager::closeHandle(MOX::HandleId(handle)))
            raise(ErrorCode::InvalidHandle, MOX_SITE("mox_close_handle"));
    });
}

int mox_open_handle_count(unsigned int* count)
{
    if (count != nullptr)
        *count = 0;
    return guarded([&] { *requireOut(count, MOX_SITE("mox_open_handle_count")) = HandleManager::getOpenHandleCount(); });
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
    // Only running out of memory can fail here; the record then says so without texts.
    static const mox_error outOfMemory = {MOX_E_UNKNOWN, "UnexpectedException", "", "", ""};
    try {
        return fillErrorRecord();
    } catch (...) {
        return &outOfMemory;
    }
}

void mox_error_clear(void)
{
    // Closing any handle clears the thread's error first; 0 is never open.
    try {
        HandleManager::closeHandle(MOX::HandleId(0));
    } catch (...) {
    }
}

} // extern "C"
