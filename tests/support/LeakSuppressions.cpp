// Linked into the desktop tests: the font library keeps a cache it never frees,
// which LeakSanitizer would otherwise report for every test that shows a widget.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
