#include <cwchar>

#include "common/settings/clock_sections.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kCountdownToStringId = IDS_COUNTDOWN_TO;
constexpr size_t kZoneTagChars = 30;

template <size_t N>
size_t FieldLength(const WCHAR (&field)[N]) {
    return wcsnlen(field, N);
}

// "<text> <more>" when both fit, else just the text.
void AppendAfterBlank(wchar_t* buffer, size_t size, const wchar_t* more, size_t moreLength) {
    size_t used = wcslen(buffer);
    if (used + 1 + moreLength + 1 > size) return;
    buffer[used] = L' ';
    wmemcpy(buffer + used + 1, more, moreLength);
    buffer[used + 1 + moreLength] = 0;
}

}  // namespace

void GetClockTitle(const ClockRecord& record, wchar_t* buffer, size_t size) {
    if (!buffer || size == 0) return;
    buffer[0] = 0;
    const size_t labelLength = FieldLength(record.label);
    const size_t nameLength = FieldLength(record.zone.displayName);
    if (labelLength == 0) {
        CopyBounded(buffer, size < nameLength + 1 ? size : nameLength + 1, record.zone.displayName);
        return;
    }

    const size_t prefixLength = FieldLength(record.prefix);
    const uint32_t dated = kClockTimer | kClockCountdown | kClockSetDate;
    if ((record.kind & dated) == dated && prefixLength > 0 && prefixLength <= FieldLength(record.location) &&
        wcsncmp(record.location, record.prefix, prefixLength) == 0) {
        // A countdown to a date named after its place reads "Countdown to <place>".
        if (Language().LoadUiString(kCountdownToStringId, buffer, static_cast<int>(size)) <= 0) {
            CopyBounded(buffer, size, L"Countdown to");
        }
        AppendAfterBlank(buffer, size, record.prefix, prefixLength);
        return;
    }

    CopyBounded(buffer, size < labelLength + 1 ? size : labelLength + 1, record.label);
    if (nameLength > 0 && record.zone.displayName[0] == L'(') {
        const wchar_t* close = wmemchr(record.zone.displayName, L')', nameLength);
        if (close) {
            size_t tagLength = static_cast<size_t>(close - record.zone.displayName) + 1;
            if (tagLength <= kZoneTagChars) AppendAfterBlank(buffer, size, record.zone.displayName, tagLength);
        }
    }
}
