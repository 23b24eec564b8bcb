// Bounded registry reads shared by the zone tables and the settings: a text
// value never leaves its buffer unterminated, a number is exactly four bytes.
#pragma once

#include <windows.h>

// An open registry key, closed on every path out; get() is null when the key
// did not open.
class RegistryKey {
public:
    RegistryKey(HKEY root, const wchar_t* subkey, REGSAM access = KEY_QUERY_VALUE);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Reads a text value (REG_SZ or REG_EXPAND_SZ) of an open key into a buffer
// of `chars` characters, terminator included. Data stored without its
// terminator gets one when it fits. True when read, with the data's size in
// bytes in *bytes when given (0 for a value without data); false, with an
// empty buffer, for a null key, a missing value, a value of another kind or
// one that does not fit.
bool QueryRegistryText(HKEY key, const wchar_t* value, wchar_t* buffer, DWORD chars, DWORD* bytes = nullptr);

// The same for a value of root\subkey.
bool ReadRegistryText(HKEY root, const wchar_t* subkey, const wchar_t* value, wchar_t* buffer, DWORD chars,
                      DWORD* bytes = nullptr);

// A value of root\subkey whose data is exactly four bytes (a REG_QWORD or a
// short binary value is none); *out is left alone otherwise.
bool ReadRegistryDword(HKEY root, const wchar_t* subkey, const wchar_t* value, DWORD* out);
