// Reads the texts of the message boxes this thread shows and closes each at
// once with OK, so that tests can call routines that show one.
#pragma once

#include <windows.h>

#include <string>

class MessageBoxWatch {
public:
    MessageBoxWatch();
    ~MessageBoxWatch();
    MessageBoxWatch(const MessageBoxWatch&) = delete;
    MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

    // Of the last box seen.
    const std::wstring& caption() const;
    const std::wstring& text() const;
    int boxes() const;
};
