// What the clock, desktop and formats pages need from pieces of the settings
// program that live elsewhere: the location picker, the preview clock and the
// open-file dialog. An entry left empty means that piece is not there; the
// pages then do without it (no picker opens, no preview is drawn).
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "settings/common_dialogs.h"

struct ClockRecord;

struct ClockPageServices {
    // Runs the location picker modally with the page as its opener; the city
    // index (-1: none) is the initial city. True when it ended with a choice.
    bool (*showLocationPicker)(HWND page, int initialCity) = nullptr;
    // The picker's window while it is open, else null.
    HWND (*locationPickerWindow)() = nullptr;

    // The record the preview clock draws (null while there is no preview clock).
    ClockRecord* (*previewRecord)() = nullptr;
    // Builds the preview clock again from its record (a new skin).
    void (*recreatePreview)() = nullptr;
    // Paints the preview into an owner-drawn control.
    void (*drawPreview)(const DRAWITEMSTRUCT& item) = nullptr;

    // The open-file dialog and its error code.
    BOOL(WINAPI* getOpenFileName)(OPENFILENAMEW* ofn) = OpenFileDialog;
    DWORD(WINAPI* commDlgError)() = FileDialogError;
};

// The entries in force.
const ClockPageServices& PageServices();
// Puts a set in force; returns the previous one.
ClockPageServices SetPageServices(const ClockPageServices& services);
