// The localisation object of a program: which language is in force, where its
// language INI files are, and the resource library whose string table, dialogs,
// menus and icons back them. Every text the user sees comes through it.
#pragma once

#include <windows.h>

#include <string>

#include "common/settings/plural_tables.h"
#include "resources/resource_ids.h"

inline constexpr wchar_t kStringTableSection[] = L"StringTable";
inline constexpr LANGID kUserDefaultLanguage = 1024;  // LANG_USER_DEFAULT

class LanguageStrings {
public:
    // Language of the user's default locale, the module's base name and folder.
    LanguageStrings();

    // Base name of the language files ("tempovia" in every program) and their
    // folder; each recomputes both language file paths.
    void SetLanguageFileBase(const wchar_t* base);
    void SetLanguageFolder(const wchar_t* folder);

    // "<folder>\<base>_<ll>.ini" for a language code (ll: its first two letters,
    // lower case, after the remapping of old codes). The path is given whenever
    // the code and base name are usable; true only when that file exists.
    bool FindLanguageFile(const wchar_t* code, std::wstring& path) const;
    // That path without looking for the file; empty when the code or base name
    // is not usable.
    std::wstring LanguageFilePath(const wchar_t* code) const;

    // Sets the language by its code (nullptr or "" for the system's); reads the
    // locale's day and month names, the language file path and, once a resource
    // library is known, its plural tables.
    void SetLanguage(const wchar_t* code);
    // The first installed locale whose abbreviated language name starts with the
    // whole (two-letter) code; kUserDefaultLanguage when none does.
    static LANGID FindLocaleForLanguage(const wchar_t* code);

    // A UI text: the key named by the id in the language file's section, else
    // the resource library's string. Returns the length; the buffer is always
    // terminated (emptied when neither source has the text).
    int LoadUiString(UINT id, wchar_t* buffer, int size, const wchar_t* section = kStringTableSection) const;
    std::wstring LoadUiString(UINT id, const wchar_t* section = kStringTableSection) const;

    // Caption and "Button" / "Static" control texts of a dialog from the
    // language file's section, else the English file's; false when there is no
    // section or no language file path.
    bool TranslateDialog(HWND dialog, const wchar_t* section) const;

    // Resource library and the string ids of the five unit names (seconds,
    // minutes, hours, days, weeks); null ids clear them.
    void SetPluralInfo(HMODULE module, const int* unitIds);
    void LoadPluralTables();
    void SetPluralTable(int unit, const wchar_t* text) { plurals_.SetTable(unit, text); }
    // The unit's word for n (n mod 100 decides); nullptr for an unknown unit.
    const wchar_t* SelectPluralText(int unit, int n) const { return plurals_.Select(unit, n); }

    LANGID languageId() const { return languageId_; }
    const std::wstring& languageCode() const { return code_; }
    const std::wstring& baseName() const { return base_; }
    const std::wstring& folder() const { return folder_; }
    const std::wstring& languageIniPath() const { return languageIni_; }
    const std::wstring& englishIniPath() const { return englishIni_; }
    HMODULE resourceModule() const { return module_; }

private:
    void UpdatePaths();

    LANGID languageId_ = kUserDefaultLanguage;
    std::wstring code_;        // at most 15 characters, lower case
    std::wstring extension_ = L".ini";
    std::wstring base_;        // at most 64 characters
    std::wstring folder_;      // at most 260 characters
    std::wstring languageIni_;
    std::wstring englishIni_;
    HMODULE module_ = nullptr;
    int unitIds_[kPluralUnits] = {};
    PluralTables plurals_;
};

// The program's localisation object.
LanguageStrings& Language();

// A UI text with its one "%s" filled. The format comes from a language file:
// it is never handed to a printf routine. An empty format gives the value.
std::wstring FillTextValue(const std::wstring& format, const wchar_t* value);

// Day names (Sunday first) and month names of the language in force, filled by
// SetLanguage; the date and time formatting reads them.
inline constexpr int kDayNameChars = 24;
inline constexpr int kMonthNameChars = 16;
extern wchar_t g_dayNames[7][kDayNameChars];
extern wchar_t g_monthNames[12][kMonthNameChars];

// String ids of the unit names that every program hands to SetPluralInfo.
inline constexpr int kUnitNameIds[kPluralUnits] = {IDS_UNIT_SECONDS, IDS_UNIT_MINUTES, IDS_UNIT_HOURS,
                                                  IDS_UNIT_DAYS, IDS_UNIT_WEEKS};
