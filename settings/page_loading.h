// The page-wide loading counter: while a page fills its controls from a
// record, the change notices those controls send are not the user's edits.
#pragma once

// Above 0 while some page loads its controls.
int PagesLoading();

class PageLoadingScope {
public:
    PageLoadingScope();
    ~PageLoadingScope();
    PageLoadingScope(const PageLoadingScope&) = delete;
    PageLoadingScope& operator=(const PageLoadingScope&) = delete;
};
