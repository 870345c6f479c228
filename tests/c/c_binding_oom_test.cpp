// SPDX-License-Identifier: MIT
// The C binding when memory runs out: each call below runs again and again with its n-th
// allocation failing (n = 1, 2, ... until a run needs no more than n), after a first run
// without failures (a thread's first call registers thread-local destructors, which glibc
// cannot do without memory: it aborts the process). Every run returns
// MOX_OK or a negative code that is then the recorded error (unless recording it was what
// failed), hands out nothing when it fails, and leaves no handle open; the address
// sanitizer build adds that nothing leaks.
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <mox/mox_c.h>

#include "AllocationCounter.h"

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// The C allocation functions fail along with operator new. glibc lets a program replace
// them (its own functions, strdup included, then call the replacement); the sanitizers
// replace them themselves, so there only operator new fails.
extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* __libc_calloc(std::size_t count, std::size_t size);
extern "C" void* malloc(std::size_t size) { return moxtest::failsNow() ? nullptr : __libc_malloc(size); }
extern "C" void* calloc(std::size_t count, std::size_t size)
{
    return moxtest::failsNow() ? nullptr : __libc_calloc(count, size);
}
#endif

namespace {

// What a call hands out.
struct Out {
    mox_handle handle = 0;
    mox_handle* handles = nullptr;
    char* text = nullptr;
    std::size_t count = 0;
};

unsigned openHandles()
{
    unsigned count = 0;
    mox_open_handle_count(&count);
    return count;
}

} // namespace

TEST(CBindingOutOfMemory, EveryRunFailsCleanlyOrSucceeds)
{
    mox_handle list = 0, set = 0, props = 0, none = 0;
    char* document = nullptr;
    ASSERT_EQ(mox_attributes_parse("<attributes><attribute name='a'><value>1</value></attribute>"
                                   "<attribute name='b'/></attributes>", &list), MOX_OK);
    ASSERT_EQ(mox_identities_parse("<identities><UserIdentifier format='QEL'>NT:C/a</UserIdentifier><identity "
                                   "format='NT' authority='C' account='p' type='Printers'/></identities>", &set),
              MOX_OK);
    ASSERT_EQ(mox_properties_create(&props), MOX_OK);
    ASSERT_EQ(mox_properties_set(props, "path.config", "/etc/mox"), MOX_OK);
    ASSERT_EQ(mox_properties_marshal(props, "settings", &document), MOX_OK);
    const std::string properties = document;
    mox_free(document);
    const struct { const char* name; std::function<int(Out&)> call; } calls[] = {
        {"product_id_parse", [](Out& o) { return mox_product_id_parse("<product name='p' version='1'/>", &o.handle); }},
        {"identities_parse", [](Out& o) { return mox_identities_parse("<identities/>", &o.handle); }},
        {"identity_parse", [](Out& o) { return mox_identity_parse("NT:CORP/Group:admins", &o.handle); }},
        {"properties_parse", [&](Out& o) { return mox_properties_parse(properties.c_str(), "settings", &o.handle); }},
        {"datetime_parse", [](Out& o) { return mox_datetime_parse("2026-12-04T05:38:45.123Z", &o.handle); }},
        {"attributes_to_array", [&](Out& o) { return mox_attributes_to_array(list, &o.handles, &o.count); }},
        {"identities_to_array", [&](Out& o) { return mox_identities_to_array(set, &o.handles, &o.count); }},
        {"attributes_texts", [&](Out& o) { return mox_attributes_texts(list, &o.text, &o.count, nullptr); }},
        {"identities_marshal", [&](Out& o) { return mox_identities_marshal(set, &o.text); }},
        {"to_string", [&](Out& o) { return mox_to_string(props, &o.text); }},
        {"refused", [](Out& o) { return mox_account_create("User", "", &o.handle); }},
        {"last_error_name", [](Out& o) { return mox_last_error_name(&o.text); }},
        // The code is read even when its message cannot be copied.
        {"get_error", [](Out& o) {
             const int code = mox_get_error(&o.text);
             return code != MOX_E_NULL_POINTER ? -1 : o.text == nullptr ? MOX_E_UNKNOWN : MOX_OK;
         }}};
    const unsigned before = openHandles();
    for (const auto& call : calls) {
        for (long n = 0;; ++n) {
            SCOPED_TRACE(std::string(call.name) + ", allocation " + std::to_string(n));
            mox_identity_parse(nullptr, &none); // a known last error: -1004
            Out out;
            moxtest::failIn = n;
            const int rc = call.call(out);
            const bool failed = n > 0 && moxtest::failIn.exchange(0) == 0;
            if (rc == MOX_OK) {
                for (std::size_t i = 0; out.handles != nullptr && i < out.count; ++i)
                    mox_close_handle(out.handles[i]);
                mox_free(out.handles);
                mox_free(out.text);
                if (out.handle != 0)
                    mox_close_handle(out.handle);
            } else {
                EXPECT_LT(rc, 0);
                EXPECT_TRUE(out.handle == 0 && out.handles == nullptr && out.text == nullptr);
                const int recorded = mox_get_error(nullptr);
                EXPECT_TRUE(recorded == rc || recorded == MOX_E_NULL_POINTER) << rc << " recorded as " << recorded;
            }
            EXPECT_EQ(openHandles(), before);
            if (n > 0 && !failed) {
                EXPECT_TRUE(rc == MOX_OK || std::string(call.name) == "refused") << rc;
                break;
            }
        }
    }
    EXPECT_TRUE(mox_close_handle(list) == MOX_OK && mox_close_handle(set) == MOX_OK && mox_close_handle(props) == MOX_OK);
}
