// Handle numbers and handle records.
#include <gtest/gtest.h>

#include <climits>

#include <mox/handle/HandleId.h>
#include <mox/handle/HandleManager.h>
#include <mox/rt/Exceptions.h>

#include "services/handle/HandleHolder.h"
#include "services/handle/TrackedObject.h"

using MOX::HandleId;
using MOX::EXCEPTIONS::BadAllocException;
using MOX::HDL::Handle;
using MOX::HDL::HandleManager;
using MOX::HDL::ObjectHandleHolder;
using MOX::RT::SmartPointer;

TEST(HandleId, DefaultConstructionTakesOneTwoThreeInAFreshProcess)
{
    ASSERT_EQ(HandleId::LastId, 0);
    HandleId first;
    HandleId second;
    HandleId third;
    EXPECT_EQ(first.getId(), 1);
    EXPECT_EQ(second.getId(), 2);
    EXPECT_EQ(third.getId(), 3);
    EXPECT_EQ(HandleId::LastId, 3);
}

TEST(HandleId, LookupCopyAndAssignmentNeverTakeANumber)
{
    HandleId taken;
    const int last = HandleId::LastId;

    HandleId a(42);
    HandleId b(42);
    EXPECT_TRUE(a.equals(b));
    EXPECT_EQ(a.compare(b), 0);
    EXPECT_EQ(a.getId(), 42);

    HandleId copy(taken);
    EXPECT_EQ(copy.getId(), taken.getId());
    HandleId assigned(7);
    assigned = taken;
    EXPECT_EQ(assigned.getId(), taken.getId());
    EXPECT_TRUE(assigned.equals(taken));
    EXPECT_FALSE(assigned.equals(a));

    EXPECT_EQ(HandleId::LastId, last);
}

TEST(HandleId, CompareIsTheWrappedDifference)
{
    EXPECT_EQ(HandleId(5).compare(HandleId(3)), 2);
    EXPECT_EQ(HandleId(3).compare(HandleId(5)), -2);
    // The difference leaves the 32-bit range and wraps instead of overflowing.
    EXPECT_EQ(HandleId(INT_MIN).compare(HandleId(1)), INT_MAX);
    EXPECT_EQ(HandleId(INT_MAX).compare(HandleId(-1)), INT_MIN);
    EXPECT_EQ(HandleId(INT_MAX).compare(HandleId(INT_MIN)), -1);
    EXPECT_EQ(HandleId::LastId, 0);
}

TEST(HandleId, HasNoTextFormAndTheTagIsHandle)
{
    HandleId fresh;
    EXPECT_EQ(fresh.toString(), "");
    EXPECT_EQ(HandleId(123).toString(), "");
    EXPECT_STREQ(HandleId::TAG, "handle");
}

TEST(HandleId, StopsAtTheTopOfThePositiveRangeInsteadOfOverflowing)
{
    HandleId::LastId = INT_MAX - 1;
    HandleId last;
    EXPECT_EQ(last.getId(), INT_MAX);
    try {
        HandleId beyond;
        FAIL() << "took number " << beyond.getId() << " past the end of the range";
    } catch (const BadAllocException& e) {
        EXPECT_EQ(e.getCode(), 0);
        EXPECT_EQ(e.getFunction(), "MOX::HandleId::HandleId");
        EXPECT_EQ(e.getFile(), "services/handle/HandleId");
    }
    EXPECT_EQ(HandleId::LastId, INT_MAX);

    // The manager gives a refused record back: the object is not kept and nothing is
    // filed, while the handles already open keep working.
    HandleId::LastId = INT_MAX - 1;
    std::atomic<int> destroyed{0};
    auto top = hdltest::makeTracked("top", &destroyed);
    auto late = hdltest::makeTracked("late", &destroyed);
    const int topNumber = HandleManager::newObjectHandle("Top", top).getId();
    EXPECT_EQ(topNumber, INT_MAX);
    EXPECT_THROW(HandleManager::newObjectHandle("Late", late), BadAllocException);
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 1u);
    EXPECT_EQ(late.useCount(), 1);
    late = nullptr;
    EXPECT_EQ(destroyed.load(), 1);
    EXPECT_TRUE(HandleManager::getObject(INT_MAX).sharesWith(top));
    EXPECT_EQ(HandleManager::findClassType(INT_MIN), nullptr);
    EXPECT_EQ(HandleManager::findClassType(-1), nullptr);
    EXPECT_TRUE(HandleManager::closeHandle(HandleId(INT_MAX)));
}

TEST(HandleRecord, KeepsTheClassNameExactlyAsGiven)
{
    const std::string withZero("Name\0Tail", 9);
    Handle plain("MOX::APP::IProductId");
    Handle empty("");
    Handle zero(withZero);
    Handle copied(plain);
    EXPECT_EQ(plain.getClassname(), "MOX::APP::IProductId");
    EXPECT_EQ(empty.getClassname(), "");
    EXPECT_EQ(zero.getClassname(), withZero);
    EXPECT_EQ(copied.getClassname(), "MOX::APP::IProductId");
}

TEST(HandleRecord, HolderKeepsTheObjectAliveUntilItIsDeleted)
{
    std::atomic<int> destroyed{0};
    auto object = hdltest::makeTracked("kept", &destroyed);
    Handle* record = new ObjectHandleHolder("Kept", object);
    EXPECT_EQ(object.useCount(), 2);
    object = nullptr;
    EXPECT_EQ(destroyed.load(), 0);

    SmartPointer<MOX::Object> again = static_cast<ObjectHandleHolder*>(record)->getValue();
    ASSERT_FALSE(again.isNull());
    EXPECT_EQ(again->toString(), "kept");
    EXPECT_EQ(again.useCount(), 2);
    again = nullptr;

    EXPECT_EQ(record->getClassname(), "Kept");
    delete record; // through the base class, as the manager does
    EXPECT_EQ(destroyed.load(), 1);
}
