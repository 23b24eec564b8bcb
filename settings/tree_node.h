// The nodes of the settings tree: five option nodes, and per clock its desktop
// and formats nodes, an alarms group and a backgrounds group with their
// entries. Each node knows its item in the tree control, its page, its title
// and check box, and moves its data into and out of the clock record that is
// finally written to tempovia.ini.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <vector>

#include "common/records/alarm_record.h"
#include "common/records/background_profile.h"
#include "common/records/clock_record.h"
#include "settings/settings_tree_link.h"
#include "resources/resource_ids.h"

struct SettingsTree;

// Room for a node's title in the tree control.
inline constexpr int kNodeTitleChars = 100;

// UI strings: node titles and the default entry names that follow the language.
inline constexpr UINT kGeneralTitleId = IDS_TREE_GENERAL;
inline constexpr UINT kIniTitleId = IDS_TREE_INI;
inline constexpr UINT kTimeTitleId = IDS_TREE_TIME_SYNC;
inline constexpr UINT kNewsTitleId = IDS_TREE_NEWS;
inline constexpr UINT kTrayTitleId = IDS_TREE_TASKBAR;
inline constexpr UINT kFormatsTitleId = IDS_TREE_FORMATS;
inline constexpr UINT kDesktopTitleId = IDS_TREE_DESKTOP;
inline constexpr UINT kAlarmsTitleId = IDS_TREE_ALARMS;
inline constexpr UINT kBackgroundsTitleId = IDS_TREE_BACKGROUNDS;
inline constexpr UINT kDefaultAlarmNameIds[] = {IDS_DEFAULT_ALARM_NAME};
inline constexpr UINT kDefaultBackgroundNameIds[] = {IDS_DEFAULT_BACKGROUND_NAME, IDS_DEFAULT_WORKING_HOURS};

class CTreeNode {
public:
    CTreeNode() = default;
    CTreeNode(const CTreeNode&) = delete;
    CTreeNode& operator=(const CTreeNode&) = delete;

    // A copy of the node without children, not yet linked into any parent.
    virtual CTreeNode* Clone() const = 0;
    virtual void GetTitle(wchar_t* buffer, size_t size) const = 0;
    // Takes the check box of the item into the node's enabled state.
    virtual void ReadCheckState() {}
    // Unlinks the node, removes its items and deletes its children.
    virtual ~CTreeNode();
    // Moves the node's data into (store) or out of the record of its level:
    // the ClockRecord for clocks and groups, an AlarmRecord, a BackgroundProfile.
    virtual void Exchange(void* record, bool store) = 0;
    virtual void* GetRecord() = 0;
    // Pushes the expanded state (and, in the nodes that have one, the check
    // box) to the item.
    virtual void UpdateItem();
    virtual int GetPageIndex() const { return kind_; }
    virtual bool IsChecked() const { return false; }
    // False when the node has no check box.
    virtual bool SetChecked(bool) { return true; }
    // After a language change; whether the title must be refreshed.
    virtual bool Relocalize() { return false; }
    virtual bool IsClock() const { return false; }
    virtual bool IsExpanded() const { return expanded_; }
    virtual void SetExpanded(bool expanded);
    virtual void Select();

    void RefreshTitle();
    // Inserts the items of the node and its children into the tree's control
    // (after the previous sibling's item), or removes them.
    void InsertItems(bool insert);
    void ReadItemState();
    CTreeNode* FindClockNode();
    int GetKind() const { return kind_; }

    CTreeNode* Parent() const { return parent_; }
    SettingsTree* Tree() const { return tree_; }
    HTREEITEM Item() const { return item_; }
    int ChildCount() const { return static_cast<int>(children_.size()); }
    CTreeNode* Child(int index) const;
    CTreeNode* FirstChild() const { return Child(0); }
    // Within the parent, or within the tree's top-level list.
    CTreeNode* NextSibling() const;
    CTreeNode* PreviousSibling() const;
    // The first child of that kind, none when absent.
    CTreeNode* ChildOfKind(int kind) const;
    // Whether node is this one or lies below it.
    bool Contains(const CTreeNode* node) const;

    // Clones every child of source (with their children) into target; with
    // clear, target's own children go first. Nothing when the two are the
    // same or one is the other's parent.
    static void CopyChildren(CTreeNode* target, const CTreeNode* source, bool clear);

protected:
    HWND Control() const;
    // The check box the item shows: 2 on, anything else off.
    bool ItemChecked() const;
    // State image (0 none, 1 off, 2 on).
    void SetStateImage(int image);
    bool Guarded() const { return updateGuard_ > 0; }
    // Gives a clone the tree and expanded flag of this node.
    void CopyBaseTo(CTreeNode* clone) const;
    // Deletes an item whose node has let go of it: the item forgets the node
    // first, so the control's deletion notice names no node.
    static void DeleteItem(HWND control, HTREEITEM item);

    int kind_ = kNodeClock;
    std::vector<CTreeNode*> children_;
    bool expanded_ = false;
    int updateGuard_ = 0;
    HTREEITEM item_ = nullptr;
    SettingsTree* tree_ = nullptr;
    CTreeNode* parent_ = nullptr;

    // The tree places, links and inserts nodes.
    friend struct SettingsTreeAccess;
};

// Option, desktop and formats nodes: no data of their own, no check box.
class CSimpleNode : public CTreeNode {
public:
    void Exchange(void*, bool) override {}
    void* GetRecord() override { return nullptr; }
    void UpdateItem() override;
    bool SetChecked(bool on) override;
    bool Relocalize() override { return true; }
    void GetTitle(wchar_t* buffer, size_t size) const override;

protected:
    explicit CSimpleNode(int kind, UINT titleId);
    UINT titleId_;
};

class CGeneralNode final : public CSimpleNode {
public:
    CGeneralNode() : CSimpleNode(kNodeGeneral, kGeneralTitleId) {}
    CTreeNode* Clone() const override;
};
class CIniNode final : public CSimpleNode {
public:
    CIniNode() : CSimpleNode(kNodeIni, kIniTitleId) {}
    CTreeNode* Clone() const override;
};
class CTimeNode final : public CSimpleNode {
public:
    CTimeNode() : CSimpleNode(kNodeTime, kTimeTitleId) {}
    CTreeNode* Clone() const override;
};
class CNewsNode final : public CSimpleNode {
public:
    CNewsNode() : CSimpleNode(kNodeNews, kNewsTitleId) {}
    CTreeNode* Clone() const override;
};
class CTrayNode final : public CSimpleNode {
public:
    CTrayNode() : CSimpleNode(kNodeTaskbar, kTrayTitleId) {}
    CTreeNode* Clone() const override;
};

// Desktop and formats pages edit their clock's record.
class CFormatsNode final : public CSimpleNode {
public:
    CFormatsNode() : CSimpleNode(kNodeFormats, kFormatsTitleId) {}
    CTreeNode* Clone() const override;
    void* GetRecord() override;
    int GetPageIndex() const override;
};
class CDesktopNode final : public CSimpleNode {
public:
    CDesktopNode() : CSimpleNode(kNodeDesktop, kDesktopTitleId) {}
    CTreeNode* Clone() const override;
    void* GetRecord() override;
};

class CClockNode final : public CTreeNode {
public:
    CClockNode();
    ~CClockNode() override;
    CTreeNode* Clone() const override;
    void GetTitle(wchar_t* buffer, size_t size) const override;
    void ReadCheckState() override;
    void Exchange(void* record, bool store) override;
    void* GetRecord() override { return &record_; }
    void UpdateItem() override;
    int GetPageIndex() const override;
    bool IsChecked() const override { return record_.enabled == 1; }
    bool SetChecked(bool on) override;
    bool IsClock() const override { return true; }

    ClockRecord& Record() { return record_; }
    const ClockRecord& Record() const { return record_; }

private:
    // The node's own copy; its alarm array belongs to the node.
    ClockRecord record_;
};

// Alarms group (kind 8) and backgrounds group (kind 10).
class CGroupNode : public CTreeNode {
public:
    void GetTitle(wchar_t* buffer, size_t size) const override;
    void ReadCheckState() override;
    void* GetRecord() override;
    void UpdateItem() override;
    bool IsChecked() const override { return enabled_ != 0; }
    bool SetChecked(bool on) override;
    bool Relocalize() override { return true; }
    uint8_t Enabled() const { return enabled_; }

protected:
    CGroupNode(int kind, UINT titleId);
    void CopyGroupTo(CGroupNode* clone) const;
    uint8_t enabled_ = 1;
    UINT titleId_;
};

class CAlarmsNode final : public CGroupNode {
public:
    CAlarmsNode() : CGroupNode(kNodeAlarms, kAlarmsTitleId) {}
    CTreeNode* Clone() const override;
    void Exchange(void* record, bool store) override;
};

class CBackgroundsNode final : public CGroupNode {
public:
    CBackgroundsNode() : CGroupNode(kNodeBackgrounds, kBackgroundsTitleId) {}
    CTreeNode* Clone() const override;
    void Exchange(void* record, bool store) override;
};

class CAlarmNode final : public CTreeNode {
public:
    CAlarmNode();
    CTreeNode* Clone() const override;
    void GetTitle(wchar_t* buffer, size_t size) const override;
    void ReadCheckState() override;
    void Exchange(void* record, bool store) override;
    void* GetRecord() override { return &alarm_; }
    void UpdateItem() override;
    int GetPageIndex() const override;
    bool IsChecked() const override { return alarm_.enabled == 1; }
    bool SetChecked(bool on) override;
    bool Relocalize() override;

    AlarmRecord& Alarm() { return alarm_; }
    UINT NameId() const { return nameId_; }
    UINT TextId() const { return textId_; }

private:
    UINT nameId_ = 0;
    UINT textId_ = 0;
    AlarmRecord alarm_;
};

class CBackgroundNode final : public CTreeNode {
public:
    CBackgroundNode();
    CTreeNode* Clone() const override;
    void GetTitle(wchar_t* buffer, size_t size) const override;
    void ReadCheckState() override;
    void Exchange(void* record, bool store) override;
    void* GetRecord() override { return &profile_; }
    void UpdateItem() override;
    int GetPageIndex() const override;
    bool IsChecked() const override { return profile_.enabled == 1; }
    bool SetChecked(bool on) override;
    bool Relocalize() override;

    BackgroundProfile& Profile() { return profile_; }
    UINT NameId() const { return nameId_; }

private:
    BackgroundProfile profile_;
    UINT nameId_ = 0;
};

// The kind bits of the clock a node belongs to (0 outside clocks).
uint32_t ClockKindOf(CTreeNode* node);
