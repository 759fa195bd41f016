// Which spare keycode and level types each character off the keyboard map, and
// where the bindings change: the rules hold for any order, without a server.
#include <gtest/gtest.h>

#include "platform/backend/x11/binding_plan.h"

#include <map>
#include <random>
#include <set>

using namespace tavren::backend::x11;

namespace {

// Each level of every keycode in turn, as the keyboard offers them.
std::vector<BindingSlot> freeSlots(int keycodes, int levels) {
    constexpr SlotLevel kLevels[] = {SlotLevel::First, SlotLevel::Second, SlotLevel::Third,
                                     SlotLevel::Fourth};
    std::vector<BindingSlot> slots;
    for (int level = 0; level < levels; ++level)
        for (int k = 0; k < keycodes; ++k)
            slots.push_back({static_cast<unsigned char>(200 + k), kLevels[level], NoSymbol, false});
    return slots;
}

using SlotKey = std::pair<unsigned char, SlotLevel>;

// Plays the plan back: the bindings of each stretch applied before it, every
// stroke of it must find its character where the plan says, and no slot may
// change while keys typed with it in the same stretch may be unread.
void expectSound(const std::vector<BindingSlot>& slots, const std::vector<KeySym>& needs,
                 const BindingPlan& plan, bool earlierKeysMayBeUnread) {
    std::map<SlotKey, KeySym> bound;
    for (const auto& slot : slots)
        if (slot.resident != NoSymbol) bound[{slot.keycode, slot.level}] = slot.resident;
    std::size_t expectedBegin = 0;
    for (std::size_t s = 0; s < plan.stretches().size(); ++s) {
        const auto& stretch = plan.stretches()[s];
        ASSERT_EQ(stretch.begin, expectedBegin);
        std::set<SlotKey> changed;
        for (const auto& binding : stretch.bindings) {
            const SlotKey key{binding.keycode, binding.level};
            EXPECT_TRUE(changed.insert(key).second) << "a slot bound twice in one stretch";
            if (s == 0 && earlierKeysMayBeUnread)
                for (const auto& slot : slots) {
                    if (slot.keycode != binding.keycode) continue;
                    EXPECT_TRUE(slot.resident == NoSymbol && !slot.occupied)
                        << "a keycode of an earlier, unread order bound anew";
                }
            bound[key] = binding.keysym;
        }
        for (std::size_t i = stretch.begin; i < stretch.end; ++i) {
            if (needs[i] == NoSymbol) {
                EXPECT_FALSE(plan.slotOf(i));
                continue;
            }
            ASSERT_TRUE(plan.slotOf(i)) << i;
            const SlotKey key{plan.slotOf(i)->keycode, plan.slotOf(i)->level};
            EXPECT_EQ(bound[key], needs[i]) << "stroke " << i;
        }
        expectedBegin = stretch.end;
    }
    EXPECT_EQ(expectedBegin, needs.size());
}

std::vector<KeySym> characters(const std::vector<int>& ids) {
    std::vector<KeySym> needs;
    for (int id : ids)
        needs.push_back(id == 0 ? NoSymbol : 0x1004e00 + id);
    return needs;
}

TEST(BindingPlan, StrokesOnTheMapNeedNoSlotAndNoStretchBoundary) {
    const auto needs = characters({0, 0, 0});
    const BindingPlan plan({}, needs, false);
    ASSERT_TRUE(plan.possible());
    ASSERT_EQ(plan.stretches().size(), 1u);
    EXPECT_TRUE(plan.stretches()[0].bindings.empty());
}

TEST(BindingPlan, ACharacterOffTheMapWithoutAnySlotCannotBeTyped) {
    const BindingPlan plan({}, characters({0, 3, 0}), false);
    EXPECT_FALSE(plan.possible());
}

TEST(BindingPlan, EveryDistinctCharacterThatFitsIsBoundAtOnceFirstLevelsFirst) {
    const auto slots = freeSlots(3, 2);
    const auto needs = characters({1, 2, 0, 1, 3, 4, 2});
    const BindingPlan plan(slots, needs, false);
    ASSERT_EQ(plan.stretches().size(), 1u);
    EXPECT_EQ(plan.stretches()[0].bindings.size(), 4u);
    for (std::size_t i : {0u, 1u, 4u})
        EXPECT_EQ(plan.slotOf(i)->level, SlotLevel::First) << i;
    EXPECT_EQ(plan.slotOf(5)->level, SlotLevel::Second);
    EXPECT_EQ(plan.slotOf(0)->keycode, plan.slotOf(3)->keycode);
    expectSound(slots, needs, plan, false);
}

TEST(BindingPlan, ThirdAndFourthLevelsTakeWhatTheFirstTwoCannotHold) {
    const auto slots = freeSlots(2, 4);
    const auto needs = characters({1, 2, 3, 4, 5, 6, 0, 5, 1});
    const BindingPlan plan(slots, needs, false);
    ASSERT_EQ(plan.stretches().size(), 1u);
    EXPECT_EQ(plan.stretches()[0].bindings.size(), 6u);
    const SlotLevel expected[] = {SlotLevel::First,  SlotLevel::First, SlotLevel::Second,
                                  SlotLevel::Second, SlotLevel::Third, SlotLevel::Third};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(plan.slotOf(i)->level, expected[i]) << i;
    EXPECT_EQ(plan.slotOf(7)->level, SlotLevel::Third);
    EXPECT_EQ(plan.slotOf(8)->level, SlotLevel::First);
    expectSound(slots, needs, plan, false);
}

TEST(BindingPlan, MoreCharactersThanSlotsChangeTheBindingsWhereTheyNoLongerFit) {
    const auto slots = freeSlots(2, 1);
    const auto needs = characters({1, 2, 1, 3, 4, 3});
    const BindingPlan plan(slots, needs, false);
    ASSERT_EQ(plan.stretches().size(), 2u);
    EXPECT_EQ(plan.stretches()[0].end, 3u);
    EXPECT_EQ(plan.stretches()[1].bindings.size(), 2u);
    expectSound(slots, needs, plan, false);
}

TEST(BindingPlan, ACharacterNeededAgainKeepsItsSlotAcrossAChange) {
    const auto slots = freeSlots(2, 1);
    // 1 comes back after 3; 2 does not.
    const auto needs = characters({1, 2, 3, 1});
    const BindingPlan plan(slots, needs, false);
    ASSERT_EQ(plan.stretches().size(), 2u);
    ASSERT_EQ(plan.stretches()[1].bindings.size(), 1u);
    EXPECT_EQ(plan.stretches()[1].bindings[0].keycode, plan.slotOf(1)->keycode);
    EXPECT_EQ(plan.slotOf(3)->keycode, plan.slotOf(0)->keycode);
    expectSound(slots, needs, plan, false);
}

TEST(BindingPlan, CharactersStillBoundFromAnEarlierOrderAreReusedWithoutAChange) {
    auto slots = freeSlots(2, 1);
    slots[0].resident = 0x1004e00 + 7;
    const auto needs = characters({7, 0, 7});
    const BindingPlan plan(slots, needs, false);
    ASSERT_EQ(plan.stretches().size(), 1u);
    EXPECT_TRUE(plan.stretches()[0].bindings.empty());
    EXPECT_EQ(plan.slotOf(0)->keycode, slots[0].keycode);
}

TEST(BindingPlan, AnEarlierOrderThatWasReadGivesUpItsSlotsAtOnce) {
    auto slots = freeSlots(1, 1);
    slots[0].resident = 0x1004e00 + 7;
    const auto needs = characters({1, 0});
    const BindingPlan plan(slots, needs, false);
    ASSERT_EQ(plan.stretches().size(), 1u);
    ASSERT_EQ(plan.stretches()[0].bindings.size(), 1u);
    expectSound(slots, needs, plan, false);
}

TEST(BindingPlan, AnEarlierOrderThatMayBeUnreadKeepsItsSlotsUntilTheWait) {
    auto slots = freeSlots(2, 2);
    slots[0].resident = 0x1004e00 + 7; // keycode 200, first level
    slots[1].resident = 0x1004e00 + 8; // keycode 201, first level
    // Keycode 200's second level is free, but Shift held by the user may have
    // typed it: it waits too.
    const auto needs = characters({1, 7, 2});
    const BindingPlan plan(slots, needs, true);
    ASSERT_EQ(plan.stretches().size(), 2u);
    EXPECT_EQ(plan.stretches()[0].end, 0u);
    expectSound(slots, needs, plan, true);
}

TEST(BindingPlan, AnEarlierOrderThatMayBeUnreadKeepsEveryLevelOfItsKeycodes) {
    auto slots = freeSlots(2, 4);
    slots[0].resident = 0x1004e00 + 7; // keycode 200, first level
    // Keycode 200's third and fourth levels are free, but AltGr held by the
    // user may have typed them: they wait too, and keycode 201 takes what fits.
    const auto needs = characters({1, 2, 3, 4, 5, 7});
    const BindingPlan plan(slots, needs, true);
    ASSERT_EQ(plan.stretches().size(), 2u);
    EXPECT_EQ(plan.stretches()[0].end, 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(plan.slotOf(i)->keycode, 201) << i;
    expectSound(slots, needs, plan, true);
}

TEST(BindingPlan, AnyOrderIsPlayedBackExactly) {
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        const int keycodes = 1 + static_cast<int>(random() % 6);
        auto slots = freeSlots(keycodes, 1 << (random() % 3));
        for (auto& slot : slots)
            if (random() % 3 == 0) slot.resident = 0x1004e00 + random() % 12;
        std::vector<int> ids;
        const std::size_t length = random() % 80;
        for (std::size_t i = 0; i < length; ++i)
            ids.push_back(static_cast<int>(random() % 13));
        const bool unread = random() % 2;
        const auto needs = characters(ids);
        const BindingPlan plan(slots, needs, unread);
        ASSERT_TRUE(plan.possible());
        expectSound(slots, needs, plan, unread);
        std::set<KeySym> distinct(needs.begin(), needs.end());
        distinct.erase(NoSymbol);
        if (distinct.size() <= slots.size() && !unread) {
            EXPECT_EQ(plan.stretches().size(), 1u) << "round " << round;
        }
    }
}

} // namespace
