// SPDX-License-Identifier: MIT
// First use of a unit's manager slot from many threads at once.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include <mox/xb/XBinderManager.h>

#include "services/serialization/manager/TestSchema.h"

using namespace MOX::XB;

TEST(XBinderManagerConcurrency, RacingFirstCallsAgreeOnOneInstanceAndDecodeIndependently)
{
    static std::atomic<XBinderManager*> slot{nullptr};
    constexpr int kThreads = 8;
    std::vector<XBinderManager*> seen(kThreads, nullptr);
    std::vector<std::size_t> boxes(kThreads, 0);
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            while (!go.load())
                std::this_thread::yield();
            XBinderManager& manager = XBinderManager::instance(slot);
            seen[i] = &manager;
            const std::string text = std::string("<doc><box name='b'/>") + (i % 2 ? "<box name='c'/>" : "") + "</doc>";
            xbtest::tdoc doc;
            DecodeBuffer buffer = manager.makeDecodeBuffer(text);
            xbtest::doc_CC element(doc);
            manager.decode(element, buffer);
            boxes[i] = doc.boxes.size();
        });
    }
    go = true;
    for (auto& t : threads)
        t.join();
    static std::atomic<XBinderManager*> otherSlot{nullptr};
    EXPECT_NE(&XBinderManager::instance(otherSlot), slot.load()); // each slot has its own
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_EQ(seen[i], slot.load());
        EXPECT_EQ(boxes[i], i % 2 ? 2u : 1u);
    }
}
