#include "settings/page_loading.h"

namespace {
int g_loading = 0;
}  // namespace

int PagesLoading() { return g_loading; }
PageLoadingScope::PageLoadingScope() { ++g_loading; }
PageLoadingScope::~PageLoadingScope() { --g_loading; }
