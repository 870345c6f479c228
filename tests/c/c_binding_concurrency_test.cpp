// The C binding used from two threads at once: own errors per thread, unique handles.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <mox/mox_c.h>

namespace {

// The calling thread's last error as code and class name.
std::pair<int, std::string> lastError()
{
    char* name = nullptr;
    EXPECT_EQ(mox_last_error_name(&name), MOX_OK);
    std::string text = name ? name : "";
    mox_free(name);
    return {mox_get_error(nullptr), text};
}

} // namespace

TEST(CBindingConcurrency, ThreadsWorkAndFailIndependently)
{
    constexpr int kRounds = 500;
    std::atomic<bool> go{false};
    std::vector<std::vector<int>> numbers(2);
    std::vector<int> wrong(2, 0);
    auto worker = [&](int t) {
        while (!go.load())
            std::this_thread::yield();
        const std::string name = "product" + std::to_string(t);
        for (int r = 0; r < kRounds; ++r) {
            mox_handle product = 0;
            if (mox_product_id_create(name.c_str(), "c", "1", &product) != MOX_OK)
                ++wrong[t];
            numbers[t].push_back(product);
            char* xml = nullptr;
            if (mox_product_id_marshal(product, &xml) != MOX_OK || std::string(xml).find(name) == std::string::npos)
                ++wrong[t];
            mox_free(xml);
            // Each thread fails in its own way and must read back only its own failure.
            mox_handle none = 0;
            const int rc = t == 0 ? mox_product_id_create("", "", "", &none)
                                  : mox_application_id_marshal(product, &xml);
            const auto error = lastError();
            const int expected = t == 0 ? MOX_E_INVALID_ARGUMENTS : MOX_E_CLASS_CAST;
            const char* expectedName = t == 0 ? "InvalidArgumentException" : "ClassCastException";
            if (rc != expected || error.first != expected || error.second != expectedName)
                ++wrong[t];
            if (mox_close_handle(product) != MOX_OK || mox_get_error(nullptr) != 0)
                ++wrong[t];
        }
    };
    std::thread a(worker, 0);
    std::thread b(worker, 1);
    go = true;
    a.join();
    b.join();
    EXPECT_EQ(wrong[0], 0);
    EXPECT_EQ(wrong[1], 0);
    std::set<int> all(numbers[0].begin(), numbers[0].end());
    all.insert(numbers[1].begin(), numbers[1].end());
    EXPECT_EQ(all.size(), 2u * kRounds);
    EXPECT_EQ(all.count(0), 0u);
    unsigned count = 99;
    EXPECT_EQ(mox_open_handle_count(&count), MOX_OK);
    EXPECT_EQ(count, 0u);
}
