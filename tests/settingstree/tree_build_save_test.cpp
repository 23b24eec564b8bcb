// The tree built from tempovia.ini and written back: clocks renumbered in tree
// order, stale sections gone, alarms, profiles and unknown keys moving with
// their clocks.
#include <gtest/gtest.h>

#include <cstdio>

#include "common/settings/ini_store.h"
#include "tests/settingstree/tree_fixture.h"

using namespace tree_test;

namespace {

using Labels_t = std::vector<std::wstring>;

TEST(SettingsTreeBuild, OptionNodesThenClocksWithTheirFourChildren) {
    TreeSandbox box;
    box.WriteUserIni(ClockSection(1, "Oslo", "profile1=1, 09:00-18:00, FF0000, 7F, 06, Work\r\n") +
                     AlarmSection(1, 1, "Wake") + AlarmSection(1, 2, "Lunch"));
    BuildSettingsTree(box.tree);
    ASSERT_EQ(6u, box.tree.top.size());
    const int optionKinds[] = {kNodeGeneral, kNodeIni, kNodeTime, kNodeNews, kNodeTaskbar};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(optionKinds[i], box.tree.top[i]->GetKind());
    ASSERT_EQ(1u, box.tree.clocks.size());
    CClockNode* clock = box.tree.clocks[0];
    EXPECT_EQ(box.tree.top[5], clock);
    ASSERT_EQ(4, clock->ChildCount());
    EXPECT_EQ(kNodeDesktop, clock->Child(0)->GetKind());
    EXPECT_EQ(kNodeFormats, clock->Child(1)->GetKind());
    EXPECT_EQ(kNodeAlarms, clock->Child(2)->GetKind());
    EXPECT_EQ(kNodeBackgrounds, clock->Child(3)->GetKind());
    ASSERT_EQ(2, clock->Child(2)->ChildCount());
    EXPECT_STREQ(L"Lunch", static_cast<CAlarmNode*>(clock->Child(2)->Child(1))->Alarm().comment);
    ASSERT_EQ(1, clock->Child(3)->ChildCount());
    EXPECT_STREQ(L"Work", static_cast<CBackgroundNode*>(clock->Child(3)->Child(0))->Profile().name);
    EXPECT_EQ(2, box.tree.nextNumber);
    // Desktop and formats pages edit the clock's record; the groups too.
    EXPECT_EQ(clock->GetRecord(), clock->Child(0)->GetRecord());
    EXPECT_EQ(clock->GetRecord(), clock->Child(2)->GetRecord());
    EXPECT_EQ(nullptr, box.tree.top[0]->GetRecord());
    EXPECT_EQ(6, clock->Child(1)->GetPageIndex());
}

TEST(SettingsTreeBuild, FourMissingSectionsAreSkippedFiveEndTheScan) {
    TreeSandbox box;
    box.WriteUserIni(ClockSection(1, "A") + ClockSection(2, "B") + ClockSection(7, "C"));
    BuildSettingsTree(box.tree);
    EXPECT_EQ((Labels_t{L"A", L"B", L"C"}), Labels(box.tree));
    EXPECT_EQ(7, box.tree.clocks[2]->Record().number);
    EXPECT_EQ(8, box.tree.nextNumber);

    box.WriteUserIni(ClockSection(1, "A") + ClockSection(7, "C"));
    BuildSettingsTree(box.tree);
    EXPECT_EQ((Labels_t{L"A"}), Labels(box.tree));
}

TEST(SettingsTreeSave, DeletingTheMiddleClockRenumbersAndMovesUnknownKeys) {
    TreeSandbox box;
    box.WriteUserIni(ClockSection(1, "A") + AlarmSection(1, 1, "a1") + ClockSection(2, "B") +
                     AlarmSection(2, 1, "b1") + AlarmSection(2, 2, "b2") +
                     ClockSection(3, "C", "desk_x=123\r\nprofile1=1, 09:00-18:00, FF0000, 7F, 06, Night\r\n") +
                     AlarmSection(3, 1, "c1"));
    BuildSettingsTree(box.tree);
    ASSERT_EQ(3u, box.tree.clocks.size());
    ASSERT_TRUE(CanDeleteNode(box.tree, box.tree.clocks[1]));
    RemoveNode(box.tree, box.tree.clocks[1]);
    EXPECT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));

    EXPECT_EQ(L"A", box.Value(TreeSandbox::Clock(1), L"prefix"));
    EXPECT_EQ(L"C", box.Value(TreeSandbox::Clock(2), L"prefix"));
    EXPECT_EQ(L"123", box.Value(TreeSandbox::Clock(2), L"desk_x"));
    EXPECT_NE(std::wstring::npos, box.Value(TreeSandbox::Clock(2), L"profile1").find(L"Night"));
    EXPECT_EQ(L"a1", box.Value(TreeSandbox::Alarm(1, 1), L"comment"));
    EXPECT_EQ(L"c1", box.Value(TreeSandbox::Alarm(2, 1), L"comment"));
    // Old clock 2's second alarm must not reappear under the new clock 2.
    EXPECT_FALSE(box.HasSection(TreeSandbox::Alarm(2, 2)));
    for (int j = 3; j <= 30; ++j) EXPECT_FALSE(box.HasSection(TreeSandbox::Clock(j))) << j;
    EXPECT_FALSE(box.HasSection(TreeSandbox::Alarm(3, 1)));
    EXPECT_EQ(1, box.tree.clocks[0]->Record().number);
    EXPECT_EQ(2, box.tree.clocks[1]->Record().number);

    // What was written reads back as the same tree.
    BuildSettingsTree(box.tree);
    EXPECT_EQ((Labels_t{L"A", L"C"}), Labels(box.tree));
    EXPECT_EQ(1, box.tree.clocks[1]->ChildOfKind(kNodeAlarms)->ChildCount());
    EXPECT_EQ(1, box.tree.clocks[1]->ChildOfKind(kNodeBackgrounds)->ChildCount());
}

TEST(SettingsTreeSave, MovedClockTakesItsAlarmsAndProfiles) {
    TreeSandbox box;
    box.WriteUserIni(ClockSection(1, "A") + AlarmSection(1, 1, "a1") + ClockSection(2, "B") +
                     ClockSection(3, "C", "profile1=1, 09:00-18:00, 00FF00, 7F, 06, Green\r\n") +
                     AlarmSection(3, 1, "c1") + AlarmSection(3, 2, "c2"));
    BuildSettingsTree(box.tree);
    CClockNode* c = box.tree.clocks[2];
    ASSERT_TRUE(CanDropNode(box.tree, c, box.tree.clocks[0], false));
    EXPECT_EQ(c, DropNode(box.tree, c, box.tree.clocks[0], false));
    EXPECT_EQ((Labels_t{L"C", L"A", L"B"}), Labels(box.tree));
    // Clocks keep the relative order of the top-level list.
    EXPECT_EQ(c, box.tree.top[5]);
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_EQ(L"C", box.Value(TreeSandbox::Clock(1), L"prefix"));
    EXPECT_EQ(L"c1", box.Value(TreeSandbox::Alarm(1, 1), L"comment"));
    EXPECT_EQ(L"c2", box.Value(TreeSandbox::Alarm(1, 2), L"comment"));
    EXPECT_NE(std::wstring::npos, box.Value(TreeSandbox::Clock(1), L"profile1").find(L"Green"));
    EXPECT_EQ(L"A", box.Value(TreeSandbox::Clock(2), L"prefix"));
    EXPECT_EQ(L"a1", box.Value(TreeSandbox::Alarm(2, 1), L"comment"));
    EXPECT_FALSE(box.HasSection(TreeSandbox::Alarm(2, 2)));
    EXPECT_TRUE(box.Value(TreeSandbox::Clock(2), L"profile1").empty());
    EXPECT_EQ(L"B", box.Value(TreeSandbox::Clock(3), L"prefix"));
    EXPECT_FALSE(box.HasSection(TreeSandbox::Alarm(3, 1)));

    // The move button at the end of the list: clock B is last already.
    EXPECT_FALSE(CanDropNode(box.tree, box.tree.clocks[2], nullptr, false));
    ASSERT_TRUE(CanDropNode(box.tree, box.tree.clocks[0], nullptr, false));
    DropNode(box.tree, box.tree.clocks[0], nullptr, false);
    EXPECT_EQ((Labels_t{L"A", L"B", L"C"}), Labels(box.tree));
}

TEST(SettingsTreeSave, CopiedClockGetsCopiesOfItsEntries) {
    TreeSandbox box;
    box.WriteUserIni(ClockSection(1, "A", "profile1=1, 09:00-18:00, 00FF00, 7F, 06, Green\r\n") +
                     AlarmSection(1, 1, "a1"));
    BuildSettingsTree(box.tree);
    CTreeNode* copy = DropNode(box.tree, box.tree.clocks[0], nullptr, true);
    ASSERT_NE(nullptr, copy);
    ASSERT_EQ(2u, box.tree.clocks.size());
    EXPECT_EQ(copy, box.tree.clocks[1]);
    EXPECT_EQ(4, copy->ChildCount());
    // Editing the copy leaves the original alone.
    static_cast<CAlarmNode*>(copy->ChildOfKind(kNodeAlarms)->Child(0))->Alarm().comment[0] = L'X';
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_EQ(L"a1", box.Value(TreeSandbox::Alarm(1, 1), L"comment"));
    EXPECT_EQ(L"X1", box.Value(TreeSandbox::Alarm(2, 1), L"comment"));
    EXPECT_EQ(L"A", box.Value(TreeSandbox::Clock(2), L"prefix"));
    EXPECT_NE(std::wstring::npos, box.Value(TreeSandbox::Clock(2), L"profile1").find(L"Green"));
}

TEST(SettingsTreeSave, NewClockFromDefaultsGoesBeforeClockN) {
    TreeSandbox box;
    box.WriteDefaultIni("[default:newclock]\r\nenabled=1\r\nprefix=Fresh\r\n[default:newtimer]\r\nprefix=Watch\r\n"
                        "timer_mode=1\r\n");
    box.WriteUserIni(ClockSection(1, "A") + ClockSection(2, "B") + AlarmSection(2, 1, "b1"));
    BuildSettingsTree(box.tree);
    CTreeNode* before = FindClockNodeById(box.tree, 2);
    ASSERT_NE(nullptr, before);
    CTreeNode* fresh = CreateClockFromDefaults(box.tree, nullptr, before, true, nullptr, kNodeClock);
    ASSERT_NE(nullptr, fresh);
    CTreeNode* watch = CreateClockFromDefaults(box.tree, nullptr, nullptr, true, nullptr, kNewStopwatchType);
    ASSERT_NE(nullptr, watch);
    EXPECT_EQ(13, watch->GetPageIndex());
    EXPECT_EQ((Labels_t{L"A", L"Fresh", L"B", L"Watch"}), Labels(box.tree));
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_EQ(L"Fresh", box.Value(TreeSandbox::Clock(2), L"prefix"));
    EXPECT_EQ(L"B", box.Value(TreeSandbox::Clock(3), L"prefix"));
    EXPECT_EQ(L"b1", box.Value(TreeSandbox::Alarm(3, 1), L"comment"));
    EXPECT_FALSE(box.HasSection(TreeSandbox::Alarm(2, 1)));
    EXPECT_EQ(L"Watch", box.Value(TreeSandbox::Clock(4), L"prefix"));
    EXPECT_EQ(L"1", box.Value(TreeSandbox::Clock(4), L"timer_mode"));
}

TEST(SettingsTreeSave, ANewClockInADeletedClocksPlaceTakesNoneOfItsKeys) {
    TreeSandbox box;
    box.WriteDefaultIni("[default:newclock]\r\nenabled=1\r\nprefix=Fresh\r\n");
    const char* window = "dsk_pos_x=300\r\ndsk_pos_y=200\r\nremaining=99\r\nterm_tsc=133543566000000000\r\n";
    box.WriteUserIni(ClockSection(1, "A") + ClockSection(2, "B", window));
    BuildSettingsTree(box.tree);
    RemoveNode(box.tree, box.tree.clocks[1]);
    ASSERT_NE(nullptr, CreateClockFromDefaults(box.tree, nullptr, nullptr, true, nullptr, kNodeClock));
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_EQ(L"Fresh", box.Value(TreeSandbox::Clock(2), L"prefix"));
    for (const wchar_t* key : {L"dsk_pos_x", L"dsk_pos_y", L"remaining", L"term_tsc"}) {
        EXPECT_TRUE(box.Value(TreeSandbox::Clock(2), key).empty()) << key;
    }

    // A copy dropped before its source is a new clock; the source keeps its keys.
    box.WriteUserIni(ClockSection(1, "A") + ClockSection(2, "B", window));
    BuildSettingsTree(box.tree);
    CTreeNode* copy = DropNode(box.tree, box.tree.clocks[1], box.tree.clocks[0], true);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ((Labels_t{L"B", L"A", L"B"}), Labels(box.tree));
    EXPECT_EQ(box.tree.clocks[1], FindClockNodeById(box.tree, 1));
    EXPECT_EQ(box.tree.clocks[2], FindClockNodeById(box.tree, 2));
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_TRUE(box.Value(TreeSandbox::Clock(1), L"dsk_pos_x").empty());
    EXPECT_EQ(L"A", box.Value(TreeSandbox::Clock(2), L"prefix"));
    EXPECT_EQ(L"300", box.Value(TreeSandbox::Clock(3), L"dsk_pos_x"));
    EXPECT_EQ(L"B", box.Value(TreeSandbox::Clock(3), L"prefix"));
}

TEST(SettingsTreeSave, ClickActionWithoutAddressIsSavedAsNone) {
    TreeSandbox box;
    box.WriteUserIni(ClockSection(1, "A", "action=1\r\n") + ClockSection(2, "B", "action=1\r\nurl=http://x/\r\n"));
    BuildSettingsTree(box.tree);
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_EQ(L"0", box.Value(TreeSandbox::Clock(1), L"action"));
    EXPECT_EQ(L"1", box.Value(TreeSandbox::Clock(2), L"action"));
}

TEST(SettingsTreeSave, AnEmptyTreeWritesNothing) {
    TreeSandbox box;
    // Clock sections behind a run of gaps are never read: a save must not
    // take that for "every clock deleted".
    box.WriteUserIni(ClockSection(6, "Far") + ClockSection(7, "Farther"));
    EXPECT_EQ(ClockSaveResult::kNothing, SaveClockOrder(box.tree));
    BuildSettingsTree(box.tree);
    EXPECT_TRUE(box.tree.clocks.empty());
    EXPECT_EQ(ClockSaveResult::kNothing, SaveClockOrder(box.tree));
    EXPECT_EQ(L"Far", box.Value(TreeSandbox::Clock(6), L"prefix"));
    EXPECT_EQ(L"Farther", box.Value(TreeSandbox::Clock(7), L"prefix"));
}

TEST(SettingsTreeSave, DamagedSectionsGiveClocksWithDefaults) {
    TreeSandbox box;
    box.WriteUserIni(
        "[tester:clock1]\r\nenabled=\x01\x02zz\r\nalpha=-999999999999\r\ntimer_mode=garbage\r\n"
        "profile1=1, 99:99-xx, nonsense\r\nprofile2=1, 09:00-18:00, FF0000, 7F, 06, Lost\r\nexpanded=-1\r\n"
        "[tester:clock1:alarm1]\r\ntype=77\r\nonce=bad\r\n"
        "[tester:clock2]\r\nprefix=Fine\r\n");
    BuildSettingsTree(box.tree);
    ASSERT_EQ(2u, box.tree.clocks.size());
    CClockNode* damaged = box.tree.clocks[0];
    EXPECT_EQ(0, damaged->ChildOfKind(kNodeBackgrounds)->ChildCount());
    EXPECT_EQ(0, damaged->ChildOfKind(kNodeAlarms)->ChildCount());
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_EQ(L"Fine", box.Value(TreeSandbox::Clock(2), L"prefix"));
    BuildSettingsTree(box.tree);
    EXPECT_EQ(2u, box.tree.clocks.size());
}

TEST(SettingsTreeSave, ThirtyClocksAreTheLimit) {
    TreeSandbox box;
    std::string ini;
    for (int n = 1; n <= 31; ++n) {
        char label[8];
        snprintf(label, sizeof(label), "C%d", n);
        ini += ClockSection(n, label);
    }
    box.WriteUserIni(ini);
    BuildSettingsTree(box.tree);
    ASSERT_EQ(30u, box.tree.clocks.size());
    EXPECT_FALSE(CanAddNode(box.tree, nullptr));
    EXPECT_FALSE(CanAddNode(box.tree, box.tree.clocks[0]));
    EXPECT_EQ(nullptr, CreateClockFromDefaults(box.tree, nullptr, nullptr, true, nullptr, kNodeClock));
    EXPECT_FALSE(CanDropNode(box.tree, box.tree.clocks[0], box.tree.clocks[3], true));
    EXPECT_EQ(nullptr, DropNode(box.tree, box.tree.clocks[0], nullptr, true));
    EXPECT_EQ(30u, box.tree.clocks.size());
    // Moves still work at the limit.
    EXPECT_NE(nullptr, DropNode(box.tree, box.tree.clocks[5], box.tree.clocks[0], false));
    EXPECT_EQ(L"C6", Labels(box.tree)[0]);
    EXPECT_EQ(35u, box.tree.top.size());
}

}  // namespace

TEST(SettingsTreeSave, ApplyKeepsATimerTheMainProgramStartedMeanwhile) {
    TreeSandbox box;
    box.WriteUserIni(ClockSection(1, "Tea", "timer_mode=-1\r\nduration=600\r\nrunning=0\r\n") + ClockSection(2, "B"));
    BuildSettingsTree(box.tree);
    ASSERT_EQ(0, box.tree.clocks[0]->Record().running);
    // The main program starts the countdown and saves its state while the
    // settings are open; then an unrelated change is applied.
    const std::wstring file = box.UserIni();
    WritePrivateProfileStringW(L"tester:clock1", L"running", L"1", file.c_str());
    WritePrivateProfileStringW(L"tester:clock1", L"term_tsc", L"13400000000000", file.c_str());
    CopyBounded(box.tree.clocks[1]->Record().prefix, L"B2");
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_EQ(L"1", box.Value(TreeSandbox::Clock(1), L"running"));
    EXPECT_EQ(L"13400000000000", box.Value(TreeSandbox::Clock(1), L"term_tsc"));
    BuildSettingsTree(box.tree);
    EXPECT_EQ(1, box.tree.clocks[0]->Record().running);

    // A pause saved by the main program is kept the same way.
    WritePrivateProfileStringW(L"tester:clock1", L"running", L"0", file.c_str());
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_EQ(L"0", box.Value(TreeSandbox::Clock(1), L"running"));
}
