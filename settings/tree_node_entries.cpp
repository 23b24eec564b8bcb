// Clock nodes, the two groups' exchange with the clock record, alarm and
// background nodes.
#include <algorithm>
#include <cstring>

#include "common/settings/clock_sections.h"
#include "common/settings/ini_arrays.h"
#include "common/settings/localisation.h"
#include "common/platform/text_bounds.h"
#include "settings/tree_node.h"

namespace {

constexpr uint32_t kTimerMask = kClockTimer | kClockSetDate;                       // 5
constexpr uint32_t kCountdownMask = kClockTimer | kClockCountdown;                 // 3

// Alarm arrays grow in steps of 8 records.
int AlarmCapacityFor(int count) { return (count / 8) * 8 + 8; }

// A private copy of count alarms; null for none or when memory is short.
AlarmRecord* CopyAlarms(const AlarmRecord* alarms, int count) {
    if (!alarms || count <= 0) return nullptr;
    AlarmRecord* copy = ResizeAlarmArray(nullptr, AlarmCapacityFor(count));
    if (copy) memcpy(copy, alarms, static_cast<size_t>(count) * sizeof(AlarmRecord));
    return copy;
}

// A default text in the language in force; empty when it has none.
bool LoadDefaultText(UINT id, wchar_t* buffer, int size) {
    buffer[0] = 0;
    return Language().LoadUiString(id, buffer, size) > 0 && buffer[0] != 0;
}

template <size_t N>
void CopyTitle(wchar_t* buffer, size_t size, const WCHAR (&field)[N]) {
    if (!buffer || size == 0) return;
    const size_t length = wcsnlen(field, N);
    CopyBounded(buffer, std::min(size, length + 1), field);
}

}  // namespace

// ---- clock ---------------------------------------------------------------------

CClockNode::CClockNode() {
    kind_ = kNodeClock;
    memset(&record_, 0, sizeof(record_));
}

CClockNode::~CClockNode() {
    record_.alarms = ResizeAlarmArray(record_.alarms, 0);
    record_.alarmCount = 0;
}

CTreeNode* CClockNode::Clone() const {
    auto* clone = new CClockNode();
    CopyBaseTo(clone);
    clone->record_ = record_;
    // The alarms come back with the cloned alarm nodes.
    clone->record_.alarms = nullptr;
    clone->record_.alarmCount = 0;
    // A copy is a new clock: the number names the source's section and its
    // window in the main program.
    clone->record_.number = 0;
    return clone;
}

void CClockNode::GetTitle(wchar_t* buffer, size_t size) const { GetClockTitle(record_, buffer, size); }

void CClockNode::ReadCheckState() {
    if (item_ && Control()) record_.enabled = ItemChecked() ? 1 : 0;
}

void CClockNode::UpdateItem() {
    CTreeNode::UpdateItem();
    SetStateImage(record_.enabled == 1 ? 2 : 1);
}

int CClockNode::GetPageIndex() const {
    if (!IsTimerClock(record_)) return kNodeClock;
    return (record_.kind & kCountdownMask) == kCountdownMask ? 12 : 13;
}

bool CClockNode::SetChecked(bool on) {
    record_.enabled = on ? 1 : 0;
    if (!Guarded()) UpdateItem();
    return true;
}

void CClockNode::Exchange(void* record, bool store) {
    auto* given = static_cast<ClockRecord*>(record);
    CTreeNode* alarms = ChildOfKind(kNodeAlarms);
    CTreeNode* backgrounds = ChildOfKind(kNodeBackgrounds);
    if (store) {
        record_.expanded = (expanded_ ? 1 : 0) | (alarms && alarms->IsExpanded() ? 2 : 0) |
                           (backgrounds && backgrounds->IsExpanded() ? 4 : 0);
        for (CTreeNode* child : children_) child->Exchange(&record_, true);
        // The alarm array stays the node's: the given record borrows it.
        if (given && given != &record_) *given = record_;
        return;
    }
    if (given && given != &record_) {
        AlarmRecord* own = record_.alarms;
        record_ = *given;
        // The node keeps a copy of its own, so that the caller's array and
        // the node's never free each other.
        int count = given->alarms ? std::max(given->alarmCount, 0) : 0;
        record_.alarms = CopyAlarms(given->alarms, count);
        record_.alarmCount = record_.alarms ? count : 0;
        ResizeAlarmArray(own, 0);
    }
    if (record_.profileCount < 0 || record_.profileCount > kMaxBackgroundProfiles) {
        record_.profileCount = std::clamp(record_.profileCount, 0, static_cast<int>(kMaxBackgroundProfiles));
    }
    if (!record_.alarms) record_.alarmCount = 0;
    const int bits = record_.expanded;
    SetExpanded((bits & 1) != 0);
    for (CTreeNode* child : children_) child->Exchange(&record_, false);
    if (alarms) alarms->SetExpanded((bits & 2) != 0);
    if (backgrounds) backgrounds->SetExpanded((bits & 4) != 0);
    if (CTreeNode* desktop = ChildOfKind(kNodeDesktop)) desktop->SetExpanded(false);
    if (CTreeNode* formats = ChildOfKind(kNodeFormats)) formats->SetExpanded(false);
    RefreshTitle();
    UpdateItem();
}

// ---- groups' exchange ------------------------------------------------------------

void CAlarmsNode::Exchange(void* record, bool store) {
    auto* clock = static_cast<ClockRecord*>(record);
    if (!clock) return;
    const int children = ChildCount();
    if (store) {
        clock->alarmsEnabled = enabled_;
        if (!clock->alarms) clock->alarmCount = 0;
        if (clock->alarmCount < children) {
            AlarmRecord* grown = ResizeAlarmArray(clock->alarms, AlarmCapacityFor(children));
            // Short of memory the array keeps what it had.
            if (grown) {
                const int old = clock->alarmCount;
                clock->alarms = grown;
                memset(grown + old, 0, static_cast<size_t>(children - old) * sizeof(AlarmRecord));
                clock->alarmCount = children;
            }
        } else {
            clock->alarmCount = children;
        }
        if (children == 0) clock->alarms = ResizeAlarmArray(clock->alarms, 0);
    } else {
        enabled_ = clock->alarmsEnabled == 1 ? 1 : 0;
        UpdateItem();
    }
    const int count = clock->alarms ? std::min(children, clock->alarmCount) : 0;
    for (int i = 0; i < count; ++i) children_[static_cast<size_t>(i)]->Exchange(&clock->alarms[i], store);
}

void CBackgroundsNode::Exchange(void* record, bool store) {
    auto* clock = static_cast<ClockRecord*>(record);
    if (!clock) return;
    const int children = ChildCount();
    if (store) {
        clock->profilesEnabled = enabled_;
        clock->profileCount = std::min(children, static_cast<int>(kMaxBackgroundProfiles));
    } else {
        enabled_ = clock->profilesEnabled == 1 ? 1 : 0;
        UpdateItem();
    }
    const int stored = std::clamp(clock->profileCount, 0, static_cast<int>(kMaxBackgroundProfiles));
    const int count = std::min(children, stored);
    for (int i = 0; i < count; ++i) children_[static_cast<size_t>(i)]->Exchange(&clock->profiles[i], store);
}

// ---- alarm ---------------------------------------------------------------------------

CAlarmNode::CAlarmNode() {
    kind_ = kNodeAlarm;
    memset(&alarm_, 0, sizeof(alarm_));
}

CTreeNode* CAlarmNode::Clone() const {
    auto* clone = new CAlarmNode();
    CopyBaseTo(clone);
    clone->alarm_ = alarm_;
    clone->parent_ = parent_;
    return clone;
}

void CAlarmNode::GetTitle(wchar_t* buffer, size_t size) const { CopyTitle(buffer, size, alarm_.comment); }

void CAlarmNode::ReadCheckState() {
    if (item_ && Control()) alarm_.enabled = ItemChecked() ? 1 : 0;
}

void CAlarmNode::UpdateItem() {
    CTreeNode::UpdateItem();
    SetStateImage(alarm_.enabled == 1 ? 2 : 1);
}

int CAlarmNode::GetPageIndex() const {
    const uint32_t kind = ClockKindOf(const_cast<CAlarmNode*>(this));
    if (!(kind & kClockTimer)) return kNodeAlarm;
    if ((kind & kTimerMask) == kTimerMask) return 15;
    if ((kind & kCountdownMask) == kClockTimer) return 17;
    return 16;
}

bool CAlarmNode::SetChecked(bool on) {
    alarm_.enabled = on ? 1 : 0;
    if (!Guarded()) UpdateItem();
    return true;
}

void CAlarmNode::Exchange(void* record, bool store) {
    auto* given = static_cast<AlarmRecord*>(record);
    if (!given) return;
    if (store) {
        if (given != &alarm_) *given = alarm_;
        return;
    }
    if (given != &alarm_) alarm_ = *given;
    nameId_ = 0;
    textId_ = 0;
    for (UINT id : kDefaultAlarmNameIds) {
        if (nameId_ && textId_) break;
        wchar_t text[ARRAYSIZE(alarm_.comment)] = {};
        if (!LoadDefaultText(id, text, ARRAYSIZE(text))) continue;
        if (TextFieldEquals(alarm_.comment, ARRAYSIZE(alarm_.comment), text)) nameId_ = id;
        if (alarm_.action == 0 && TextFieldEquals(alarm_.text, ARRAYSIZE(alarm_.text), text)) textId_ = id;
    }
    RefreshTitle();
    UpdateItem();
}

bool CAlarmNode::Relocalize() {
    bool changed = false;
    // A language without the text leaves the old one: an empty name would
    // lose what the alarm was called.
    if (nameId_) {
        wchar_t text[ARRAYSIZE(alarm_.comment)] = {};
        if (LoadDefaultText(nameId_, text, ARRAYSIZE(text))) {
            CopyBounded(alarm_.comment, text);
            changed = true;
        }
    }
    if (textId_ && alarm_.action == 0) {
        wchar_t text[ARRAYSIZE(alarm_.text)] = {};
        if (LoadDefaultText(textId_, text, ARRAYSIZE(text))) {
            CopyBounded(alarm_.text, text);
            changed = true;
        }
    }
    return changed;
}

// ---- background --------------------------------------------------------------------

CBackgroundNode::CBackgroundNode() {
    kind_ = kNodeBackground;
    memset(&profile_, 0, sizeof(profile_));
}

CTreeNode* CBackgroundNode::Clone() const {
    auto* clone = new CBackgroundNode();
    CopyBaseTo(clone);
    clone->profile_ = profile_;
    clone->parent_ = parent_;
    return clone;
}

void CBackgroundNode::GetTitle(wchar_t* buffer, size_t size) const { CopyTitle(buffer, size, profile_.name); }

void CBackgroundNode::ReadCheckState() {
    if (item_ && Control()) profile_.enabled = ItemChecked() ? 1 : 0;
}

void CBackgroundNode::UpdateItem() {
    CTreeNode::UpdateItem();
    SetStateImage(profile_.enabled == 1 ? 2 : 1);
}

int CBackgroundNode::GetPageIndex() const {
    const uint32_t kind = ClockKindOf(const_cast<CBackgroundNode*>(this));
    if (!(kind & kClockTimer)) return kNodeBackground;
    if ((kind & kTimerMask) == kTimerMask) return 18;
    if ((kind & kCountdownMask) == kClockTimer) return 20;
    return 19;
}

bool CBackgroundNode::SetChecked(bool on) {
    profile_.enabled = on ? 1 : 0;
    if (!Guarded()) UpdateItem();
    return true;
}

void CBackgroundNode::Exchange(void* record, bool store) {
    auto* given = static_cast<BackgroundProfile*>(record);
    if (!given) return;
    if (store) {
        if (given != &profile_) *given = profile_;
        return;
    }
    if (given != &profile_) profile_ = *given;
    nameId_ = 0;
    for (UINT id : kDefaultBackgroundNameIds) {
        wchar_t text[ARRAYSIZE(profile_.name)] = {};
        if (!LoadDefaultText(id, text, ARRAYSIZE(text))) continue;
        if (TextFieldEquals(profile_.name, ARRAYSIZE(profile_.name), text)) {
            nameId_ = id;
            break;
        }
    }
    RefreshTitle();
    UpdateItem();
}

bool CBackgroundNode::Relocalize() {
    if (!nameId_) return false;
    wchar_t text[ARRAYSIZE(profile_.name)] = {};
    if (!LoadDefaultText(nameId_, text, ARRAYSIZE(text))) return false;
    CopyBounded(profile_.name, text);
    return true;
}
