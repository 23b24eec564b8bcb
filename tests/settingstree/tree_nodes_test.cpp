// Nodes in a tree control: check boxes, expanded state, titles that follow
// the language, and the drag-and-drop and add rules.
#include <gtest/gtest.h>

#include "tests/settingstree/tree_fixture.h"

#include <commctrl.h>

#include "common/settings/localisation.h"

using namespace tree_test;

namespace {

std::string Profiles(int count) {
    std::string lines;
    for (int k = 1; k <= count; ++k) {
        lines += "profile" + std::to_string(k) + "=1, 09:00-18:00, FF0000, 7F, 06, P" + std::to_string(k) + "\r\n";
    }
    return lines;
}

TEST(SettingsTreeNodes, ItemsMirrorTheNodesWithTheirCheckBoxes) {
    TreeSandbox box;
    box.WriteLanguage(L"en", "216=General\r\n212=Alarms\r\n211=Backgrounds\r\n");
    box.WriteUserIni(ClockSection(1, "A") + "[tester:clock2]\r\nenabled=0\r\nprefix=B\r\n" +
                     AlarmSection(2, 1, "b1", "enabled=0\r\n"));
    TreeControl control;
    ASSERT_NE(nullptr, control.hwnd());
    BuildSettingsTree(box.tree);
    AttachTree(box.tree, control.hwnd());
    // Five options and two clocks with four children each, one alarm.
    EXPECT_EQ(16u, TreeView_GetCount(control.hwnd()));
    CTreeNode* general = box.tree.top[0];
    ASSERT_NE(nullptr, general->Item());
    EXPECT_EQ(L"General", control.Text(general->Item()));
    EXPECT_EQ(0, control.StateImage(general->Item()));
    EXPECT_FALSE(general->SetChecked(true));

    CClockNode* a = box.tree.clocks[0];
    CClockNode* b = box.tree.clocks[1];
    EXPECT_EQ(2, control.StateImage(a->Item()));
    EXPECT_EQ(1, control.StateImage(b->Item()));
    EXPECT_EQ(1, CountEnabledClocks(box.tree));
    EXPECT_EQ(reinterpret_cast<LPARAM>(b), [&] {
        TVITEMW tv = {};
        tv.mask = TVIF_PARAM;
        tv.hItem = b->Item();
        TreeView_GetItem(control.hwnd(), &tv);
        return tv.lParam;
    }());
    // The item's box is read back into the record.
    TreeView_SetItemState(control.hwnd(), b->Item(), INDEXTOSTATEIMAGEMASK(2), TVIS_STATEIMAGEMASK);
    b->ReadItemState();
    EXPECT_EQ(1, b->Record().enabled);

    // A group without entries has no box and refuses one; its first entry
    // gives it one again.
    CTreeNode* group = a->ChildOfKind(kNodeAlarms);
    EXPECT_EQ(L"Alarms", control.Text(group->Item()));
    EXPECT_EQ(0, control.StateImage(group->Item()));
    EXPECT_FALSE(group->SetChecked(true));
    CTreeNode* alarm = CreateClockFromDefaults(box.tree, group, nullptr, false, nullptr, 0);
    ASSERT_NE(nullptr, alarm);
    EXPECT_NE(nullptr, alarm->Item());
    group->UpdateItem();
    EXPECT_EQ(2, control.StateImage(group->Item()));
    EXPECT_TRUE(group->SetChecked(false));
    EXPECT_EQ(1, control.StateImage(group->Item()));

    CTreeNode* off = b->ChildOfKind(kNodeAlarms)->Child(0);
    EXPECT_EQ(L"b1", control.Text(off->Item()));
    EXPECT_EQ(1, control.StateImage(off->Item()));

    // A moved node's items follow it to its new place.
    ASSERT_EQ(b, DropNode(box.tree, b, a, false));
    ASSERT_NE(nullptr, b->Item());
    EXPECT_EQ(a->Item(), TreeView_GetNextSibling(control.hwnd(), b->Item()));
    EXPECT_EQ(box.tree.top[4]->Item(), TreeView_GetPrevSibling(control.hwnd(), b->Item()));
    HTREEITEM firstChild = TreeView_GetChild(control.hwnd(), b->Item());
    EXPECT_EQ(b->Child(0)->Item(), firstChild);
    EXPECT_EQ(off->Item(), TreeView_GetChild(control.hwnd(), b->ChildOfKind(kNodeAlarms)->Item()));

    // Removing nodes takes their items with them.
    const UINT before = TreeView_GetCount(control.hwnd());
    RemoveNode(box.tree, b);
    EXPECT_EQ(before - 6, TreeView_GetCount(control.hwnd()));
    AttachTree(box.tree, nullptr);
    EXPECT_EQ(0u, TreeView_GetCount(control.hwnd()));
    EXPECT_EQ(nullptr, a->Item());
}

TEST(SettingsTreeNodes, StoringAClockRecordsExactlyWhichNodesWereExpanded) {
    TreeSandbox box;
    box.WriteUserIni(ClockSection(1, "A", "expanded=5\r\n") + AlarmSection(1, 1, "a1"));
    BuildSettingsTree(box.tree);
    CClockNode* clock = box.tree.clocks[0];
    CTreeNode* alarms = clock->ChildOfKind(kNodeAlarms);
    CTreeNode* backgrounds = clock->ChildOfKind(kNodeBackgrounds);
    EXPECT_TRUE(clock->IsExpanded());
    EXPECT_FALSE(alarms->IsExpanded());
    EXPECT_TRUE(backgrounds->IsExpanded());
    clock->SetExpanded(false);
    alarms->SetExpanded(true);
    backgrounds->SetExpanded(false);
    clock->Exchange(&clock->Record(), true);
    EXPECT_EQ(2, clock->Record().expanded);

    ClockRecord copy = clock->Record();
    copy.expanded = 6;
    clock->Exchange(&copy, false);
    EXPECT_FALSE(clock->IsExpanded());
    EXPECT_TRUE(alarms->IsExpanded());
    EXPECT_TRUE(backgrounds->IsExpanded());
    EXPECT_FALSE(clock->ChildOfKind(kNodeDesktop)->IsExpanded());
    // The node keeps its own alarm array.
    EXPECT_NE(copy.alarms, clock->Record().alarms);
    EXPECT_EQ(1, clock->Record().alarmCount);
}

TEST(SettingsTreeNodes, DefaultNamesFollowTheLanguageTypedNamesStay) {
    TreeSandbox box;
    box.WriteLanguage(L"en", "122=Alarm\r\n219=Background\r\n216=General\r\n");
    box.WriteLanguage(L"de", "122=Wecker\r\n219=Hintergrund\r\n216=Allgemein\r\n");
    box.WriteUserIni(ClockSection(1, "A", "profile1=1, 09:00-18:00, FF0000, 7F, 06, Background\r\n"
                                         "profile2=1, 09:00-18:00, FF0000, 7F, 06, Mine\r\n") +
                     AlarmSection(1, 1, "Alarm", "action=0\r\ntext=Alarm\r\n") + AlarmSection(1, 2, "Wake up"));
    TreeControl control;
    BuildSettingsTree(box.tree);
    AttachTree(box.tree, control.hwnd());
    CClockNode* clock = box.tree.clocks[0];
    auto* standard = static_cast<CAlarmNode*>(clock->ChildOfKind(kNodeAlarms)->Child(0));
    auto* typed = static_cast<CAlarmNode*>(clock->ChildOfKind(kNodeAlarms)->Child(1));
    auto* named = static_cast<CBackgroundNode*>(clock->ChildOfKind(kNodeBackgrounds)->Child(0));
    auto* mine = static_cast<CBackgroundNode*>(clock->ChildOfKind(kNodeBackgrounds)->Child(1));
    EXPECT_EQ(122u, standard->NameId());
    EXPECT_EQ(122u, standard->TextId());
    EXPECT_EQ(0u, typed->NameId());
    EXPECT_EQ(219u, named->NameId());

    Language().SetLanguage(L"de");
    RelocalizeAll(box.tree);
    EXPECT_STREQ(L"Wecker", standard->Alarm().comment);
    EXPECT_STREQ(L"Wecker", standard->Alarm().text);
    EXPECT_EQ(L"Wecker", control.Text(standard->Item()));
    EXPECT_STREQ(L"Wake up", typed->Alarm().comment);
    EXPECT_STREQ(L"Hintergrund", named->Profile().name);
    EXPECT_STREQ(L"Mine", mine->Profile().name);
    EXPECT_EQ(L"Allgemein", control.Text(box.tree.top[0]->Item()));
    // The clock's record has the new names for the next save.
    EXPECT_STREQ(L"Wecker", clock->Record().alarms[0].comment);
    EXPECT_STREQ(L"Hintergrund", clock->Record().profiles[0].name);

    // A language without the text keeps the name it has.
    box.WriteLanguage(L"fr", "216=Général\r\n");
    Language().SetLanguage(L"fr");
    RelocalizeAll(box.tree);
    EXPECT_STREQ(L"Wecker", standard->Alarm().comment);
}

TEST(SettingsTreeRules, NodesAreNotDroppedOntoThemselvesOrTheirNextSibling) {
    TreeSandbox box;
    box.WriteUserIni(ClockSection(1, "A") + AlarmSection(1, 1, "a1") + AlarmSection(1, 2, "a2") +
                     ClockSection(2, "B"));
    BuildSettingsTree(box.tree);
    CClockNode* a = box.tree.clocks[0];
    CTreeNode* a1 = a->ChildOfKind(kNodeAlarms)->Child(0);
    CTreeNode* a2 = a->ChildOfKind(kNodeAlarms)->Child(1);
    EXPECT_FALSE(CanDropNode(box.tree, a, a, false));
    EXPECT_FALSE(CanDropNode(box.tree, a, a, true));
    EXPECT_EQ(nullptr, DropNode(box.tree, a1, a1, false));
    EXPECT_FALSE(InsertNode(box.tree, a1, a1->Parent(), a1));
    EXPECT_FALSE(CanDropNode(box.tree, a1, a2, false));  // already before it
    EXPECT_FALSE(CanDropNode(box.tree, a2, a, false));   // already last
    EXPECT_FALSE(CanDropNode(box.tree, box.tree.top[0], a, false));
    EXPECT_FALSE(CanDropNode(box.tree, a1, box.tree.top[1], false));
    EXPECT_FALSE(CanDropNode(box.tree, nullptr, a, false));
    // A node is never placed inside itself.
    EXPECT_FALSE(InsertNode(box.tree, a, a->ChildOfKind(kNodeAlarms), nullptr));
    EXPECT_EQ(2, a->ChildOfKind(kNodeAlarms)->ChildCount());

    // Reordering alarms, and moving one to the other clock.
    ASSERT_TRUE(CanDropNode(box.tree, a2, a1, false));
    DropNode(box.tree, a2, a1, false);
    EXPECT_EQ(a2, a->ChildOfKind(kNodeAlarms)->Child(0));
    ASSERT_TRUE(CanDropNode(box.tree, a2, box.tree.clocks[1], false));
    EXPECT_EQ(a2, DropNode(box.tree, a2, box.tree.clocks[1], false));
    EXPECT_EQ(box.tree.clocks[1], a2->FindClockNode());
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_EQ(L"a1", box.Value(TreeSandbox::Alarm(1, 1), L"comment"));
    EXPECT_FALSE(box.HasSection(TreeSandbox::Alarm(1, 2)));
    EXPECT_EQ(L"a2", box.Value(TreeSandbox::Alarm(2, 1), L"comment"));
}

TEST(SettingsTreeRules, CopiesGoOnlyBetweenClocksOfOneType) {
    TreeSandbox box;
    box.WriteUserIni(ClockSection(1, "A") + AlarmSection(1, 1, "a1") + ClockSection(2, "B") +
                     ClockSection(3, "W", "timer_mode=1\r\n"));
    BuildSettingsTree(box.tree);
    CClockNode* a = box.tree.clocks[0];
    CClockNode* b = box.tree.clocks[1];
    CClockNode* w = box.tree.clocks[2];
    EXPECT_EQ(13, w->GetPageIndex());
    EXPECT_EQ(17, CreateClockFromDefaults(box.tree, w->ChildOfKind(kNodeAlarms), nullptr, false, nullptr, 0)
                      ->GetPageIndex());
    EXPECT_EQ(14, w->ChildOfKind(kNodeFormats)->GetPageIndex());
    EXPECT_FALSE(CanDropNode(box.tree, a, w, true));
    EXPECT_TRUE(CanDropNode(box.tree, a, b, true));
    EXPECT_FALSE(CanDropNode(box.tree, a->ChildOfKind(kNodeAlarms), w, true));
    EXPECT_FALSE(CanDropNode(box.tree, a->ChildOfKind(kNodeAlarms), b, false));
    ASSERT_TRUE(CanDropNode(box.tree, a->ChildOfKind(kNodeAlarms), b, true));
    CTreeNode* group = DropNode(box.tree, a->ChildOfKind(kNodeAlarms), b, true);
    EXPECT_EQ(b->ChildOfKind(kNodeAlarms), group);
    EXPECT_EQ(1, group->ChildCount());
    EXPECT_EQ(1, a->ChildOfKind(kNodeAlarms)->ChildCount());
    CTreeNode* clone = DropNode(box.tree, a, b, true);
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ((std::vector<std::wstring>{L"A", L"A", L"B", L"W"}), Labels(box.tree));
}

TEST(SettingsTreeRules, AFullBackgroundsGroupTakesNoMoreButReorders) {
    TreeSandbox box;
    box.WriteUserIni(ClockSection(1, "A", Profiles(12).c_str()) + ClockSection(2, "B", Profiles(1).c_str()));
    BuildSettingsTree(box.tree);
    CClockNode* a = box.tree.clocks[0];
    CClockNode* b = box.tree.clocks[1];
    CTreeNode* full = a->ChildOfKind(kNodeBackgrounds);
    ASSERT_EQ(12, full->ChildCount());
    EXPECT_FALSE(CanAddNode(box.tree, full));
    EXPECT_FALSE(CanAddNode(box.tree, full->Child(0)));
    EXPECT_EQ(nullptr, CreateClockFromDefaults(box.tree, full, nullptr, false, nullptr, 0));
    CTreeNode* other = b->ChildOfKind(kNodeBackgrounds)->Child(0);
    EXPECT_FALSE(CanDropNode(box.tree, other, a, false));
    EXPECT_FALSE(CanDropNode(box.tree, other, full->Child(3), true));
    EXPECT_FALSE(CanDropNode(box.tree, b->ChildOfKind(kNodeBackgrounds), a, true));
    EXPECT_FALSE(InsertNode(box.tree, other, full, nullptr));
    EXPECT_EQ(b, other->FindClockNode());
    // Its own entries still move.
    CTreeNode* last = full->Child(11);
    ASSERT_TRUE(CanDropNode(box.tree, last, full->Child(0), false));
    EXPECT_EQ(last, DropNode(box.tree, last, full->Child(0), false));
    EXPECT_EQ(last, full->Child(0));
    EXPECT_EQ(12, full->ChildCount());

    // More than 12 entries in a group (only by force) are stored as 12.
    auto* extra = new CBackgroundNode();
    SettingsTreeAccess::SetParent(extra, full);
    SettingsTreeAccess::SetTree(extra, &box.tree);
    SettingsTreeAccess::Children(full).push_back(extra);
    a->Exchange(&a->Record(), true);
    EXPECT_EQ(12, a->Record().profileCount);
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_NE(std::wstring::npos, box.Value(TreeSandbox::Clock(1), L"profile1").find(L"P12"));
    EXPECT_TRUE(box.Value(TreeSandbox::Clock(1), L"profile13").empty());
}

TEST(SettingsTreeRules, TwentyAlarmsAreTheLimitOfAClock) {
    TreeSandbox box;
    std::string ini = ClockSection(1, "A");
    for (int m = 1; m <= 20; ++m) ini += AlarmSection(1, m, ("a" + std::to_string(m)).c_str());
    ini += ClockSection(2, "B") + AlarmSection(2, 1, "b1");
    box.WriteUserIni(ini);
    BuildSettingsTree(box.tree);
    CClockNode* a = box.tree.clocks[0];
    CClockNode* b = box.tree.clocks[1];
    CTreeNode* full = a->ChildOfKind(kNodeAlarms);
    ASSERT_EQ(20, full->ChildCount());
    EXPECT_FALSE(CanAddNode(box.tree, full));
    EXPECT_FALSE(CanAddNode(box.tree, full->Child(4)));
    EXPECT_EQ(nullptr, CreateClockFromDefaults(box.tree, full, nullptr, false, nullptr, 0));
    CTreeNode* other = b->ChildOfKind(kNodeAlarms)->Child(0);
    EXPECT_FALSE(CanDropNode(box.tree, other, full->Child(0), false));
    EXPECT_FALSE(CanDropNode(box.tree, other, a, true));
    EXPECT_FALSE(CanDropNode(box.tree, b->ChildOfKind(kNodeAlarms), a, true));
    EXPECT_EQ(nullptr, DropNode(box.tree, full->Child(3), full->Child(0), true));
    EXPECT_EQ(20, full->ChildCount());
    // Its own alarms still reorder; the other clock still takes one.
    EXPECT_NE(nullptr, DropNode(box.tree, full->Child(19), full->Child(0), false));
    EXPECT_TRUE(CanAddNode(box.tree, b->ChildOfKind(kNodeAlarms)));
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_EQ(L"a20", box.Value(TreeSandbox::Alarm(1, 1), L"comment"));
    EXPECT_EQ(L"a19", box.Value(TreeSandbox::Alarm(1, 20), L"comment"));
}

TEST(SettingsTreeRules, AddAndDeleteFollowTheNodeKinds) {
    TreeSandbox box;
    box.WriteUserIni(ClockSection(1, "A"));
    BuildSettingsTree(box.tree);
    CClockNode* a = box.tree.clocks[0];
    EXPECT_FALSE(CanAddNode(box.tree, box.tree.top[0]));
    EXPECT_FALSE(CanAddNode(box.tree, a->ChildOfKind(kNodeDesktop)));
    EXPECT_TRUE(CanAddNode(box.tree, a->ChildOfKind(kNodeAlarms)));
    EXPECT_FALSE(CanDeleteNode(box.tree, a));  // the last clock stays
    EXPECT_FALSE(CanDeleteNode(box.tree, box.tree.top[2]));
    EXPECT_EQ(nullptr, CreateClockFromDefaults(box.tree, a, nullptr, false, nullptr, 0));
    EXPECT_EQ(nullptr, CreateClockFromDefaults(box.tree, a->ChildOfKind(kNodeFormats), nullptr, false, nullptr, 0));
    CTreeNode* alarm = CreateClockFromDefaults(box.tree, a->ChildOfKind(kNodeAlarms), nullptr, false, nullptr, 0);
    ASSERT_NE(nullptr, alarm);
    EXPECT_EQ(9, alarm->GetPageIndex());
    EXPECT_TRUE(alarm->IsChecked());
    EXPECT_TRUE(CanDeleteNode(box.tree, alarm));
    RemoveNode(box.tree, alarm);
    EXPECT_EQ(0, a->ChildOfKind(kNodeAlarms)->ChildCount());
    CTreeNode* background =
        CreateClockFromDefaults(box.tree, a->ChildOfKind(kNodeBackgrounds), nullptr, false, nullptr, 0);
    ASSERT_NE(nullptr, background);
    EXPECT_EQ(11, background->GetPageIndex());
    ASSERT_EQ(ClockSaveResult::kWritten, SaveClockOrder(box.tree));
    EXPECT_FALSE(box.Value(TreeSandbox::Clock(1), L"profile1").empty());
    EXPECT_FALSE(box.HasSection(TreeSandbox::Alarm(1, 1)));
}

}  // namespace
